#include "BenchRunner.h"

#include "DrawingGenerator.h"
#include "LargeDrawingBench.h"
#include "LongTextBench.h"
#include "RecoveryBench.h"
#include "support/ScriptedDialogs.h"
#include "window/frmZeichnen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>

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
} // namespace

BenchRunner::BenchRunner(Options options)
    : m_options(std::move(options)), m_dialogs(std::make_shared<ScriptedDialogs>()),
      m_runs(m_options.quick ? 3 : 7), m_bandSteps(m_options.quick ? 240 : 720),
      m_actions(m_dialogs, m_bandSteps)
{
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
    const double cpuAtStart = WindowActions::processCpuSeconds();
    const int largeRuns = m_options.quick ? 1 : 3;
    if (!m_options.largeDrawings.isEmpty()) {
        LargeDrawingBench(m_actions, m_folder.path(), largeRuns, m_options.largeDrawings).run();
        return;
    }
    QList<Row> rows;
    for (const std::int32_t shapes : m_options.sizes)
        rows.append(measure(shapes));
    const QList<Scene> scenes = {
        measureScene("texts-10MB", DrawingGenerator::mixedScriptTexts(10000000)),
        measureScene("cjk-labels", DrawingGenerator::cjkLabels(10000, 20000)),
        measureScene("large-circles", DrawingGenerator::largeCircles(100000))};
    const WindowActions::Timing longText = LongTextBench::measureRepaint(*m_actions.startWindow(), m_runs);
    printTable(rows);
    printScenes(scenes);
    std::printf("repaint long-text %d: %.3f s (target ≤ %.2f s)\n(processor time; wall time %.3f s)\n",
                LongTextBench::Characters, longText.cpu, LongTextBench::RepaintTarget, longText.wall);
    printRecovery(rows);
    LargeDrawingBench(m_actions, m_folder.path(), largeRuns).run();
    const double cpuShare = (WindowActions::processCpuSeconds() - cpuAtStart) / seconds(wall);
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
    WindowActions::resetPeakResident();

    std::unique_ptr<frmZeichnen> window;
    const WindowActions::Timing open = WindowActions::medianOf(m_runs, [&] { return m_actions.open(path, window); });
    row.openSeconds = open.wall;
    row.openCpuSeconds = open.cpu;
    row.shapesRead = window->oObjectData->GetNumberOfObjects();
    row.peakMegabytes = WindowActions::peakResidentMegabytes();
    if (row.shapesRead != DrawingGenerator::shapesAfterReading(shapes))
        std::fprintf(stderr, "skizzar_bench: read %d shapes, expected %d\n", row.shapesRead,
                     DrawingGenerator::shapesAfterReading(shapes));

    row.repaintSeconds = WindowActions::medianOf(m_runs, [&] { return m_actions.repaint(*window); }).wall;
    row.bandMilliseconds = WindowActions::medianOf(m_runs, [&] { return m_actions.bandStep(*window); }).wall * 1e3;
    row.placeMilliseconds = WindowActions::medianOf(m_runs, [&] { return m_actions.place(*window); }).wall * 1e3;
    const QString savePath = m_folder.filePath(QStringLiteral("saved-%1.dxf").arg(shapes));
    row.saveSeconds = WindowActions::medianOf(m_runs, [&] { return timeSave(*window, savePath); }).wall;
    window.reset();

    QList<double> recover, openAndPlace;
    for (int i = 0; i < m_runs; ++i) {
        // Each recovery starts, as each Open does, with no other drawing in memory.
        window.reset();
        recover.append(timeRecover(path, RecoveredPlacements));
        openAndPlace.append(m_actions.open(path, window).wall + timeLines(*window, RecoveredPlacements));
    }
    row.recoverSeconds = WindowActions::median(recover);
    row.openAndPlaceSeconds = WindowActions::median(openAndPlace);

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
    scene.openSeconds = WindowActions::medianOf(m_runs, [&] { return m_actions.open(path, window); }).wall;
    scene.shapes = window->oObjectData->GetNumberOfObjects();
    scene.repaintSeconds = WindowActions::medianOf(m_runs, [&] { return m_actions.repaint(*window); }).wall;
    scene.placeMilliseconds = WindowActions::medianOf(m_runs, [&] { return m_actions.place(*window); }).wall * 1e3;
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

WindowActions::Timing BenchRunner::timeSave(frmZeichnen &window, const QString &path)
{
    const WindowActions::Stopwatch clock;
    window.SaveDXF(path);
    const WindowActions::Timing elapsed = clock.seconds();
    m_actions.warnAboutMessages("save");
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
    const QString dead = writeFile(QStringLiteral("state/skizzar/record-bench"), RecoveryBench::deadRecord(path, placements));
    if (dead.isEmpty())
        return 0.0;
    const std::unique_ptr<frmZeichnen> window = m_actions.startWindow();
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
    m_actions.warnAboutMessages("recover");
    return elapsed;
}

void BenchRunner::printTable(const QList<Row> &rows) const
{
    std::printf("\n%8s %10s %8s %9s %10s %10s %12s %9s %8s %12s\n", "shapes", "read as", "file MB", "open s",
                "open cpu s", "repaint s", "band ms/step", "place ms", "save s", "peak RSS MB");
    for (const Row &row : rows)
        std::printf("%8d %10d %8.2f %9.4f %10.4f %10.4f %12.4f %9.3f %8.4f %12.1f\n", row.shapes,
                    row.shapesRead, row.fileMegabytes, row.openSeconds, row.openCpuSeconds, row.repaintSeconds,
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
