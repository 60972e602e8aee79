// Number lines: exact text on writing, every written float read back bit for bit, lenient reading.

#include "files/DxfNumber.h"
#include "shapes/SkizzarError.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <bit>
#include <cmath>
#include <limits>
#include <locale>

Q_DECLARE_METATYPE(DxfNumber::Status)

namespace {

// A decimal comma for the C++ streams, as a German locale has.
class CommaPunct : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

class tst_DxfNumber : public QObject
{
    Q_OBJECT

private slots:
    void formatSingle_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("10") << 10.0f << QByteArray(" 10 ");
        QTest::newRow("-20") << -20.0f << QByteArray("-20 ");
        QTest::newRow("12.5") << 12.5f << QByteArray(" 12.5 ");
        QTest::newRow("-3") << -3.0f << QByteArray("-3 ");
        QTest::newRow("zero") << 0.0f << QByteArray(" 0 ");
        QTest::newRow("negative zero") << -0.0f << QByteArray(" 0 ");
        QTest::newRow("0.1") << 0.1f << QByteArray(" 0.1 ");
        QTest::newRow("-0.75") << -0.75f << QByteArray("-0.75 ");
        QTest::newRow("eight digits") << 16777216.0f << QByteArray(" 16777216 ");
        QTest::newRow("1e7") << 1e7f << QByteArray(" 1e+07 ");
        QTest::newRow("largest") << std::numeric_limits<float>::max() << QByteArray(" 3.4028235e+38 ");
        QTest::newRow("smallest subnormal") << std::numeric_limits<float>::denorm_min() << QByteArray(" 1e-45 ");
        QTest::newRow("nine digits") << 1234.5677f << QByteArray(" 1234.5677 ");
        // Whole numbers below 100000 take a shortcut; both sides of its edge read alike.
        QTest::newRow("99999") << 99999.0f << QByteArray(" 99999 ");
        QTest::newRow("-99999") << -99999.0f << QByteArray("-99999 ");
        QTest::newRow("100000") << 100000.0f << QByteArray(" 1e+05 ");
        QTest::newRow("12345.5") << 12345.5f << QByteArray(" 12345.5 ");
    }

    void formatSingle()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, line);
        QCOMPARE(DxfNumber::format(value), line);
    }

    void formatInteger_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("0") << 0 << QByteArray(" 0 ");
        QTest::newRow("12") << 12 << QByteArray(" 12 ");
        QTest::newRow("-3") << -3 << QByteArray("-3 ");
        QTest::newRow("max") << std::numeric_limits<int>::max() << QByteArray(" 2147483647 ");
        QTest::newRow("min") << std::numeric_limits<int>::min() << QByteArray("-2147483648 ");
    }

    void formatInteger()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, line);
        QCOMPARE(DxfNumber::format(std::int32_t(value)), line);
    }

    void formatRefusesWhatIsNotFinite()
    {
        QVERIFY_THROWS_EXCEPTION(OverflowError, DxfNumber::format(std::numeric_limits<float>::infinity()));
        QVERIFY_THROWS_EXCEPTION(OverflowError, DxfNumber::format(std::numeric_limits<float>::quiet_NaN()));
    }

    // A Qt program runs under the user's locale; the number text must not follow it.
    void formatIgnoresTheLocale()
    {
        const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
        const QLocale previousQt;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QByteArray single = DxfNumber::format(1234.5f);
        const DxfNumber::Parsed<float> parsed = DxfNumber::toSingle(" 1234.5 ");
        std::locale::global(previous);
        QLocale::setDefault(previousQt);
        QCOMPARE(single, QByteArray(" 1234.5 "));
        QCOMPARE(parsed.status, DxfNumber::Status::Ok);
        QCOMPARE(parsed.value, 1234.5f);
    }

    // Every float written reads back as the same float, bit for bit.
    void everyWrittenSingleReadsBack()
    {
        QRandomGenerator random(20240607);
        std::vector<float> values = {0.0f, 1.0f, -1.0f, 0.1f, 1e-45f, -1e-38f, 3.4028235e38f, 9705.0f, 7080.0f,
                                     1.0f / 3.0f, 16777217.0f, 0.3f};
        for (int i = 0; i < 200000; ++i) {
            const float f = std::bit_cast<float>(random.generate());
            if (std::isfinite(f))
                values.push_back(f);
        }
        for (const float f : values) {
            const DxfNumber::Parsed<float> back = DxfNumber::toSingle(DxfNumber::format(f));
            QCOMPARE(back.status, DxfNumber::Status::Ok);
            // Only the sign of zero is not kept: " 0 " is written for both zeros.
            const float expected = f == 0.0f ? 0.0f : f;
            if (std::bit_cast<std::uint32_t>(back.value) != std::bit_cast<std::uint32_t>(expected))
                QFAIL(qPrintable(QStringLiteral("%1 came back as %2")
                                     .arg(double(f), 0, 'g', 9)
                                     .arg(double(back.value), 0, 'g', 9)));
        }
    }

    void toSingle_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<DxfNumber::Status>("status");
        QTest::addColumn<float>("value");
        const auto ok = DxfNumber::Status::Ok;
        const auto nan = DxfNumber::Status::NotANumber;
        const auto overflow = DxfNumber::Status::Overflow;
        QTest::newRow("point") << QByteArray("12.5") << ok << 12.5f;
        QTest::newRow("comma") << QByteArray("12,5") << ok << 12.5f;
        QTest::newRow("blanks around") << QByteArray("  -3,25  ") << ok << -3.25f;
        QTest::newRow("tabs around") << QByteArray("\t7\t") << ok << 7.0f;
        QTest::newRow("plus sign") << QByteArray("+4") << ok << 4.0f;
        QTest::newRow("exponent") << QByteArray("1e3") << ok << 1000.0f;
        QTest::newRow("negative exponent") << QByteArray("25E-2") << ok << 0.25f;
        QTest::newRow("leading point") << QByteArray(".5") << ok << 0.5f;
        QTest::newRow("trailing point") << QByteArray("5.") << ok << 5.0f;
        QTest::newRow("underflow") << QByteArray("1e-50") << ok << 0.0f;
        QTest::newRow("deep underflow") << QByteArray("1e-5000") << ok << 0.0f;
        QTest::newRow("largest") << QByteArray("3.4028235e38") << ok << std::numeric_limits<float>::max();
        QTest::newRow("too large") << QByteArray("1e39") << overflow << 0.0f;
        QTest::newRow("too large negative") << QByteArray("-3.5e38") << overflow << 0.0f;
        QTest::newRow("far too large") << QByteArray("1e5000") << overflow << 0.0f;
        QTest::newRow("empty") << QByteArray("") << nan << 0.0f;
        QTest::newRow("blank") << QByteArray("   ") << nan << 0.0f;
        QTest::newRow("word") << QByteArray("abc") << nan << 0.0f;
        QTest::newRow("number then word") << QByteArray("12abc") << nan << 0.0f;
        QTest::newRow("two separators") << QByteArray("1,000.5") << nan << 0.0f;
        QTest::newRow("blank inside") << QByteArray("1 2") << nan << 0.0f;
        QTest::newRow("infinity") << QByteArray("inf") << nan << 0.0f;
        QTest::newRow("nan") << QByteArray("nan") << nan << 0.0f;
        QTest::newRow("hex") << QByteArray("0x10") << nan << 0.0f;
        QTest::newRow("only sign") << QByteArray("-") << nan << 0.0f;
        QTest::newRow("two plus signs") << QByteArray("++1") << nan << 0.0f;
        QTest::newRow("plus sign and comma") << QByteArray("+1,5") << ok << 1.5f;
        QTest::newRow("comma then point") << QByteArray("1,5.0") << nan << 0.0f;
        QTest::newRow("comma, underflow") << QByteArray("-1,5e-50") << ok << -0.0f;
        QTest::newRow("comma, too large") << QByteArray("1,5e39") << overflow << 0.0f;
    }

    void toSingle()
    {
        QFETCH(QByteArray, text);
        QFETCH(DxfNumber::Status, status);
        QFETCH(float, value);
        const DxfNumber::Parsed<float> parsed = DxfNumber::toSingle(text);
        QCOMPARE(parsed.status, status);
        if (status == DxfNumber::Status::Ok)
            QCOMPARE(parsed.value, value);
    }

    void toDouble()
    {
        QCOMPARE(DxfNumber::toDouble(" 0,1 ").value, 0.1);
        QCOMPARE(DxfNumber::toDouble("1e300").value, 1e300);
        QCOMPARE(DxfNumber::toDouble("1e400").status, DxfNumber::Status::Overflow);
        QCOMPARE(DxfNumber::toDouble("-1e-400").status, DxfNumber::Status::Ok);
        QCOMPARE(DxfNumber::toDouble("-1e-400").value, 0.0);
        QCOMPARE(DxfNumber::toDouble("x1").status, DxfNumber::Status::NotANumber);
    }

    void toInteger32_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<DxfNumber::Status>("status");
        QTest::addColumn<int>("value");
        const auto ok = DxfNumber::Status::Ok;
        QTest::newRow("plain") << QByteArray("255") << ok << 255;
        QTest::newRow("blanks") << QByteArray(" 7 ") << ok << 7;
        QTest::newRow("half to even down") << QByteArray("2.5") << ok << 2;
        QTest::newRow("half to even up") << QByteArray("3,5") << ok << 4;
        QTest::newRow("negative half") << QByteArray("-2.5") << ok << -2;
        QTest::newRow("above half") << QByteArray("2.51") << ok << 3;
        QTest::newRow("largest") << QByteArray("2147483647") << ok << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << ok << int(-2147483648LL);
        QTest::newRow("too large") << QByteArray("2147483648") << DxfNumber::Status::Overflow << 0;
        QTest::newRow("word") << QByteArray("rot") << DxfNumber::Status::NotANumber << 0;
    }

    void toInteger32()
    {
        QFETCH(QByteArray, text);
        QFETCH(DxfNumber::Status, status);
        QFETCH(int, value);
        const DxfNumber::Parsed<std::int32_t> parsed = DxfNumber::toInteger32(text);
        QCOMPARE(parsed.status, status);
        if (status == DxfNumber::Status::Ok)
            QCOMPARE(parsed.value, value);
    }
};

QTEST_GUILESS_MAIN(tst_DxfNumber)
#include "tst_DxfNumber.moc"
