// The converter's input file, the reading of its output and the result table.
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "exchange/ConverterExchange.h"

#include <QTest>

class ConverterExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void inputFileDatumPointsFirst() {
        Document d;
        d.DatumPoints.resize(4);
        d.DatCount = 3;
        for (int i = 1; i <= 3; ++i) {
            d.DatumPoints[size_t(i)].Number = int16_t(i);
            d.DatumPoints[size_t(i)].X = 1000.5f * float(i);
            d.DatumPoints[size_t(i)].Y = 2000.0f;
            d.DatumPoints[size_t(i)].Z = 12.25f;
        }
        d.ContourPoints.resize(3);
        d.ConCount = 2;
        d.ContourPoints[1] = {1, 5, 6, 7, false};
        // Projected values: plain decimals, never an exponent.
        d.ContourPoints[2] = {2, 1.23e-5f, 1.2345679e8f, -2.8689473e-9f, false};
        const QByteArray text = converter::inputFileText(d);
        QVERIFY(text.endsWith("\r\n"));
        const QStringList lines = legacy::splitLines(legacy::decodeLatin1(text));
        QCOMPARE(lines, (QStringList{"1,1000.5,2000,12.25", "2,2001,2000,12.25", "3,3001.5,2000,12.25", "1,5,6,7",
                                     "2,.0000123,123456790,-.0000000028689473"}));
    }

    void outputReadAndResultWritten_data() {
        QTest::addColumn<bool>("latLong");
        QTest::addColumn<QString>("row1");
        QTest::newRow("lat-long") << true << "-95.1235      40.0000       12.3";
        QTest::newRow("metres") << false << "-95.1         40.0          12.3";
    }
    void outputReadAndResultWritten() {
        QFETCH(bool, latLong);
        QFETCH(QString, row1);
        QByteArray out;
        for (int k = 1; k <= 8; ++k) out += "Heading line " + QByteArray::number(k) + "\r\n";
        out += "1, -95.123456, 40, 12.2999999\r\n";
        out += "2, abc, 41.5, 3\r\n";
        out += "3, 1, 2, 3\r\n"; // beyond the points: ignored
        const converter::Records r = converter::readOutput(out, 2);
        QCOMPARE(r.first, (QStringList{"-95.12346", "abc"}));
        QCOMPARE(r.second, (QStringList{"40.00000", "41.50000"}));
        QCOMPARE(r.value, (QStringList{"12.300000", "3.000000"}));
        const QStringList lines =
            legacy::splitLines(legacy::decodeLatin1(converter::resultFileText(QStringLiteral("Lakes"), r, latLong)));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("Lakes"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], QStringLiteral("      X       ") + QStringLiteral("     Y        ") + QStringLiteral("     Z"));
        QCOMPARE(lines[3], QString(38, '='));
        QCOMPARE(lines[4], QString());
        QCOMPARE(lines[5], row1);
        QVERIFY(lines[6].startsWith(QStringLiteral("abc")));
    }

    void shortOutputFails() {
        QByteArray out = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n1,2,3,4\r\n";
        QCOMPARE(converter::readOutput(out, 1).first.size(), 1);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, converter::readOutput(out, 2));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, converter::readOutput("a,b,c\r\n", 0));
    }

    void moreThanTheTablesHoldFails() {
        QByteArray out = "a,b,c,d,e,f,g,h\r\n";
        for (int i = 0; i < 2001; ++i) out += "1,2,3,4\r\n";
        QCOMPARE(converter::readOutput(out, 2000).first.size(), 2000);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, converter::readOutput(out, 2001));
    }
};

VEX_TEST(ConverterExchangeTest);
#include "ConverterExchangeTest.moc"
