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
    void format_data()
    {
        QTest::addColumn<bool>("integer");
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("line");
        auto single = [](const char *name, float value, const char *line) {
            QTest::newRow(name) << false << double(value) << QByteArray(line);
        };
        auto integer = [](const char *name, std::int32_t value, const char *line) {
            QTest::newRow(name) << true << double(value) << QByteArray(line);
        };
        single("10", 10.0f, " 10 ");
        single("-20", -20.0f, "-20 ");
        single("12.5", 12.5f, " 12.5 ");
        single("-3", -3.0f, "-3 ");
        single("zero", 0.0f, " 0 ");
        single("negative zero", -0.0f, " 0 ");
        single("0.1", 0.1f, " 0.1 ");
        single("-0.75", -0.75f, "-0.75 ");
        single("eight digits", 16777216.0f, " 16777216 ");
        single("1e7", 1e7f, " 1e+07 ");
        single("largest", std::numeric_limits<float>::max(), " 3.4028235e+38 ");
        single("smallest subnormal", std::numeric_limits<float>::denorm_min(), " 1e-45 ");
        single("nine digits", 1234.5677f, " 1234.5677 ");
        // Whole numbers below 100000 take a shortcut; both sides of its edge read alike.
        single("99999", 99999.0f, " 99999 ");
        single("-99999", -99999.0f, "-99999 ");
        single("100000", 100000.0f, " 1e+05 ");
        single("12345.5", 12345.5f, " 12345.5 ");
        integer("integer 0", 0, " 0 ");
        integer("integer 12", 12, " 12 ");
        integer("integer -3", -3, "-3 ");
        integer("integer max", std::numeric_limits<int>::max(), " 2147483647 ");
        integer("integer min", std::numeric_limits<int>::min(), "-2147483648 ");
    }

    void format()
    {
        QFETCH(bool, integer);
        QFETCH(double, value);
        QFETCH(QByteArray, line);
        QCOMPARE(integer ? DxfNumber::format(std::int32_t(value)) : DxfNumber::format(float(value)), line);
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

    // Reading as a float, a double or a 32-bit integer ('s', 'd', 'i'); the value counts where the
    // status is Ok.
    void parse_data()
    {
        QTest::addColumn<char>("as");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<DxfNumber::Status>("status");
        QTest::addColumn<double>("value");
        const auto ok = DxfNumber::Status::Ok;
        const auto nan = DxfNumber::Status::NotANumber;
        const auto overflow = DxfNumber::Status::Overflow;
        auto row = [](char as) {
            return [as](const char *name, const char *text, DxfNumber::Status status, double value) {
                QTest::newRow(name) << as << QByteArray(text) << status << value;
            };
        };
        const auto single = row('s'), real = row('d'), integer = row('i');
        single("point", "12.5", ok, 12.5f);
        single("comma", "12,5", ok, 12.5f);
        single("blanks around", "  -3,25  ", ok, -3.25f);
        single("tabs around", "\t7\t", ok, 7.0f);
        single("plus sign", "+4", ok, 4.0f);
        single("exponent", "1e3", ok, 1000.0f);
        single("negative exponent", "25E-2", ok, 0.25f);
        single("leading point", ".5", ok, 0.5f);
        single("trailing point", "5.", ok, 5.0f);
        single("underflow", "1e-50", ok, 0.0f);
        single("deep underflow", "1e-5000", ok, 0.0f);
        single("largest", "3.4028235e38", ok, std::numeric_limits<float>::max());
        single("too large", "1e39", overflow, 0.0f);
        single("too large negative", "-3.5e38", overflow, 0.0f);
        single("far too large", "1e5000", overflow, 0.0f);
        single("empty", "", nan, 0.0f);
        single("blank", "   ", nan, 0.0f);
        single("word", "abc", nan, 0.0f);
        single("number then word", "12abc", nan, 0.0f);
        single("two separators", "1,000.5", nan, 0.0f);
        single("blank inside", "1 2", nan, 0.0f);
        single("infinity", "inf", nan, 0.0f);
        single("nan", "nan", nan, 0.0f);
        single("hex", "0x10", nan, 0.0f);
        single("only sign", "-", nan, 0.0f);
        single("two plus signs", "++1", nan, 0.0f);
        single("plus sign and comma", "+1,5", ok, 1.5f);
        single("comma then point", "1,5.0", nan, 0.0f);
        single("comma, underflow", "-1,5e-50", ok, -0.0f);
        single("comma, too large", "1,5e39", overflow, 0.0f);
        real("double: comma", " 0,1 ", ok, 0.1);
        real("double: large", "1e300", ok, 1e300);
        real("double: too large", "1e400", overflow, 0);
        real("double: underflow", "-1e-400", ok, 0);
        real("double: word", "x1", nan, 0);
        integer("integer: plain", "255", ok, 255);
        integer("integer: blanks", " 7 ", ok, 7);
        integer("integer: half to even down", "2.5", ok, 2);
        integer("integer: half to even up", "3,5", ok, 4);
        integer("integer: negative half", "-2.5", ok, -2);
        integer("integer: above half", "2.51", ok, 3);
        integer("integer: largest", "2147483647", ok, 2147483647);
        integer("integer: smallest", "-2147483648", ok, -2147483648.0);
        integer("integer: too large", "2147483648", overflow, 0);
        integer("integer: word", "rot", nan, 0);
    }

    void parse()
    {
        QFETCH(char, as);
        QFETCH(QByteArray, text);
        QFETCH(DxfNumber::Status, status);
        QFETCH(double, value);
        auto check = [&](const auto &parsed) {
            QCOMPARE(parsed.status, status);
            if (status == DxfNumber::Status::Ok)
                QCOMPARE(parsed.value, decltype(parsed.value)(value));
        };
        if (as == 's')
            check(DxfNumber::toSingle(text));
        else if (as == 'd')
            check(DxfNumber::toDouble(text));
        else
            check(DxfNumber::toInteger32(text));
    }
};

QTEST_GUILESS_MAIN(tst_DxfNumber)
#include "tst_DxfNumber.moc"
