// The welcome window's controls and the generated logo.

#include "app/Logo.h"
#include "app/frmWillkommen.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_frmWillkommen : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        frmWillkommen w;
        QVERIFY(w.windowTitle().isEmpty());
        QCOMPARE(w.size(), QSize(413, 286));
        QCOMPARE(w.FrameSkizzar->geometry(), QRect(8, 8, 393, 265));
        QCOMPARE(w.Label1->parentWidget(), w.FrameSkizzar);
        QCOMPARE(w.Label1->text(), QStringLiteral("Das ultimative CAD Programm"));
        QCOMPARE(w.Label1->geometry(), QRect(48, 208, 313, 41));
        QVERIFY(w.Label1->font().bold());
        // At most the designed size, smaller as far as the caption needs to fit whole, at the top.
        QVERIFY(w.Label1->font().pointSizeF() <= 15.75);
        QVERIFY(QFontMetrics(w.Label1->font()).horizontalAdvance(w.Label1->text()) <= w.Label1->width());
        QCOMPARE(w.Label1->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(w.pctBox1->parentWidget(), w.FrameSkizzar);
        QCOMPARE(w.pctBox1->geometry(), QRect(48, 24, 297, 177));
        QCOMPARE(w.cmdWeiter->parentWidget(), &w);
        QCOMPARE(w.cmdWeiter->text(), QStringLiteral("Weiter"));
        QCOMPARE(w.cmdWeiter->geometry(), QRect(272, 240, 121, 25));
        QVERIFY(!w.cmdWeiter->isDefault());
        QVERIFY(!w.cmdWeiter->autoDefault());
    }

    void logoIsDrawnFromTheTopLeftAndCutOff()
    {
        frmWillkommen w;
        // The 299 × 207 logo is larger than the box and is not scaled into it.
        QVERIFY(!w.pctBox1->hasScaledContents());
        QCOMPARE(w.pctBox1->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(w.pctBox1->pixmap().size(), QSize(299, 207));
    }

    void weiterClosesTheWindow()
    {
        frmWillkommen w;
        w.show();
        QSignalSpy accepted(&w, &QDialog::accepted);
        QTest::mouseClick(w.cmdWeiter, Qt::LeftButton);
        QCOMPARE(accepted.size(), 1);
        QVERIFY(!w.isVisible());
    }

    void enterDoesNotPressWeiter()
    {
        frmWillkommen w;
        w.show();
        QSignalSpy clicked(w.cmdWeiter, &QPushButton::clicked);
        QTest::keyClick(&w, Qt::Key_Return);
        QCOMPARE(clicked.size(), 0);
    }

    void logo()
    {
        const QImage logo = Logo::create();
        QCOMPARE(logo.size(), QSize(299, 207));
        QCOMPARE(logo.format(), QImage::Format_Indexed8);
        QVERIFY(logo.colorCount() <= 256);
        QCOMPARE(logo.dotsPerMeterX(), 3780);
        QCOMPARE(logo.dotsPerMeterY(), 3780);
        QCOMPARE(logo.pixelColor(0, 0), QColor(Qt::white));
        int black = 0, grey = 0;
        for (int y = 0; y < logo.height(); ++y)
            for (int x = 0; x < logo.width(); ++x) {
                const QRgb c = logo.pixel(x, y);
                if (c == qRgb(0, 0, 0))
                    ++black;
                else if (c == qRgb(0x80, 0x80, 0x80))
                    ++grey;
            }
        // Large black letters with a visible grey shadow.
        QVERIFY2(black > 2000, qPrintable(QString::number(black)));
        QVERIFY2(grey > 300, qPrintable(QString::number(grey)));
    }
};

QTEST_MAIN(tst_frmWillkommen)
#include "tst_frmWillkommen.moc"
