// The recovery record: damaged records, what the start offers, and editors killed at random
// moments whose drawing comes back as an editor that was not killed left it.

#include "files/DxfWriter.h"
#include "files/RecoveryRecord.h"
#include "files/StateFolder.h"
#include "support/DrawingText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <random>
#include <unistd.h>

using Answer = PlatformDialogs::Answer;
using Entry = RecoveryEntry;

namespace {

constexpr int SessionSteps = 30;

// One entry of every kind.
QList<Entry> sampleEntries()
{
    Entry titled{Entry::Kind::Titled};
    titled.text = QStringLiteral("Skizzar - plan.dxf");
    titled.fileName = QStringLiteral("/tmp/plan.dxf");
    Entry read{Entry::Kind::Read};
    read.fileName = QStringLiteral("/tmp/Grüße.dxf");
    read.stamp = {1, 2, 3, 4, 5};
    Entry stopped = read;
    stopped.readUpTo = 6;
    Entry text(Entry::Placement::Text, 7.5f, -8.0f, 0, 0, 0);
    text.text = QStringLiteral("Zeile\nΩ");
    text.font = QStringLiteral("DejaVu Sans");
    text.fontSize = 12.0f;
    const Entry colour(Entry::Kind::Colour, 0x0000FF);
    const Entry background(Entry::Kind::BackColour, 0xC0C0C0);
    Entry saved = titled;
    saved.saved = true;
    // clang-format off
    return {read, {Entry::Placement::Kreis, 1, 2, 3, 4, 255}, text, colour, stopped, {Entry::Kind::Undone}, background,
            {Entry::Kind::Emptied}, titled, saved};
    // clang-format on
}

QByteArray recordOf(const QList<Entry> &entries)
{
    QByteArray bytes = RecoveryRecord::header();
    for (const Entry &e : entries)
        bytes += RecoveryRecord::encode({e});
    return bytes;
}

// What an editor's drawing is: shapes, colours, title, the save dialog's file and the file Save
// writes.
QStringList stateOf(frmZeichnen &window)
{
    QBuffer dxf;
    dxf.open(QIODevice::WriteOnly);
    DxfWriter(*window.oObjectData).write(dxf);
    return DrawingText::lines(window.oObjectData->getBasisklassen())
           << window.windowTitle() << QFileInfo(window.commonDialog().getFileName()).fileName()
           << QString::number(window.lColor) << QString::number(window.getBackColor())
           << QString::fromLatin1(dxf.data());
}

// A session of random actions, the same for the same seed: placements of every kind, Undo, New,
// both colours, Save As, Save and Open, files in folder. report is called after each action.
void runSession(frmZeichnen &window, ScriptedDialogs &dialogs, const QString &folder, quint32 seed, int steps,
                const std::function<void(int)> &report = {})
{
    std::mt19937 random(seed);
    auto coordinate = [&] { return float(random() % 9000); };
    QString saved;
    bool bound = false;
    for (int step = 0; step < steps; ++step) {
        const unsigned action = random() % 20;
        const float x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
        if (action < 3)
            window.PaintPunkt(x1, y1);
        else if (action < 5)
            window.PaintLinie(x1, y1, x2, y2, 1);
        else if (action < 7)
            window.PaintRechteck(x1, y1, x2, y2, 1);
        else if (action < 9)
            window.PaintKreis(x1, y1, x1 + x2 / 10, y1, 1);
        else if (action < 10)
            window.PaintText(x1, y1, QStringLiteral("Text %1 ä").arg(step), 1);
        else if (action < 12)
            window.mnuRueckgaengig_Click();
        else if (action < 13) {
            dialogs.expectMessage(Answer::No);
            window.mnuNeu->trigger();
            bound = false;
        } else if (action < 15) {
            dialogs.expectColor(std::int32_t(random() % 0x1000000));
            (action == 13 ? window.mnuObjektfarbe : window.mnuHintergrundfarbe)->trigger();
        } else if (action < 17 || (action < 18 && !bound)) {
            saved = QDir(folder).filePath(QStringLiteral("s%1.dxf").arg(step));
            dialogs.expectSaveFile(saved);
            window.mnuSpeichernunter->trigger();
            bound = true;
        } else if (action < 18) {
            window.mnuSpeichern->trigger();
        } else if (!saved.isEmpty()) {
            dialogs.expectMessage(Answer::No);
            dialogs.expectOpenFile(saved);
            window.mnuOeffnen->trigger();
            bound = true;
        }
        if (report)
            report(step);
    }
}

// The child that a test kills: runs the session of seed, saying after each action how many are
// done, then waits to be killed.
int sessionChild(quint32 seed, const QString &folder)
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    const std::unique_ptr<frmZeichnen> window = TestWindows::startMainWindow(dialogs);
    runSession(*window, *dialogs, folder, seed, SessionSteps, [](int step) {
        std::printf("%d\n", step + 1);
        std::fflush(stdout);
    });
    for (;;)
        ::pause();
}

} // namespace

class tst_RecoveryRecord : public QObject
{
    Q_OBJECT

private:
    // Runs the start-up step with the records in folder; each prompt answered from answers.
    static QList<ScriptedDialogs::Prompt> startUp(frmZeichnen &window, ScriptedDialogs &dialogs,
                                                  const QString &folder, const QList<std::optional<Answer>> &answers)
    {
        const auto stateFolder = TestWindows::useStateFolder(folder);
        dialogs.prompts.clear();
        for (const std::optional<Answer> &answer : answers) {
            if (answer)
                dialogs.expectMessage(*answer);
            else
                dialogs.expectDismissal(true);
        }
        window.recoverAfterCrash();
        return dialogs.prompts;
    }

    static QStringList records(const QString &folder)
    {
        return QDir(folder + QStringLiteral("/skizzar")).entryList({QStringLiteral("record-*")}, QDir::Files);
    }

private slots:
    // A damaged record gives every entry before the damage, and says so; none is made up.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("unsaved");
        const QList<Entry> sample = sampleEntries();
        const QByteArray whole = recordOf(sample);
        const qsizetype second = recordOf(sample.first(1)).size();
        QTest::newRow("whole, ending saved") << whole << 10 << false << false;
        QTest::newRow("changed since reading") << recordOf(sample.first(2)) << 2 << false << true;
        QTest::newRow("read only") << recordOf(sample.first(1)) << 1 << false << false;
        QTest::newRow("cut inside an entry") << whole.first(whole.size() - 3) << 9 << true << true;
        QTest::newRow("one action of two entries") << recordOf(sample.first(1)) + RecoveryRecord::encode(sample.mid(1, 2)) << 3 << false << true;
        QTest::newRow("an action cut short gives none of its entries")
            << recordOf(sample.first(1)) + RecoveryRecord::encode(sample.mid(1, 2)).chopped(3) << 1 << true << false;
        QTest::newRow("cut inside a length") << recordOf(sample.first(2)) + "\x05\x00" << 2 << true << true;
        QByteArray garbled = whole;
        garbled[second + 6] = char(garbled[second + 6] ^ 0x40);
        QTest::newRow("a garbled byte in the second entry") << garbled << 1 << true << false;
        QByteArray huge = whole;
        huge.replace(second, 4, "\xFF\xFF\xFF\x7F");
        QTest::newRow("a length past the end") << huge << 1 << true << false;
        QTest::newRow("empty") << QByteArray() << 0 << false << false;
        QTest::newRow("not a record") << QByteArray("0\r\nSECTION\r\n") << 0 << true << false;
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        QFETCH(bool, damaged);
        QFETCH(bool, unsaved);
        const RecoveryRecord::Contents contents = RecoveryRecord::parse(bytes);
        QCOMPARE(contents.entries, sampleEntries().first(entries));
        QCOMPARE(contents.damaged, damaged);
        QCOMPARE(contents.unsaved(), unsaved);
    }

    // What the start offers: the dead runs' unsaved drawings, newest first, with what is missing;
    // a running editor's record is never touched.
    void startUpOffers()
    {
        QTemporaryDir state, files;
        QVERIFY(QDir().mkpath(state.filePath(QStringLiteral("skizzar"))));
        const QString folder = state.filePath(QStringLiteral("skizzar"));
        const QString opened = files.filePath(QStringLiteral("offen.dxf"));
        QVERIFY(TestWindows::writeFile(opened, "0\r\nEOF\r\n"));
        Entry read{Entry::Kind::Read};
        read.fileName = opened;
        read.stamp = *DiskFile::stampOf(opened);
        Entry titled{Entry::Kind::Titled};
        titled.text = QStringLiteral("Skizzar - offen.dxf");
        titled.fileName = opened;
        const Entry point(Entry::Placement::Punkt, 100, 200, 0, 0, 255);
        Entry saved = titled;
        saved.saved = true;
        // Oldest first: a running editor's, an unchanged Open, a damaged one, a saved one.
        const RecoveryRecord running(folder);
        auto dead = [&](const QByteArray &bytes, int age) {
            const QString name = QStringLiteral("%1/record-%2").arg(folder).arg(age);
            QVERIFY(TestWindows::writeFile(name, bytes));
            QFile f(name);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
        };
        dead(recordOf({read, titled, point}), 30);
        dead(recordOf({point, point}).chopped(2), 20);
        dead(recordOf({point, saved}), 10);

        auto dialogs = std::make_shared<ScriptedDialogs>();
        const std::unique_ptr<frmZeichnen> window = TestWindows::startMainWindow(dialogs);
        // Dismissed, then Nein: the damaged one stays, the Open is asked for.
        QList<ScriptedDialogs::Prompt> asked = startUp(*window, *dialogs, state.path(), {std::nullopt, Answer::No});
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).text, QStringLiteral("Die Zeichnung „Untitled“ wurde nicht gespeichert, als Skizzar beendet wurde. "
                                                  "Das Ende der Aufzeichnung ist beschädigt: was zuletzt geschah, ist verloren. "
                                                  "Soll sie wiederhergestellt werden ?"));
        QCOMPARE(asked.at(1).text, QStringLiteral("Die Zeichnung „offen.dxf“ wurde nicht gespeichert, als Skizzar beendet wurde. "
                                                  "Soll sie wiederhergestellt werden ?"));
        QCOMPARE(asked.at(1).title, QStringLiteral("Skizzar"));
        QCOMPARE(asked.at(1).buttons, PlatformDialogs::Buttons::YesNo);
        QCOMPARE(records(state.path()).size(), 2); // the running one and the damaged one
        // Ja: the point before the damage comes back, counted as changed.
        asked = startUp(*window, *dialogs, state.path(), {Answer::Yes});
        QCOMPARE(DrawingText::lines(window->oObjectData->getBasisklassen()), QStringList{"Punkt 100 200 c255"});
        QCOMPARE(records(state.path()), QStringList{QFileInfo(running.fileName()).fileName()});
        dialogs->prompts.clear();
        dialogs->expectSaveFile(std::nullopt);
        window->mnuSpeichern->trigger();
        QVERIFY(dialogs->allAnswered());

        // An Open whose file changed since: only what was placed after it comes back.
        dead(recordOf({read, titled, point}), 5);
        QVERIFY(TestWindows::writeFile(opened, "0\r\nEOF\r\n\r\n"));
        asked = startUp(*window, *dialogs, state.path(), {Answer::Yes});
        QCOMPARE(asked.first().text, QStringLiteral("Die Zeichnung „offen.dxf“ wurde nicht gespeichert, als Skizzar beendet wurde. "
                                                    "Die Datei „%1“ wurde seitdem geändert oder entfernt: zurück kommen nur "
                                                    "die Formen, die nach dem Öffnen gezeichnet wurden. Soll sie wiederhergestellt werden ?")
                                         .arg(opened));
        QCOMPARE(window->windowTitle(), QStringLiteral("Skizzar - offen.dxf"));

        // The repaint that ends the replay fails: the error is shown, and the editor runs on.
        dead(recordOf({point, {Entry::Kind::BackColour, 0x7FFFFFFF}}), 1);
        const QStringList before = DrawingText::lines(window->oObjectData->getBasisklassen());
        asked = startUp(*window, *dialogs, state.path(), {Answer::Yes, Answer::Ok});
        QCOMPARE(asked.last().text, QStringLiteral("Überlauf"));
        QCOMPARE(DrawingText::lines(window->oObjectData->getBasisklassen()), before + QStringList{"Punkt 100 200 c255"});
    }

    // An Open stopped in its progress window comes back as far as it was read, not further.
    void stoppedReadComesBackAsItWasStopped()
    {
        QTemporaryDir state, files;
        const auto stateFolder = TestWindows::useStateFolder(state.path());
        const QString opened = files.filePath(QStringLiteral("gross.dxf"));
        QVERIFY(TestWindows::writeFile(opened, DrawingText::pointsDxf(100000))); // three pieces of 1 MiB
        auto dialogs = std::make_shared<ScriptedDialogs>();
        std::unique_ptr<frmZeichnen> window = TestWindows::startMainWindow(dialogs);
        dialogs->expectMessage(Answer::No);
        dialogs->expectOpenFile(opened);
        dialogs->expectProgress(2);
        window->mnuOeffnen->trigger();
        window->PaintPunkt(1.0f, 2.0f);
        QVERIFY(dialogs->allAnswered());
        const QStringList before = stateOf(*window);
        // Its record as a dead run leaves it.
        const QString folder = state.filePath(QStringLiteral("skizzar/"));
        QVERIFY(QFile::copy(folder + records(state.path()).value(0), folder + QStringLiteral("record-tot")));
        window = TestWindows::startMainWindow(dialogs);
        startUp(*window, *dialogs, state.path(), {Answer::Yes});
        QCOMPARE(stateOf(*window), before);
    }

    // Editors killed (SIGKILL, SIGTERM, SIGHUP) at random moments of a random session: the
    // drawing brought back is the one an editor that was not killed had after the same last
    // action, or after the action in progress. SKIZZAR_KILLS sets how many (default 6).
    void killedEditorsDrawingComesBack()
    {
        const int kills = qEnvironmentVariableIsSet("SKIZZAR_KILLS") ? qEnvironmentVariableIntValue("SKIZZAR_KILLS") : 6;
        const int ways[] = {SIGKILL, SIGTERM, SIGHUP};
        std::mt19937 random(20261207);
        int recovered = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const quint32 seed = random();
            const int target = int(random() % (SessionSteps + 1));
            QTemporaryDir work;
            const QString childFiles = work.filePath(QStringLiteral("kind")), state = work.filePath(QStringLiteral("state"));
            QVERIFY(QDir().mkpath(childFiles) && QDir().mkpath(work.filePath(QStringLiteral("vorbild"))));
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_STATE_HOME"), state);
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--scripted-run"), QString::number(seed), childFiles});
            QVERIFY(child.waitForStarted());
            // Killed once the target action is done: it may be in the next one by then.
            QByteArray said;
            int done = 0;
            while (done < target && child.waitForReadyRead(30000)) {
                said += child.readAllStandardOutput();
                const QList<QByteArray> lines = said.trimmed().split('\n');
                done = said.endsWith('\n') ? lines.last().toInt() : lines.size() > 1 ? lines.at(lines.size() - 2).toInt()
                                                                                     : 0;
            }
            QVERIFY2(child.state() == QProcess::Running, child.readAllStandardError().constData());
            QCOMPARE(::kill(pid_t(child.processId()), ways[kill % 3]), 0);
            QVERIFY(child.waitForFinished(30000));
            said += child.readAllStandardOutput();
            const QList<QByteArray> lines = said.trimmed().split('\n');
            done = lines.last().isEmpty() ? 0 : lines.last().toInt();
            QVERIFY2(done >= target, said.constData());

            // An editor that was not killed, after the same last action and after the next one.
            QList<QStringList> expected;
            QList<bool> unsaved;
            for (int steps : {done, std::min(done + 1, SessionSteps)}) {
                QTemporaryDir referenceState;
                const QByteArray previous = qgetenv("XDG_STATE_HOME");
                qputenv("XDG_STATE_HOME", QFile::encodeName(referenceState.path()));
                auto referenceDialogs = std::make_shared<ScriptedDialogs>();
                const std::unique_ptr<frmZeichnen> reference = TestWindows::startMainWindow(referenceDialogs);
                qputenv("XDG_STATE_HOME", previous);
                runSession(*reference, *referenceDialogs, work.filePath(QStringLiteral("vorbild")), seed, steps);
                QVERIFY(referenceDialogs->allAnswered());
                expected << stateOf(*reference);
                const QString record = referenceState.filePath(QStringLiteral("skizzar/") + records(referenceState.path()).first());
                QFile bytes(record);
                QVERIFY(bytes.open(QIODevice::ReadOnly));
                unsaved << RecoveryRecord::parse(bytes.readAll()).unsaved();
            }

            // Killed before it made its record, the editor had done nothing.
            QFile left(state + QStringLiteral("/skizzar/") + records(state).value(0));
            const RecoveryRecord::Contents contents = RecoveryRecord::parse(left.open(QIODevice::ReadOnly) ? left.readAll() : QByteArray());
            QVERIFY(!contents.damaged);
            auto dialogs = std::make_shared<ScriptedDialogs>();
            const std::unique_ptr<frmZeichnen> window = TestWindows::startMainWindow(dialogs);
            const QList<ScriptedDialogs::Prompt> asked =
                startUp(*window, *dialogs, state, contents.unsaved() ? QList<std::optional<Answer>>{Answer::Yes} : QList<std::optional<Answer>>{});
            QVERIFY(dialogs->allAnswered());
            QCOMPARE(records(state), QStringList());
            if (contents.unsaved()) {
                ++recovered;
                QVERIFY2(expected.contains(stateOf(*window)),
                         qPrintable(QStringLiteral("seed %1, %2 done:\n").arg(seed).arg(done) + stateOf(*window).join(QLatin1Char('\n'))));
            } else {
                QVERIFY(unsaved.contains(false));
            }
        }
        qInfo("%d kills, %d drawings brought back", kills, recovered);
    }
};

int main(int argc, char *argv[])
{
    // Asked before QApplication, which takes "-session" for itself.
    const bool child = argc == 4 && qstrcmp(argv[1], "--scripted-run") == 0;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (child)
        return sessionChild(QByteArray(argv[2]).toUInt(), QFile::decodeName(argv[3]));
    tst_RecoveryRecord test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RecoveryRecord.moc"
