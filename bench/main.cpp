// skizzar_bench [--quick] [--sizes=1000,10000,100000,1000000] [--large=mix,texts]: times the editor on large drawings.

#include "BenchRunner.h"
#include "app/Application.h"

#include <QCommandLineParser>
#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    // A benchmark needs no screen: without a platform chosen, draw off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times opening, repainting, the rubber band, placing and saving of large drawings."));
    parser.addHelpOption();
    const QCommandLineOption quick(QStringLiteral("quick"), QStringLiteral("Fewer runs per figure."));
    const QCommandLineOption sizes(QStringLiteral("sizes"),
                                   QStringLiteral("Comma-separated drawing sizes (default 1000,10000,100000,1000000)."),
                                   QStringLiteral("list"));
    const QCommandLineOption large(QStringLiteral("large"),
                                   QStringLiteral("Only these drawings of the large-drawing table (mix,texts,…), nothing else."),
                                   QStringLiteral("names"));
    parser.addOption(quick);
    parser.addOption(sizes);
    parser.addOption(large);
    parser.process(app);

    BenchRunner::Options options;
    options.quick = parser.isSet(quick);
    if (parser.isSet(sizes)) {
        options.sizes.clear();
        for (const QString &size : parser.value(sizes).split(QLatin1Char(','))) {
            bool ok = false;
            const int shapes = size.toInt(&ok);
            if (!ok || shapes < 1) {
                std::fprintf(stderr, "skizzar_bench: not a drawing size: %s\n", qPrintable(size));
                return 2;
            }
            options.sizes.append(shapes);
        }
    }
    if (parser.isSet(large))
        options.largeDrawings = parser.value(large).split(QLatin1Char(','));
    BenchRunner runner(options);
    try {
        runner.run();
    } catch (const std::exception &error) {
        // Only saving is called outside the window's own error handling.
        std::fprintf(stderr, "skizzar_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
