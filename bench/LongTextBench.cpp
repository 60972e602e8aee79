#include "LongTextBench.h"

#include "shapes/DrawMode.h"
#include "window/frmZeichnen.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>

namespace LongTextBench {

WindowActions::Timing measureRepaint(frmZeichnen &window, int runs)
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

    return WindowActions::medianOf(runs, [&] {
        const WindowActions::Stopwatch clock;
        window.Form_Paint();
        const WindowActions::Timing elapsed = clock.seconds();
        QCoreApplication::processEvents();
        return elapsed;
    });
}

} // namespace LongTextBench
