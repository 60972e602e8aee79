#include "RecoveryBench.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>

namespace RecoveryBench {

RecoveryEntry line(std::int32_t i)
{
    return {RecoveryEntry::Placement::Linie, float(i % 9000), float(i % 7000), float(i % 5000), float(i % 3000), 255};
}

RecordFigures measureRecord(const QString &folder, std::int32_t placements)
{
    RecordFigures figures;
    RecoveryRecord record(folder);
    double total = 0.0;
    for (std::int32_t i = 0; i < placements; ++i) {
        QElapsedTimer timer;
        timer.start();
        record.beginAction();
        record.append(line(i));
        record.endAction();
        const double microseconds = double(timer.nsecsElapsed()) / 1e3;
        total += microseconds;
        figures.appendMaxMicroseconds = std::max(figures.appendMaxMicroseconds, microseconds);
    }
    figures.appendMeanMicroseconds = total / std::max(placements, 1);
    figures.kilobytes = double(QFileInfo(record.fileName()).size()) / 1e3;
    record.remove();
    return figures;
}

QByteArray deadRecord(const QString &dxfPath, std::int32_t placements)
{
    RecoveryEntry read{RecoveryEntry::Kind::Read};
    read.fileName = dxfPath;
    read.stamp = *DiskFile::stampOf(dxfPath);
    RecoveryEntry titled{RecoveryEntry::Kind::Titled};
    titled.text = QStringLiteral("Skizzar - ") + QFileInfo(dxfPath).fileName();
    titled.fileName = dxfPath;
    QByteArray bytes = RecoveryRecord::header() + RecoveryRecord::encode({read, titled});
    for (std::int32_t i = 0; i < placements; ++i)
        bytes += RecoveryRecord::encode({line(i)});
    return bytes;
}

} // namespace RecoveryBench
