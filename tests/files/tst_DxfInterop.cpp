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
#include <QFile>
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

float single(const QJsonObject &o, const char *key)
{
    return static_cast<float>(o.value(QLatin1String(key)).toDouble());
}

QString n(float v)
{
    return DrawingText::number(v);
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
        ObjectData document;
        struct Expected
        {
            QString type;
            QList<float> values;
            QString text;
        };
        QList<Expected> expected;

        using namespace ShapeKinds;
        document.AddObject(punkt(10, 20));
        expected << Expected{"POINT", {10, -20}, {}};
        document.AddObject(linie(-1000.5f, 0.1f, 9705, -7080));
        expected << Expected{"LINE", {-1000.5f, -0.1f, 9705, 7080}, {}};
        document.AddObject(kreis(2000, 2000.75f, 1.0f / 3.0f));
        expected << Expected{"CIRCLE", {2000, -2000.75f, 1.0f / 3.0f}, {}};
        document.AddObject(rechteck(3000, 2000, 1000, 1000));
        expected << Expected{"LINE", {3000, -2000, 1000, -2000}, {}} << Expected{"LINE", {1000, -2000, 1000, -1000}, {}}
                 << Expected{"LINE", {1000, -1000, 3000, -1000}, {}} << Expected{"LINE", {3000, -1000, 3000, -2000}, {}};
        document.AddObject(text(1e-3f, -123456.78f, QStringLiteral("  Grüße Ω € \\U+0041  "), QStringLiteral("Arial"), 12));
        expected << Expected{"TEXT", {1e-3f, 123456.78f}, QStringLiteral("  Grüße Ω € \\U+0041  ")};
        document.AddObject(text(0, 0, QString()));
        expected << Expected{"TEXT", {0, 0}, QString()};

        const QString path = m_dir.filePath(QStringLiteral("skizzar.dxf"));
        QSaveFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(DxfWriter(document).write(file));
        QVERIFY(file.commit());

        const Run run = python({script("ezdxf_entities.py"), path});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QJsonArray entities = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(entities.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QJsonObject o = entities.at(i).toObject();
            const Expected &e = expected.at(i);
            QCOMPARE(o.value("type").toString(), e.type);
            QCOMPARE(o.value("layer").toString(), QStringLiteral("0"));
            QVERIFY2(!o.contains("color"), "no colour is written");
            QList<float> values;
            if (e.type == QLatin1String("LINE"))
                values = {single(o, "x"), single(o, "y"), single(o, "x2"), single(o, "y2")};
            else if (e.type == QLatin1String("CIRCLE"))
                values = {single(o, "x"), single(o, "y"), single(o, "r")};
            else
                values = {single(o, "x"), single(o, "y")};
            QCOMPARE(values.size(), e.values.size());
            for (int v = 0; v < values.size(); ++v)
                QCOMPARE(n(values.at(v)), n(e.values.at(v)));
            if (e.type == QLatin1String("TEXT"))
                QCOMPARE(o.value("text").toString(), e.text);
        }
        const QJsonObject text = entities.at(7).toObject();
        QCOMPARE(text.value("style").toString(), QStringLiteral("Arial"));
        QCOMPARE(text.value("height").toDouble(), 12.0);
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
        const QString path = m_dir.filePath(QStringLiteral("ezdxf.dxf"));
        QStringList taken;
        for (const ShapeKinds::Kind &kind : ShapeKinds::all())
            taken << QString::fromLatin1(kind.dxfEntities.constFirst());
        const Run made = python({script("ezdxf_fixture.py"), version, path, mixed ? "mixed" : "plain", codePage,
                                 binary ? "bin" : "asc", taken.join(QLatin1Char(','))});
        QVERIFY2(made.exitCode == 0, made.err.constData());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray content = file.readAll();
        file.close();
        QVERIFY2(binary ? content.startsWith("AutoCAD Binary DXF\r\n\x1A") : !content.contains('\r'),
                 "ezdxf writes binary DXF, or text with LF line ends");
        QVERIFY(content.contains("HEADER"));
        QVERIFY(content.contains("BLOCKS"));

        // What ezdxf itself reads from the file, in the order of the ENTITIES section.
        const Run listed = python({script("ezdxf_entities.py"), path});
        QVERIFY2(listed.exitCode == 0, listed.err.constData());
        const QJsonArray texts = QJsonDocument::fromJson(made.out).array();
        QCOMPARE(texts.size(), 3);
        qsizetype nextText = 0;
        QStringList expected;
        bool passedOver = false;
        std::int32_t color = 0;
        for (const QJsonValue &value : QJsonDocument::fromJson(listed.out).array()) {
            const QJsonObject o = value.toObject();
            const QString type = o.value("type").toString();
            if (o.contains("color"))
                color = o.value("color").toInt();
            const QString c = QStringLiteral(" c%1").arg(color);
            const QString x = n(single(o, "x"));
            const QString y = n(-single(o, "y"));
            if (type == QLatin1String("POINT"))
                expected << "Punkt " + x + " " + y + c;
            else if (type == QLatin1String("LINE"))
                expected << "Linie " + x + " " + y + " " + n(single(o, "x2")) + " " + n(-single(o, "y2")) + c;
            else if (type == QLatin1String("CIRCLE"))
                expected << "Kreis " + x + " " + y + " " + n(single(o, "x") + single(o, "r")) + " " + y + c;
            else if (type == QLatin1String("TEXT"))
                expected << "Text " + x + " " + y + " [" + texts.at(nextText++).toString() + "]" + c;
            else
                passedOver = true;
        }
        QCOMPARE(passedOver, mixed);
        QCOMPARE(expected.size(), 7);
        QVERIFY(expected.contains("Text 7 -8 [" + texts.at(0).toString() + "] c3"));
        QVERIFY(expected.contains(QStringLiteral("Text 1000000 1000000 [Ω ≈ € 10] c3")));
        QStringList messages;
        if (cut) {
            QCOMPARE(expected.takeLast(), QStringLiteral("Punkt -0.5 0 c3"));
            const QByteArray x = version == QLatin1String("R12") ? QByteArray("\x0A") : QByteArray("\x0A\0", 2);
            const qsizetype at = content.indexOf(x, content.lastIndexOf("POINT"));
            content.truncate(at + x.size() + 4);
            messages << QStringLiteral("Unvollständige Gruppe bei Byte %1: „10“").arg(at);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            file.close();
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
