#include "WindowActions.h"

#include "support/ScriptedDialogs.h"
#include "window/DrawingCanvas.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QtMath>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>

namespace {

// A move with no button held, or the release of `button`: either way no button is down afterwards.
void sendMouse(QWidget *canvas, QEvent::Type type, QPoint position, Qt::MouseButton button)
{
    QMouseEvent event(type, QPointF(position), QPointF(canvas->mapToGlobal(position)), button,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

} // namespace

WindowActions::Stopwatch::Stopwatch()
    : mCpuStart(processCpuSeconds())
{
    mWall.start();
}

WindowActions::Timing WindowActions::Stopwatch::seconds() const
{
    return {static_cast<double>(mWall.nsecsElapsed()) / 1e9, processCpuSeconds() - mCpuStart};
}

WindowActions::WindowActions(std::shared_ptr<ScriptedDialogs> dialogs, int bandSteps)
    : mDialogs(std::move(dialogs)), mBandSteps(bandSteps)
{
}

std::unique_ptr<frmZeichnen> WindowActions::startWindow(QSize pixels)
{
    auto window = std::make_unique<frmZeichnen>(mDialogs);
    window->Form_Load();
    window->canvas()->installEventFilter(this);
    QCoreApplication::processEvents();
    if (!pixels.isEmpty()) {
        const QSize grow = pixels - window->canvas()->size();
        window->resize(window->size() + grow);
        QCoreApplication::processEvents();
        if (window->surface().size() != pixels)
            std::fprintf(stderr, "skizzar_bench: a drawing area of %dx%d pixels, not %dx%d\n",
                         window->surface().size().width(), window->surface().size().height(),
                         pixels.width(), pixels.height());
    }
    return window;
}

WindowActions::Timing WindowActions::open(const QString &path, std::unique_ptr<frmZeichnen> &window,
                                          QSize pixels)
{
    // Each run opens into a fresh window: the undo snapshot of an old one would hold the drawings
    // of the runs before.
    window.reset();
    window = startWindow(pixels);
    mDialogs->keepAnsweringOpenFile(path);
    const Stopwatch clock;
    window->mnuOeffnen->trigger();
    const Timing elapsed = clock.seconds();
    QCoreApplication::processEvents();
    warnAboutMessages("open");
    return elapsed;
}

WindowActions::Timing WindowActions::repaint(frmZeichnen &window)
{
    const Stopwatch clock;
    window.Form_Paint();
    const Timing elapsed = clock.seconds();
    QCoreApplication::processEvents();
    warnAboutMessages("repaint");
    return elapsed;
}

WindowActions::Timing WindowActions::bandStep(frmZeichnen &window)
{
    DrawingCanvas *canvas = window.canvas();
    // The anchor in the middle, the pointer going round it on an ellipse below the label.
    const QPoint anchor(323, 300);
    window.mnuLinie->trigger();
    sendMouse(canvas, QEvent::MouseButtonRelease, anchor, Qt::LeftButton);
    QCoreApplication::processEvents();

    mPaintEvents = 0;
    const Stopwatch clock;
    for (int step = 1; step <= mBandSteps; ++step) {
        const double angle = 2.0 * M_PI * step / mBandSteps;
        const QPoint pointer(anchor.x() + qRound(300.0 * std::cos(angle)),
                             anchor.y() + qRound(160.0 * std::sin(angle)));
        sendMouse(canvas, QEvent::MouseMove, pointer, Qt::NoButton);
        QCoreApplication::processEvents();
    }
    Timing elapsed = clock.seconds();
    elapsed.wall /= mBandSteps;
    elapsed.cpu /= mBandSteps;
    if (mPaintEvents < mBandSteps)
        std::fprintf(stderr, "skizzar_bench: only %lld paint events for %d band steps\n",
                     static_cast<long long>(mPaintEvents), mBandSteps);

    // The right button cancels the tool; the band stays until the next repaint.
    sendMouse(canvas, QEvent::MouseButtonRelease, anchor, Qt::RightButton);
    window.Form_Paint();
    QCoreApplication::processEvents();
    warnAboutMessages("band");
    return elapsed;
}

WindowActions::Timing WindowActions::place(frmZeichnen &window)
{
    DrawingCanvas *canvas = window.canvas();
    const QPoint anchor(250, 300), end(330, 340);
    window.mnuLinie->trigger();
    sendMouse(canvas, QEvent::MouseButtonRelease, anchor, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseMove, end, Qt::NoButton);
    QCoreApplication::processEvents();
    const Stopwatch clock;
    sendMouse(canvas, QEvent::MouseButtonRelease, end, Qt::LeftButton);
    QCoreApplication::processEvents();
    const Timing elapsed = clock.seconds();
    warnAboutMessages("place");
    return elapsed;
}

WindowActions::Timing WindowActions::undo(frmZeichnen &window)
{
    const Stopwatch clock;
    window.mnuRueckgaengig->trigger();
    QCoreApplication::processEvents();
    const Timing elapsed = clock.seconds();
    warnAboutMessages("undo");
    return elapsed;
}

void WindowActions::renew(frmZeichnen &window)
{
    window.mnuNeu->trigger();
    QCoreApplication::processEvents();
    warnAboutMessages("new");
}

void WindowActions::warnAboutMessages(const char *where)
{
    for (const ScriptedDialogs::Prompt &prompt : mDialogs->messages())
        if (prompt.text != QLatin1String("Soll die Datei noch gespeichert werden ?"))
            std::fprintf(stderr, "skizzar_bench: %s showed \"%s\"\n", where, qPrintable(prompt.text));
    mDialogs->prompts.clear();
}

bool WindowActions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++mPaintEvents;
    return QObject::eventFilter(watched, event);
}

double WindowActions::median(QList<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

WindowActions::Timing WindowActions::medianOf(int runs, const std::function<Timing()> &action)
{
    QList<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const Timing timing = action();
        wall.append(timing.wall);
        cpu.append(timing.cpu);
    }
    return {median(wall), median(cpu)};
}

double WindowActions::processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void WindowActions::resetPeakResident()
{
    // What the drawings before gave back, but the allocator kept in its holes, is not the next
    // drawing's: it is returned to the system first.
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double WindowActions::peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1.0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            const QByteArray kilobytes = line.mid(6).trimmed().split(' ').value(0);
            return kilobytes.toDouble() * 1024.0 / 1e6;
        }
    }
    return -1.0;
}
