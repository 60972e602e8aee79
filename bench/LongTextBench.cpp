#include "LongTextBench.h"

#include "shapes/DrawMode.h"
#include "window/frmZeichnen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace LongTextBench {

namespace {

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

Figures measureRepaint(frmZeichnen &window, int runs)
{
    // The Hebrew word makes the whole line run right to left.
    QString text = QString::fromUtf16(u"\u05E9\u05DC\u05D5\u05DD ");
    const QString words = QString::fromUtf16(u"Caf\u0065\u0301 Text 1234 ");
    while (text.size() < Characters)
        text += words;
    text.truncate(Characters);
    if (window.surface().size() != QSize(647, 472))
        std::fprintf(stderr, "skizzar_bench: the long text is drawn in %d × %d pixels\n",
                     window.surface().size().width(), window.surface().size().height());
    window.PaintText(300.0f, 3000.0f, text, DrawMode::Place);
    QCoreApplication::processEvents();

    std::vector<double> wall, processor;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double start = processorSeconds();
        window.Form_Paint();
        processor.push_back(processorSeconds() - start);
        wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        QCoreApplication::processEvents();
    }
    return {median(wall), median(processor)};
}

} // namespace LongTextBench
