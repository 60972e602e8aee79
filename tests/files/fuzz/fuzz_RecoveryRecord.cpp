// libFuzzer target of the recovery record: entries made from the input are written as a record,
// which is then cut or garbled where the input says; reading it back must give exactly the
// actions before the damage, and say whether there was any. The input itself is read as a record
// too, which must not crash, hang or leak.

#include "files/RecoveryRecord.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Takes values from the front of the input; zeros once it is used up.
class Input
{
public:
    explicit Input(QByteArrayView bytes) : m_bytes(bytes) {}
    bool empty() const { return m_at >= m_bytes.size(); }
    std::uint8_t byte() { return empty() ? 0 : std::uint8_t(m_bytes[m_at++]); }
    std::uint32_t number()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | byte();
        return value;
    }
    float coordinate() { return float(std::int32_t(number()) % 100000) / 8.0f; }
    QString text()
    {
        QString text;
        for (int n = byte() % 8; n > 0; --n)
            text += QChar(char16_t(0x20 + byte() * 37));
        return text;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

RecoveryEntry entryFrom(Input &in)
{
    RecoveryEntry e;
    e.kind = RecoveryEntry::Kind(1 + in.byte() % 8); // every kind but Restart, which reading drops
    e.placement = RecoveryEntry::Placement(1 + in.byte() % 5);
    e.x1 = in.coordinate();
    e.y1 = in.coordinate();
    e.x2 = in.coordinate();
    e.y2 = in.coordinate();
    e.color = std::int32_t(in.number());
    e.text = in.text();
    e.font = in.text();
    e.fontSize = float(in.byte());
    e.fileName = in.text();
    e.saved = in.byte() & 1;
    e.stamp = {dev_t(in.number()), ino_t(in.number()), off_t(in.number()), std::time_t(in.number()), long(in.byte())};
    e.readUpTo = in.byte() & 1 ? qint64(in.number()) : -1; // a read stopped there, or whole
    // What the kind does not hold is not written, and so is not read back.
    RecoveryEntry kept{e.kind};
    switch (e.kind) {
    case RecoveryEntry::Kind::Placed:
        kept = e;
        kept.fileName.clear();
        kept.saved = false;
        kept.stamp = {};
        kept.readUpTo = -1;
        if (e.placement != RecoveryEntry::Placement::Text) {
            kept.text.clear();
            kept.font.clear();
            kept.fontSize = 0;
        }
        break;
    case RecoveryEntry::Kind::Titled:
        kept.text = e.text;
        kept.fileName = e.fileName;
        kept.saved = e.saved;
        break;
    case RecoveryEntry::Kind::Read:
        kept.readUpTo = e.readUpTo;
        [[fallthrough]];
    case RecoveryEntry::Kind::Moved:
        kept.color = e.color;
        kept.fileName = e.fileName;
        kept.stamp = e.stamp;
        break;
    case RecoveryEntry::Kind::Colour:
    case RecoveryEntry::Kind::BackColour:
        kept.color = e.color;
        break;
    default:
        break;
    }
    return kept;
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_RecoveryRecord: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    RecoveryRecord::parse(bytes.toByteArray());

    Input in(bytes);
    QByteArray record = RecoveryRecord::header();
    QList<qsizetype> ends{record.size()}; // where each action ends
    QList<QList<RecoveryEntry>> actions;
    for (int n = in.byte() % 6; n > 0; --n) {
        QList<RecoveryEntry> action;
        for (int k = 1 + in.byte() % 3; k > 0; --k)
            action.append(entryFrom(in));
        record += RecoveryRecord::encode(action);
        ends.append(record.size());
        actions.append(action);
    }
    const std::uint8_t damage = in.byte() % 3; // none, cut, a garbled byte
    qsizetype at = qsizetype(in.number() % std::uint32_t(record.size()));
    // A garbled length may by chance point at bytes that pass for an action: the checksum
    // guards what an action holds, so the garbled byte goes there.
    for (qsizetype end : ends)
        if (damage == 2 && end != record.size() && at >= end && at < end + 4)
            at = end + 4;
    if (damage == 1)
        record.truncate(at);
    else if (damage == 2)
        record[at] = char(record[at] ^ (1 + in.byte() % 255));

    // The actions wholly before the damage come back, and nothing else.
    qsizetype whole = 0;
    while (whole < actions.size() && (damage == 0 || ends[whole + 1] <= at))
        ++whole;
    QList<RecoveryEntry> expected;
    for (qsizetype i = 0; i < whole; ++i)
        expected += actions[i];
    const bool damaged = damage == 2 || (damage == 1 && (at < ends.first() ? at > 0 : !ends.contains(at)));
    const RecoveryRecord::Contents read = RecoveryRecord::parse(record);
    if (read.entries != expected)
        fail("the entries read are not those written before the damage");
    if (read.damaged != damaged)
        fail("damage was not told, or told where there was none");
    return 0;
}
