// The File commands of the main window, and its DXF saving and loading.

#include "window/frmZeichnen.h"

#include "dialogs/frmFortschritt.h"
#include "dialogs/frmHPGLConfig.h"
#include "files/DiskFile.h"
#include "files/DxfReader.h"
#include "files/DxfTarget.h"
#include "files/DxfWriter.h"
#include "files/StoppableSource.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QThread>

namespace {

// The reader places shapes through the window's own members and placement operations, so that a
// shape read from a file enters the drawing exactly as one placed by hand.
class WindowDxfTarget : public DxfTarget
{
public:
    explicit WindowDxfTarget(frmZeichnen &window) : m_window(window) {}

    float getStartX() const override { return m_window.sStartX; }
    void setStartX(float sStartX) override { m_window.sStartX = sStartX; }
    float getStartY() const override { return m_window.sStartY; }
    void setStartY(float sStartY) override { m_window.sStartY = sStartY; }
    float getLastX() const override { return m_window.sLastX; }
    void setLastX(float sLastX) override { m_window.sLastX = sLastX; }
    float getLastY() const override { return m_window.sLastY; }
    void setLastY(float sLastY) override { m_window.sLastY = sLastY; }
    void setColor(std::int32_t lColor) override { m_window.lColor = lColor; }

    void place(const ShapeKind &kind, const ShapePlacement &placement) override
    {
        m_window.placeKind(kind, placement);
    }

private:
    frmZeichnen &m_window;
};

} // namespace

void frmZeichnen::connectFileCommands()
{
    connectCommands({
        {mnuNeu, &frmZeichnen::mnuNeu_Click},
        {mnuOeffnen, &frmZeichnen::mnuOeffnen_Click},
        {mnuSpeichern, &frmZeichnen::mnuSpeichern_Click},
        {mnuSpeichernunter, &frmZeichnen::mnuSpeichernunter_Click},
        {mnuDrucken, &frmZeichnen::mnuDrucken_Click},
        {mnuDruckenHPGL, &frmZeichnen::mnuDruckenHPGL_Click},
        {mnuBeenden, &frmZeichnen::mnuBeenden_Click},
    });
}

bool frmZeichnen::promptToSave(PlatformDialogs::Buttons buttons)
{
    const PlatformDialogs::Answer answer =
        dialogs().messageBox(this, QStringLiteral("Soll die Datei noch gespeichert werden ?"), buttons,
                             QStringLiteral("Datei Speichern"));
    if (answer == PlatformDialogs::Answer::Yes)
        return saveDrawing();
    return answer == PlatformDialogs::Answer::No;
}

bool frmZeichnen::saveDrawing()
{
    // Without a dialog only over the file the drawing came from whole, and only while it is what
    // the editor read or wrote: nothing the drawing lacks, or another program wrote, is lost.
    const QString fileName = CommDlg1.getFileName();
    const std::optional<DiskFile::Stamp> now = m_savedFile ? DiskFile::stampOf(fileName) : std::nullopt;
    if (!now)
        return saveDrawingAs();
    if (*now != *m_savedFile) {
        const QString question = QStringLiteral("Die Datei „%1“ wurde seit dem Öffnen von einem anderen Programm "
                                                "geändert. Trotzdem speichern ?")
                                     .arg(QDir::toNativeSeparators(fileName));
        if (dialogs().messageBox(this, question, PlatformDialogs::Buttons::YesNo, QStringLiteral("Datei Speichern"))
            != PlatformDialogs::Answer::Yes)
            return false;
    }
    if (!SaveDXF(fileName))
        return false;
    recordTitle(true);
    return true;
}

bool frmZeichnen::saveDrawingAs()
{
    const QString previous = CommDlg1.getFileName();
    if (!CommDlg1.ShowSave())
        return false;
    // Unless saved, Save must keep writing to the file that the title names.
    auto keepPrevious = qScopeGuard([&] { CommDlg1.setFileName(previous); });
    if (!SaveDXF(CommDlg1.getFileName()))
        return false;
    keepPrevious.dismiss();
    setWindowTitle(QStringLiteral("Skizzar - ") + CommDlg1.getFileTitle());
    recordTitle(true);
    return true;
}

void frmZeichnen::emptyDrawing()
{
    for (std::int32_t i = oObjectData->GetNumberOfObjects(); i >= 1; --i)
        oObjectData->DeleteObject(i);
    m_savedFile.reset();
    drawAll();
    record({RecoveryEntry::Kind::Emptied});
    recordColours();
}

void frmZeichnen::mnuNeu_Click()
{
    if (!promptToSave(PlatformDialogs::Buttons::YesNoCancel))
        return;
    emptyDrawing();
    setWindowTitle(QStringLiteral("Skizzar - Untitled"));
    recordTitle(false);
}

void frmZeichnen::mnuOeffnen_Click()
{
    if (!promptToSave(PlatformDialogs::Buttons::YesNoCancel))
        return;
    emptyDrawing();
    const QString previous = CommDlg1.getFileName();
    // However the Open ends, the record learns the title and the file it leaves.
    const auto titleRecorded = qScopeGuard([this] { recordTitle(false); });
    if (!CommDlg1.ShowOpen())
        return;
    // The title names the file read, even in part.
    auto titled = [this] { setWindowTitle(QStringLiteral("Skizzar - ") + CommDlg1.getFileTitle()); };
    try {
        LoadDXF(CommDlg1.getFileName());
        titled();
    } catch (const FileError &) {
        // Nothing was read: as after a cancelled dialog, the title and the save dialog name the
        // file they named. A file that fails after some of its shapes were read is one read in part.
        if (oObjectData->GetNumberOfObjects() > 0)
            titled();
        else
            CommDlg1.setFileName(previous);
        throw;
    } catch (...) {
        titled();
        throw;
    }
}

void frmZeichnen::mnuSpeichern_Click()
{
    saveDrawing();
}

void frmZeichnen::mnuSpeichernunter_Click()
{
    saveDrawingAs();
}

void frmZeichnen::mnuBeenden_Click()
{
    if (promptToSave(PlatformDialogs::Buttons::YesNo))
        endRun();
}

void frmZeichnen::endRun()
{
    // exit() leaves the event loop without closing the windows, so none is asked again. Outside an
    // event loop there is nothing to leave, and exit() would make the next loop end at once.
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this)
            window->hide();
    hide();
    if (m_record)
        m_record->remove();
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void frmZeichnen::mnuDrucken_Click()
{
    CommDlg1.ShowPrinter();
}

void frmZeichnen::mnuDruckenHPGL_Click()
{
    // One plotter window at a time, not modal; one closed by its frame is only waiting to be deleted.
    if (!m_frmHPGLConfig || m_frmHPGLConfig->isDiscarded())
        m_frmHPGLConfig = new frmHPGLConfig(m_dialogs, this);
    m_frmHPGLConfig->show();
    m_frmHPGLConfig->raise();
    m_frmHPGLConfig->activateWindow();
}

void frmZeichnen::closeEvent(QCloseEvent *event)
{
    // While a file is read or written the window stays open.
    bool leave = false;
    if (!m_working)
        guarded([&] { leave = promptToSave(PlatformDialogs::Buttons::YesNoCancel); });
    if (!leave) {
        event->ignore();
        return;
    }
    // The plotter and rotate windows may still be open: the run ends all the same.
    endRun();
    QMainWindow::closeEvent(event);
}

std::unique_ptr<ProgressDialogs::Work> frmZeichnen::beginWork(const QString &title, const QString &fileName)
{
    // Dialogs that script progress windows too (the tests') give them; else they are our own.
    if (auto *scripted = dynamic_cast<ProgressDialogs *>(m_dialogs.get()))
        return scripted->beginWork(this, title, fileName);
    return std::make_unique<frmFortschritt>(this, title, fileName);
}

bool frmZeichnen::SaveDXF(const QString &fileName)
{
    if (m_record)
        m_record->keepReadFile(fileName);
    const DxfWriter writer(*oObjectData);
    const QScopedValueRollback working(m_working, true);
    const std::unique_ptr<ProgressDialogs::Work> work = beginWork(QStringLiteral("Speichern …"), fileName);
    const std::optional<DiskFile::Stamp> saved = DiskFile::save(fileName, [&](QIODevice &device) {
        bool stopped = false;
        if (writer.write(device, [&](double done) { return !(stopped = !work->step(done)); }))
            return DiskFile::Written::Whole;
        return stopped ? DiskFile::Written::Stopped : DiskFile::Written::Short;
    });
    if (saved)
        m_savedFile = saved;
    return saved.has_value();
}

bool frmZeichnen::LoadDXF(const QString &fileName)
{
    for (const QString &message : readDxf(fileName))
        dialogs().messageBox(this, message, PlatformDialogs::Buttons::Ok, QStringLiteral("Skizzar"));
    // Only a file read whole is the drawing's file.
    return m_savedFile.has_value();
}

QStringList frmZeichnen::readDxf(const QString &fileName, qint64 upTo)
{
    m_savedFile.reset();
    DiskFile file(fileName);
    const QScopedValueRollback working(m_working, true);
    const std::unique_ptr<ProgressDialogs::Work> work = beginWork(QStringLiteral("Öffnen …"), fileName);
    StoppableSource source(file, file.stamp().size, upTo, [&work](double done) { return work->step(done); });
    // The record names the file, and where the user stopped reading it, instead of the shapes
    // read from it; with the colour the shapes read take and the colours that stay, and then the
    // colour that the file leaves for new shapes.
    RecoveryEntry read{RecoveryEntry::Kind::Read};
    read.fileName = fileName;
    read.stamp = file.stamp();
    read.color = lColor;
    auto recordRead = [&] {
        read.readUpTo = source.stopped() ? source.bytesRead() : upTo;
        record(read);
        record({RecoveryEntry::Kind::BackColour, getBackColor()});
        record({RecoveryEntry::Kind::Colour, read.color});
    };
    WindowDxfTarget target(*this);
    DxfReader reader(target);
    QStringList messages;
    try {
        const QScopedValueRollback notRecorded(m_recording, false);
        beginReading();
        try {
            messages = reader.read(source);
        } catch (const std::bad_alloc &) {
            // Drawing what was read could need memory that is not there: it goes, with its snapshot.
            oObjectData->clear();
            endReading();
            throw;
        } catch (...) {
            endReading();
            throw;
        }
        endReading();
    } catch (...) {
        recordRead();
        throw;
    }
    recordRead();
    recordColours();
    // What the reader says of the end it met is no news to the user who stopped it there.
    if (source.stopped())
        return {};
    if (messages.isEmpty() && upTo < 0)
        m_savedFile = file.stamp();
    return messages;
}
