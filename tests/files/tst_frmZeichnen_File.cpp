// The File commands of the main window with scripted dialogs: the prompt and its answers, the
// title rule, saving and opening real files, failures that must not lose a drawing, closing.

#include "document/ObjectData.h"
#include "files/DiskFile.h"
#include "files/DxfReader.h"
#include "files/DxfWriter.h"
#include "files/StateFolder.h"
#include "shapes/Punkt.h"
#include "support/DrawingText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Answer = PlatformDialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

using DrawingText::entitiesDxf;
using TestWindows::contents;
using TestWindows::writeFile;

const QString Prompt = QStringLiteral("Soll die Datei noch gespeichert werden ?");
const QString Untitled = QStringLiteral("Skizzar - Untitled");

// Mounts a new file system of about 1 MiB at folder: "ext2" (which cannot reserve room ahead) on a
// loop device, or "tmpfs". False where that is not allowed.
bool mount(const QString &kind, const QString &folder)
{
    if (geteuid() != 0 || !QDir().mkpath(folder))
        return false;
    if (kind == QLatin1String("tmpfs"))
        return QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=1m", "tmpfs", folder}) == 0;
    const QString image = folder + QStringLiteral(".img");
    QFile blank(image);
    return blank.open(QIODevice::WriteOnly) && blank.resize(1 << 20)
           && QProcess::execute(QStringLiteral("mkfs.ext2"), {"-q", "-F", "-m", "0", "-b", "1024", image}) == 0
           && QProcess::execute(QStringLiteral("mount"), {"-o", "loop", image, folder}) == 0;
}

// Fills the file system with one file, then leaves `room` bytes of it free again.
void fill(const QString &name, qint64 room)
{
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    const QByteArray chunk(4096, 'x');
    qint64 size = 0;
    for (ssize_t n = 0; (n = ::write(fd, chunk.constData(), size_t(chunk.size()))) > 0;)
        size += n;
    QVERIFY(size > room && ::ftruncate(fd, size - room) == 0 && ::fsync(fd) == 0 && ::close(fd) == 0);
}

// The child that killedSaveLeavesTheOldTextInACopy kills while it saves 400,000 points over file.
int savePoints(const QString &file)
{
    ObjectData document;
    for (int i = 0; i < 400000; ++i) {
        const std::shared_ptr<Punkt> point = document.shapeBlocks().make<Punkt>();
        point->setX1(float(i));
        point->setY1(float(i));
        document.AddObject(point);
    }
    const DxfWriter writer(document);
    DiskFile::save(file, [&writer](QIODevice &device) {
        return writer.write(device) ? DiskFile::Written::Whole : DiskFile::Written::Short;
    });
    return 0;
}

} // namespace

class tst_frmZeichnen_File : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmZeichnen> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // One shape of each kind, placed as by hand, in the colour 0x0000FF.
    void placeShapes()
    {
        m_window->lColor = 0x0000FF;
        m_window->PaintPunkt(10.0f, 20.0f);
        m_window->PaintLinie(100.5f, 200.0f, 300.0f, 400.0f, 1);
        m_window->PaintKreis(2000.0f, 2000.0f, 2300.0f, 2400.0f, 1);
        m_window->PaintRechteck(3000.0f, 2000.0f, 1000.0f, 1000.0f, 1);
        m_window->PaintText(50.0f, 60.0f, QStringLiteral("  Grüße Ω  "), 1);
    }

    QStringList drawing() const { return DrawingText::lines(m_window->oObjectData->getBasisklassen()); }

    // A command that must save through the save dialog, which starts at file and is cancelled;
    // Exit's prompt is answered "Ja".
    void saveThroughTheDialog(const QString &file, QAction *command)
    {
        m_dialogs->prompts.clear();
        if (command == m_window->mnuBeenden)
            m_dialogs->expectMessage(Answer::Yes);
        m_dialogs->expectSaveFile(std::nullopt);
        command->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.last().kind, Kind::SaveFile);
        QCOMPARE(m_dialogs->prompts.last().initialPath, file);
    }

    // Saves under a name through Save As, which makes the drawing titled.
    void saveAs(const QString &file)
    {
        m_dialogs->expectSaveFile(file);
        m_window->mnuSpeichernunter->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - ") + QFileInfo(file).fileName());
    }

    void verifyPrompt(const ScriptedDialogs::Prompt &prompt, PlatformDialogs::Buttons buttons)
    {
        QCOMPARE(prompt.kind, Kind::Message);
        QCOMPARE(prompt.text, Prompt);
        QCOMPARE(prompt.title, QStringLiteral("Datei Speichern"));
        QCOMPARE(prompt.buttons, buttons);
    }

    // The one error message shown, in the box titled "Skizzar" with OK only.
    QString errorShown()
    {
        const QList<ScriptedDialogs::Prompt> messages = m_dialogs->messages();
        if (messages.isEmpty())
            return QStringLiteral("<none>");
        const ScriptedDialogs::Prompt &last = messages.last();
        if (last.title != QLatin1String("Skizzar") || last.buttons != PlatformDialogs::Buttons::Ok)
            return QStringLiteral("<wrong box>");
        return last.text;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_window = TestWindows::startMainWindow(m_dialogs);
        QVERIFY(m_dialogs->allAnswered());
        m_dialogs->prompts.clear();
    }

    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
        m_dir.reset();
    }

    void saveAsSetsTheTitleAndSaveNeedsNoDialog()
    {
        placeShapes();
        const QString file = path(QStringLiteral("plan.dxf"));
        saveAs(file);
        QCOMPARE(m_dialogs->prompts.first().filter, QStringLiteral("Data Exchange Format (*.dxf)"));
        const QByteArray first = contents(file);
        QVERIFY(first.startsWith("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nPOINT\r\n8\r\n0\r\n10\r\n 10 \r\n20\r\n-20 \r\n"));
        QVERIFY(first.endsWith("0\r\nENDSEC\r\n0\r\nEOF\r\n"));

        // Save writes the changed drawing to the same file without a dialog; the title stays.
        m_window->PaintPunkt(1.0f, 2.0f);
        m_dialogs->prompts.clear();
        m_window->mnuSpeichern->trigger();
        QCOMPARE(m_dialogs->prompts.size(), 0);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - plan.dxf"));
        const QByteArray second = contents(file);
        QVERIFY(second.size() > first.size());
        QVERIFY(second.endsWith("0\r\nPOINT\r\n8\r\n0\r\n10\r\n 1 \r\n20\r\n-2 \r\n0\r\nENDSEC\r\n0\r\nEOF\r\n"));
    }

    // Save without a dialog writes only over the file as the editor read or wrote it: another
    // program's change is asked about, a removed file is chosen anew.
    void saveOverAFileAnotherProgramChanged_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("written");
        QTest::newRow("none") << QStringLiteral("none") << "" << true;
        QTest::newRow("rewritten, Ja") << QStringLiteral("rewritten") << "Ja" << true;
        QTest::newRow("rewritten, Nein") << QStringLiteral("rewritten") << "Nein" << false;
        QTest::newRow("rewritten, Escape") << QStringLiteral("rewritten") << "Escape" << false;
        QTest::newRow("same size, a nanosecond later") << QStringLiteral("same size") << "Nein" << false;
        QTest::newRow("same bytes and time, replaced") << QStringLiteral("replaced") << "Nein" << false;
        QTest::newRow("another editor saved it") << QStringLiteral("other editor") << "Ja" << true;
        QTest::newRow("removed") << QStringLiteral("removed") << "dialog" << true;
    }

    void saveOverAFileAnotherProgramChanged()
    {
        QFETCH(QString, change);
        QFETCH(QString, reply);
        QFETCH(bool, written);
        const QString file = path(QStringLiteral("plan.dxf"));
        const QByteArray native = QFile::encodeName(file);
        saveAs(file);
        placeShapes();
        struct stat saved = {};
        QCOMPARE(stat(native.constData(), &saved), 0);
        QByteArray theirs = contents(file);
        const timespec sameTime[2] = {saved.st_atim, {saved.st_mtim.tv_sec, saved.st_mtim.tv_nsec ^ 1}};
        if (change == "rewritten") {
            theirs = entitiesDxf({"0", "POINT", "10", "1", "20", "-1"});
            QVERIFY(writeFile(file, theirs));
        } else if (change == "same size") {
            theirs.replace("ENTITIES", "ENTITIEZ");
            QVERIFY(writeFile(file, theirs));
            QCOMPARE(utimensat(AT_FDCWD, native.constData(), sameTime, 0), 0);
        } else if (change == "replaced") {
            QVERIFY(writeFile(file + QStringLiteral(".neu"), theirs));
            const timespec savedTime[2] = {saved.st_atim, saved.st_mtim};
            QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(file + QStringLiteral(".neu")).constData(), savedTime, 0), 0);
            QCOMPARE(rename(QFile::encodeName(file + QStringLiteral(".neu")).constData(), native.constData()), 0);
        } else if (change == "other editor") {
            auto otherDialogs = std::make_shared<ScriptedDialogs>();
            const std::unique_ptr<frmZeichnen> other = TestWindows::startMainWindow(otherDialogs);
            otherDialogs->expectMessage(Answer::No);
            otherDialogs->expectOpenFile(file);
            other->mnuOeffnen->trigger();
            other->PaintPunkt(1.0f, 1.0f);
            other->mnuSpeichern->trigger();
            QVERIFY(otherDialogs->allAnswered());
            theirs = contents(file);
        } else if (change == "removed") {
            QVERIFY(QFile::remove(file));
        }
        m_dialogs->prompts.clear();
        if (reply == "Escape")
            m_dialogs->expectDismissal(true);
        else if (reply == "dialog")
            m_dialogs->expectSaveFile(file);
        else if (!reply.isEmpty())
            m_dialogs->expectMessage(reply == "Ja" ? Answer::Yes : Answer::No);
        m_window->mnuSpeichern->trigger();
        QVERIFY(m_dialogs->allAnswered());
        if (reply == "dialog")
            QCOMPARE(m_dialogs->prompts.first().initialPath, file);
        else if (!reply.isEmpty())
            QCOMPARE(m_dialogs->messages().first().text,
                     QStringLiteral("Die Datei „%1“ wurde seit dem Öffnen von einem anderen Programm geändert. Trotzdem speichern ?").arg(file));
        QCOMPARE(contents(file).contains("CIRCLE"), written);
        if (!written)
            QCOMPARE(contents(file), theirs);
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 5);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - plan.dxf"));
        // What was written is the editor's own again: the next Save asks nothing.
        if (written) {
            m_dialogs->prompts.clear();
            m_window->mnuSpeichern->trigger();
            QCOMPARE(m_dialogs->prompts.size(), 0);
        }
    }

    void saveOnAnUntitledDrawingIsSaveAs()
    {
        m_dialogs->expectSaveFile(std::nullopt);
        m_window->mnuSpeichern->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.size(), 1);
        QCOMPARE(m_dialogs->prompts.first().kind, Kind::SaveFile);
        QCOMPARE(m_window->windowTitle(), Untitled);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());

        m_dialogs->expectSaveFile(path(QStringLiteral("neu.dxf")));
        m_window->mnuSpeichern->trigger();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - neu.dxf"));
        QCOMPARE(contents(path(QStringLiteral("neu.dxf"))),
                 QByteArray("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n"));
    }

    void newAsks_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saveDialogConfirmed");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("emptied");
        QTest::addColumn<int>("stop"); // the step the save is stopped at in its progress window; 0: none
        QTest::addColumn<bool>("titled");
        QTest::addColumn<bool>("placed"); // else the drawing is empty, and New still asks
        QTest::newRow("Yes, saved") << Answer::Yes << true << true << true << 0 << false << true;
        QTest::newRow("Yes, save dialog cancelled") << Answer::Yes << false << false << false << 0 << false << true;
        QTest::newRow("Yes, save stopped") << Answer::Yes << true << false << false << 1 << false << true;
        QTest::newRow("Yes, titled: saved without a dialog") << Answer::Yes << false << true << true << 0 << true << true;
        QTest::newRow("No") << Answer::No << false << false << true << 0 << false << true;
        QTest::newRow("Cancel") << Answer::Cancel << false << false << false << 0 << false << true;
        QTest::newRow("empty, Yes, save dialog cancelled") << Answer::Yes << false << false << false << 0 << false << false;
    }

    void newAsks()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, saveDialogConfirmed);
        QFETCH(bool, saved);
        QFETCH(bool, emptied);
        QFETCH(int, stop);
        QFETCH(bool, titled);
        QFETCH(bool, placed);
        const QString file = path(QStringLiteral("vorher.dxf"));
        if (titled) {
            saveAs(file);
            m_dialogs->prompts.clear();
        }
        if (placed)
            placeShapes();
        for (int i = 0; stop && i < 3000; ++i) // a save of more than one step
            m_window->PaintPunkt(float(i), 1.0f);
        m_window->setBackColor(0x00C0FFEE & 0x00FFFFFF);
        const QStringList before = drawing();
        m_dialogs->expectMessage(answer);
        if (answer == Answer::Yes && !titled)
            m_dialogs->expectSaveFile(saveDialogConfirmed ? std::optional<QString>(file) : std::nullopt);
        if (stop)
            m_dialogs->expectProgress(stop);
        m_window->mnuNeu->trigger();
        QVERIFY(m_dialogs->allAnswered());
        verifyPrompt(m_dialogs->prompts.first(), PlatformDialogs::Buttons::YesNoCancel);
        QCOMPARE(contents(file).count("LINE"), saved ? 5 : 0);
        QCOMPARE(drawing(), emptied ? QStringList() : before);
        QCOMPARE(m_window->windowTitle(), Untitled);
        // New changes neither the colour for new shapes nor the background.
        QCOMPARE(m_window->lColor, placed ? 0x0000FF : 0);
        QCOMPARE(m_window->getBackColor(), 0x00C0FFEE & 0x00FFFFFF);
        if (emptied)
            QCOMPARE(m_window->surface().pixel(0, 1), 0x00C0FFEE & 0x00FFFFFF);
    }

    // Undo right after New brings back the snapshot; otherwise Undo gives back the drawing as it
    // was before the last placement, also right after Undo and after New.
    void undoAfterUndoAndNew()
    {
        placeShapes();
        const std::size_t snapshot = m_window->oObjectData->getBasisklassenSave().size();
        QCOMPARE(snapshot, std::size_t(4));
        m_window->mnuRueckgaengig->setEnabled(true);
        m_dialogs->expectMessage(Answer::No);
        m_window->mnuNeu->trigger();
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 0);
        QCOMPARE(m_window->oObjectData->getBasisklassenSave().size(), snapshot);
        QVERIFY(m_window->mnuRueckgaengig->isEnabled());
        m_window->mnuRueckgaengig->trigger();
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 4);
        m_window->PaintPunkt(1.0f, 1.0f);
        m_window->mnuRueckgaengig_Click();
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 4);
        m_dialogs->expectMessage(Answer::No);
        m_window->mnuNeu->trigger();
        m_window->PaintPunkt(5.0f, 5.0f);
        m_window->PaintPunkt(6.0f, 6.0f);
        m_window->mnuRueckgaengig_Click();
        QCOMPARE(drawing(), QStringList{"Punkt 5 5 c255"});
    }

    void openRoundTrip()
    {
        placeShapes();
        const QStringList placed = drawing();
        const QString file = path(QStringLiteral("runde.dxf"));
        saveAs(file);
        m_dialogs->expectMessage(Answer::No);
        m_window->mnuNeu->trigger();
        m_window->lColor = 0x00FF00;

        m_dialogs->prompts.clear();
        m_dialogs->expectMessage(Answer::No);
        m_dialogs->expectOpenFile(file);
        m_window->mnuOeffnen->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.size(), 2);
        verifyPrompt(m_dialogs->prompts.first(), PlatformDialogs::Buttons::YesNoCancel);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - runde.dxf"));
        // Same places; a rectangle comes back as four lines; colours are not saved.
        QCOMPARE(placed.first(), QStringLiteral("Punkt 10 20 c255"));
        QCOMPARE(drawing(), (QStringList{
                                "Punkt 10 20 c65280",
                                "Linie 100.5 200 300 400 c65280",
                                "Kreis 2000 2000 500 c65280",
                                "Linie 3000 2000 1000 2000 c65280",
                                "Linie 1000 2000 1000 1000 c65280",
                                "Linie 1000 1000 3000 1000 c65280",
                                "Linie 3000 1000 3000 2000 c65280",
                                "Text 50 60 [  Grüße Ω  ] [] 0 c65280",
                            }));
        // Shapes went through the placements: snapshot, tool off, arrow, members of the last one.
        QCOMPARE(m_window->iPaintMode, PaintMode::NoTool);
        QCOMPARE(m_window->getMousePointer(), std::int16_t(1));
        QCOMPARE(m_window->sStartX, 50.0f);
        QCOMPARE(m_window->sStartY, 60.0f);

        // Saved back to the same file without a dialog, after a change.
        m_window->PaintPunkt(5.0f, 5.0f);
        m_dialogs->prompts.clear();
        m_window->mnuSpeichern->trigger();
        QCOMPARE(m_dialogs->prompts.size(), 0);
        QCOMPARE(contents(file).count("POINT"), 2);
    }

    void loadingKeepsTheUndoItemAndTakesTheSnapshot()
    {
        const QString file = path(QStringLiteral("drei.dxf"));
        QVERIFY(writeFile(file, entitiesDxf({"0", "POINT", "10", "1", "20", "-1", "0", "POINT", "62", "255", "10", "2", "20", "-2",
                                             "0", "POINT", "10", "3", "20", "-3"})));
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());
        for (int i = 0; i < 2; ++i) // the snapshot of the drawing before is no part of the one after
            m_window->PaintPunkt(9.0f, 9.0f);
        m_dialogs->expectMessage(Answer::No);
        m_dialogs->expectOpenFile(file);
        m_window->mnuOeffnen->trigger();
        QCOMPARE(drawing(), (QStringList{"Punkt 1 1 c0", "Punkt 2 2 c255", "Punkt 3 3 c255"}));
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());
        // The colour of the last group 62 stays for shapes placed by hand afterwards.
        QCOMPARE(m_window->lColor, 255);
        m_window->mnuRueckgaengig_Click();
        QCOMPARE(drawing(), (QStringList{"Punkt 1 1 c0", "Punkt 2 2 c255"}));
    }

    // The file dialog cancelled, or the reading stopped in its progress window (at its second
    // piece): no message, and what was read is not what the file holds.
    void openCancelled_data()
    {
        QTest::addColumn<int>("stop"); // 0: the file dialog is cancelled
        QTest::addColumn<ScriptedDialogs::Stop>("how");
        QTest::newRow("file dialog") << 0 << ScriptedDialogs::Stop::Abbrechen;
        QTest::newRow("Abbrechen") << 2 << ScriptedDialogs::Stop::Abbrechen;
        QTest::newRow("Escape") << 2 << ScriptedDialogs::Stop::Escape;
        QTest::newRow("close button") << 2 << ScriptedDialogs::Stop::Frame;
        QTest::newRow("session ends") << 2 << ScriptedDialogs::Stop::SessionEnd;
    }

    void openCancelled()
    {
        QFETCH(int, stop);
        QFETCH(ScriptedDialogs::Stop, how);
        const QString file = path(stop ? QStringLiteral("gross.dxf") : QStringLiteral("alt.dxf"));
        saveAs(path(QStringLiteral("alt.dxf")));
        placeShapes();
        if (stop)
            QVERIFY(writeFile(file, DrawingText::pointsDxf(100000))); // three pieces of 1 MiB
        m_dialogs->prompts.clear();
        m_dialogs->expectMessage(Answer::No);
        m_dialogs->expectOpenFile(stop ? std::optional(file) : std::nullopt);
        if (stop)
            m_dialogs->expectProgress(stop, how);
        m_window->mnuOeffnen->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->messages().size(), 1);
        const QStringList read = drawing();
        for (int i = 0; i < read.size(); ++i)
            QCOMPARE(read.at(i), QStringLiteral("Punkt %1 1 c255").arg(i));
        QVERIFY(stop ? read.size() > 1000 && read.size() < 99000 : read.isEmpty());
        if (stop)
            QCOMPARE(m_dialogs->prompts.last().title + m_dialogs->prompts.last().text, QStringLiteral("Öffnen …gross.dxf"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - ") + QFileInfo(file).fileName());
        // The drawing, emptied or read in part, is not what the file holds: Save and Exit's "Ja"
        // ask where to.
        const QByteArray before = contents(file);
        saveThroughTheDialog(file, m_window->mnuSpeichern);
        saveThroughTheDialog(file, m_window->mnuBeenden);
        QCOMPARE(contents(file), before);
        QVERIFY(m_window->isVisible());
    }

    // The prompt cancelled, or answered Ja and the save dialog cancelled: the drawing stays.
    void openStopsBeforeTheFileDialog_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("Cancel") << Answer::Cancel;
        QTest::newRow("Yes, save dialog cancelled") << Answer::Yes;
    }

    void openStopsBeforeTheFileDialog()
    {
        QFETCH(Answer, answer);
        placeShapes();
        const QStringList before = drawing();
        m_dialogs->expectMessage(answer);
        if (answer == Answer::Yes)
            m_dialogs->expectSaveFile(std::nullopt);
        m_window->mnuOeffnen->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.size(), answer == Answer::Yes ? 2 : 1);
        QCOMPARE(drawing(), before);
    }

    // A disk that fills up while saving, or the user who stops the save in its progress window:
    // the old file stays as it was, whether it is replaced, or overwritten in place (it has a
    // second link) on a file system that reserves no room ahead; a new file is not made.
    void failedSaveKeepsTheOldFileAndTitle_data()
    {
        QTest::addColumn<QString>("fileSystem"); // none: this folder, with a limit on a file's size
        QTest::addColumn<bool>("roomForACopy");
        QTest::addColumn<QString>("target"); // the file saved: "replaced", "in place", "new"
        QTest::addColumn<int>("stop");       // the step of the progress window left; 0: none
        QTest::addColumn<ScriptedDialogs::Stop>("how");
        const auto button = ScriptedDialogs::Stop::Abbrechen;
        QTest::newRow("size limit") << QString() << false << "replaced" << 0 << button;
        QTest::newRow("ext2, room for the old text only") << QStringLiteral("ext2") << true << "in place" << 0 << button;
        QTest::newRow("ext2, no room") << QStringLiteral("ext2") << false << "in place" << 0 << button;
        QTest::newRow("tmpfs, room for the old text only") << QStringLiteral("tmpfs") << true << "in place" << 0 << button;
        QTest::newRow("Abbrechen, replaced") << QString() << false << "replaced" << 1 << button;
        QTest::newRow("Escape, in place") << QString() << false << "in place" << 1 << ScriptedDialogs::Stop::Escape;
        QTest::newRow("close button, new file") << QString() << false << "new" << 1 << ScriptedDialogs::Stop::Frame;
    }

    void failedSaveKeepsTheOldFileAndTitle()
    {
        QFETCH(QString, fileSystem);
        QFETCH(bool, roomForACopy);
        QFETCH(QString, target);
        QFETCH(int, stop);
        QFETCH(ScriptedDialogs::Stop, how);
        const QString folder = fileSystem.isEmpty() ? m_dir->path() : path(QStringLiteral("platte"));
        const auto unmount = qScopeGuard([&] {
            if (!fileSystem.isEmpty())
                QProcess::execute(QStringLiteral("umount"), {folder});
        });
        if (!fileSystem.isEmpty() && !mount(fileSystem, folder))
            QSKIP("mounting a small file system needs root and a loop device");
        const QString file = folder + QStringLiteral("/plan.dxf");
        placeShapes();
        saveAs(file);
        const QByteArray old = contents(file);
        for (int i = 0; i < 3000; ++i)
            m_window->oObjectData->AddObject(std::make_shared<Punkt>());

        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        if (target == "in place")
            QCOMPARE(link(QFile::encodeName(file).constData(), QFile::encodeName(file + QStringLiteral("2")).constData()), 0);
        m_dialogs->prompts.clear();
        if (target == "new")
            m_dialogs->expectSaveFile(folder + QStringLiteral("/neu.dxf"));
        if (stop) {
            m_dialogs->expectProgress(stop, how);
        } else if (fileSystem.isEmpty()) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = previous;
            small.rlim_cur = rlim_t(old.size() + 100);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        } else {
            fill(folder + QStringLiteral("/voll"), roomForACopy ? old.size() + 16384 : 0);
        }
        if (!stop)
            m_dialogs->expectMessage(Answer::Ok);
        (target == "new" ? m_window->mnuSpeichernunter : m_window->mnuSpeichern)->trigger();
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &previous), 0);
        std::signal(SIGXFSZ, SIG_DFL);

        QVERIFY(m_dialogs->allAnswered());
        if (stop)
            QCOMPARE(m_dialogs->prompts.last().title + m_dialogs->prompts.last().text,
                     QStringLiteral("Speichern …") + (target == "new" ? "neu.dxf" : "plan.dxf"));
        QCOMPARE(errorShown(), stop ? QStringLiteral("<none>")
                                    : QStringLiteral("Dateifehler: „%1“: Die Datei konnte nicht vollständig geschrieben werden.").arg(file));
        QCOMPARE(contents(file), old);
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(QStringLiteral("voll"));
        QCOMPARE(left, target == "in place" ? QStringList({QStringLiteral("plan.dxf"), QStringLiteral("plan.dxf2")})
                                            : QStringList{QStringLiteral("plan.dxf")});
        QCOMPARE(QDir(StateFolder::path()).entryList({QStringLiteral("*overwrite-*")}, QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - plan.dxf"));
        QCOMPARE(m_window->commonDialog().getFileName(), file);
    }

    // A save that overwrites the file in place (it has a second link) and is killed half-way: the
    // old text is in a complete copy beside it, and the next start says where, once.
    void killedSaveLeavesTheOldTextInACopy()
    {
        // A state folder of its own, which the child takes over: nothing an earlier run left is told.
        const auto stateFolder = TestWindows::useStateFolder(path(QStringLiteral("state")));
        const QString file = path(QStringLiteral("gross.dxf"));
        const QByteArray old = DrawingText::pointsDxf(300000);
        QVERIFY(writeFile(file, old));
        QCOMPARE(link(QFile::encodeName(file).constData(), QFile::encodeName(file + QStringLiteral("2")).constData()), 0);
        // A save that ends before the kill proves nothing: it is tried again.
        for (int attempt = 0; attempt < 5; ++attempt) {
            QVERIFY(writeFile(file, old));
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-points"), file});
            QVERIFY(child.waitForStarted());
            QFile watched(file);
            QVERIFY(watched.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
            const QDeadlineTimer deadline(60000);
            while (watched.size() == old.size() && watched.peek(64) == old.first(64) && !deadline.hasExpired())
                ;
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());
            const QStringList copies = QDir(m_dir->path()).entryList({QStringLiteral("gross.alt-*.dxf")});
            if (child.exitStatus() == QProcess::NormalExit) {
                QCOMPARE(child.exitCode(), 0);
                QCOMPARE(copies, QStringList());
                continue;
            }
            QCOMPARE(copies.size(), 1);
            const QString copy = path(copies.first());
            QCOMPARE(contents(copy), old);
            m_dialogs->expectMessage(Answer::Ok);
            m_window->recoverAfterCrash();
            QVERIFY(m_dialogs->allAnswered());
            QCOMPARE(errorShown(), QStringLiteral("Skizzar wurde beendet, während es die Datei „%1“ überschrieb. Ihr vorheriger Inhalt ist in „%2“ erhalten.").arg(file, copy));
            m_window->recoverAfterCrash(); // told once: no second message
            QVERIFY(QFile::exists(copy));
            return;
        }
        QSKIP("each save ended before it could be killed");
    }

    void failedSaveStopsNew()
    {
        QTemporaryDir gone;
        const QString file = gone.filePath(QStringLiteral("plan.dxf"));
        saveAs(file);
        placeShapes();
        const QStringList before = drawing();
        QVERIFY(gone.remove());
        // The file is gone, so the save dialog asks; the folder chosen again is gone too.
        m_dialogs->expectMessage(Answer::Yes);
        m_dialogs->expectSaveFile(file);
        m_dialogs->expectMessage(Answer::Ok);
        m_window->mnuNeu->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QVERIFY(errorShown().startsWith(QStringLiteral("Dateifehler: „%1“: Der Ordner").arg(file)));
        QCOMPARE(drawing(), before);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - plan.dxf"));
    }

    // Closing through the frame, or Beenden, which ends the application's event loop.
    void closing_data()
    {
        QTest::addColumn<bool>("exit");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("titled");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("frame: Yes, titled") << false << Answer::Yes << true << true << true;
        QTest::newRow("frame: Yes, untitled, save dialog cancelled") << false << Answer::Yes << false << false << false;
        QTest::newRow("frame: No") << false << Answer::No << true << true << false;
        QTest::newRow("frame: Cancel") << false << Answer::Cancel << true << false << false;
        QTest::newRow("Beenden: Yes, titled") << true << Answer::Yes << true << true << true;
        QTest::newRow("Beenden: Yes, untitled, saved") << true << Answer::Yes << false << true << true;
        QTest::newRow("Beenden: Yes, untitled, save dialog cancelled") << true << Answer::Yes << false << false << false;
        QTest::newRow("Beenden: No") << true << Answer::No << true << true << false;
    }

    void closing()
    {
        QFETCH(bool, exit);
        QFETCH(Answer, answer);
        QFETCH(bool, titled);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString file = path(QStringLiteral("plan.dxf"));
        if (titled)
            saveAs(file);
        placeShapes();
        (exit ? m_window->mnuDruckenHPGL : m_window->mnuDrehen)->trigger();
        auto *modeless = m_window->findChild<QDialog *>(exit ? QStringLiteral("frmHPGLConfig") : QStringLiteral("frmDrehen"));
        QVERIFY(modeless && modeless->isVisible());
        m_dialogs->prompts.clear();
        m_dialogs->expectMessage(answer);
        if (answer == Answer::Yes && !titled)
            m_dialogs->expectSaveFile(closed ? std::optional<QString>(file) : std::nullopt);
        if (exit) {
            // QCoreApplication::exec, not a QEventLoop: only it starts afresh after an exit.
            QTimer exitCommand;
            exitCommand.setSingleShot(true);
            connect(&exitCommand, &QTimer::timeout, m_window->mnuBeenden, &QAction::trigger);
            QTimer timeout;
            timeout.setSingleShot(true);
            connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(99); });
            exitCommand.start(0);
            timeout.start(closed ? 10000 : 200);
            QCOMPARE(QCoreApplication::exec(), closed ? 0 : 99);
        } else {
            QCOMPARE(m_window->close(), closed);
        }
        QVERIFY(m_dialogs->allAnswered());
        verifyPrompt(m_dialogs->prompts.first(), exit ? PlatformDialogs::Buttons::YesNo : PlatformDialogs::Buttons::YesNoCancel);
        QCOMPARE(m_window->isVisible(), !closed);
        // An open modeless window does not keep the run going.
        QCOMPARE(modeless->isVisible(), !closed);
        QCOMPARE(contents(file).count("POINT"), saved ? 1 : 0);
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 5);
    }

    // Escape or the frame's close button on the real prompt answers nothing: Exit, New, Open and
    // closing the window all stop.
    void dismissedPromptsAnswerNothing()
    {
        placeShapes();
        for (bool escape : {true, false}) {
            for (QAction *command : {m_window->mnuBeenden, m_window->mnuNeu, m_window->mnuOeffnen}) {
                m_dialogs->expectDismissal(escape);
                command->trigger();
            }
            m_dialogs->expectDismissal(escape);
            QVERIFY(!m_window->close());
        }
        QVERIFY(m_dialogs->allAnswered() && m_window->isVisible());
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 5);
    }

    void print()
    {
        m_dialogs->expectPrinter(true);
        m_window->mnuDrucken->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.size(), 1);
        QCOMPARE(m_window->windowTitle(), Untitled);
    }

    void printInHpglShowsOnePlotterWindow()
    {
        m_window->mnuDruckenHPGL->trigger();
        m_window->mnuDruckenHPGL->trigger();
        const QList<QDialog *> plotters = m_window->findChildren<QDialog *>(QStringLiteral("frmHPGLConfig"));
        QCOMPARE(plotters.size(), 1);
        QVERIFY(plotters.first()->isVisible());
        QVERIFY(!plotters.first()->isModal());
        QCOMPARE(m_dialogs->prompts.size(), 0);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--save-points") == 0)
        return savePoints(QFile::decodeName(argv[2]));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_frmZeichnen_File test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_frmZeichnen_File.moc"
