// The reader: group pairs, sections, the four entity kinds, held values, line ends, encodings and
// every way a file can end early.

#include "RecordingDxfTarget.h"
#include "document/ObjectData.h"
#include "files/DiskFile.h"
#include "files/DxfReader.h"
#include "files/DxfWriter.h"
#include "shapes/SkizzarError.h"
#include "support/DrawingText.h"
#include "support/ShapeKinds.h"
#include "support/TestWindows.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

using DrawingText::dxfLines;
using DrawingText::entitiesDxf;

struct Read
{
    QStringList placed;
    QStringList messages;
};

// Reads the content whole, and again byte by byte: both must give the same.
Read readWith(RecordingDxfTarget &target, const QByteArray &content)
{
    RecordingDxfTarget byBytes = target;
    DxfReader reader(target);
    Read result;
    result.messages = reader.read(content);
    result.placed = target.placed;
    [&] {
        QCOMPARE(DxfReader(byBytes, 1).read(content), result.messages);
        QCOMPARE(byBytes.placed, result.placed);
    }();
    return result;
}

Read read(const QByteArray &content)
{
    RecordingDxfTarget target;
    return readWith(target, content);
}

QByteArray pointBlock(const QByteArray &x, const QByteArray &y)
{
    return dxfLines({"0", "POINT", "8", "0", "10", x, "20", y});
}

// A binary file with group codes of two bytes: a string with its NUL, a double, or raw bytes.
QByteArray binary(const QList<std::pair<int, QVariant>> &pairs)
{
    QByteArray out("AutoCAD Binary DXF\r\n\x1A", 22);
    for (const auto &[code, value] : pairs) {
        const double number = value.toDouble();
        out += QByteArray(reinterpret_cast<const char *>(&code), 2)
               + (value.typeId() == QMetaType::Double ? QByteArray(reinterpret_cast<const char *>(&number), 8)
                                                      : value.toByteArray() + QByteArray(value.typeId() == QMetaType::QString, '\0'));
    }
    return out;
}

} // namespace

class tst_DxfReader : public QObject
{
    Q_OBJECT

private slots:
    void roundTripOfEveryKind()
    {
        ObjectData document;
        using namespace ShapeKinds;
        for (const std::shared_ptr<Basisklasse> &shape : std::initializer_list<std::shared_ptr<Basisklasse>>{
                 punkt(10, 20), linie(-1000.5f, 0, 0.1f, -7080), kreis(2000, 2000, 500.25f),
                 rechteck(3000, 2000, 1000, 1000),
                 text(1.0f / 3.0f, 9705, QStringLiteral("  Grüße, Ω € \\U+0041 62 "), QStringLiteral("Arial"), 12)})
            document.AddObject(shape);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(DxfWriter(document).write(buffer));

        const Read result = read(buffer.data());
        QCOMPARE(result.messages, QStringList());
        const QString third = DrawingText::number(1.0f / 3.0f);
        QCOMPARE(result.placed, (QStringList{
                                    "Punkt 10 20 c0",
                                    "Linie -1000.5 0 0.100000001 -7080 c0",
                                    "Kreis 2000 2000 2500.25 2000 c0",
                                    "Linie 3000 2000 1000 2000 c0",
                                    "Linie 1000 2000 1000 1000 c0",
                                    "Linie 1000 1000 3000 1000 c0",
                                    "Linie 3000 1000 3000 2000 c0",
                                    "Text " + third + " 9705 [  Grüße, Ω € \\U+0041 62 ] c0",
                                }));
    }

    // Every kind of the tests' table: the entities the writer writes for its sample, and the
    // shapes the reader places from them.
    void everyKind_data()
    {
        QTest::addColumn<int>("kind");
        for (int i = 0; i < ShapeKinds::all().size(); ++i)
            QTest::newRow(qPrintable(ShapeKinds::all().at(i).name)) << i;
    }

    void everyKind()
    {
        QFETCH(int, kind);
        const ShapeKinds::Kind &row = ShapeKinds::all().at(kind);
        ObjectData document;
        document.AddObject(row.sample());
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly) && DxfWriter(document).write(buffer));
        const QList<QByteArray> written = buffer.data().split('\n');
        QList<QByteArray> types;
        for (qsizetype i = written.indexOf("ENTITIES\r") + 1; i + 1 < written.size() && written.at(i + 1) != "ENDSEC\r"; i += 2)
            if (written.at(i).trimmed() == "0")
                types << written.at(i + 1).trimmed();
        QCOMPARE(types, row.dxfEntities);
        const Read result = read(buffer.data());
        QCOMPARE(result.messages, QStringList());
        QCOMPARE(result.placed, row.read);
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }

    void lineEnds()
    {
        QFETCH(QByteArray, end);
        // Lines of up to 15 bytes are taken a word at a time, longer ones are sought: lengths on
        // both sides of each word's end, and a number that is none, to show the line counted.
        QByteArray content = entitiesDxf({"0", "POINT", "8", "0", "10", "1", "20", "-2",
                                          " 0", "LINE", "8", "0", "10", "3", "20", "-4", "11", "5", "21", "-6",
                                          "0", "TEXT", "8", "0", "10", "7", "20", "-8", "1", "  blank  ",
                                          "0", "LINE", "10", "1.00000", "20", "-2.000000", "11", "3.000000000000",
                                          "21", "-4.000000000000", "0", "TEXT", "10", "5.0000000000000", "20", "6",
                                          "1", "sixteen letters.", "0", "TEXT", "1", "seventeen letters", "0", "POINT", "20", "x"});
        content.replace("\r\n", end);
        const Read result = read(content);
        QCOMPARE(result.messages, QStringList{QStringLiteral("Keine Zahl in Zeile 60: „x“")});
        QCOMPARE(result.placed, (QStringList{"Punkt 1 2 c0", "Linie 3 4 5 6 c0", "Text 7 8 [  blank  ] c0",
                                             "Linie 1 2 3 4 c0", "Text 5 -6 [sixteen letters.] c0",
                                             "Text 5 -6 [seventeen letters] c0"}));
    }

    void messageTexts()
    {
        QCOMPARE(DxfReader::noEofMessage(), QStringLiteral("In der zu öffnenden Datei wurde kein EOF gefunden"));
        QCOMPARE(DxfReader::passedOverMessage(), QStringLiteral("Beim zu öffnenden DXF - File ist ein Fehler aufgetreten"));
    }

    // Files read whole and byte by byte: the shapes placed, then the messages in the order shown.
    void reads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("placed");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList point{"Punkt 1 1 c0"};
        const QStringList passedOver{DxfReader::passedOverMessage()};
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + entitiesDxf({"0", "POINT", "10", "1", "20", "1"}) << QStringList{"Punkt 1 -1 c0"} << none;
        QTest::newRow("last line without line end") << entitiesDxf({"0", "POINT", "10", "1", "20", "1"}).chopped(2) << QStringList{"Punkt 1 -1 c0"} << none;
        QTest::newRow("empty file") << QByteArray() << none << QStringList{DxfReader::noEofMessage()};
        // Leading zeros too, also more than a code of nine digits has.
        QTest::newRow("group codes with blanks")
            << entitiesDxf({" 0", "LINE", "  8", "0", " 10 ", "1", "0000000020", "2", "011", "3", "21", "4",
                            "0", "POINT", "10", "5", "20", "6"})
            << QStringList{"Linie 1 -2 3 -4 c0", "Punkt 5 -6 c0"} << none;
        // Before any radius it counts as 0; a circle without one takes the previous circle's.
        QTest::newRow("circle radius")
            << entitiesDxf({"0", "CIRCLE", "10", "100", "20", "-200",
                            "0", "CIRCLE", "10", "100", "20", "-200", "40", "12.5",
                            "0", "CIRCLE", "10", "300", "20", "-400",
                            "0", "CIRCLE", "10", "300", "20", "-400", "40", "-5"})
            << QStringList{"Kreis 100 200 100 200 c0", "Kreis 100 200 112.5 200 c0", "Kreis 300 400 312.5 400 c0",
                           "Kreis 300 400 295 400 c0"}
            << none;
        QTest::newRow("text style and height are ignored")
            << entitiesDxf({"0", "TEXT", "8", "0", "10", "1", "20", "-1", "7", "Arial", "40", "250",
                            "1", " 62 ", "72", "1", "11", "99", "21", "99"})
            << QStringList{"Text 1 1 [ 62 ] c0"} << none;
        QTest::newRow("other sections are passed over")
            << dxfLines({"999", "a comment", "0", "SECTION", "2", "HEADER",
                         "9", "$ACADVER", "1", "AC1009", "9", "$INSBASE", "10", "0", "20", "0",
                         "9", "$TEXT", "1", "EOF", "0", "ENDSEC",
                         "0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "8", "0", "2", "B",
                         "0", "LINE", "8", "0", "10", "50", "20", "50", "11", "60", "21", "60",
                         "0", "ENDBLK", "0", "ENDSEC"})
                   + entitiesDxf({"0", "POINT", "10", "1", "20", "2"})
            << QStringList{"Punkt 1 -2 c0"} << none;
        // Mended: a value that looks like a group code is a value.
        QTest::newRow("values that look like group codes")
            << entitiesDxf({"0", "TEXT", "5", "10", "8", "8", "10", "20", "20", "10", "1", "62",
                            "0", "POINT", "8", "0", "10", "0", "20", "0",
                            "0", "TEXT", "8", "ENDSEC", "1", "EOF"})
            << QStringList{"Text 20 -10 [62] c0", "Punkt 0 0 c0", "Text 0 0 [EOF] c0"} << none;
        // Mended: "," is read as decimal separator too.
        QTest::newRow("comma as decimal separator")
            << entitiesDxf({"0", "CIRCLE", "10", " 12,5 ", "20", "-0,25", "40", "1,5", "62", "3,5"})
            << QStringList{"Kreis 12.5 0.25 14 0.25 c4"} << none;
        // Mended: unknown entities are passed over up to the next group 0, with one message afterwards.
        QTest::newRow("unknown entities are passed over")
            << entitiesDxf({"0", "POINT", "10", "1", "20", "-1",
                            "0", "ARC", "8", "0", "10", "999", "20", "999", "40", "5", "50", "0",
                            "51", "90", "62", "77",
                            "0", "POINT", "20", "-2",
                            "0", "LWPOLYLINE", "90", "2", "10", "0", "20", "0", "10", "1", "20", "1",
                            "0", "INSERT", "2", "B", "10", "0", "20", "0",
                            "0", "CIRCLE", "10", "3", "20", "-3", "40", "1"})
            << QStringList{"Punkt 1 1 c0", "Punkt 1 2 c0", "Kreis 3 3 4 3 c0"} << passedOver;
        QTest::newRow("groups outside an entity") << entitiesDxf({"8", "0", "0", "POINT", "10", "1", "20", "-1"}) << point << passedOver;
        QTest::newRow("section without ENDSEC")
            << dxfLines({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "1", "20", "-1",
                         "0", "POINT", "10", "2", "20", "-2", "0", "EOF"})
            << QStringList{"Punkt 1 1 c0", "Punkt 2 2 c0"} << passedOver;
        // Mended: a value that is no number ends the reading with a message; what was read stays.
        // The LINE's first group code stands on line 15: 4 section lines, 8 of the point, then "0"
        // and the type.
        auto badLine = [](const QList<QByteArray> &groups) {
            return entitiesDxf(QList<QByteArray>{"0", "POINT", "8", "0", "10", "1", "20", "-1", "0", " LINE"} + groups
                               + QList<QByteArray>{"0", "POINT", "10", "2", "20", "2"});
        };
        QTest::newRow("no number: X") << badLine({"10", "abc", "20", "1"}) << point << QStringList{"Keine Zahl in Zeile 16: „abc“"};
        QTest::newRow("no number: Y") << badLine({"10", "1", "20", "1.2.3"}) << point << QStringList{"Keine Zahl in Zeile 18: „1.2.3“"};
        QTest::newRow("no number: Y too large") << badLine({"10", "1", "20", "-1e39"}) << point << QStringList{"Überlauf in Zeile 18: „-1e39“"};
        QTest::newRow("no number: X too large") << badLine({"10", "4e38"}) << point << QStringList{"Überlauf in Zeile 16: „4e38“"};
        QTest::newRow("no number: end X") << badLine({"11", " x "}) << point << QStringList{"Keine Zahl in Zeile 16: „ x “"};
        QTest::newRow("no number: colour") << badLine({"62", "rot"}) << point << QStringList{"Keine Zahl in Zeile 16: „rot“"};
        QTest::newRow("no number: colour too large") << badLine({"62", "3e9"}) << point << QStringList{"Überlauf in Zeile 16: „3e9“"};
        QTest::newRow("no number: umlaut in the text") << badLine({"10", "f\xFCnf"}) << point << QStringList{"Keine Zahl in Zeile 16: „fünf“"};
        QTest::newRow("no number: long text is cut") << badLine({"10", QByteArray(200, 'y')}) << point
                                                     << QStringList{"Keine Zahl in Zeile 16: „" + QString(80, QLatin1Char('y')) + "…“"};
        QTest::newRow("no group code") << badLine({"10", "1", "zehn", "1"}) << point << QStringList{"Kein Gruppencode in Zeile 17: „zehn“"};
        QTest::newRow("empty group code") << badLine({"10", "1", "", "1"}) << point << QStringList{"Kein Gruppencode in Zeile 17: „“"};
        QTest::newRow("circle radius that is no number") << entitiesDxf({"0", "CIRCLE", "10", "1", "20", "1", "40", "gross"}) << none
                                                         << QStringList{"Keine Zahl in Zeile 12: „gross“"};
        QTest::newRow("circle whose edge is too far") << entitiesDxf({"0", "CIRCLE", "10", "3e38", "20", "0", "40", "1e38"}) << none
                                                      << QStringList{"Überlauf in Zeile 6: „CIRCLE“"};
        // What ended the reading first, then the note about what was passed over.
        QTest::newRow("no number after an unknown entity") << entitiesDxf({"0", "ARC", "0", "POINT", "10", "nix"}) << none
                                                           << QStringList{"Keine Zahl in Zeile 10: „nix“", DxfReader::passedOverMessage()};
        QTest::newRow("no EOF after an unknown entity") << dxfLines({"0", "SECTION", "2", "ENTITIES", "0", "SPLINE"}) << none
                                                        << QStringList{DxfReader::noEofMessage(), DxfReader::passedOverMessage()};
        // Mended: texts in Windows-1252 with escapes, or UTF-8 from DXF 2007 on, or before it in the
        // code page that the header names.
        auto textFile = [](const QByteArray &version, const QByteArray &codePage, const QByteArray &text) {
            QByteArray content;
            if (!version.isEmpty())
                content = dxfLines({"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", version, "0", "ENDSEC"});
            if (!codePage.isEmpty())
                content += dxfLines({"0", "SECTION", "2", "HEADER", "9", "$DWGCODEPAGE", "3", codePage, "0", "ENDSEC"});
            return content + entitiesDxf({"0", "TEXT", "10", "1", "20", "1", "1", text});
        };
        const QStringList greeting{"Text 1 -1 [Grüße Ω] c0"};
        QTest::newRow("no header") << textFile("", "", "Gr\xFC\337e \\U+03A9") << greeting << none;
        QTest::newRow("R12") << textFile("AC1009", "", "Gr\xFC\337e \\U+03a9") << greeting << none;
        QTest::newRow("R2004") << textFile("AC1018", "", "Gr\xFC\337e \\U+03A9") << greeting << none;
        QTest::newRow("R2007") << textFile("AC1021", "", QStringLiteral("Grüße Ω").toUtf8()) << greeting << none;
        QTest::newRow("R2010") << textFile(" AC1024 ", "", QStringLiteral("Grüße Ω").toUtf8()) << greeting << none;
        QTest::newRow("R2018") << textFile("AC1032", "", QStringLiteral("Grüße \\U+03A9").toUtf8()) << greeting << none;
        QTest::newRow("R12 dos437") << textFile("AC1009", " dos437 ", "Gr\x81\341e \xEA") << greeting << none;
        QTest::newRow("unknown code page") << textFile("AC1009", "ANSI_1200", "Gr\xFC\337e \\U+03A9") << greeting << none;
        QTest::newRow("R2010 ANSI_1251") << textFile("AC1024", "ANSI_1251", QStringLiteral("Grüße Ω").toUtf8()) << greeting << none;
        QTest::newRow("code page, no version") << textFile("", "ANSI_1253", "Gr\\U+00FC\\U+00DFe \xD9") << greeting << none;
        // Each code page that $DWGCODEPAGE may name, in a file of its own with the version in the
        // same section: bytes that read differently in every one of them.
        struct Row
        {
            const char *name;
            const char *bytes;
            const char16_t *expected;
        };
        const Row rows[] = {
            {"ANSI_874", "\xE3\x91\xAF\xD0\x95", u"\u0e43\u2018\u0e0f\u0e30\u2022"},
            {"ANSI_932", "\xB0\xA1\xC4\xE3\xB0\xA1", u"\uff70\uff61\uff84\u7f83\uff61"},
            {"ANSI_936", "\xB0\xA1\xC4\xE3\xB0\xA1", u"\u554a\u4f60\u554a"},
            {"ANSI_949", "\xB0\xA1\xC4\xE3\xB0\xA1", u"\uac00\ucf71\uac00"},
            {"ANSI_950", "\xB0\xA1\xC4\xE3\xB0\xA1", u"\u965b\u6595\u965b"},
            {"ANSI_1250", "\xE3\x91\xAF\xD0\x95", u"\u0103\u2018\u017b\u0110\u2022"},
            {"ANSI_1251", "\xE3\x91\xAF\xD0\x95", u"\u0433\u2018\u0407\u0420\u2022"},
            {"ANSI_1253", "\xE3\x91\xAF\xD0\x95", u"\u03b3\u2018\u2015\u03a0\u2022"},
            {"ANSI_1254", "\xE3\x91\xAF\xD0\x95", u"\u00e3\u2018\u00af\u011e\u2022"},
            {"ANSI_1255", "\xE3\x91\xAF\xD0\x95", u"\u05d3\u2018\u00af\u05c0\u2022"},
            {"ANSI_1256", "\xE3\x91\xAF\xD0\x95", u"\u0645\u2018\u00af\u0630\u2022"},
            {"ANSI_1257", "\xE3\x91\xAF\xD0\x95", u"\u0107\u2018\u00c6\u0160\u2022"},
            {"ANSI_1258", "\xE3\x91\xAF\xD0\x95", u"\u0103\u2018\u00af\u0110\u2022"},
            {"dos437", "\xE3\x91\xAF\xD0\x95", u"\u03c0\u00e6\u00bb\u2568\u00f2"},
            {"dos850", "\xE3\x91\xAF\xD0\x95", u"\u00d2\u00e6\u00bb\u00f0\u00f2"},
            {"dos852", "\xE3\x91\xAF\xD0\x95", u"\u0143\u0139\u00bb\u0111\u013d"},
            {"dos855", "\xE3\x91\xAF\xD0\x95", u"\u0441\u0409\u00bb\u043b\u040b"},
            {"dos857", "\xE3\x91\xAF\xD0\x95", u"\u00d2\u00e6\u00bb\u00ba\u00f2"},
            {"dos860", "\xE3\x91\xAF\xD0\x95", u"\u03c0\u00c0\u00bb\u2568\u00f2"},
            {"dos861", "\xE3\x91\xAF\xD0\x95", u"\u03c0\u00e6\u00bb\u2568\u00fe"},
            {"dos863", "\xE3\x91\xAF\xD0\x95", u"\u03c0\u00c8\u00bb\u2568\u00cf"},
            {"dos864", "\xE3\x91\xAF\xD0\x95", u"\ufedb\u221e\ufea5\ufeab\u00bc"},
            {"dos865", "\xE3\x91\xAF\xD0\x95", u"\u03c0\u00e6\u00a4\u2568\u00f2"},
            {"dos866", "\xE3\x91\xAF\xD0\x95", u"\u0443\u0421\u043f\u2568\u0425"},
            {"dos869", "\xE3\x91\xAF\xD0\x95", u"\u03b9\u03aa\u00bb\u03a4\u038e"},
            {"dos932", "\xB0\xA1\xC4\xE3\xB0\xA1", u"\uff70\uff61\uff84\u7f83\uff61"},
        };
        for (const Row &row : rows)
            QTest::newRow(row.name) << dxfLines({"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015",
                                                 "9", "$DWGCODEPAGE", "3", row.name, "0", "ENDSEC"})
                                           + entitiesDxf({"0", "TEXT", "10", "1", "20", "1", "1", row.bytes})
                                    << QStringList{"Text 1 -1 [" + QString::fromUtf16(row.expected) + "] c0"} << none;
        // What ends the reading of a binary file names the offset of the value or group in bytes.
        // The second entity's group code starts at byte 79, its value at 81.
        auto second = [](const std::pair<int, QVariant> &group) {
            // clang-format off
            return binary({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POINT"}, {10, 1.0}, {20, -1.0}, {0, "POINT"}, group,
                           {20, -(1.0 + 0x1p-24)}, {0, "ENDSEC"}, {0, "EOF"}});
            // clang-format on
        };
        const QStringList both{"Punkt 1 1 c0", "Punkt 1 1 c0"};
        // Exactly halfway between two floats: the even one, as when the double is rounded.
        QTest::newRow("halfway") << second({10, 1.0 + 0x1p-24}) << both << none;
        QTest::newRow("NaN") << second({10, qQNaN()}) << point << QStringList{"Keine Zahl bei Byte 81: „nan“"};
        QTest::newRow("unknown group code") << second({2000, "x"}) << point << QStringList{"Kein Gruppencode bei Byte 79: „2000“"};
        QTest::newRow("chunk past the end") << second({310, QByteArray("\144abc")}).first(86) << point
                                            << QStringList{"Unvollständige Gruppe bei Byte 79: „310“"};
        QTest::newRow("string cut off") << second({1, "x"}).first(82) << point << QStringList{"Unvollständige Gruppe bei Byte 79: „1“"};
        // Binary chunks (a length byte, then that many bytes), 64-bit integers and signed
        // integers, each followed by more groups that must still be read right.
        QTest::newRow("chunk 310") << second({310, QByteArray("\003abc")}) << both << none;
        QTest::newRow("chunk 1004") << second({1004, QByteArray("\002\x01\x07")}) << both << none;
        QTest::newRow("64-bit integer 160") << second({160, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08")}) << both << none;
        QTest::newRow("64-bit integer 169") << second({169, QByteArray("\xFF\xFF\xFF\xFF\x00\x00\x00\x80", 8)}) << both << none;
        // As in a text file, where "62" "-3" reads as -3.
        QTest::newRow("negative colour") << second({62, QByteArray("\xFD\xFF")}) << QStringList{"Punkt 1 1 c0", "Punkt 1 1 c-3"} << none;
        QTest::newRow("group code cut off") << second({1, "x"}).first(80) << point << QStringList{"Unvollständige Gruppe bei Byte 79: „“"};
        // Before R13: codes of one byte, 255 before a code of two.
        // clang-format off
        QTest::newRow("one-byte codes") << QByteArray("AutoCAD Binary DXF\r\n\x1A\0\0SECTION\0\002ENTITIES\0\0POINT\0\xFF\x0A\0" "\0\0\0\0\0\0\0\x40"
                                                      "\x14\0\0\0\0\0\0\x08\xC0\0ENDSEC\0\0EOF\0", 81) << QStringList{"Punkt 2 3 c0"} << none;
        // clang-format on
    }

    void reads()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, placed);
        QFETCH(QStringList, messages);
        const Read result = read(content);
        QCOMPARE(result.placed, placed);
        QCOMPARE(result.messages, messages);
    }

    void colourCarriesOver()
    {
        RecordingDxfTarget target;
        target.lColor = 0x00123456;
        const Read result = readWith(target, entitiesDxf({"0", "POINT", "10", "1", "20", "1",
                                                          "0", "POINT", "62", "255", "10", "2", "20", "2",
                                                          "0", "POINT", "10", "3", "20", "3",
                                                          "0", "POINT", "10", "4", "20", "4", "62", "2.5"}));
        QCOMPARE(result.messages, QStringList());
        QCOMPARE(result.placed, (QStringList{"Punkt 1 -1 c1193046", "Punkt 2 -2 c255", "Punkt 3 -3 c255",
                                             "Punkt 4 -4 c2"}));
        QCOMPARE(target.lColor, 2);
    }

    void membersAreNotReset()
    {
        RecordingDxfTarget target;
        target.sLastX = 7;
        target.sLastY = 8;
        const Read result = readWith(target, entitiesDxf({"0", "LINE", "10", "1", "20", "-2",
                                                          "0", "POINT", "20", "-9",
                                                          "0", "TEXT", "10", "5", "1", "erster",
                                                          "0", "TEXT", "10", "6"}));
        QCOMPARE(result.messages, QStringList());
        QCOMPARE(result.placed, (QStringList{"Linie 1 2 7 8 c0", "Punkt 1 9 c0", "Text 5 9 [erster] c0",
                                             "Text 6 9 [erster] c0"}));
        QCOMPARE(target.sStartX, 6.0f);
        QCOMPARE(target.sStartY, 9.0f);
    }

    // Mended: no limit on the number of entities or of lines before the entities.
    void noLimits()
    {
        QByteArray content = dxfLines({"0", "SECTION", "2", "HEADER"});
        for (int i = 0; i < 60000; ++i)
            content += dxfLines({"999", "x"});
        content += dxfLines({"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
        for (int i = 0; i < 60001; ++i)
            content += pointBlock(QByteArray::number(i), "0");
        content += dxfLines({"0", "ENDSEC", "0", "EOF"});
        const Read result = read(content);
        QCOMPARE(result.messages, QStringList());
        QCOMPARE(result.placed.size(), 60001);
        QCOMPARE(result.placed.last(), QStringLiteral("Punkt 60000 0 c0"));
    }

    void fileEndsEarly_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("placed");
        const QByteArray head = dxfLines({"0", "SECTION", "2", "ENTITIES"}) + pointBlock("1", "-1");
        QTest::newRow("inside an entity") << head + dxfLines({"0", "POINT", "10", "2", "20"}) << QStringList{"Punkt 1 1 c0"};
        QTest::newRow("after a whole entity") << head + pointBlock("2", "-2") << QStringList{"Punkt 1 1 c0"};
        QTest::newRow("after ENDSEC") << head + dxfLines({"0", "ENDSEC"}) << QStringList{"Punkt 1 1 c0"};
        QTest::newRow("group 0 without EOF") << head + dxfLines({"0", "ENDSEC", "0"}) << QStringList{"Punkt 1 1 c0"};
        QTest::newRow("no entities section") << dxfLines({"0", "SECTION", "2", "HEADER", "0", "ENDSEC"}) << QStringList();
        QTest::newRow("SECTION last") << dxfLines({"0", "SECTION"}) << QStringList();
        QTest::newRow("one line") << QByteArray("0") << QStringList();
    }

    void fileEndsEarly()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, placed);
        const Read result = read(content);
        QCOMPARE(result.placed, placed);
        QCOMPARE(result.messages, QStringList{DxfReader::noEofMessage()});

        // A whole file that another program cuts to the content while it is read.
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("cut.dxf"));
        QVERIFY(TestWindows::writeFile(name, content + entitiesDxf({"0", "POINT"})));
        struct CutWhileRead : DxfSource
        {
            DiskFile file;
            const QString name;
            const qsizetype size;
            CutWhileRead(const QString &name, qsizetype size) : file(name), name(name), size(size) {}
            qsizetype read(char *into, qsizetype most) override
            {
                const qsizetype read = file.read(into, most);
                QFile::resize(name, size);
                return read;
            }
        } source(name, content.size());
        RecordingDxfTarget target;
        QCOMPARE(DxfReader(target, 1).read(source), QStringList{DxfReader::noEofMessage()});
        QCOMPARE(target.placed, placed);
    }

    void placementThatFails()
    {
        RecordingDxfTarget target;
        target.beforePlacing = [](const QString &kind) {
            if (kind == QLatin1String("Kreis"))
                throw OverflowError();
        };
        const Read result = readWith(target, entitiesDxf({"0", "POINT", "10", "1", "20", "1",
                                                          "0", "CIRCLE", "10", "1", "20", "1", "40", "1",
                                                          "0", "POINT", "10", "2", "20", "2"}));
        QCOMPARE(result.placed, QStringList{"Punkt 1 -1 c0"});
        QCOMPARE(result.messages, QStringList{"Überlauf in Zeile 12: „CIRCLE“"});
    }

    void readingTwiceStartsAfresh()
    {
        RecordingDxfTarget target;
        DxfReader reader(target);
        reader.read(entitiesDxf({"0", "ARC", "0", "CIRCLE", "10", "0", "20", "0", "40", "3"}));
        const QStringList messages = reader.read(entitiesDxf({"0", "CIRCLE", "10", "0", "20", "0"}));
        QCOMPARE(messages, QStringList());
        QCOMPARE(target.placed.last(), QStringLiteral("Kreis 0 0 0 0 c0"));
    }
};

QTEST_GUILESS_MAIN(tst_DxfReader)
#include "tst_DxfReader.moc"
