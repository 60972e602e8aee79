#pragma once
// The recovery record's costs: what recording adds to a placement, how long a sync may hold one up,
// how large an hour of drawing makes the record, and a dead run's record to recover from.

#include "files/RecoveryRecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace RecoveryBench {

struct RecordFigures
{
    double appendMeanMicroseconds = 0.0;
    double appendMaxMicroseconds = 0.0; // the slowest of them, while syncs run behind
    double kilobytes = 0.0;             // the record after the placements
};

// The i-th line that the benchmark places and records.
RecoveryEntry line(std::int32_t i);

// Records `placements` line placements, one action each, in a new record in folder.
RecordFigures measureRecord(const QString &folder, std::int32_t placements);

// The record a run leaves that opened dxfPath and then placed `placements` lines.
QByteArray deadRecord(const QString &dxfPath, std::int32_t placements);

} // namespace RecoveryBench
