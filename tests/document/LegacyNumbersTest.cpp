// Numbers from and to text under the old runtime's rules: NumVal, strict
// parsing, Format patterns, the general texts and file number items.
#include "common/TestRegistry.h"
#include "document/Legacy.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

using namespace legacy;

namespace {

uint32_t bitsOf(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

ErrorCode codeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.code();
    }
    return ErrorCode::Custom;
}

} // namespace

class LegacyNumbersTest : public QObject {
    Q_OBJECT
private slots:
    void numVal_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("False") << "False" << 0.0;
        QTest::newRow("True") << "True" << 1.0;
        QTest::newRow("true is not True") << "true" << 0.0;
        QTest::newRow("True with a blank") << " True" << 0.0;
        QTest::newRow("trailing letters") << "12.5abc" << 12.5;
        QTest::newRow("leading blank") << " 3" << 3.0;
        QTest::newRow("minus point five") << "-.5" << -0.5;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("capital exponent") << "2.5E-2" << 0.025;
        QTest::newRow("exponent with plus") << "1e+3x" << 1000.0;
        QTest::newRow("incomplete exponent") << "1e" << 1.0;
        QTest::newRow("incomplete signed exponent") << "4E-" << 4.0;
        QTest::newRow("lone minus") << "-" << 0.0;
        QTest::newRow("double minus") << "--5" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("point then exponent") << "5.e2" << 500.0;
        QTest::newRow("second point") << "1.2.3" << 1.2;
        QTest::newRow("blanks around") << "  12  " << 12.0;
        QTest::newRow("blank inside") << "12 3" << 12.0;
        QTest::newRow("comma is not a point") << "1,5" << 1.0;
        QTest::newRow("only blanks") << "   " << 0.0;
        QTest::newRow("tab before") << "\t42" << 42.0;
        QTest::newRow("hex contour colour") << "&HFF0000" << 16711680.0;
        QTest::newRow("hex datum colour") << "&H000000FF&" << 255.0;
        QTest::newRow("hex all ones") << "&HFFFFFFFF" << -1.0;
        QTest::newRow("hex sign bit") << "&H80000000" << -2147483648.0;
        QTest::newRow("hex 16 bits stays positive") << "&HFFFF" << 65535.0;
        QTest::newRow("hex lower case") << "&hff" << 255.0;
        QTest::newRow("hex trailing junk") << "&H1Fzz" << 31.0;
        QTest::newRow("hex without digits") << "&H" << 0.0;
        QTest::newRow("hex too long keeps 8 digits") << "&H123456789" << double(0x12345678);
        QTest::newRow("hex leading zeros") << "&H0000000001" << 1.0;
        QTest::newRow("ampersand alone") << "&" << 0.0;
        // A leading part beyond a Single is skipped; a shorter one counts.
        QTest::newRow("exponent beyond Single") << "1e39" << 1000.0;
        QTest::newRow("mantissa then big exponent") << "3.5e38" << 3500.0;
        QTest::newRow("largest Single") << "3.4e38" << double(3.4e38f);
        QTest::newRow("beyond Double") << "1e400" << 10000.0;
        QTest::newRow("tiny rounds to zero") << "1e-400" << 0.0;
    }
    void numVal() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(bitsOf(NumVal(text)), bitsOf(float(expected)));
    }

    void numValStoresSingle() {
        QCOMPARE(bitsOf(NumVal(QStringLiteral("0.1"))), bitsOf(0.1f));
        QCOMPARE(bitsOf(NumVal(QStringLiteral("16777217"))), bitsOf(16777216.0f));
    }

    void numValLongTextsStayLinear() {
        // A long run of digits: the longest leading part that fits a Single.
        const QString nines(200000, u'9');
        QCOMPARE(bitsOf(NumVal(nines)), bitsOf(float(1e38)));
        QString fraction = QStringLiteral("0.") + QString(200000, u'5');
        QCOMPARE(bitsOf(NumVal(fraction)), bitsOf(float(0.5555555555555556)));
        QCOMPARE(NumVal(QString(200000, u'x')), 0.0f);
    }

    void parseNumberStrict_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "12" << true << 12.0;
        QTest::newRow("blanks around") << "  -1.5e2  " << true << -150.0;
        QTest::newRow("no leading zero") << ".25" << true << 0.25;
        QTest::newRow("trailing point") << "3." << true << 3.0;
        QTest::newRow("hex") << "&HFF&" << true << 255.0;
        QTest::newRow("trailing letters") << "12a" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks") << "  " << false << 0.0;
        QTest::newRow("True") << "True" << false << 0.0;
        QTest::newRow("lone point") << "." << false << 0.0;
        QTest::newRow("incomplete exponent") << "1e" << false << 0.0;
        QTest::newRow("beyond Double") << "1e400" << false << 0.0;
        QTest::newRow("beyond Single is fine") << "1e39" << true << 1e39;
        QTest::newRow("hex too long") << "&H123456789" << false << 0.0;
        QTest::newRow("two numbers") << "1 2" << false << 0.0;
    }
    void parseNumberStrict() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double out = -99.0;
        QCOMPARE(parseNumber(text, out), ok);
        if (ok) QCOMPARE(out, value);
    }

    // Format rounds the decimal value halves away from zero, whole-number
    // conversions round halves to even.
    void roundingRules_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("cint");
        QTest::addColumn<QString>("formatted");
        QTest::newRow("2.5") << 2.5 << 2 << "3";
        QTest::newRow("3.5") << 3.5 << 4 << "4";
        QTest::newRow("-2.5") << -2.5 << -2 << "-3";
        QTest::newRow("0.5") << 0.5 << 0 << "1";
        QTest::newRow("-0.5") << -0.5 << 0 << "-1";
        QTest::newRow("1.5") << 1.5 << 2 << "2";
        QTest::newRow("2.4999") << 2.4999 << 2 << "2";
    }
    void roundingRules() {
        QFETCH(double, value);
        QFETCH(int, cint);
        QFETCH(QString, formatted);
        QCOMPARE(int(CInt(value)), cint);
        QCOMPARE(int(CLng(value)), cint);
        QCOMPARE(Format(value, QStringLiteral("0")), formatted);
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact half, two decimals") << 0.125 << "0.00" << "0.13";
        QTest::newRow("1.005 as shown") << 1.005 << "0.00" << "1.01";
        QTest::newRow("2.675 as shown") << 2.675 << "0.00" << "2.68";
        QTest::newRow("carry into integer") << 9.995 << "0.00" << "10.00";
        QTest::newRow("minutes reach sixty") << 59.99999 << "0.00" << "60.00";
        QTest::newRow("-1.25 one decimal") << -1.25 << "0.0" << "-1.3";
        QTest::newRow("0.05 one decimal") << 0.05 << "0.0" << "0.1";
        QTest::newRow("single 0.35 widened") << double(0.35f) << "0.0" << "0.3";
        QTest::newRow("single 12.25 widened") << double(12.25f) << "0.0" << "12.3";
        QTest::newRow("small positive") << 0.04 << "0.0" << "0.0";
        QTest::newRow("small negative keeps sign") << -0.04 << "0.0" << "-0.0";
        QTest::newRow("negative to zero, no decimals") << -0.3 << "0" << "-0";
        QTest::newRow("exact zero") << 0.0 << "0.0" << "0.0";
        QTest::newRow("negative zero") << -0.0 << "0.0" << "0.0";
        QTest::newRow("padding") << 1234.5 << "0.00" << "1234.50";
        QTest::newRow("five decimals") << 123.456 << "0.00000" << "123.45600";
        QTest::newRow("five decimals half") << 0.000005 << "0.00000" << "0.00001";
        QTest::newRow("five decimals latitude") << -45.123456 << "0.00000" << "-45.12346";
        QTest::newRow("four decimals") << 10.99995 << "0.0000" << "11.0000";
        QTest::newRow("three decimals") << 0.0005 << "0.000" << "0.001";
        QTest::newRow("two integer digits") << 5.0 << "00" << "05";
        QTest::newRow("four integer digits") << 7.0 << "0000" << "0007";
        QTest::newRow("more digits than pattern") << 12345.0 << "00" << "12345";
        QTest::newRow("large value") << 1e20 << "0" << "100000000000000000000";
        QTest::newRow("tiny value") << 1e-20 << "0.00" << "0.00";
        QTest::newRow("optional integer digit") << 0.5 << "#.#" << ".5";
        QTest::newRow("hash zero pattern") << 0.25 << "#0.00" << "0.25";
        QTest::newRow("optional decimals") << 1.5 << "0.0#" << "1.5";
        QTest::newRow("optional decimals used") << 1.256 << "0.0#" << "1.26";
        QTest::newRow("literal suffix") << 12.34 << "0.0 m" << "12.3 m";
        QTest::newRow("empty pattern") << 0.5 << "" << "0.5";
        QTest::newRow("empty pattern whole") << 42.0 << "" << "42";
    }
    void format() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(Format(value, pattern), expected);
    }

    void singleText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("single");
        QTest::addColumn<QString>("general");
        QTest::newRow("zero") << 0.0f << "0" << "0";
        QTest::newRow("negative zero") << -0.0f << "0" << "0";
        QTest::newRow("one") << 1.0f << "1" << "1";
        QTest::newRow("half") << 0.5f << ".5" << "0.5";
        QTest::newRow("minus quarter") << -0.25f << "-.25" << "-0.25";
        QTest::newRow("tenth") << 0.1f << ".1" << "0.1";
        QTest::newRow("twelve and a half") << 12.5f << "12.5" << "12.5";
        QTest::newRow("seven digits") << 1234567.0f << "1234567" << "1234567";
        QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07" << "1.234568E+07";
        QTest::newRow("ten million") << 1e7f << "1E+07" << "1E+07";
        // 0.0001f is 9.99999975e-05: its exponent is the one after rounding.
        QTest::newRow("ten thousandth") << 0.0001f << ".0001" << "0.0001";
        QTest::newRow("hundred thousandth") << 0.00001f << "1E-05" << "1E-05";
        QTest::newRow("third") << 1.0f / 3.0f << ".3333333" << "0.3333333";
        QTest::newRow("seven significant") << 123.4567891f << "123.4568" << "123.4568";
        QTest::newRow("negative large") << -2.5e15f << "-2.5E+15" << "-2.5E+15";
        QTest::newRow("largest") << FLT_MAX << "3.402823E+38" << "3.402823E+38";
        QTest::newRow("small") << 1e-10f << "1E-10" << "1E-10";
    }
    void singleText() {
        QFETCH(float, value);
        QFETCH(QString, single);
        QFETCH(QString, general);
        QCOMPARE(SingleText(value), single);
        QCOMPARE(GeneralText(value), general);
    }

    void doubleText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tenth") << 0.1 << ".1";
        QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("sixteen digits") << 1234567890123456.0 << "1.23456789012346E+15";
        QTest::newRow("third") << 1.0 / 3.0 << ".333333333333333";
        QTest::newRow("sum with error") << 0.1 + 0.2 << ".3";
        QTest::newRow("small") << 1e-5 << "1E-05";
        QTest::newRow("three-digit exponent") << 1e100 << "1E+100";
        QTest::newRow("negative") << -2.75 << "-2.75";
    }
    void doubleText() {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(DoubleText(value), expected);
    }

    // The file item, and the same digits in plain decimals for readers that
    // take no exponent.
    void numberItem_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("decimal");
        QTest::newRow("whole") << 2500.0f << "2500" << "2500";
        QTest::newRow("tenth") << 0.1f << ".1" << ".1";
        QTest::newRow("minus half") << -0.5f << "-.5" << "-.5";
        QTest::newRow("third needs eight digits") << 1.0f / 3.0f << ".33333334" << ".33333334";
        QTest::newRow("eight plain digits") << 123456.7f << "123456.7" << "123456.7";
        QTest::newRow("two to the 24") << 16777216.0f << "1.6777216E+07" << "16777216";
        QTest::newRow("ten million") << 1e7f << "1E+07" << "10000000";
        QTest::newRow("radians") << 0.7853982f << ".7853982" << ".7853982";
        QTest::newRow("small") << 1e-5f << "1E-05" << ".00001";
        QTest::newRow("scale") << 1.23e-5f << "1.23E-05" << ".0000123";
        QTest::newRow("tiny negative") << -2.8689473e-9f << "-2.8689473E-09" << "-.0000000028689473";
        QTest::newRow("northing") << 1.2345679e8f << "1.2345679E+08" << "123456790";
        QTest::newRow("largest") << FLT_MAX << "3.4028235E+38" << "340282350000000000000000000000000000000";
        QTest::newRow("smallest") << std::numeric_limits<float>::denorm_min() << "1E-45"
                                  << ".000000000000000000000000000000000000000000001";
        QTest::newRow("colour") << 16711680.0f << "1.671168E+07" << "16711680";
    }
    void numberItem() {
        QFETCH(float, value);
        QFETCH(QString, expected);
        QFETCH(QString, decimal);
        QCOMPARE(NumberItem(value), expected);
        QCOMPARE(DecimalItem(value), decimal);
        QCOMPARE(QuotedFieldLine().integer(1).decimal(value).str(), QStringLiteral("1,") + decimal);
    }

    // No saved value may change through a save and an open.
    void numberItemReadsBackUnchanged() {
        QRandomGenerator gen(20240611);
        for (int k = 0; k < 200000; ++k) {
            const uint32_t bits = gen.generate();
            float f;
            std::memcpy(&f, &bits, sizeof f);
            if (!std::isfinite(f)) continue;
            const QString text = NumberItem(f);
            const float back = NumVal(text);
            if (bitsOf(NumVal(DecimalItem(f))) != bitsOf(back))
                QFAIL(qPrintable(QStringLiteral("%1 reads back differently").arg(DecimalItem(f))));
            if (f == 0.0f) {
                QCOMPARE(back, 0.0f);
                continue;
            }
            if (bitsOf(back) != bitsOf(f))
                QFAIL(qPrintable(QStringLiteral("%1 read back differently").arg(text)));
            FieldReader reader(text);
            if (bitsOf(float(reader.readNumber())) != bitsOf(f))
                QFAIL(qPrintable(QStringLiteral("%1 read back differently as an item").arg(text)));
        }
    }

    void integerText() {
        QCOMPARE(IntegerText(0), QStringLiteral("0"));
        QCOMPARE(IntegerText(-32768), QStringLiteral("-32768"));
        QCOMPARE(IntegerText(2147483647), QStringLiteral("2147483647"));
    }

    void nonFiniteValuesAreOverflow() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QCOMPARE(codeOf([&] { Format(nan, QStringLiteral("0.0")); }), ErrorCode::Overflow);
        QCOMPARE(codeOf([&] { SingleText(inf); }), ErrorCode::Overflow);
        QCOMPARE(codeOf([&] { NumberItem(-inf); }), ErrorCode::Overflow);
        QCOMPARE(codeOf([&] { DoubleText(double(inf)); }), ErrorCode::Overflow);
    }

    // A German user's locale must not change a single character.
    void germanLocaleChangesNothing() {
        const QLocale before;
        const std::string cBefore = std::setlocale(LC_ALL, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        bool cSet = false;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"})
            if (std::setlocale(LC_ALL, name)) {
                cSet = true;
                break;
            }
        if (!cSet) qInfo("no German C locale installed; only the Qt default locale is German");

        QCOMPARE(Format(1234.5, QStringLiteral("0.00")), QStringLiteral("1234.50"));
        QCOMPARE(SingleText(-0.25f), QStringLiteral("-.25"));
        QCOMPARE(GeneralText(12.5f), QStringLiteral("12.5"));
        QCOMPARE(NumberItem(12345678.0f), QStringLiteral("1.2345678E+07"));
        QCOMPARE(NumVal(QStringLiteral("2.5")), 2.5f);
        QCOMPARE(NumVal(QStringLiteral("2,5")), 2.0f);
        double v = 0;
        QVERIFY(parseNumber(QStringLiteral("1.5e3"), v));
        QCOMPARE(v, 1500.0);
        QCOMPARE(PrintZoneLine().number(-1.5f).text(QStringLiteral("x")).str(),
                 QStringLiteral("-1.5          x"));
        FieldReader reader(QStringLiteral("3.25,\"a\"\r\n"));
        QCOMPARE(reader.readNumber(), 3.25);

        std::setlocale(LC_ALL, cBefore.c_str());
        QLocale::setDefault(before);
    }
};

VEX_TEST(LegacyNumbersTest);
#include "LegacyNumbersTest.moc"
