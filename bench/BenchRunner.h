#pragma once
// Runs the benchmark: open, repaint, rubber band, placement and save for each drawing size, then the hard drawings, and prints the tables.

#include "WindowActions.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

class ScriptedDialogs;

class BenchRunner
{
public:
    struct Options
    {
        bool quick = false;
        QList<std::int32_t> sizes{1000, 10000, 100000, 1000000};
        // Only these drawings of the large-drawing table, and nothing else; empty: every table.
        QStringList largeDrawings;
    };

    explicit BenchRunner(Options options);
    ~BenchRunner();

    // Measures every size and prints the table and the target lines to standard output.
    void run();

private:
    struct Row
    {
        std::int32_t shapes = 0;
        std::int32_t shapesRead = 0;
        double fileMegabytes = 0.0;
        double openSeconds = 0.0;
        double openCpuSeconds = 0.0;
        double repaintSeconds = 0.0;
        double bandMilliseconds = 0.0;
        double placeMilliseconds = 0.0;
        double saveSeconds = 0.0;
        double peakMegabytes = 0.0;
        double openAndPlaceSeconds = 0.0; // opening this drawing and placing a line
        double recoverSeconds = 0.0;      // from a dead run's record of doing that
    };
    // A drawing of one hard kind: opened, repainted, and a shape placed in it.
    struct Scene
    {
        const char *name;
        std::int32_t shapes = 0;
        double fileMegabytes = 0.0;
        double openSeconds = 0.0;
        double repaintSeconds = 0.0;
        double placeMilliseconds = 0.0;
    };

    Row measure(std::int32_t shapes);
    Scene measureScene(const char *name, const QByteArray &content);
    // Writes the file into the temporary folder; empty when it cannot.
    QString writeFile(const QString &name, const QByteArray &content);
    WindowActions::Timing timeSave(frmZeichnen &window, const QString &path);
    // Seconds of placing `lines` lines, one after the other.
    double timeLines(frmZeichnen &window, std::int32_t lines);
    // Seconds of the start's recovery from a dead run's record of the drawing in path and
    // `placements` more lines, until the pixels are drawn.
    double timeRecover(const QString &path, std::int32_t placements);
    void printTable(const QList<Row> &rows) const;
    void printScenes(const QList<Scene> &scenes) const;
    void printRecovery(const QList<Row> &rows) const;

    Options m_options;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_folder;
    int m_runs = 0;
    int m_bandSteps = 0;
    WindowActions m_actions;
};
