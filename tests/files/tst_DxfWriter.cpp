// The writer's file, byte for byte: sections, one block per shape, number and text lines.

#include "document/ObjectData.h"
#include "files/DxfWriter.h"
#include "shapes/SkizzarError.h"
#include "support/DrawingText.h"
#include "support/ShapeKinds.h"

#include <QBuffer>
#include <QLocale>
#include <QTest>
#include <limits>
#include <locale>

using Shapes = QList<std::shared_ptr<Basisklasse>>;
Q_DECLARE_METATYPE(Shapes)

using namespace ShapeKinds;

namespace {

using DrawingText::dxfLines;
using DrawingText::entitiesDxf;

QByteArray written(const ObjectData &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const DxfWriter writer(document);
    if (!writer.write(buffer))
        return "write failed";
    return buffer.data();
}

// A comma as decimal point for the C++ streams, as a German locale has.
class CommaPunct : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
};

} // namespace

class tst_DxfWriter : public QObject
{
    Q_OBJECT

private slots:
    void blocks_data()
    {
        QTest::addColumn<Shapes>("shapes");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("empty drawing: eight lines") << Shapes{} << QByteArray("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
        QTest::newRow("point") << Shapes{punkt(10, 20)}
                               << entitiesDxf({"0", "POINT", "8", "0", "10", " 10 ", "20", "-20 "});
        QTest::newRow("point with negative Y") << Shapes{punkt(-1.5f, -300)}
                                               << entitiesDxf({"0", "POINT", "8", "0", "10", "-1.5 ", "20", " 300 "});
        QTest::newRow("point at zero") << Shapes{punkt(0, 0)}
                                       << entitiesDxf({"0", "POINT", "8", "0", "10", " 0 ", "20", " 0 "});
        QTest::newRow("line") << Shapes{linie(1000, 1000, 3000.25f, -2000)}
                              << entitiesDxf({" 0", "LINE", "8", "0", "10", " 1000 ", "20", "-1000 ", "11", " 3000.25 ",
                                              "21", " 2000 "});
        QTest::newRow("circle, its colour not written") << Shapes{kreis(2000, 2000, 12.5f, 0x0000FF)}
                                                        << entitiesDxf({"0", "CIRCLE", "8", "0", "10", " 2000 ", "20", "-2000 ", "40", " 12.5 "});
        QTest::newRow("rectangle") << Shapes{rechteck(3000, 2000, 1000, 1000)}
                                   << entitiesDxf({"0", "LINE", "8", "0", "10", " 3000 ", "20", "-2000 ", "11", " 1000 ", "21", "-2000 ",
                                                   " 0", "LINE", "8", "0", "10", " 1000 ", "20", "-2000 ", "11", " 1000 ", "21", "-1000 ",
                                                   "0", "LINE", "8", "0", "10", " 1000 ", "20", "-1000 ", "11", " 3000 ", "21", "-1000 ",
                                                   "0", "LINE", "8", "0", "10", " 3000 ", "20", "-1000 ", "11", " 3000 ", "21", "-2000 "});
        QTest::newRow("text without font") << Shapes{text(100, 200, QStringLiteral("Hallo"), QString(), 0)}
                                           << entitiesDxf({"0", "TEXT", "8", "0", "10", " 100 ", "20", "-200 ", "7", "",
                                                           "40", " 0 ", "1", "Hallo"});
        QTest::newRow("text as stored") << Shapes{text(0.5f, 0, QStringLiteral("  zwei  Blanks "), QStringLiteral("Arial"), -3)}
                                        << entitiesDxf({"0", "TEXT", "8", "0", "10", " 0.5 ", "20", " 0 ", "7", "Arial",
                                                        "40", "-3 ", "1", "  zwei  Blanks "});
        QTest::newRow("text in Windows-1252") << Shapes{text(1, 1, QStringLiteral("Grüße €"), QStringLiteral("Schrift Ω"), 12)}
                                              << entitiesDxf({"0", "TEXT", "8", "0", "10", " 1 ", "20", "-1 ", "7", "Schrift \\U+03A9",
                                                              "40", " 12 ", "1", "Gr\xFC\337e \x80"});
        QTest::newRow("line breaks in a text") << Shapes{text(1, 1, QStringLiteral("a\r\nb\rc\nd"), QStringLiteral("x\ny"), 0)}
                                               << entitiesDxf({"0", "TEXT", "8", "0", "10", " 1 ", "20", "-1 ", "7", "x\\U+000Ay",
                                                               "40", " 0 ", "1", "a\\U+000D\\U+000A\\U+0062\\U+000D\\U+0063\\U+000A\\U+0064"});
        QTest::newRow("document order")
            << Shapes{kreis(1, 2, 3), punkt(4, 5), linie(6, 7, 8, 9)}
            << entitiesDxf({"0", "CIRCLE", "8", "0", "10", " 1 ", "20", "-2 ", "40", " 3 ",
                            "0", "POINT", "8", "0", "10", " 4 ", "20", "-5 ",
                            " 0", "LINE", "8", "0", "10", " 6 ", "20", "-7 ", "11", " 8 ", "21", "-9 "});
        QTest::newRow("inert shape writes nothing")
            << Shapes{punkt(1, 1), std::make_shared<Basisklasse>(), punkt(2, 2)}
            << entitiesDxf({"0", "POINT", "8", "0", "10", " 1 ", "20", "-1 ", "0", "POINT", "8", "0", "10", " 2 ", "20", "-2 "});
    }

    void blocks()
    {
        QFETCH(Shapes, shapes);
        QFETCH(QByteArray, expected);
        ObjectData document;
        for (const auto &shape : shapes)
            document.AddObject(shape);
        QCOMPARE(written(document), expected);
    }

    void countIsTakenWhenTheWriterIsMade()
    {
        ObjectData document;
        document.AddObject(punkt(1, 1));
        const DxfWriter writer(document);
        document.AddObject(punkt(2, 2));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(writer.write(buffer));
        QCOMPARE(buffer.data().count("POINT"), 1);
    }

    void decimalPointWhateverTheLocale()
    {
        ObjectData document;
        document.AddObject(kreis(1.25f, -0.5f, 12.5f));
        const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
        const QLocale previousQt;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QByteArray out = written(document);
        std::locale::global(previous);
        QLocale::setDefault(previousQt);
        QCOMPARE(out, entitiesDxf({"0", "CIRCLE", "8", "0", "10", " 1.25 ", "20", " 0.5 ", "40", " 12.5 "}));
    }

    void coordinateThatIsNotFinite()
    {
        ObjectData document;
        document.AddObject(punkt(std::numeric_limits<float>::infinity(), 0));
        QVERIFY_THROWS_EXCEPTION(OverflowError, written(document));
    }

    void deviceThatRefusesWrites()
    {
        ObjectData document;
        document.AddObject(punkt(1, 1));
        QBuffer buffer;
        buffer.open(QIODevice::ReadOnly);
        const DxfWriter writer(document);
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
        QVERIFY(!writer.write(buffer));
    }
};

QTEST_GUILESS_MAIN(tst_DxfWriter)
#include "tst_DxfWriter.moc"
