#pragma once
// Runs the benchmark: open, repaint, rubber band, placement and save for each drawing size, then the hard drawings, and prints the tables.

#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

class ScriptedDialogs;
class frmZeichnen;

class BenchRunner : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        bool quick = false;
        QList<std::int32_t> sizes{1000, 10000, 100000, 1000000};
    };

    explicit BenchRunner(Options options);
    ~BenchRunner() override;

    // Measures every size and prints the table and the target lines to standard output.
    void run();

protected:
    // Counts the paint events of the drawing area, to show that every band step reached the screen.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        std::int32_t shapes = 0;
        std::int32_t shapesRead = 0;
        double fileMegabytes = 0.0;
        double openSeconds = 0.0;
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
    std::unique_ptr<frmZeichnen> startWindow();
    // One Open through the File menu into a fresh window, which is kept in `window`.
    double timeOpen(const QString &path, std::unique_ptr<frmZeichnen> &window);
    double timeRepaint(frmZeichnen &window);
    // Seconds per mouse-move step of the line tool's band, averaged over one run of steps.
    double timeBand(frmZeichnen &window);
    // Milliseconds of the second click of the line tool until its pixels are shown.
    double timePlace(frmZeichnen &window);
    double timeSave(frmZeichnen &window, const QString &path);
    // Seconds of placing `lines` lines, one after the other.
    double timeLines(frmZeichnen &window, std::int32_t lines);
    // Seconds of the start's recovery from a dead run's record of the drawing in path and
    // `placements` more lines, until the pixels are drawn.
    double timeRecover(const QString &path, std::int32_t placements);
    void warnAboutMessages(const char *where);
    void printTable(const QList<Row> &rows) const;
    void printScenes(const QList<Scene> &scenes) const;
    void printRecovery(const QList<Row> &rows) const;

    static double median(QList<double> values);
    static double processCpuSeconds();
    // VmHWM of /proc/self/status in megabytes (10^6 bytes), or -1 when it cannot be read.
    static double peakResidentMegabytes();
    // Starts VmHWM afresh at the present resident size, where the kernel allows it.
    static void resetPeakResident();

    Options m_options;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    QTemporaryDir m_folder;
    int m_runs = 0;
    int m_bandSteps = 0;
    qint64 m_paintEvents = 0;
};
