#include "document/ObjectData.h"
#include "files/DxfWriter.h"
#include "shapes/SkizzarError.h"
#include "support/DrawingText.h"
#include "support/RecordingSurface.h"
#include "support/ShapeKinds.h"

#include <QBuffer>
#include <QTest>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>
#include <map>
#include <new>

namespace {
// Allocations still allowed before operator new fails; negative: never fail. operator new can
// only be replaced program-wide, so this countdown is necessarily global.
long long allocationsLeft = -1;
} // namespace
void *operator new(std::size_t size)
{
    void *p = allocationsLeft != 0 ? std::malloc(size ? size : 1) : nullptr;
    if (!p)
        throw std::bad_alloc();
    allocationsLeft -= allocationsLeft > 0;
    return p;
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {
using ShapePtr = std::shared_ptr<Basisklasse>;
constexpr int maxInt = std::numeric_limits<int>::max();

// None of the five classes. Draw leaves a PSet at (id, mode) and DrawSelected a Line on the
// surface, so the surface's one call list shows the order, the mode and any DrawSelected.
struct Probe : Basisklasse
{
    Probe(int id, bool fail) : id(id), fail(fail) {}
    void Draw(DrawingSurface &s, std::int16_t mode) override
    {
        s.PSet(float(id), float(mode), 0);
        if (fail)
            throw OverflowError();
    }
    void DrawSelected(DrawingSurface &s, std::int16_t) override { s.Line(0, 0, 0, 0, 0); }
    int id;
    bool fail;
};

// A shape of class kind ('K', 'L', 'T', 'R', 'P', else a plain Basisklasse) whose properties
// differ with v; v < 0 gives NaNs with payloads, -0.0, infinities and extremes.
ShapePtr sample(char kind, int v, bool selected)
{
    auto f = [v](int i) {
        const float odd[] = {std::bit_cast<float>(0x7fc12345u), -0.0f, -0.0f, std::bit_cast<float>(0xffc00001u),
                             std::numeric_limits<float>::infinity(), std::numeric_limits<float>::denorm_min(),
                             -std::numeric_limits<float>::max(), 1e-30f};
        return v < 0 ? odd[i] : 10.25f * float(v) + float(i);
    };
    using namespace ShapeKinds;
    const std::int32_t colour = v < 0 ? std::numeric_limits<std::int32_t>::min() : 0x010203 * v;
    std::shared_ptr<Basisklasse> s;
    switch (kind) {
    case 'K': s = kreis(f(0), f(1), f(2), colour); break;
    case 'L': s = linie(f(0), f(1), f(2), f(3), colour); break;
    case 'T': {
        auto t = text(f(0), f(1), v < 0 ? QStringLiteral("Größe\t\"|\"\n€") : QString::number(v),
                      v < 0 ? QString() : QStringLiteral("Arial %1").arg(v), v < 0 ? std::numeric_limits<std::int32_t>::min() : v);
        t->setColor(colour);
        s = t;
        break;
    }
    case 'R': {
        auto r = rechteck(f(0), f(1), 0, 0, colour);
        // clang-format off
        r->setX2(f(2)); r->setY2(f(3)); r->setX3(f(4)); r->setY3(f(5)); r->setX4(f(6)); r->setY4(f(7));
        // clang-format on
        s = r;
        break;
    }
    case 'P': s = punkt(f(0), f(1), colour); break;
    default: return std::make_shared<Basisklasse>();
    }
    s->setSelected(selected);
    return s;
}

// A window's placement: snapshot first, then append.
bool place(ObjectData &doc, const ShapePtr &s)
{
    const bool balanced = doc.SaveOldCollection();
    doc.AddObject(s);
    return balanced;
}
} // namespace

class TestObjectData : public QObject
{
    Q_OBJECT
private slots:
    void newDocument()
    {
        ObjectData doc;
        QCOMPARE(doc.GetNumberOfObjects(), 0);
        QCOMPARE(doc.getFont(), QString());
        QCOMPARE(doc.getFontSize(), 0);
        QCOMPARE(doc.getTextColor(), 0);
        QVERIFY(doc.SaveOldCollection());
        QVERIFY(doc.ReturnOldCollection()); // with no Undo disabler installed
        QVERIFY(doc.getBasisklassenSave().empty());
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, doc.AddObject(nullptr));
        QCOMPARE(doc.GetNumberOfObjects(), 0);
    }

    // A shape class that does not say how it is copied, selected or written is never passed over.
    void shapeClassWithoutItsOwnOperationsFailsLoudly()
    {
        ObjectData doc;
        doc.AddObject(std::make_shared<Probe>(1, false));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, doc.SelectObject(1));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, doc.SaveOldCollection());
        QBuffer file;
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, DxfWriter(doc).write(file));
    }

    void positionsAndDeletion_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("remaining");
        QTest::newRow("first") << 1 << "BCDA";
        QTest::newRow("middle") << 2 << "ACDA";
        QTest::newRow("last") << 5 << "ABCD";
    }
    void positionsAndDeletion()
    {
        QFETCH(int, position);
        QFETCH(QString, remaining);
        // clang-format off
        std::map<QChar, ShapePtr> shapes{{'A', sample('L', 1, false)}, {'B', sample('K', 2, false)},
                                      {'C', sample('P', 3, false)}, {'D', sample('T', 4, false)}};
        // clang-format on
        ObjectData doc;
        for (QChar c : QStringLiteral("ABCDA")) // the same object twice is allowed
            doc.AddObject(shapes[c]);
        QCOMPARE(doc.GetObject(2), shapes['B']); // the very object, not a copy
        doc.DeleteObject(position);
        QCOMPARE(doc.GetNumberOfObjects(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(doc.GetObject(i + 1), shapes[remaining[i]]);
    }

    void indexErrors_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("position");
        for (int count : {0, 3})
            for (int position : {0, count + 1, -1, -maxInt - 1, maxInt})
                QTest::addRow("%d of %d", position, count) << count << position;
    }
    void indexErrors()
    {
        QFETCH(int, count);
        QFETCH(int, position);
        ObjectData doc;
        for (int i = 0; i < count; ++i)
            doc.AddObject(sample("PLK"[i], i, i == 1));
        const auto before = doc.getBasisklassen();
        const QStringList properties = DrawingText::lines(before);
        QVERIFY_THROWS_EXCEPTION(IndexError, doc.GetObject(position));
        QVERIFY_THROWS_EXCEPTION(IndexError, doc.DeleteObject(position));
        QVERIFY_THROWS_EXCEPTION(IndexError, doc.SelectObject(position));
        QVERIFY_THROWS_EXCEPTION(IndexError, doc.DeSelectObject(position));
        QVERIFY(doc.getBasisklassen() == before);
        QCOMPARE(DrawingText::lines(before), properties);
    }

    void selectAndDeselect_data()
    {
        QTest::addColumn<char>("kind");
        for (char kind : {'K', 'L', 'T', 'R', 'P', 'B'})
            QTest::addRow("%c", kind) << kind;
    }
    void selectAndDeselect()
    {
        QFETCH(char, kind);
        ObjectData doc;
        for (const ShapePtr &s : {sample('P', 1, true), sample(kind, 2, false), sample('L', 4, false)})
            doc.AddObject(s);
        const QStringList before = DrawingText::lines(doc.getBasisklassen());
        doc.SelectObject(2);
        // A plain Basisklasse has no flag: selecting it changes nothing and is no error.
        QCOMPARE(DrawingText::lines(doc.getBasisklassen()), QStringList({before[0], DrawingText::line(*sample(kind, 2, true)), before[2]}));
        doc.DeSelectObject(2);
        QCOMPARE(DrawingText::lines(doc.getBasisklassen()), before);
    }

    void drawAll_data()
    {
        QTest::addColumn<int>("shapes");
        QTest::addColumn<int>("failing"); // the probe whose Draw raises; 0: none
        QTest::addColumn<int>("backColor");
        QTest::addColumn<int>("mode");
        QTest::newRow("empty") << 0 << 0 << 0xFFFFFF << 13;
        QTest::newRow("three, mode 13") << 3 << 0 << 0xFFFFFF << 13;
        QTest::newRow("two, mode 10, black") << 2 << 0 << 0 << 10;
        QTest::newRow("mode 1, -1") << 2 << 0 << -1 << 1;
        QTest::newRow("below the limit") << 1 << 0 << maxInt - 1 << 13;
        QTest::newRow("at the limit") << 2 << 0 << maxInt << 13;
        QTest::newRow("second shape fails") << 3 << 2 << 5 << 13;
    }
    void drawAll()
    {
        QFETCH(int, shapes);
        QFETCH(int, failing);
        QFETCH(int, backColor);
        QFETCH(int, mode);
        ObjectData doc;
        for (int i = 1; i <= shapes; ++i)
            doc.AddObject(std::make_shared<Probe>(i, i == failing));
        if (shapes > 0)
            doc.AddObject(doc.GetObject(1)); // the same object again is drawn again
        QStringList expected;
        if (backColor != maxInt)
            expected << QStringLiteral("back %1").arg(backColor + 1) << QStringLiteral("back %1").arg(backColor);
        for (int i = 1; i <= shapes && backColor != maxInt && (failing == 0 || i <= failing); ++i)
            expected << QStringLiteral("draw %1 %2").arg(i).arg(mode);
        if (shapes > 0 && failing == 0 && backColor != maxInt)
            expected << QStringLiteral("draw 1 %1").arg(mode);

        RecordingSurface surface;
        surface.setBackColor(backColor);
        surface.calls.clear();
        bool overflow = false;
        try {
            doc.DrawAll(surface, std::int16_t(mode));
        } catch (const OverflowError &) {
            overflow = true;
        }
        QCOMPARE(overflow, backColor == maxInt || failing != 0);
        QStringList trace; // "other" would be a DrawSelected
        // clang-format off
        for (const auto &c : surface.calls)
            trace << (c.kind == RecordingSurface::Call::SetBackColor ? QStringLiteral("back %1").arg(c.color)
                      : c.kind == RecordingSurface::Call::PSet ? QStringLiteral("draw %1 %2").arg(c.x1).arg(c.y1)
                                                               : QStringLiteral("other"));
        // clang-format on
        QCOMPARE(trace, expected);
        QCOMPARE(surface.getBackColor(), backColor);
    }

    void copiesCarryEveryProperty_data()
    {
        QTest::addColumn<char>("kind");
        QTest::addColumn<int>("v");
        QTest::addColumn<bool>("selected");
        for (char kind : {'K', 'L', 'T', 'R', 'P'})
            for (int v : {1, -1})
                for (bool selected : {false, true})
                    QTest::addRow("%c %d %d", kind, v, selected) << kind << v << selected;
    }
    void copiesCarryEveryProperty()
    {
        QFETCH(char, kind);
        QFETCH(int, v);
        QFETCH(bool, selected);
        const ShapePtr source = sample(kind, v, selected);
        ObjectData doc;
        doc.AddObject(source);
        QVERIFY(doc.SaveOldCollection());
        QCOMPARE(doc.getBasisklassenSave().size(), std::size_t(1));
        const ShapePtr saved = doc.getBasisklassenSave()[0];
        QVERIFY(saved != source);
        // Floats bit for bit: the text does not tell -0 from 0 nor one NaN from another.
        auto exactly = [](const Basisklasse &s) {
            QStringList out{DrawingText::line(s)};
            for (const float f : DrawingText::parts(s).coordinates)
                out << QString::number(std::bit_cast<quint32>(f), 16);
            return out;
        };
        QCOMPARE(exactly(*saved), exactly(*source));
        QVERIFY(doc.ReturnOldCollection());
        QVERIFY(doc.GetObject(1) != saved && doc.GetObject(1) != source);
        QCOMPARE(exactly(*doc.GetObject(1)), exactly(*source));
    }

    // Capitals place shapes, 's' selects every shape of the drawing, 'u' is Undo, 'n' empties
    // the drawing from the last position as New does. A small letter is the selected shape.
    void snapshotSequences_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("drawing");
        QTest::addColumn<QString>("snapshot");
        QTest::addColumn<bool>("balanced"); // the last SaveOldCollection's result
        // How many of its first shapes the last Undo left with their values
        QTest::addColumn<int>("kept");
        // clang-format off
        QTest::newRow("three placements") << "ABC" << "ABC" << "AB" << true << 0;
        QTest::newRow("undo") << "ABCu" << "AB" << "AB" << true << 2;
        QTest::newRow("undo twice") << "ABCuu" << "AB" << "AB" << true << 2;
        QTest::newRow("placement after undo") << "ABCuD" << "ABD" << "AB" << true << 2;
        QTest::newRow("undo after that") << "ABCuDu" << "AB" << "AB" << true << 2;
        QTest::newRow("new keeps the snapshot") << "ABCn" << "" << "AB" << true << 0;
        QTest::newRow("after new") << "ABCnEFu" << "E" << "E" << true << 1;
        QTest::newRow("undo right after new") << "ABCnuD" << "ABD" << "AB" << true << 2;
        QTest::newRow("selected before new") << "ABCsnu" << "AB" << "AB" << true << 0;
        QTest::newRow("empty snapshot") << "Au" << "" << "" << true << 0;
        QTest::newRow("plain shape not copied") << "AXB" << "AXB" << "A" << false << 0;
        QTest::newRow("plain shape skipped") << "AXBu" << "A" << "A" << false << 1;
        QTest::newRow("copies apart from originals") << "ABCs" << "abc" << "AB" << true << 0;
        QTest::newRow("selection carried") << "ABsCu" << "Ab" << "Ab" << true << 0;
        QTest::newRow("drawing apart from snapshot") << "ABCusu" << "AB" << "AB" << true << 0;
        // clang-format on
    }
    void snapshotSequences()
    {
        QFETCH(QString, script);
        QFETCH(QString, drawing);
        QFETCH(QString, snapshot);
        QFETCH(bool, balanced);
        QFETCH(int, kept);
        const QString kinds = QStringLiteral("LKRTPLB"); // A … F and X
        auto shapeFor = [&](QChar c) {
            const int i = c == 'X' ? 6 : c.toUpper().unicode() - 'A';
            return sample(char(kinds[i].unicode()), 2 * i + 2, c.isLower());
        };
        std::map<QChar, ShapePtr> placed;
        ObjectData doc;
        QList<int> disablerSaw; // the drawing's count whenever the Undo disabler runs
        doc.setUndoDisabler([&] { disablerSaw << doc.GetNumberOfObjects(); });
        bool lastBalanced = true;
        int undos = 0;
        for (QChar step : script) {
            if (step == 'u') {
                QVERIFY(doc.ReturnOldCollection());
                QCOMPARE(disablerSaw.size(), ++undos); // before ReturnOldCollection returned
            } else if (step == 's') {
                for (int i = 1; i <= doc.GetNumberOfObjects(); ++i)
                    doc.SelectObject(i);
            } else if (step == 'n') {
                for (int i = doc.GetNumberOfObjects(); i >= 1; --i)
                    doc.DeleteObject(i);
            } else {
                lastBalanced = place(doc, placed[step] = shapeFor(step));
            }
        }
        auto expected = [&](const QString &names) {
            QStringList out;
            for (QChar c : names)
                out << DrawingText::line(*shapeFor(c));
            return out;
        };
        QCOMPARE(DrawingText::lines(doc.getBasisklassen()), expected(drawing));
        QCOMPARE(DrawingText::lines(doc.getBasisklassenSave()), expected(snapshot));
        QCOMPARE(lastBalanced, balanced);
        QCOMPARE(doc.keptShapes(), std::size_t(kept));
        QCOMPARE(disablerSaw.size(), undos); // nothing else runs it; it runs after the rebuild:
        if (script.endsWith('u'))
            QCOMPARE(disablerSaw.last(), int(drawing.size()));
        const auto &inDrawing = doc.getBasisklassen();
        const auto &inSnapshot = doc.getBasisklassenSave();
        for (const ShapePtr &s : inSnapshot) // the snapshot owns its copies
            QVERIFY(std::find(inDrawing.begin(), inDrawing.end(), s) == inDrawing.end());
        for (const auto &[name, original] : placed) {
            QVERIFY(std::find(inSnapshot.begin(), inSnapshot.end(), original) == inSnapshot.end());
            if (script.endsWith('u')) // Undo gives new objects
                QVERIFY(std::find(inDrawing.begin(), inDrawing.end(), original) == inDrawing.end());
        }
    }

    // Shapes are made side by side in shared blocks: one still held outlives its drawing, its
    // snapshot and its document, and every shape's memory is given back (the sanitizer run
    // checks both).
    void heldShapesOutliveTheirDocument()
    {
        const auto text = [](int v) { return QString(100, QChar('a' + v)); };
        ShapePtr drawn, saved;
        {
            ObjectData doc;
            for (int v = 0; v < 3; ++v) {
                auto shape = doc.shapeBlocks().make<Text>();
                shape->setText(text(v));
                place(doc, shape);
            }
            drawn = doc.GetObject(3);
            saved = doc.getBasisklassenSave()[0];
            doc.clear();
        }
        QCOMPARE(static_cast<const Text &>(*drawn).getText(), text(2));
        QCOMPARE(static_cast<const Text &>(*saved).getText(), text(0));
    }

    // Whichever allocation fails, nothing is lost: a snapshot step leaves the snapshot as it was
    // or holds the whole copy; Undo leaves the copies of the snapshot's first shapes made so far,
    // the snapshot whole and Undo enabled, and Undo again, also after a placement, brings the
    // whole snapshot back.
    void allocationFailureLosesNothing()
    {
        int failures = 0;
        int rebuiltInPart = 0;
        for (long long allowed = 0;; ++allowed) {
            QVERIFY(allowed < 1000);
            ObjectData doc;
            for (int v = 1; v <= 5; ++v) // the snapshot's next append has to grow it
                place(doc, sample("TRKLP"[v - 1], v, false));
            int disabled = 0;
            doc.setUndoDisabler([&] { ++disabled; });
            const auto drawing = doc.getBasisklassen();
            const auto snapshot = doc.getBasisklassenSave();
            allocationsLeft = allowed;
            try {
                doc.SaveOldCollection();
                doc.ReturnOldCollection();
                allocationsLeft = -1;
                break;
            } catch (const std::bad_alloc &) {
                allocationsLeft = -1;
            }
            ++failures;
            QCOMPARE(disabled, 0);
            const auto &saved = doc.getBasisklassenSave();
            QVERIFY(saved.size() - snapshot.size() <= 1 && std::equal(snapshot.begin(), snapshot.end(), saved.begin()));
            QVERIFY(saved.size() == snapshot.size() || DrawingText::line(*saved.back()) == DrawingText::line(*drawing.back()));
            if (doc.getBasisklassen() == drawing)
                continue;
            ++rebuiltInPart;
            const QStringList rebuilt = DrawingText::lines(doc.getBasisklassen());
            const QStringList whole = DrawingText::lines(saved);
            QVERIFY(rebuilt.size() < whole.size());
            QCOMPARE(rebuilt, whole.mid(0, rebuilt.size()));
            if (rebuiltInPart % 2 == 0) // or a placement there, which Undo takes back
                place(doc, sample('P', 9, false));
            QVERIFY(doc.ReturnOldCollection());
            QCOMPARE(DrawingText::lines(doc.getBasisklassen()), whole);
            QCOMPARE(doc.keptShapes(), std::size_t(rebuilt.size()));
        }
        QVERIFY(failures >= 3);      // the failure really struck the copy, the snapshot and the rebuild
        QVERIFY(rebuiltInPart >= 3); // with none, one and several copies made
    }
};

QTEST_GUILESS_MAIN(TestObjectData)
#include "tst_ObjectData.moc"
