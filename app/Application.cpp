#include "app/Application.h"

#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Skizzar"));
    // The user interface is German whatever the machine's locale, the standard dialogs included.
    if (m_qtTranslator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
    // Every window of the editor shows the application's icon, in each size it is drawn in.
    QIcon icon;
    for (const QFileInfo &file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    setWindowIcon(icon);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    // The window's handlers catch their own errors; this is the last guard for anything else.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        showError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        showError(QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}

void Application::showError(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Skizzar"), message, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
