// The DXF files against a real peer, the ezdxf library of Debian's python3-ezdxf: what the writer
// produces loads in ezdxf, and what ezdxf writes (R12, R2000, R2010; text and binary; texts in other
// code pages) opens through the reader, and is saved and opened again unchanged.

#include "RecordingDxfTarget.h"
#include "document/ObjectData.h"
#include "files/DxfReader.h"
#include "files/DxfWriter.h"
#include "support/ScriptedDialogs.h"
#include "support/ShapeKinds.h"
#include "support/TestWindows.h"
#include "window/frmZeichnen.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The Debian interpreter, which has python3-ezdxf; another python3 on the PATH may not.
const char *const Python = "/usr/bin/python3";

// The ezdxf programs beside this file.
QString script(const char *name)
{
    return QStringLiteral(SKIZZAR_INTEROP_SCRIPTS "/") + QLatin1String(name);
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs python with the arguments: a script's path or -c and a program, then its own arguments.
Run python(const QStringList &arguments)
{
    Run run;
    QProcess process;
    process.start(QLatin1String(Python), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = "python did not finish: " + process.errorString().toUtf8();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString n(float v)
{
    return DrawingText::number(v);
}

// A value ezdxf read, or one it should have read: numbers as 32-bit floats, of a point as many
// coordinates as count.
QString shown(const QJsonValue &v, qsizetype count = 0)
{
    if (v.isDouble())
        return n(static_cast<float>(v.toDouble()));
    if (!v.isArray())
        return v.isString() ? QLatin1Char('"') + v.toString() + QLatin1Char('"') : QStringLiteral("(none)");
    QStringList coordinates;
    const QJsonArray a = v.toArray();
    for (qsizetype i = 0; i < std::min(count, a.size()); ++i)
        coordinates << shown(a.at(i));
    return QLatin1Char('(') + coordinates.join(QLatin1String(", ")) + QLatin1Char(')');
}

// The attributes an entity must have, as ezdxf read them (first) and as wanted (second): those the
// JSON object wanted gives, and layer 0 and no colour, as the writer writes every entity.
std::pair<QStringList, QStringList> attributes(const QJsonObject &read, const QByteArray &wanted)
{
    QJsonObject want = QJsonDocument::fromJson(wanted).object();
    want.insert("layer", "0");
    want.insert("color", QJsonValue());
    std::pair<QStringList, QStringList> shownAs;
    for (auto it = want.begin(); it != want.end(); ++it) {
        const qsizetype count = it->toArray().size();
        shownAs.first << it.key() + QLatin1Char('=') + shown(read.value(it.key()), count);
        shownAs.second << it.key() + QLatin1Char('=') + shown(*it, count);
    }
    return shownAs;
}

} // namespace

class tst_DxfInterop : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const Run check = python({QStringLiteral("-c"), QStringLiteral("import ezdxf; print(ezdxf.__version__)")});
        QVERIFY2(check.exitCode == 0,
                 qPrintable(QStringLiteral("%1 cannot import ezdxf (install python3-ezdxf): %2")
                                .arg(QLatin1String(Python), QString::fromUtf8(check.err))));
        qInfo("ezdxf %s", check.out.trimmed().constData());
    }

    void writerOutputLoadsInEzdxf()
    {
        // Every kind's sample; numbers that are no whole twips; a text in several scripts, with its
        // font and size; an empty text.
        ObjectData document;
        QList<QByteArray> wanted;
        using namespace ShapeKinds;
        for (const Kind &kind : all()) {
            document.AddObject(kind.sample());
            wanted << kind.ezdxf;
        }
        document.AddObject(linie(-1000.5f, 0.1f, 9705, -7080));
        wanted << R"({"type": "LINE", "start": [-1000.5, -0.1], "end": [9705, 7080]})";
        document.AddObject(kreis(2000, 2000.75f, 1.0f / 3.0f));
        wanted << R"({"type": "CIRCLE", "center": [2000, -2000.75], "radius": 0.33333334})";
        document.AddObject(text(1e-3f, -123456.78f, QStringLiteral("  Grüße Ω € \\U+0041  "), QStringLiteral("Arial"), 12));
        wanted << R"({"type": "TEXT", "insert": [0.001, 123456.78], "text": "  Grüße Ω € \\U+0041  ", "style": "Arial", "height": 12})";
        document.AddObject(text(0, 0, QString()));
        wanted << R"({"type": "TEXT", "insert": [0, 0], "text": ""})";

        const QString path = m_dir.filePath(QStringLiteral("skizzar.dxf"));
        QSaveFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(DxfWriter(document).write(file));
        QVERIFY(file.commit());

        const Run run = python({script("ezdxf_entities.py"), path});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QJsonArray entities = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(entities.size(), wanted.size());
        for (int i = 0; i < wanted.size(); ++i) {
            const auto [read, want] = attributes(entities.at(i).toObject(), wanted.at(i));
            QCOMPARE(read, want);
        }
    }

    void emptyDrawingLoadsInEzdxf()
    {
        const QString path = m_dir.filePath(QStringLiteral("leer.dxf"));
        QSaveFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        ObjectData document;
        QVERIFY(DxfWriter(document).write(file));
        QVERIFY(file.commit());
        const Run run = python({script("ezdxf_entities.py"), path});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out.trimmed(), QByteArray("[]"));
    }

    void ezdxfFilesOpen_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("mixed");
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<bool>("binary");
        // Cut off inside the last point.
        QTest::addColumn<bool>("cut");
        const QString none = QStringLiteral("-");
        for (const QString version : {"R12", "R2000", "R2010"}) {
            QTest::addRow("%s mixed", qPrintable(version)) << version << true << none << false << false;
            QTest::addRow("%s plain", qPrintable(version)) << version << false << none << false << false;
            QTest::addRow("%s binary", qPrintable(version)) << version << true << none << true << false;
            for (const QString codePage : {"ANSI_1250", "ANSI_1251", "ANSI_932"})
                QTest::addRow("%s %s", qPrintable(version), qPrintable(codePage)) << version << false << codePage << false << false;
        }
        const QString r12 = QStringLiteral("R12");
        QTest::addRow("R12 binary ANSI_932") << r12 << false << QStringLiteral("ANSI_932") << true << false;
        QTest::addRow("R12 binary cut") << r12 << true << none << true << true;
        QTest::addRow("R2000 binary cut") << QStringLiteral("R2000") << false << QStringLiteral("ANSI_1251") << true << true;
    }

    void ezdxfFilesOpen()
    {
        QFETCH(QString, version);
        QFETCH(bool, mixed);
        QFETCH(QString, codePage);
        QFETCH(bool, binary);
        QFETCH(bool, cut);
        // Each kind's sample as ezdxf writes it, in its own layer and colour, and read in that colour.
        const QList<ShapeKinds::Kind> &all = ShapeKinds::all();
        const QStringList layers{QStringLiteral("0"), QStringLiteral("Mauer"), QStringLiteral("Tueren")};
        QJsonArray kinds;
        for (qsizetype i = 0; i < all.size(); ++i) {
            QJsonArray entities;
            for (const QByteArray &entity : all.at(i).ezdxf) {
                QJsonObject o = QJsonDocument::fromJson(entity).object();
                o.insert("layer", layers.at(i % layers.size()));
                o.insert("color", i + 1);
                entities.append(o);
            }
            kinds.append(entities);
        }
        const QString path = m_dir.filePath(QStringLiteral("ezdxf.dxf"));
        const Run run = python({script("ezdxf_fixture.py"), version, path, mixed ? "mixed" : "plain", codePage,
                                binary ? "bin" : "asc", QString::fromUtf8(QJsonDocument(kinds).toJson(QJsonDocument::Compact))});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QByteArray content = TestWindows::contents(path);
        QVERIFY2(binary ? content.startsWith("AutoCAD Binary DXF\r\n\x1A") : !content.contains('\r'),
                 "ezdxf writes binary DXF, or text with LF line ends");
        QVERIFY(content.contains("HEADER"));
        QVERIFY(content.contains("BLOCKS"));
        const QJsonObject made = QJsonDocument::fromJson(run.out).object();
        const QJsonArray texts = made.value("texts").toArray();
        const QJsonArray written = made.value("written").toArray();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(written.size(), all.size());
        QVERIFY2(version == QLatin1String("R12") || !written.contains(false), "from R2000 on, DXF holds every kind's entities");
        QStringList expected{QStringLiteral("Linie 1.5 2.25 300 -400 c0")};
        for (qsizetype i = 0; i < all.size(); ++i)
            if (written.at(i).toBool())
                expected << QStringList(all.at(i).read).replaceInStrings(QRegularExpression(QStringLiteral(" c0$")), QStringLiteral(" c%1").arg(i + 1));
        expected << "Text 7 -8 [" + texts.at(0).toString() + "] c3"
                 << "Text -0.125 0 [" + texts.at(1).toString() + "] c3"
                 << QStringLiteral("Text 1000000 1000000 [Ω ≈ € 10] c3") << QStringLiteral("Punkt -0.5 0 c3");
        QStringList messages;
        if (cut) {
            QCOMPARE(expected.takeLast(), QStringLiteral("Punkt -0.5 0 c3"));
            const QByteArray x = version == QLatin1String("R12") ? QByteArray("\x0A") : QByteArray("\x0A\0", 2);
            const qsizetype at = content.indexOf(x, content.lastIndexOf("POINT"));
            content.truncate(at + x.size() + 4);
            messages << QStringLiteral("Unvollständige Gruppe bei Byte %1: „10“").arg(at);
            QVERIFY(TestWindows::writeFile(path, content));
        }
        if (mixed)
            messages << DxfReader::passedOverMessage();

        RecordingDxfTarget target;
        QCOMPARE(DxfReader(target).read(content), messages);
        QCOMPARE(target.placed, expected);

        // Opened in the editor, saved and read again: the same shapes (colours are not saved).
        auto dialogs = std::make_shared<ScriptedDialogs>();
        const std::unique_ptr<frmZeichnen> window = TestWindows::startMainWindow(dialogs);
        for (qsizetype i = 0; i < messages.size(); ++i)
            dialogs->expectMessage(PlatformDialogs::Answer::Ok);
        window->LoadDXF(path);
        QVERIFY(dialogs->allAnswered());
        QBuffer saved;
        QVERIFY(saved.open(QIODevice::WriteOnly) && DxfWriter(*window->oObjectData).write(saved));
        RecordingDxfTarget again;
        QCOMPARE(DxfReader(again).read(saved.data()), QStringList());
        const QRegularExpression colour(QStringLiteral(" c\\d+$"));
        QCOMPARE(again.placed.replaceInStrings(colour, QString()), expected.replaceInStrings(colour, QString()));
    }
};

QTEST_MAIN(tst_DxfInterop)
#include "tst_DxfInterop.moc"
