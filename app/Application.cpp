#include "app/Application.h"

#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

Application::Application(int &argc, char **argv)
    : QApplication(startingUp(argc), argv)
{
    // The window system is connected: Qt's messages take their usual way again.
    qInstallMessageHandler(nullptr);
    setApplicationName(QStringLiteral("Skizzar"));
    // Docks and task switchers find the menu entry and its icon by this name: Wayland's app id is
    // made from it (X11's WM_CLASS is named in the entry as its StartupWMClass).
    setDesktopFileName(QStringLiteral(SKIZZAR_APP_ID));
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

int &Application::startingUp(int &argc)
{
    // Runs before QApplication's constructor, which ends the process with abort() when it finds no
    // window system to connect to.
    qInstallMessageHandler(&startUpMessage);
    return argc;
}

void Application::startUpMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "skizzar: Keine Anzeige erreichbar; der Editor braucht eine grafische Oberfläche "
                             "(X11 oder Wayland).\n");
        std::_Exit(2);
    }
    // Qt's notes on connecting to the window system would only repeat that line, and after a
    // successful start they say nothing a user needs.
    if (context.category && QByteArrayView(context.category).startsWith("qt.qpa."))
        return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, message) + QLatin1Char('\n')), stderr);
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
