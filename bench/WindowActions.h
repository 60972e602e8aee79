#pragma once
// Drives a main window as a user does and times each action in wall and processor seconds.

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class ScriptedDialogs;
class frmZeichnen;

class WindowActions : public QObject
{
    Q_OBJECT

public:
    // Both clocks over one action: the wall's, and the processor time of the whole process.
    struct Timing
    {
        double wall = 0.0;
        double cpu = 0.0;
    };
    // Starts both clocks; seconds() reads them.
    class Stopwatch
    {
    public:
        Stopwatch();
        Timing seconds() const;

    private:
        QElapsedTimer mWall;
        double mCpuStart;
    };

    WindowActions(std::shared_ptr<ScriptedDialogs> dialogs, int bandSteps);

    // A window whose drawing area has the given size in pixels; empty keeps the usual one.
    std::unique_ptr<frmZeichnen> startWindow(QSize pixels = {});
    // One Open through the File menu into a fresh window, which is kept in `window`.
    Timing open(const QString &path, std::unique_ptr<frmZeichnen> &window, QSize pixels = {});
    Timing repaint(frmZeichnen &window);
    // Per mouse-move step of the line tool's band, averaged over one run of steps.
    Timing bandStep(frmZeichnen &window);
    // The second click of the line tool until its pixels are shown.
    Timing place(frmZeichnen &window);
    // Undo through the Edit menu until the result is shown.
    Timing undo(frmZeichnen &window);
    // New through the File menu, not saving the drawing.
    void renew(frmZeichnen &window);
    // Reports every message but the question to save before Open or New.
    void warnAboutMessages(const char *where);

    static double median(QList<double> values);
    // The median of `runs` timings of action, each clock on its own.
    static Timing medianOf(int runs, const std::function<Timing()> &action);
    static double processCpuSeconds();
    // VmHWM of /proc/self/status in megabytes (10^6 bytes), or -1 when it cannot be read.
    static double peakResidentMegabytes();
    // Starts VmHWM afresh at the present resident size, where the kernel allows it, after giving
    // the system back the memory the allocator keeps unused.
    static void resetPeakResident();

protected:
    // Counts the paint events of the drawing area, to show that every band step reached the screen.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::shared_ptr<ScriptedDialogs> mDialogs;
    int mBandSteps;
    qint64 mPaintEvents = 0;
};
