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
        QVERIFY(!w.cmdWeiter->isDefault() && !w.cmdWeiter->autoDefault());
    }

    void logoIsDrawnFromTheTopLeftAndCutOff()
    {
        frmWillkommen w;
        // The 299 × 207 logo is larger than the box and is not scaled into it, nor up to a scaled
        // screen: it is drawn in as many device pixels as the screen has (app/WelcomeScaled).
        QVERIFY(!w.pctBox1->hasScaledContents());
        QCOMPARE(w.pctBox1->alignment(), Qt::AlignLeft | Qt::AlignTop);
        const qreal scale = w.devicePixelRatioF();
        QCOMPARE(w.pctBox1->pixmap().devicePixelRatio(), scale);
        QCOMPARE(w.pctBox1->pixmap().size(), (QSizeF(299, 207) * scale).toSize());
    }

    void onlyWeiterClosesTheWindow()
    {
        frmWillkommen w;
        w.show();
        QSignalSpy clicked(w.cmdWeiter, &QPushButton::clicked);
        QSignalSpy accepted(&w, &QDialog::accepted);
        QTest::keyClick(&w, Qt::Key_Return);
        QCOMPARE(clicked.size(), 0);
        QTest::mouseClick(w.cmdWeiter, Qt::LeftButton);
        QCOMPARE(accepted.size(), 1);
        QVERIFY(!w.isVisible());
    }

    void logo_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dotsPerMeter");
        QTest::newRow("96 dpi") << 1.0 << QSize(299, 207) << 3780;
        QTest::newRow("scaled by 1.5") << 1.5 << QSize(449, 311) << 5670;
        QTest::newRow("scaled by 2") << 2.0 << QSize(598, 414) << 7560;
    }

    void logo()
    {
        QFETCH(qreal, scale);
        QFETCH(QSize, size);
        QFETCH(int, dotsPerMeter);
        const QImage logo = Logo::create(scale);
        QCOMPARE(logo.size(), size);
        QCOMPARE(logo.devicePixelRatio(), scale);
        QCOMPARE(logo.format(), QImage::Format_Indexed8);
        QVERIFY(logo.colorCount() <= 256);
        QCOMPARE(logo.dotsPerMeterX(), dotsPerMeter);
        QCOMPARE(logo.dotsPerMeterY(), dotsPerMeter);
        QCOMPARE(logo.pixelColor(0, 0), QColor(Qt::white));
        int black = 0, grey = 0, white = 0;
        for (int y = 0; y < logo.height(); ++y)
            for (int x = 0; x < logo.width(); ++x) {
                const QRgb c = logo.pixel(x, y);
                black += c == qRgb(0, 0, 0);
                grey += c == qRgb(0x80, 0x80, 0x80);
                white += c == qRgb(0xFF, 0xFF, 0xFF);
            }
        // Large black letters with a visible grey shadow, with hard edges: no colour between them.
        QVERIFY2(black > 2000 * scale * scale, qPrintable(QString::number(black)));
        QVERIFY2(grey > 300 * scale * scale, qPrintable(QString::number(grey)));
        QCOMPARE(black + grey + white, size.width() * size.height());
    }
};

QTEST_MAIN(tst_frmWillkommen)
#include "tst_frmWillkommen.moc"
