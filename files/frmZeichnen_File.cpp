// The File commands of the main window, and its DXF saving and loading.

#include "window/frmZeichnen.h"

#include "dialogs/frmHPGLConfig.h"
#include "files/DxfReader.h"
#include "files/DxfTarget.h"
#include "files/DxfWriter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

namespace {

QString untitledTitle()
{
    return QStringLiteral("Skizzar - Untitled");
}

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

    void PaintPunkt(const float &x, const float &y) override { m_window.PaintPunkt(x, y); }
    void PaintLinie(const float &x1, const float &y1, const float &x2, const float &y2,
                    const std::int16_t &iDrawMode) override
    {
        m_window.PaintLinie(x1, y1, x2, y2, iDrawMode);
    }
    void PaintKreis(const float &x1, const float &y1, const float &x2, const float &y2,
                    const std::int16_t &iDrawMode) override
    {
        m_window.PaintKreis(x1, y1, x2, y2, iDrawMode);
    }
    void PaintText(const float &x, const float &y, const QString &strText,
                   const std::int16_t &iDrawMode) override
    {
        m_window.PaintText(x, y, strText, iDrawMode);
    }

private:
    frmZeichnen &m_window;
};

// Qt often says no more than "Unknown error" when a file cannot be opened; these say why.
QString readFailure(const QFile &file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return QStringLiteral("Die Datei existiert nicht.");
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    if (!info.isReadable())
        return QStringLiteral("Keine Berechtigung zum Lesen.");
    return file.errorString();
}

QString writeFailure(const QSaveFile &file)
{
    const QFileInfo info(file.fileName());
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(folder.filePath()));
    if (info.isDir())
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return QStringLiteral("Keine Berechtigung zum Schreiben.");
    return file.errorString();
}

// A short write (disk full, file size limit) leaves no reason behind, Qt says "Unknown error".
QString incompleteWrite(const QSaveFile &file)
{
    if (file.error() == QFileDevice::NoError || file.error() == QFileDevice::WriteError)
        return QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden.");
    return file.errorString();
}

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

bool frmZeichnen::isUntitled() const
{
    return windowTitle() == untitledTitle();
}

bool frmZeichnen::promptToSave(PlatformDialogs::Buttons buttons)
{
    const PlatformDialogs::Answer answer =
        dialogs().messageBox(this, QStringLiteral("Soll die Datei noch gespeichert werden ?"), buttons,
                             QStringLiteral("Datei Speichern"));
    switch (answer) {
    case PlatformDialogs::Answer::Yes:
        return saveDrawing();
    case PlatformDialogs::Answer::No:
        return true;
    case PlatformDialogs::Answer::Ok:
    case PlatformDialogs::Answer::Cancel:
        break;
    }
    return false;
}

bool frmZeichnen::saveDrawing()
{
    if (isUntitled())
        return saveDrawingAs();
    SaveDXF(CommDlg1.getFileName());
    return true;
}

bool frmZeichnen::saveDrawingAs()
{
    const QString previous = CommDlg1.getFileName();
    if (!CommDlg1.ShowSave())
        return false;
    try {
        SaveDXF(CommDlg1.getFileName());
    } catch (...) {
        // Save must keep writing to the file that the title names.
        CommDlg1.setFileName(previous);
        throw;
    }
    setWindowTitle(QStringLiteral("Skizzar - ") + CommDlg1.getFileTitle());
    return true;
}

void frmZeichnen::emptyDrawing()
{
    const std::int32_t count = oObjectData->GetNumberOfObjects();
    for (std::int32_t i = count; i >= 1; --i)
        oObjectData->DeleteObject(i);
    oObjectData->DrawAll(*this, 13);
}

void frmZeichnen::mnuNeu_Click()
{
    if (!promptToSave(PlatformDialogs::Buttons::YesNoCancel))
        return;
    emptyDrawing();
    setWindowTitle(untitledTitle());
}

void frmZeichnen::mnuOeffnen_Click()
{
    if (!promptToSave(PlatformDialogs::Buttons::YesNoCancel))
        return;
    emptyDrawing();
    const QString previous = CommDlg1.getFileName();
    if (!CommDlg1.ShowOpen())
        return;
    try {
        LoadDXF(CommDlg1.getFileName());
    } catch (const FileError &) {
        // Nothing was read: as after a cancelled dialog, Save still means the file the title names.
        CommDlg1.setFileName(previous);
        throw;
    }
    setWindowTitle(QStringLiteral("Skizzar - ") + CommDlg1.getFileTitle());
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
    bool leave = false;
    guarded([&] { leave = promptToSave(PlatformDialogs::Buttons::YesNoCancel); });
    if (!leave) {
        event->ignore();
        return;
    }
    // The plotter and rotate windows may still be open: the run ends all the same.
    endRun();
    QMainWindow::closeEvent(event);
}

void frmZeichnen::SaveDXF(const QString &fileName)
{
    const DxfWriter writer(*oObjectData);
    // The old file is replaced only by a complete new one.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(fileName, writeFailure(file));
    // QSaveFile::commit() does not notice when its last flush writes only part of the file (a full
    // disk), and would put the truncated file in place: the explicit flush does.
    if (!writer.write(file) || !file.flush() || !file.commit())
        throw FileError(fileName, incompleteWrite(file));
}

void frmZeichnen::LoadDXF(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(fileName, readFailure(file));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(fileName, file.errorString());
    file.close();

    WindowDxfTarget target(*this);
    DxfReader reader(target);
    beginReading();
    QStringList messages;
    try {
        messages = reader.read(content);
    } catch (...) {
        endReading();
        throw;
    }
    endReading();
    for (const QString &message : messages)
        dialogs().messageBox(this, message, PlatformDialogs::Buttons::Ok, QStringLiteral("Skizzar"));
}
