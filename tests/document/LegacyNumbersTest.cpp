// Numbers from and to text under the old runtime's rules: NumVal, strict
// parsing, Format patterns, the general texts and file number items, each
// case a line of tests/data/document/numbers.jsonl.
#include "common/DocumentSupport.h"
#include "common/TestRegistry.h"
#include "document/Legacy.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <clocale>
#include <cmath>
#include <string>

using namespace legacy;

static uint32_t bitsOf(float f) { return std::bit_cast<uint32_t>(f); }

class LegacyNumbersTest : public QObject {
    Q_OBJECT
    QLocale m_locale;
    std::string m_cLocale;

private slots:
    // A German user's locale must not change a single character: every
    // case runs under it, the program's default and the C library's.
    void initTestCase() {
        m_cLocale = std::setlocale(LC_ALL, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"})
            if (std::setlocale(LC_ALL, name)) break;
    }
    void cleanupTestCase() {
        std::setlocale(LC_ALL, m_cLocale.c_str());
        QLocale::setDefault(m_locale);
    }

    void cases_data() { docsupport::addJsonRows("numbers.jsonl", 2); }
    // What the function a case names gives for its input (or the error it
    // fails with) against the expected results.
    void cases() {
        QFETCH(QStringList, c);
        const QString& f = c[0];
        const double value = c[2].toDouble();
        const float single = float(value);
        const qsizetype inputs = f == "Format" ? 2 : 1;
        QString got, expected = c.mid(2 + inputs).join(u' ');
        try {
            if (f == "NumVal") {
                got = QString::number(NumVal(c[2]), 'g', 9);
                expected = QString::number(float(c[3].toDouble()), 'g', 9);
            }
            double out = 0;
            if (f == "parseNumber") {
                got = parseNumber(c[2], out) ? "ok " + QString::number(out, 'g', 17) : "fail";
                expected = c[3] == "ok" ? "ok " + QString::number(c[4].toDouble(), 'g', 17) : "fail";
            }
            if (f == "round")
                got = QStringLiteral("%1 %2 ").arg(CInt(value)).arg(CLng(value)) + Format(value, "0");
            if (f == "Format") got = Format(value, c[3]);
            if (f == "SingleText") got = SingleText(single) + ' ' + GeneralText(single);
            if (f == "DoubleText") got = DoubleText(value);
            if (f == "NumberItem")
                got = NumberItem(single) + ' ' + DecimalItem(single) + ' ' +
                      QuotedFieldLine().integer(1).decimal(single).str();
            if (f == "IntegerText") got = IntegerText(c[2].toLongLong());
        } catch (const Error& e) {
            got = e.description();
        }
        QCOMPARE(got, expected);
    }

    // A long run of digits: the longest leading part that fits a Single,
    // read in time linear in the length.
    void numValLongTexts() {
        QCOMPARE(bitsOf(NumVal(QString(200000, u'9'))), bitsOf(float(1e38)));
        QCOMPARE(bitsOf(NumVal("0." + QString(200000, u'5'))), bitsOf(float(0.5555555555555556)));
        QCOMPARE(NumVal(QString(200000, u'x')), 0.0f);
    }

    // No saved value may change through a save and an open, whichever
    // reader takes it.
    void numberItemReadsBackUnchanged() {
        QRandomGenerator gen(20240611);
        const auto same = [](float a, float b) { return bitsOf(a) == bitsOf(b) || (a == 0 && b == 0); };
        for (int k = 0; k < 200000; ++k) {
            const float f = std::bit_cast<float>(gen.generate());
            if (!std::isfinite(f)) continue;
            const QString item = NumberItem(f), decimal = DecimalItem(f);
            const float fromItem = float(FieldReader(item).readNumber());
            if (!same(NumVal(item), f) || !same(NumVal(decimal), f) || !same(fromItem, f))
                QFAIL(qPrintable(item + " or " + decimal + " reads back differently"));
        }
    }
};

VEX_TEST(LegacyNumbersTest);
#include "LegacyNumbersTest.moc"
