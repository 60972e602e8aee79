#pragma once
// The application object: German standard dialogs, the desktop entry's name, and no exception
// across the event loop.

#include <QApplication>
#include <QTranslator>

class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    static int &startingUp(int &argc);
    static void startUpMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    static void showError(const QString &message);

    QTranslator m_qtTranslator;
};
