#include "LargeDrawingBench.h"

#include "DrawingGenerator.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QFile>
#include <charconv>
#include <cstdio>
#include <memory>

namespace {

constexpr double PlaceTarget = 16.0;     // ms
constexpr double BandTarget = 0.5;       // ms
constexpr double UndoPlaceTarget = 16.0; // ms
constexpr double UndoOtherTarget = 0.15; // s
constexpr double RepaintTarget = 0.1;    // s
constexpr double MemoryTarget = 300.0;   // MB
constexpr double MixOpenTarget = 3.0;    // times the floor
constexpr double HardOpenTarget = 4.0;

const QSize LargeWindow(1600, 1000);

} // namespace

LargeDrawingBench::LargeDrawingBench(WindowActions &actions, QString folder, int runs, QStringList only)
    : mActions(actions), mFolder(std::move(folder)), mRuns(runs), mOnly(std::move(only))
{
}

void LargeDrawingBench::run()
{
    const QList<Drawing> drawings = {
        {QStringLiteral("centred-circles"), 1000000, {}, DrawingGenerator::centredCircles, HardOpenTarget},
        {QStringLiteral("centred-circles"), 3000000, {}, DrawingGenerator::centredCircles, HardOpenTarget},
        {QStringLiteral("centred-circles-1600x1000"), 1000000, LargeWindow, DrawingGenerator::centredCircles, HardOpenTarget},
        {QStringLiteral("edge-arcs"), 1000000, {}, DrawingGenerator::edgeArcs, HardOpenTarget},
        {QStringLiteral("texts"), 1000000, {}, DrawingGenerator::scatteredTexts, HardOpenTarget},
        {QStringLiteral("even-points"), 1000000, {}, DrawingGenerator::evenPoints, 0.0},
        {QStringLiteral("even-points"), 3000000, {}, DrawingGenerator::evenPoints, 0.0},
        {QStringLiteral("mix"), 1000000, {}, DrawingGenerator::dxf, MixOpenTarget},
        {QStringLiteral("mix-1600x1000"), 1000000, LargeWindow, DrawingGenerator::dxf, MixOpenTarget},
    };
    std::printf("\nlarge drawings, medians of %d runs\n", mRuns);
    std::fflush(stdout);
    QList<Figures> figures;
    for (const Drawing &drawing : drawings) {
        if (!mOnly.isEmpty() && !mOnly.contains(drawing.name))
            continue;
        // The drawing in the larger window is the file of the usual one.
        const QString base = drawing.name.section(QLatin1Char('-'), 0, drawing.pixels.isEmpty() ? -1 : -2);
        const QString path = QStringLiteral("%1/large-%2-%3.dxf").arg(mFolder, base).arg(drawing.shapes);
        if (!QFile::exists(path)) {
            QFile file(path);
            const QByteArray content = drawing.make(drawing.shapes);
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
                std::fprintf(stderr, "skizzar_bench: cannot write %s\n", qPrintable(path));
                continue;
            }
        }
        figures.append(measure(drawing, path));
        std::printf("  %s %d measured\n", qPrintable(drawing.name), drawing.shapes);
        std::fflush(stdout);
    }
    printTable(figures);
    printTargets(figures);
}

LargeDrawingBench::Figures LargeDrawingBench::measure(const Drawing &drawing, const QString &path)
{
    Figures figures;
    figures.name = drawing.name;
    figures.shapes = drawing.shapes;
    figures.fileMegabytes = static_cast<double>(QFile(path).size()) / 1e6;
    figures.openTarget = drawing.openTarget;
    figures.floor = WindowActions::medianOf(mRuns, [&] { return floor(path); });
    WindowActions::resetPeakResident();
    std::unique_ptr<frmZeichnen> window;
    figures.open = WindowActions::medianOf(mRuns, [&] { return mActions.open(path, window, drawing.pixels); });
    const std::int32_t opened = window->oObjectData->GetNumberOfObjects();
    figures.repaint = WindowActions::medianOf(mRuns, [&] { return mActions.repaint(*window); });
    figures.band = WindowActions::medianOf(mRuns, [&] { return mActions.bandStep(*window); });
    figures.place = WindowActions::medianOf(mRuns, [&] { return mActions.place(*window); });
    figures.undoPlace = WindowActions::medianOf(mRuns, [&] {
        mActions.place(*window);
        return mActions.undo(*window);
    });
    // Undo right after New brings the whole drawing back.
    figures.undoNew = WindowActions::medianOf(mRuns, [&] {
        mActions.place(*window);
        mActions.renew(*window);
        if (!window->mnuRueckgaengig->isEnabled())
            std::fprintf(stderr, "skizzar_bench: no Undo after New\n");
        return mActions.undo(*window);
    });
    // The drawing as opened and the lines placed for the place figure.
    if (window->oObjectData->GetNumberOfObjects() != opened + mRuns)
        std::fprintf(stderr, "skizzar_bench: %d shapes after Undo, not %d\n",
                     window->oObjectData->GetNumberOfObjects(), opened + mRuns);
    figures.peakMegabytes = WindowActions::peakResidentMegabytes();
    return figures;
}

WindowActions::Timing LargeDrawingBench::floor(const QString &path)
{
    const WindowActions::Stopwatch clock;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const uchar *mapped = file.map(0, file.size());
    if (!mapped)
        return {};
    const char *at = reinterpret_cast<const char *>(mapped);
    const char *const end = at + file.size();
    double sum = 0.0;
    while (at < end) {
        while (at < end && (*at == ' ' || *at == '\r' || *at == '\n'))
            ++at;
        double value = 0.0;
        const std::from_chars_result parsed = std::from_chars(at, end, value);
        if (parsed.ec == std::errc())
            sum += value;
        while (at < end && *at != '\n')
            ++at;
    }
    const WindowActions::Timing elapsed = clock.seconds();
    // The sum is used, so that no parse is left out.
    if (sum == -1.0)
        std::printf(" ");
    return elapsed;
}

void LargeDrawingBench::printTable(const QList<Figures> &figures)
{
    std::printf("\n%-26s %8s %7s %7s %14s %16s %14s %14s %14s %16s %7s\n", "drawing", "shapes", "file MB",
                "action", "open s", "repaint s", "band ms", "place ms", "undo ms", "undo-new s", "peak MB");
    std::printf("%-26s %8s %7s %7s %14s %16s %14s %14s %14s %16s\n", "", "", "", "", "wall    cpu",
                "wall     cpu", "wall    cpu", "wall    cpu", "wall    cpu", "wall     cpu");
    for (const Figures &f : figures) {
        std::printf("%-26s %8d %7.1f %7s %6.3f %7.3f %7.4f %8.4f %6.3f %7.3f %6.2f %7.2f %6.1f %7.1f"
                    " %7.4f %8.4f %7.0f\n",
                    qPrintable(f.name), f.shapes, f.fileMegabytes, "", f.open.wall, f.open.cpu,
                    f.repaint.wall, f.repaint.cpu, f.band.wall * 1e3, f.band.cpu * 1e3, f.place.wall * 1e3,
                    f.place.cpu * 1e3, f.undoPlace.wall * 1e3, f.undoPlace.cpu * 1e3, f.undoNew.wall,
                    f.undoNew.cpu, f.peakMegabytes);
        std::printf("%-26s %8s %7s %7s %6.3f %7.3f\n", "", "", "", "floor", f.floor.wall, f.floor.cpu);
    }
    std::printf("(open: through the File menu until drawn; floor: the same file mapped and every number in"
                " it parsed with std::from_chars; undo: of a placement, until shown; undo-new: Undo right"
                " after New; peak: VmHWM over all these actions)\n\n");
}

void LargeDrawingBench::printTargets(const QList<Figures> &figures)
{
    for (const Figures &f : figures) {
        const QByteArray name = QStringLiteral("%1 %2").arg(f.name).arg(f.shapes).toUtf8();
        const char *n = name.constData();
        std::printf("place %s: %.1f ms (target ≤ %.0f ms)\n", n, f.place.cpu * 1e3, PlaceTarget);
        std::printf("band %s: %.3f ms (target ≤ %.1f ms)\n", n, f.band.cpu * 1e3, BandTarget);
        std::printf("undo %s: %.1f ms (target ≤ %.0f ms)\n", n, f.undoPlace.cpu * 1e3, UndoPlaceTarget);
        std::printf("undo-new %s: %.3f s (target ≤ %.2f s)\n", n, f.undoNew.cpu, UndoOtherTarget);
        std::printf("repaint %s: %.3f s (target ≤ %.1f s)\n", n, f.repaint.cpu, RepaintTarget);
        std::printf("memory %s: %.0f MB (target ≤ %.0f MB)\n", n, f.peakMegabytes, MemoryTarget);
        if (f.openTarget > 0.0 && f.floor.cpu > 0.0)
            std::printf("open %s: %.1f × the floor (target ≤ %.0f ×)\n", n, f.open.cpu / f.floor.cpu,
                        f.openTarget);
    }
}
