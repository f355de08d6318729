// Numbers from and to text under the old runtime's rules: NumVal, strict
// parsing, Format patterns, the general texts and file number items, each
// case a line of tests/data/document/numbers.jsonl.
#include "common/DocumentSupport.h"
#include "common/TestRegistry.h"
#include "document/Legacy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

using namespace legacy;

namespace {

uint32_t bitsOf(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

// The cases of numbers.jsonl: the function, the input, the expected results.
QList<QStringList> numberCases() {
    QList<QStringList> out;
    for (const QByteArray& line : docsupport::dataFile("numbers.jsonl").split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            out << QVariant(QJsonDocument::fromJson(line).array().toVariantList()).toStringList();
    return out;
}

// Checks one case: what the function it names gives for its input (or
// the error it fails with) against the expected results.
void check(const QStringList& c) {
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
        if (f == "parseNumber") got = parseNumber(c[2], out) ? "ok " + QString::number(out, 'g', 17) : "fail";
        if (f == "parseNumber" && c[3] == "ok") expected = "ok " + QString::number(c[4].toDouble(), 'g', 17);
        if (f == "round") got = QStringLiteral("%1 %2 ").arg(CInt(value)).arg(CLng(value)) + Format(value, "0");
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

} // namespace

class LegacyNumbersTest : public QObject {
    Q_OBJECT
private slots:
    void cases_data() {
        QTest::addColumn<QStringList>("c");
        for (const QStringList& c : numberCases()) QTest::newRow(qPrintable(c[0] + ": " + c[1])) << c;
    }
    void cases() {
        QFETCH(QStringList, c);
        check(c);
    }

    // A German user's locale must not change a single character.
    void germanLocaleChangesNothing() {
        const QLocale before;
        const std::string cBefore = std::setlocale(LC_ALL, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        bool cSet = false;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"})
            cSet = cSet || std::setlocale(LC_ALL, name);
        if (!cSet) qInfo("no German C locale installed; only the Qt default locale is German");
        for (const QStringList& c : numberCases())
            if (check(c), QTest::currentTestFailed()) break;
        QCOMPARE(PrintZoneLine().number(-1.5f).text(QStringLiteral("x")).str(), QStringLiteral("-1.5          x"));
        QCOMPARE(FieldReader(QStringLiteral("3.25,\"a\"\r\n")).readNumber(), 3.25);
        std::setlocale(LC_ALL, cBefore.c_str());
        QLocale::setDefault(before);
    }

    // A long run of digits: the longest leading part that fits a Single,
    // read in time linear in the length.
    void numValLongTexts() {
        QCOMPARE(bitsOf(NumVal(QString(200000, u'9'))), bitsOf(float(1e38)));
        QCOMPARE(bitsOf(NumVal("0." + QString(200000, u'5'))), bitsOf(float(0.5555555555555556)));
        QCOMPARE(NumVal(QString(200000, u'x')), 0.0f);
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
            FieldReader reader(text);
            if (bitsOf(back) != bitsOf(f) || bitsOf(float(reader.readNumber())) != bitsOf(f))
                QFAIL(qPrintable(QStringLiteral("%1 read back differently").arg(text)));
        }
    }
};

VEX_TEST(LegacyNumbersTest);
#include "LegacyNumbersTest.moc"
