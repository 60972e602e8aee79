// Bad files and bad places to save, through the editor's File commands with scripted dialogs:
// what the user is told, and that neither the drawing read so far nor any file is lost.

#include "document/ObjectData.h"
#include "files/DxfReader.h"
#include "support/DrawingText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using Answer = PlatformDialogs::Answer;

namespace {

using DrawingText::dxfLines;
using DrawingText::entitiesDxf;
using TestWindows::contents;
using TestWindows::writeFile;

const QString NoEof = DxfReader::noEofMessage();
const QString PassedOver = DxfReader::passedOverMessage();

// An ENTITIES section holding a point at (1, 1) first, then the given lines, and the file's end.
QByteArray afterAPoint(const QList<QByteArray> &items)
{
    return dxfLines(QList<QByteArray>{"0", "SECTION", "2", "ENTITIES", "0", "POINT", "8", "0", "10", "1", "20", "-1"}
                    + items + QList<QByteArray>{"0", "ENDSEC", "0", "EOF"});
}

// One entity of each kind.
QByteArray everyKind(const QByteArray &end)
{
    return dxfLines({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "8", "0", "10", " 10 ", "20", "-20 ",
                     " 0", "LINE", "8", "0", "10", " 100.5 ", "20", "-200 ", "11", " 300 ", "21", "-400 ",
                     "0", "CIRCLE", "8", "0", "10", " 2000 ", "20", "-2000 ", "40", " 500 ",
                     "0", "TEXT", "8", "0", "10", " 50 ", "20", "-60 ", "7", "", "40", " 0 ", "1", "Gr\xFC\337e",
                     "0", "ENDSEC", "0", "EOF"},
                    end);
}

const QStringList EveryKind{"Punkt 10 20 c0", "Linie 100.5 200 300 400 c0", "Kreis 2000 2000 500 c0", "Text 50 60 [Grüße] [] 0 c0"};

// Runs a step as the unprivileged user "nobody" when the test runs as root (as in CI), for whom no
// file is unreadable and none write-protected. The saved user id 0 allows the way back. False,
// with nothing run, where root cannot become that user (a container without it).
template <typename Step>
bool asUser(Step step)
{
    const bool root = geteuid() == 0;
    if (root) {
        if (setresgid(65534, 65534, 0) != 0)
            return false;
        if (setresuid(65534, 65534, 0) != 0) {
            if (setresgid(0, 0, 0) != 0)
                qFatal("cannot become root again");
            return false;
        }
    }
    step();
    if (root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
        qFatal("cannot become root again");
    return true;
}

// Lets the heap grow by at most 100 MB while it lives.
struct DataLimit
{
    rlimit previous{};
    DataLimit()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
        const rlim_t used = text.mid(text.indexOf("VmData:") + 7).trimmed().split(' ').first().toULongLong() * 1024;
        const rlimit limited{used + (100 << 20), RLIM_INFINITY};
        QVERIFY(used > 0 && getrlimit(RLIMIT_DATA, &previous) == 0 && setrlimit(RLIMIT_DATA, &limited) == 0);
    }
    ~DataLimit() { setrlimit(RLIMIT_DATA, &previous); }
};

} // namespace

class tst_BadInput : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmZeichnen> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previous;
    QByteArray m_previousBytes;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    QStringList drawing() const { return DrawingText::lines(m_window->oObjectData->getBasisklassen()); }

    // The messages shown after the first prompt (the prompt to save is answered No).
    QStringList messagesShown() const
    {
        QStringList texts;
        const QList<ScriptedDialogs::Prompt> messages = m_dialogs->messages();
        for (qsizetype i = 1; i < messages.size(); ++i) {
            const ScriptedDialogs::Prompt &box = messages.at(i);
            if (box.title != QLatin1String("Skizzar") || box.buttons != PlatformDialogs::Buttons::Ok)
                texts << QStringLiteral("<not an OK box titled Skizzar>");
            texts << box.text;
        }
        return texts;
    }

    // Opens a file through the File menu, the prompt answered No; every message answered OK.
    void open(const QString &file, qsizetype messages)
    {
        m_dialogs->prompts.clear();
        m_dialogs->expectMessage(Answer::No);
        m_dialogs->expectOpenFile(file);
        for (qsizetype i = 0; i < messages; ++i)
            m_dialogs->expectMessage(Answer::Ok);
        m_window->mnuOeffnen->trigger();
        QVERIFY(m_dialogs->allAnswered());
    }

    // Save As through the File menu; a failure is answered OK.
    void saveAs(const QString &file, bool fails)
    {
        m_dialogs->prompts.clear();
        m_dialogs->expectSaveFile(file);
        if (fails)
            m_dialogs->expectMessage(Answer::Ok);
        m_window->mnuSpeichernunter->trigger();
        QVERIFY(m_dialogs->allAnswered());
    }

    // Save: through the save dialog, starting at the file opened, exactly when chosen is given.
    void verifySave(const QString &opened, const std::optional<QString> &chosen)
    {
        m_dialogs->prompts.clear();
        if (chosen)
            m_dialogs->expectSaveFile(chosen);
        m_window->mnuSpeichern->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.isEmpty() ? QString() : m_dialogs->prompts.first().initialPath, chosen ? opened : QString());
    }

    QString lastMessage() const
    {
        const QList<ScriptedDialogs::Prompt> messages = m_dialogs->messages();
        return messages.isEmpty() ? QStringLiteral("<none>") : messages.last().text;
    }

    // Paths that name no plain file, and what an open or a save there says; makeNotPlainFiles
    // makes them.
    static void notPlainFileRows()
    {
        QTest::newRow("folder") << QStringLiteral("ordner.dxf") << QStringLiteral("Das ist ein Ordner, keine Datei.");
        // At once: no waiting for a reader or a writer, no reading without end.
        QTest::newRow("pipe") << QStringLiteral("pipe.dxf") << QStringLiteral("Das ist eine Pipe, keine Datei.");
        QTest::newRow("path too long") << QString(300, QLatin1Char('x')) << QStringLiteral("Der Pfad ist länger, als das System erlaubt.");
        QTest::newRow("symlink loop") << QStringLiteral("schleife.dxf") << QStringLiteral("Die symbolischen Verknüpfungen im Pfad bilden eine Schleife.");
    }
    void makeNotPlainFiles()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ordner.dxf")));
        QCOMPARE(mkfifo(QFile::encodeName(path(QStringLiteral("pipe.dxf"))).constData(), 0666), 0);
        QVERIFY(QFile::link(QStringLiteral("schleife.dxf"), path(QStringLiteral("schleife.dxf"))));
    }

private slots:
    // A drawing saved as "vorher.dxf": the editor is titled, and that file must never change.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_window = TestWindows::startMainWindow(m_dialogs);
        m_window->PaintPunkt(5.0f, 5.0f);
        m_window->PaintLinie(0.0f, 0.0f, 90.0f, 90.0f, 1);
        m_previous = path(QStringLiteral("vorher.dxf"));
        saveAs(m_previous, false);
        m_previousBytes = contents(m_previous);
        QVERIFY(m_previousBytes.contains("LINE"));
    }

    void cleanup()
    {
        QCOMPARE(contents(m_previous), m_previousBytes);
        m_window.reset();
        m_dialogs.reset();
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_dir.reset();
    }

    void openBadFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("shapes");
        const QStringList point{"Punkt 1 1 c0"};
        // The value of the second entity's group 10 stands on line 16.
        auto second = [](const QByteArray &x, const QByteArray &y) {
            return afterAPoint({"0", "POINT", "10", x, "20", y});
        };
        QTest::newRow("empty file") << QByteArray() << QStringList{NoEof} << QStringList();
        QTest::newRow("binary garbage (a PNG picture)")
            << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\b\x06\0\0\0\x1F\xF3\377a", 33)
            << QStringList{QStringLiteral("Kein Gruppencode in Zeile 1: „‰PNG“")} << QStringList();
        QTest::newRow("UTF-16 text") << QByteArray("\xFF\3760\0\r\0\n\0", 8)
                                     << QStringList{QStringLiteral("Kein Gruppencode in Zeile 1: „ÿþ0") + QChar(0) + QStringLiteral("“")}
                                     << QStringList();
        QTest::newRow("nan") << second("nan", "-2") << QStringList{QStringLiteral("Keine Zahl in Zeile 16: „nan“")} << point;
        QTest::newRow("inf") << second("2", "inf") << QStringList{QStringLiteral("Keine Zahl in Zeile 18: „inf“")} << point;
        QTest::newRow("1e999") << second("1e999", "-2") << QStringList{QStringLiteral("Überlauf in Zeile 16: „1e999“")} << point;
        QTest::newRow("-0") << second("-0", "-0") << QStringList() << QStringList{"Punkt 1 1 c0", "Punkt 0 0 c0"};
        QTest::newRow("largest float") << second("3.4028235e38", "-3.4028235e38") << QStringList()
                                       << QStringList{"Punkt 1 1 c0", "Punkt 3.40282347e+38 3.40282347e+38 c0"};
        QTest::newRow("beyond the largest float") << second("3.5e38", "-2")
                                                  << QStringList{QStringLiteral("Überlauf in Zeile 16: „3.5e38“")} << point;
        QTest::newRow("Y whose negation is too large") << second("2", "-1e39")
                                                       << QStringList{QStringLiteral("Überlauf in Zeile 18: „-1e39“")} << point;
        QTest::newRow("tiny values") << second("1e-45", "-1e-50") << QStringList()
                                     << QStringList{"Punkt 1 1 c0", "Punkt 1.40129846e-45 0 c0"};
        QTest::newRow("thousands separator") << second("1.000,5", "-2")
                                             << QStringList{QStringLiteral("Keine Zahl in Zeile 16: „1.000,5“")} << point;
        // Only the start of a long line is decoded for the message, and still every character
        // shown is whole: 200 escapes of seven bytes each.
        QTest::newRow("long line of escapes") << second(QByteArray("\\U+03A9").repeated(200), "-2")
                                              << QStringList{QStringLiteral("Keine Zahl in Zeile 16: „") + QString(80, QChar(0x03A9))
                                                             + QStringLiteral("…“")}
                                              << point;
        QTest::newRow("negative radius") << afterAPoint({"0", "CIRCLE", "10", "1000", "20", "-1000", "40", "-300"})
                                         << QStringList() << QStringList{"Punkt 1 1 c0", "Kreis 1000 1000 300 c0"};
        QTest::newRow("circle reaching beyond the largest float")
            << afterAPoint({"0", "CIRCLE", "10", "3e38", "20", "0", "40", "1e38"})
            << QStringList{QStringLiteral("Überlauf in Zeile 14: „CIRCLE“")} << point;
        QTest::newRow("no EOF") << dxfLines({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "1", "20", "-1", "0", "POINT", "10", "2"})
                                << QStringList{NoEof} << point;
        QTest::newRow("LF-only lines") << everyKind("\n") << QStringList() << EveryKind;
        QTest::newRow("CR-only lines") << everyKind("\r") << QStringList() << EveryKind;
        QTest::newRow("unknown entities")
            << afterAPoint({"0", "ARC", "10", "1", "20", "1", "40", "2", "50", "0", "51", "90",
                            "0", "LWPOLYLINE", "90", "2", "10", "0", "20", "0", "10", "5", "20", "5",
                            "0", "POINT", "10", "3", "20", "-3"})
            << QStringList{PassedOver} << QStringList{"Punkt 1 1 c0", "Punkt 3 3 c0"};
        QTest::newRow("group code that is not a number")
            << afterAPoint({"0", "POINT", "10", "2", "zehn", "-2"})
            << QStringList{QStringLiteral("Kein Gruppencode in Zeile 17: „zehn“")} << point;
        QTest::newRow("line breaks in a text") << afterAPoint({"0", "TEXT", "10", "2", "20", "-2", "1", "Zeile\\U+000AZwei\\U+000D."})
                                               << QStringList() << QStringList{"Punkt 1 1 c0", "Text 2 2 [Zeile\nZwei\r.] [] 0 c0"};
        // Just above a float midpoint: X read as a float rounds up, Y read as a double and then rounded ties to even.
        QTest::newRow("next to a float midpoint") << second("1.0000000596046447753906251", "-1.0000000596046447753906251")
                                                  << QStringList() << QStringList{"Punkt 1 1 c0", "Punkt 1.00000012 1 c0"};
        QTest::newRow("unknown entity and no EOF")
            << dxfLines({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "1", "20", "-1", "0", "SPLINE", "10", "2"})
            << QStringList{NoEof, PassedOver} << point;
        QTest::newRow("unknown entity and no EOF, LF-only lines")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n7\n20\n-8\n0\nARC\n10\n1\n")
            << QStringList{NoEof, PassedOver} << QStringList{"Punkt 7 8 c0"};
        QTest::newRow("word for a number")
            << entitiesDxf({"0", "POINT", "10", "1", "20", "-1", "0", "POINT", "10", "zwei", "20", "-2"})
            << QStringList{QStringLiteral("Keine Zahl in Zeile 14: „zwei“")} << point;
    }

    // The drawing keeps every shape read before the fault, and what was read can be saved and
    // opened again unchanged. A file read in part is not saved over without the save dialog.
    void openBadFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, shapes);
        const QString file = path(QStringLiteral("eingabe.dxf"));
        QVERIFY(writeFile(file, content));
        open(file, messages.size());
        QCOMPARE(messagesShown(), messages);
        QCOMPARE(drawing(), shapes);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - eingabe.dxf"));
        QCOMPARE(contents(file), content);

        const QString rescued = messages.isEmpty() ? file : path(QStringLiteral("gerettet.dxf"));
        verifySave(file, messages.isEmpty() ? std::nullopt : std::optional<QString>(rescued));
        open(rescued, 0);
        QCOMPARE(messagesShown(), QStringList());
        QCOMPARE(drawing(), shapes);
    }

    void openFileThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        notPlainFileRows();
        QTest::newRow("missing") << QStringLiteral("gibtsnicht.dxf") << QStringLiteral("Die Datei existiert nicht.");
        QTest::newRow("device") << QStringLiteral("/dev/zero") << QStringLiteral("Das ist ein Gerät, keine Datei.");
        QTest::newRow("no rights to read") << QStringLiteral("geheim.dxf") << QStringLiteral("Keine Berechtigung zum Lesen.");
        // Opens, but reading fails at once, as on a failing disk or a share that went away. (Read
        // as the test's own user: a process that gave up root may not read its own memory.)
        QTest::newRow("read error") << QStringLiteral("/proc/self/mem") << QStringLiteral("Input/output error");
    }

    // The drawing was emptied before (the prompt was answered), stays empty; the title and the
    // file that Save writes to stay those of the previous file.
    void openFileThatCannotBeRead()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString file = QDir(m_dir->path()).filePath(name);
        makeNotPlainFiles();
        if (name == QLatin1String("geheim.dxf")) {
            QVERIFY(writeFile(file, everyKind("\r\n")));
            QVERIFY(QFile::setPermissions(file, {}));
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                             | QFile::ReadOther | QFile::ExeOther));
            if (!asUser([&] { open(file, 1); }))
                QSKIP("root cannot act as an unprivileged user here");
        } else {
            open(file, 1);
        }
        QCOMPARE(messagesShown(), QStringList{QStringLiteral("Dateifehler: „%1“: %2").arg(file, reason)});
        QCOMPARE(drawing(), QStringList());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - vorher.dxf"));
        QCOMPARE(m_window->commonDialog().getFileName(), m_previous);
        // The emptied drawing is not what the file that the title names holds: Save asks, starting there.
        m_window->PaintPunkt(4.0f, 4.0f);
        verifySave(m_previous, path(QStringLiteral("gerettet.dxf")));
    }

    void saveWhereItCannotBe_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("write-protected file") << QStringLiteral("schreibgeschuetzt.dxf") << QStringLiteral("Keine Berechtigung zum Schreiben.");
        QTest::newRow("write-protected folder") << QStringLiteral("zu/plan.dxf") << QStringLiteral("Keine Berechtigung zum Schreiben.");
        notPlainFileRows();
        QTest::newRow("missing folder") << QStringLiteral("fehlt/plan.dxf") << QStringLiteral("Der Ordner „<dir>/fehlt“ existiert nicht.");
    }

    // The old file, the drawing and the title stay as they were; Save still writes to the old file.
    void saveWhereItCannotBe()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        reason.replace(QLatin1String("<dir>"), m_dir->path());
        const QString file = path(target);
        const QByteArray protectedBytes("0\r\nEOF\r\n");
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                              | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(m_dir->path(), everyone));
        if (target == QLatin1String("schreibgeschuetzt.dxf")) {
            QVERIFY(writeFile(file, protectedBytes));
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadOther));
        } else if (target == QLatin1String("zu/plan.dxf")) {
            QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("zu")));
            QVERIFY(QFile::setPermissions(path(QStringLiteral("zu")), QFile::ReadOwner | QFile::ExeOwner
                                                                          | QFile::ReadOther | QFile::ExeOther));
        }
        makeNotPlainFiles();
        struct stat info = {};
        auto kind = [&] { return lstat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0; };
        const auto kindBefore = kind();
        m_window->PaintKreis(100.0f, 100.0f, 150.0f, 100.0f, 1);
        const QStringList before = drawing();

        if (!asUser([&] { saveAs(file, true); }))
            QSKIP("root cannot act as an unprivileged user here");
        QCOMPARE(lastMessage(), QStringLiteral("Dateifehler: „%1“: %2").arg(file, reason));
        QCOMPARE(drawing(), before);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - vorher.dxf"));
        QCOMPARE(m_window->commonDialog().getFileName(), m_previous);
        QCOMPARE(kind(), kindBefore);
        if (target == QLatin1String("schreibgeschuetzt.dxf"))
            QCOMPARE(contents(file), protectedBytes);
        // Nothing was left beside the target either.
        const QStringList left = QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(left.filter(QStringLiteral("plan.dxf")).isEmpty() && left.filter(QStringLiteral(".tmp")).isEmpty()
                     && left.filter(QStringLiteral("ordner")).isEmpty(),
                 qPrintable(left.join(QLatin1Char(' '))));

        // The drawing is still saved to the file that the title names.
        m_dialogs->prompts.clear();
        m_window->mnuSpeichern->trigger();
        QCOMPARE(m_dialogs->prompts.size(), 0);
        m_previousBytes = contents(m_previous);
        QCOMPARE(m_previousBytes.count("CIRCLE"), 1);
    }

    // Saving over a file keeps its owner, group, mode, extended attributes and links: it is replaced
    // at once where the new file can have them all, and overwritten itself where it cannot.
    void saveKeepsTheFileWhatItWas()
    {
        if (geteuid() != 0)
            QSKIP("only root can give files to other users");
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
        // Where its folder takes no new file, the copy of the old text goes to a state folder that
        // "nobody" may write; the old file is longer than the new one, which must not keep its end.
        const QByteArray state = QFile::encodeName(path(QStringLiteral("state")));
        QVERIFY(mkdir(state.constData(), 0755) == 0 && mkdir(state + "/skizzar", 0) == 0 && chmod(state + "/skizzar", 01777) == 0);
        const auto stateFolder = TestWindows::useStateFolder(QFile::decodeName(state));
        // clang-format off
        struct Case { const char *name; mode_t folderMode; uid_t owner; mode_t fileMode; bool asNobody, inPlace; };
        // clang-format on
        for (const Case &c : {Case{"link", 0755, 0, 0644, false, true}, Case{"sticky", 01777, 0, 0666, true, true},
                              Case{"closed", 0555, 65534, 0644, true, true}, Case{"root", 0755, 65534, 02640, false, false}}) {
            const QString folder = path(QLatin1String(c.name)), file = folder + QStringLiteral("/plan.dxf");
            const QByteArray native = QFile::encodeName(file);
            QVERIFY(QDir(m_dir->path()).mkdir(QLatin1String(c.name)) && writeFile(file, QByteArray(100000, 'x')));
            if (setxattr(native.constData(), "user.skizzar", "1", 1, 0) != 0)
                QSKIP("the file system takes no extended attributes");
            const bool linked = c.name == std::string_view("link");
            QVERIFY(!linked || link(native.constData(), (native + "2").constData()) == 0);
            QVERIFY(chown(native.constData(), c.owner, c.owner) == 0 && chmod(native.constData(), c.fileMode) == 0
                    && chmod(QFile::encodeName(folder).constData(), c.folderMode) == 0);
            struct stat before = {}, after = {};
            QCOMPARE(stat(native.constData(), &before), 0);
            if (!c.asNobody)
                saveAs(file, false);
            else if (!asUser([&] { saveAs(file, false); }))
                QSKIP("root cannot act as an unprivileged user here");
            char value = 0;
            QVERIFY(stat(native.constData(), &after) == 0 && getxattr(native.constData(), "user.skizzar", &value, 1) == 1);
            QCOMPARE((QList<quint64>{after.st_uid, after.st_gid, after.st_mode, after.st_nlink, quint64(value), after.st_ino == before.st_ino}),
                     (QList<quint64>{before.st_uid, before.st_gid, before.st_mode, before.st_nlink, '1', c.inPlace}));
            QVERIFY(contents(file).contains("LINE") && contents(file).endsWith("EOF\r\n") && (!linked || contents(file + "2") == contents(file)));
            QCOMPARE(QDir(QFile::decodeName(state + "/skizzar")).entryList(QDir::Files | QDir::Hidden), QStringList());
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), linked ? 2 : 1); // no temporary file
        }
    }

    void openHugeFile_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("filler");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("shapes");
        QTest::newRow("200 MB of comments before the drawing")
            << dxfLines({"0", "SECTION", "2", "HEADER"}) << dxfLines({"999", "Eine Zeile Kommentar, die nichts bedeutet"})
            << dxfLines({"0", "ENDSEC"}) + everyKind("\r\n") << QStringList() << EveryKind;
        const QString cut = QStringLiteral("Kein Gruppencode in Zeile 1: „") + QString(80, QLatin1Char('x')) + QStringLiteral("…“");
        QTest::newRow("200 MB in one line") << QByteArray() << QByteArray("x") << QByteArray() << QStringList{cut}
                                            << QStringList();
        // What was read before memory ran out is released before anything is drawn.
        QTest::newRow("out of memory") << dxfLines({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "1", "20", "-1", "0", "TEXT", "1"})
                                       << QByteArray("x") << dxfLines({"", "0", "ENDSEC", "0", "EOF"})
                                       << QStringList{QStringLiteral("Nicht genügend Speicher")} << QStringList();
    }

    // Read in pieces, never whole, in a few seconds; the message shows only the start of a line.
    void openHugeFile()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the sanitizer's own memory counts against the data limit");
#endif
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, filler);
        QFETCH(QByteArray, tail);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, shapes);
        const qsizetype size = 200 * 1024 * 1024;
        const QString file = path(QStringLiteral("gross.dxf"));
        {
            const QByteArray content =
                head + filler.repeated((size - head.size() - tail.size()) / filler.size()) + tail;
            QVERIFY(content.size() > size - filler.size());
            QVERIFY(writeFile(file, content));
        }
        QElapsedTimer timer;
        timer.start();
        const DataLimit limit;
        open(file, messages.size());
        qInfo("200 MB read in %lld ms", timer.elapsed());
        QCOMPARE(messagesShown(), messages);
        QCOMPARE(drawing(), shapes);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - gross.dxf"));
        verifySave(file, messages.isEmpty() ? std::nullopt : std::optional<QString>(path(QStringLiteral("gerettet.dxf"))));
    }
};

QTEST_MAIN(tst_BadInput)
#include "tst_BadInput.moc"
