// libFuzzer entry points: arbitrary bytes opened as a drawing by the real main window.

#include "LoadDxfFuzzer.h"

#include <QApplication>
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt's warnings (fonts without OpenType tables for a script, what the offscreen platform cannot
// do) say nothing about the editor and would bury libFuzzer's report; critical ones stay.
void quietQtWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "Qt: %s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg)
        std::abort();
}

// libFuzzer calls free functions, so the application and the fuzzer live from the first call to
// the end of the process; they are destroyed in reverse order at exit.
LoadDxfFuzzer &fuzzer()
{
    static int argc = 1;
    static char name[] = "fuzz_LoadDXF";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    static LoadDxfFuzzer instance;
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(quietQtWarnings);
    // No screen is needed: the window draws into its own pixel buffer.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Start-up (fonts, the welcome window) happens here, outside the time limit of one input.
    fuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzer().run(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    return 0;
}
