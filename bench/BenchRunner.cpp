#include "BenchRunner.h"

#include "support/ScriptedDialogs.h"
#include "DrawingGenerator.h"
#include "LongTextBench.h"
#include "RecoveryBench.h"
#include "window/DrawingCanvas.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QtMath>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr std::int32_t TargetSize = 100000;
constexpr double OpenTarget = 0.3;
constexpr double RepaintTarget = 0.15;
constexpr double BandTarget = 0.5;
constexpr double SaveTarget = 0.1;
constexpr double MemoryTarget = 150.0;

constexpr std::int32_t LargeSize = 1000000;
constexpr double LargePlaceTarget = 16.0;
constexpr double LargeOpenTarget = 1.0;
constexpr double LargeRepaintTarget = 0.3;
constexpr double LargeMemoryTarget = 300.0;
constexpr double SceneRepaintTarget = 0.15;
// The recovery record: an hour of drawing, what it may add to a placement, how long a sync may
// hold one up.
constexpr std::int32_t HourOfPlacements = 10000;
constexpr std::int32_t RecoveredPlacements = 1;
constexpr double RecordKilobytesTarget = 2000.0;
constexpr double RecordPlaceTarget = 1.0;
constexpr double RecordSyncTarget = 2.0;
constexpr double ScenePlaceTarget = 16.0;

double seconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// A move with no button held, or the release of `button`: either way no button is down afterwards.
void sendMouse(QWidget *canvas, QEvent::Type type, QPoint position, Qt::MouseButton button)
{
    QMouseEvent event(type, QPointF(position), QPointF(canvas->mapToGlobal(position)), button,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

} // namespace

BenchRunner::BenchRunner(Options options)
    : m_options(std::move(options)), m_dialogs(std::make_shared<ScriptedDialogs>())
{
    m_runs = m_options.quick ? 3 : 7;
    m_bandSteps = m_options.quick ? 240 : 720;
    // Weiter in the welcome window, No to saving, the generated file to open; nothing else is asked.
    m_dialogs->keepWelcoming();
    m_dialogs->keepAnsweringMessages(PlatformDialogs::Answer::No);
    m_dialogs->onUnexpected = [](const QString &what) {
        std::fprintf(stderr, "skizzar_bench: %s\n", qPrintable(what));
    };
    // The windows' recovery records, and the dead runs' ones made here, stay in the temporary folder.
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_folder.filePath(QStringLiteral("state"))));
}

BenchRunner::~BenchRunner() = default;

void BenchRunner::run()
{
    if (!m_folder.isValid()) {
        std::fprintf(stderr, "skizzar_bench: no temporary folder: %s\n", qPrintable(m_folder.errorString()));
        return;
    }
    std::printf("skizzar_bench: platform %s, medians of %d runs, %d band steps per run\n",
                qgetenv("QT_QPA_PLATFORM").constData(), m_runs, m_bandSteps);
    std::fflush(stdout);
    QElapsedTimer wall;
    wall.start();
    const double cpuAtStart = processCpuSeconds();
    QList<Row> rows;
    for (const std::int32_t shapes : m_options.sizes)
        rows.append(measure(shapes));
    const QList<Scene> scenes = {
        measureScene("texts-10MB", DrawingGenerator::mixedScriptTexts(10000000)),
        measureScene("cjk-labels", DrawingGenerator::cjkLabels(10000, 20000)),
        measureScene("large-circles", DrawingGenerator::largeCircles(100000))};
    const LongTextBench::Figures longText = LongTextBench::measureRepaint(*startWindow(), m_runs);
    const double cpuShare = (processCpuSeconds() - cpuAtStart) / seconds(wall);
    printTable(rows);
    printScenes(scenes);
    std::printf("repaint long-text %d: %.3f s (target ≤ %.2f s)\n(processor time; wall time %.3f s)\n",
                LongTextBench::Characters, longText.processorSeconds, LongTextBench::RepaintTarget, longText.wallSeconds);
    printRecovery(rows);
    // Other programs on the machine stretch every figure; this shows how much they took.
    std::printf("\nthe benchmark ran on the processor %.0f %% of its time; the rest it waited for the"
                " disk or for other programs\n",
                100.0 * cpuShare);
}

BenchRunner::Row BenchRunner::measure(std::int32_t shapes)
{
    Row row;
    row.shapes = shapes;
    QString path;
    {
        const QByteArray content = DrawingGenerator::dxf(shapes);
        path = writeFile(QStringLiteral("drawing-%1.dxf").arg(shapes), content);
        if (path.isEmpty())
            return row;
        row.fileMegabytes = static_cast<double>(content.size()) / 1e6;
    }
    // The peak of making the file is not the editor's.
    resetPeakResident();

    std::unique_ptr<frmZeichnen> window;
    QList<double> open;
    for (int i = 0; i < m_runs; ++i)
        open.append(timeOpen(path, window));
    row.openSeconds = median(open);
    row.shapesRead = window->oObjectData->GetNumberOfObjects();
    row.peakMegabytes = peakResidentMegabytes();
    if (row.shapesRead != DrawingGenerator::shapesAfterReading(shapes))
        std::fprintf(stderr, "skizzar_bench: read %d shapes, expected %d\n", row.shapesRead,
                     DrawingGenerator::shapesAfterReading(shapes));

    QList<double> repaint;
    for (int i = 0; i < m_runs; ++i)
        repaint.append(timeRepaint(*window));
    row.repaintSeconds = median(repaint);

    QList<double> band;
    for (int i = 0; i < m_runs; ++i)
        band.append(timeBand(*window) * 1e3);
    row.bandMilliseconds = median(band);

    QList<double> place;
    for (int i = 0; i < m_runs; ++i)
        place.append(timePlace(*window));
    row.placeMilliseconds = median(place);

    const QString savePath = m_folder.filePath(QStringLiteral("saved-%1.dxf").arg(shapes));
    QList<double> save;
    for (int i = 0; i < m_runs; ++i)
        save.append(timeSave(*window, savePath));
    row.saveSeconds = median(save);
    window.reset();

    QList<double> recover, openAndPlace;
    for (int i = 0; i < m_runs; ++i) {
        // Each recovery starts, as each Open does, with no other drawing in memory.
        window.reset();
        recover.append(timeRecover(path, RecoveredPlacements));
        openAndPlace.append(timeOpen(path, window) + timeLines(*window, RecoveredPlacements));
    }
    row.recoverSeconds = median(recover);
    row.openAndPlaceSeconds = median(openAndPlace);

    std::printf("  %d shapes measured\n", shapes);
    std::fflush(stdout);
    return row;
}

BenchRunner::Scene BenchRunner::measureScene(const char *name, const QByteArray &content)
{
    Scene scene{name};
    scene.fileMegabytes = static_cast<double>(content.size()) / 1e6;
    const QString path = writeFile(QStringLiteral("%1.dxf").arg(QLatin1String(name)), content);
    if (path.isEmpty())
        return scene;
    std::unique_ptr<frmZeichnen> window;
    QList<double> open, repaint, place;
    for (int i = 0; i < m_runs; ++i)
        open.append(timeOpen(path, window));
    scene.shapes = window->oObjectData->GetNumberOfObjects();
    for (int i = 0; i < m_runs; ++i)
        repaint.append(timeRepaint(*window));
    for (int i = 0; i < m_runs; ++i)
        place.append(timePlace(*window));
    scene.openSeconds = median(open);
    scene.repaintSeconds = median(repaint);
    scene.placeMilliseconds = median(place);
    std::printf("  %s measured\n", name);
    std::fflush(stdout);
    return scene;
}

QString BenchRunner::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        std::fprintf(stderr, "skizzar_bench: cannot write %s\n", qPrintable(path));
        return {};
    }
    return path;
}

std::unique_ptr<frmZeichnen> BenchRunner::startWindow()
{
    auto window = std::make_unique<frmZeichnen>(m_dialogs);
    window->Form_Load();
    window->canvas()->installEventFilter(this);
    QCoreApplication::processEvents();
    return window;
}

double BenchRunner::timeOpen(const QString &path, std::unique_ptr<frmZeichnen> &window)
{
    // Each run opens into a fresh window: the undo snapshot of an old one would hold the drawings
    // of the runs before.
    window.reset();
    window = startWindow();
    m_dialogs->keepAnsweringOpenFile(path);
    QElapsedTimer timer;
    timer.start();
    window->mnuOeffnen->trigger();
    const double elapsed = seconds(timer);
    QCoreApplication::processEvents();
    warnAboutMessages("open");
    return elapsed;
}

double BenchRunner::timeRepaint(frmZeichnen &window)
{
    QElapsedTimer timer;
    timer.start();
    window.Form_Paint();
    const double elapsed = seconds(timer);
    QCoreApplication::processEvents();
    warnAboutMessages("repaint");
    return elapsed;
}

double BenchRunner::timeBand(frmZeichnen &window)
{
    DrawingCanvas *canvas = window.canvas();
    // The anchor in the middle, the pointer going round it on an ellipse below the label.
    const QPoint anchor(323, 300);
    window.mnuLinie->trigger();
    sendMouse(canvas, QEvent::MouseButtonRelease, anchor, Qt::LeftButton);
    QCoreApplication::processEvents();

    m_paintEvents = 0;
    QElapsedTimer timer;
    timer.start();
    for (int step = 1; step <= m_bandSteps; ++step) {
        const double angle = 2.0 * M_PI * step / m_bandSteps;
        const QPoint pointer(anchor.x() + qRound(300.0 * std::cos(angle)),
                             anchor.y() + qRound(160.0 * std::sin(angle)));
        sendMouse(canvas, QEvent::MouseMove, pointer, Qt::NoButton);
        QCoreApplication::processEvents();
    }
    const double elapsed = seconds(timer) / m_bandSteps;
    if (m_paintEvents < m_bandSteps)
        std::fprintf(stderr, "skizzar_bench: only %lld paint events for %d band steps\n",
                     static_cast<long long>(m_paintEvents), m_bandSteps);

    // The right button cancels the tool; the band stays until the next repaint.
    sendMouse(canvas, QEvent::MouseButtonRelease, anchor, Qt::RightButton);
    window.Form_Paint();
    QCoreApplication::processEvents();
    warnAboutMessages("band");
    return elapsed;
}

double BenchRunner::timePlace(frmZeichnen &window)
{
    DrawingCanvas *canvas = window.canvas();
    const QPoint anchor(250, 300), end(330, 340);
    window.mnuLinie->trigger();
    sendMouse(canvas, QEvent::MouseButtonRelease, anchor, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseMove, end, Qt::NoButton);
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    sendMouse(canvas, QEvent::MouseButtonRelease, end, Qt::LeftButton);
    QCoreApplication::processEvents();
    const double elapsed = seconds(timer) * 1e3;
    warnAboutMessages("place");
    return elapsed;
}

double BenchRunner::timeSave(frmZeichnen &window, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    window.SaveDXF(path);
    const double elapsed = seconds(timer);
    warnAboutMessages("save");
    return elapsed;
}

double BenchRunner::timeLines(frmZeichnen &window, std::int32_t lines)
{
    QElapsedTimer timer;
    timer.start();
    for (std::int32_t i = 0; i < lines; ++i) {
        const RecoveryEntry line = RecoveryBench::line(i);
        window.PaintLinie(line.x1, line.y1, line.x2, line.y2, 1);
    }
    const double elapsed = seconds(timer);
    QCoreApplication::processEvents();
    return elapsed;
}

double BenchRunner::timeRecover(const QString &path, std::int32_t placements)
{
    const QString dead = m_folder.filePath(QStringLiteral("state/skizzar/record-bench"));
    QFile record(dead);
    const QByteArray bytes = RecoveryBench::deadRecord(path, placements);
    if (!record.open(QIODevice::WriteOnly) || record.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "skizzar_bench: cannot write %s\n", qPrintable(dead));
        return 0.0;
    }
    record.close();
    const std::unique_ptr<frmZeichnen> window = startWindow();
    const std::int32_t before = window->oObjectData->GetNumberOfObjects();
    m_dialogs->expectMessage(PlatformDialogs::Answer::Yes);
    QElapsedTimer timer;
    timer.start();
    window->recoverAfterCrash();
    const double elapsed = seconds(timer);
    QCoreApplication::processEvents();
    if (window->oObjectData->GetNumberOfObjects() <= before + placements || QFile::exists(dead))
        std::fprintf(stderr, "skizzar_bench: the drawing was not recovered\n");
    m_dialogs->prompts.clear(); // the question to bring the drawing back
    warnAboutMessages("recover");
    return elapsed;
}

void BenchRunner::warnAboutMessages(const char *where)
{
    // No to saving the drawing before Open; a clean run shows nothing else.
    for (const ScriptedDialogs::Prompt &prompt : m_dialogs->messages())
        if (prompt.text != QLatin1String("Soll die Datei noch gespeichert werden ?"))
            std::fprintf(stderr, "skizzar_bench: %s showed \"%s\"\n", where, qPrintable(prompt.text));
    m_dialogs->prompts.clear();
}

bool BenchRunner::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++m_paintEvents;
    return QObject::eventFilter(watched, event);
}

void BenchRunner::printTable(const QList<Row> &rows) const
{
    std::printf("\n%8s %10s %8s %9s %10s %12s %9s %8s %12s\n", "shapes", "read as", "file MB", "open s",
                "repaint s", "band ms/step", "place ms", "save s", "peak RSS MB");
    for (const Row &row : rows)
        std::printf("%8d %10d %8.2f %9.4f %10.4f %12.4f %9.3f %8.4f %12.1f\n", row.shapes,
                    row.shapesRead, row.fileMegabytes, row.openSeconds, row.repaintSeconds,
                    row.bandMilliseconds, row.placeMilliseconds, row.saveSeconds, row.peakMegabytes);
    std::printf("(read as: shapes in the drawing after opening, each rectangle read back as four lines;"
                " peak RSS: VmHWM after opening that size)\n\n");

    const auto large = std::find_if(rows.cbegin(), rows.cend(),
                                    [](const Row &row) { return row.shapes == LargeSize; });
    if (large != rows.cend()) {
        const int n = LargeSize;
        std::printf("place %d: %.1f ms (target ≤ %.0f ms)\n", n, large->placeMilliseconds, LargePlaceTarget);
        std::printf("open %d: %.3f s (target ≤ %.1f s)\n", n, large->openSeconds, LargeOpenTarget);
        std::printf("repaint %d: %.3f s (target ≤ %.1f s)\n", n, large->repaintSeconds, LargeRepaintTarget);
        std::printf("memory %d: %.0f MB peak resident (target ≤ %.0f MB)\n", n, large->peakMegabytes,
                    LargeMemoryTarget);
    }
    const auto target = std::find_if(rows.cbegin(), rows.cend(),
                                     [](const Row &row) { return row.shapes == TargetSize; });
    if (target == rows.cend())
        return;
    const int n = TargetSize;
    std::printf("open %d: %.3f s (target ≤ %.1f s)\n", n, target->openSeconds, OpenTarget);
    std::printf("repaint %d: %.3f s (target ≤ %.2f s)\n", n, target->repaintSeconds, RepaintTarget);
    std::printf("band %d: %.3f ms per step (target ≤ %.1f ms)\n", n, target->bandMilliseconds,
                BandTarget);
    std::printf("save %d: %.3f s (target ≤ %.1f s)\n", n, target->saveSeconds, SaveTarget);
    std::printf("memory %d: %.0f MB peak resident (target ≤ %.0f MB)\n", n, target->peakMegabytes,
                MemoryTarget);
}

void BenchRunner::printRecovery(const QList<Row> &rows) const
{
    std::printf("\n%8s %9s %14s %10s\n", "shapes", "open s", "open+place s", "recover s");
    for (const Row &row : rows)
        std::printf("%8d %9.4f %14.4f %10.4f\n", row.shapes, row.openSeconds, row.openAndPlaceSeconds,
                    row.recoverSeconds);
    std::printf("(open+place: opening the drawing and placing a line; recover: the start's recovery, from a"
                " dead run's record of that, until the pixels are drawn)\n\n");
    const RecoveryBench::RecordFigures record =
        RecoveryBench::measureRecord(m_folder.filePath(QStringLiteral("state/skizzar")), HourOfPlacements);
    std::printf("record of %d placements: %.0f kB (target < %.0f kB)\n", HourOfPlacements, record.kilobytes,
                RecordKilobytesTarget);
    std::printf("recording a placement: %.1f µs on average (target ≤ %.0f ms more per placement)\n",
                record.appendMeanMicroseconds, RecordPlaceTarget);
    std::printf("recording a placement while syncs run: %.2f ms at most (target: a sync delays none by more"
                " than %.0f ms)\n",
                record.appendMaxMicroseconds / 1e3, RecordSyncTarget);
    for (const Row &row : rows)
        std::printf("recover %d: %.3f s (target ≤ open, %.3f s)\n", row.shapes, row.recoverSeconds,
                    row.openSeconds);
}

void BenchRunner::printScenes(const QList<Scene> &scenes) const
{
    std::printf("\n%14s %8s %8s %9s %10s %9s\n", "drawing", "shapes", "file MB", "open s", "repaint s",
                "place ms");
    for (const Scene &scene : scenes)
        std::printf("%14s %8d %8.2f %9.4f %10.4f %9.3f\n", scene.name, scene.shapes,
                    scene.fileMegabytes, scene.openSeconds, scene.repaintSeconds,
                    scene.placeMilliseconds);
    std::printf("(texts-10MB: texts with combining accents, Hebrew and Arabic; cjk-labels: 10,000 labels"
                " over 20,000 CJK characters; large-circles: 100,000 circles of radius about 4,000"
                " pixels crossing the window)\n\n");
    for (const Scene &scene : scenes) {
        std::printf("repaint %s: %.3f s (target ≤ %.2f s)\n", scene.name, scene.repaintSeconds,
                    SceneRepaintTarget);
        std::printf("place %s: %.1f ms (target ≤ %.0f ms)\n", scene.name, scene.placeMilliseconds,
                    ScenePlaceTarget);
    }
}

double BenchRunner::median(QList<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double BenchRunner::processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void BenchRunner::resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double BenchRunner::peakResidentMegabytes()
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
