#include "app/Application.h"
#include "platform/QtPlatformDialogs.h"
#include "window/frmZeichnen.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    frmZeichnen window(std::make_shared<QtPlatformDialogs>());
    window.Form_Load();
    window.recoverAfterCrash();
    return app.exec();
}
