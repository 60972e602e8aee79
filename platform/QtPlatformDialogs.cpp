#include "platform/QtPlatformDialogs.h"

#include "platform/RasterSurface.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// Escape and the frame's close button leave the box without an answer. QMessageBox would take
// them for its "No" where there is no Cancel.
class PromptBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel))
            reject();
        else
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { QDialog::closeEvent(event); }
};

// A file dialog's answer: an empty path when it was cancelled.
std::optional<QString> chosen(const QString &path)
{
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

} // namespace

// Qt's own file and colour dialogs throughout, never the desktop's: those speak the system's
// language (GNOME's in English under an English system) and leave the title empty.
std::optional<QString> QtPlatformDialogs::openFileName(QWidget *parent, const QString &nameFilter,
                                                       const QString &initialPath)
{
    return chosen(QFileDialog::getOpenFileName(parent, QString(), initialPath, nameFilter, nullptr,
                                               QFileDialog::DontUseNativeDialog));
}

std::optional<QString> QtPlatformDialogs::saveFileName(QWidget *parent, const QString &nameFilter,
                                                       const QString &initialPath)
{
    return chosen(QFileDialog::getSaveFileName(parent, QString(), initialPath, nameFilter, nullptr,
                                               QFileDialog::DontUseNativeDialog));
}

std::optional<std::int32_t> QtPlatformDialogs::color(QWidget *parent, std::int32_t initial)
{
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return RasterSurface::colorValue(chosen);
}

bool QtPlatformDialogs::printer(QWidget *parent)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

PlatformDialogs::Answer QtPlatformDialogs::messageBox(QWidget *parent, const QString &text,
                                                      Buttons buttons, const QString &title)
{
    PromptBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    // Messages quote file names and file contents, which must show as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons != Buttons::Ok)
        shown = buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                          : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    box.setStandardButtons(shown);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Dismissed: an OK box has no other answer; a question stops as on Cancel, never goes on as on No.
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

void QtPlatformDialogs::runModal(QDialog &dialog)
{
    dialog.exec();
}
