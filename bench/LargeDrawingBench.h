#pragma once
// Every action on drawings of a million shapes and more that are hard in their own way, in
// processor time beside wall time, and opening each against mapping it and parsing its numbers.

#include "WindowActions.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class LargeDrawingBench
{
public:
    // Files go to `folder`; each figure is the median of `runs`. Where `only` names drawings, just
    // those are measured.
    LargeDrawingBench(WindowActions &actions, QString folder, int runs, QStringList only = {});

    // Measures every drawing, then prints its table and the target lines.
    void run();

private:
    struct Drawing
    {
        QString name;
        std::int32_t shapes = 0;
        QSize pixels; // empty: the window's usual drawing area
        std::function<QByteArray(std::int32_t)> make;
        // Opening may take this many times the floor.
        double openTarget = 0.0;
    };
    struct Figures
    {
        QString name;
        std::int32_t shapes = 0;
        double fileMegabytes = 0.0;
        WindowActions::Timing open, floor, repaint, band, place, undoPlace, undoNew;
        double peakMegabytes = 0.0;
        double openTarget = 0.0;
    };

    Figures measure(const Drawing &drawing, const QString &path);
    // Maps the file and parses every number in it with std::from_chars: what no Open can beat.
    static WindowActions::Timing floor(const QString &path);
    static void printTable(const QList<Figures> &figures);
    static void printTargets(const QList<Figures> &figures);

    WindowActions &mActions;
    QString mFolder;
    int mRuns;
    QStringList mOnly;
};
