// Reading column text files: codes, header and record counts, the comma and
// stream modes, and the conversion of degrees into map units.
#include "common/TestRegistry.h"
#include "document/Document.h"
#include "exchange/ImportParser.h"
#include "map/Projections.h"

#include <QTest>

using importer::Record;
using importer::RecordReader;

Q_DECLARE_METATYPE(Record)

namespace {
bool same(const Record& a, const Record& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }
QString show(const Record& r) { return QStringLiteral("(%1, %2, %3)").arg(r.X).arg(r.Y).arg(r.Z); }
} // namespace

class ImportParserTest : public QObject {
    Q_OBJECT
private slots:
    void acceptedCodes() {
        const QStringList& codes = importer::acceptedCodes();
        QCOMPARE(codes.size(), 24);
        QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), 24);
        for (const QString& c : codes) {
            QCOMPARE(c.size(), 4);
            QVERIFY2(c.contains(u'x') && c.contains(u'y'), qPrintable(c));
        }
        // Every export code reads back as the import code made of it and "0".
        for (const char* e : {"xyz", "yxz", "zxy", "zyx", "xy0", "yx0"})
            QVERIFY2(importer::isAcceptedCode(QLatin1String(e) + u'0'), e);
        // Codes the dialog can build but the import cannot read.
        for (const char* bad : {"", "xy0", "x0y0", "xz00", "yz00", "00xy", "x-y0", "-x-y", "0xy0", "xyzz", "zxy-0",
                                "----", "y0x0", "XY00"})
            QVERIFY2(!importer::isAcceptedCode(QLatin1String(bad)), bad);
    }

    void counts_data() {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("records");
        QTest::newRow("header 2, last 10") << "2" << "10" << 2 << 8;
        QTest::newRow("no header") << "0" << "5" << 0 << 5;
        QTest::newRow("empty boxes") << "" << "" << 0 << 0;
        QTest::newRow("last not above header") << "5" << "5" << 5 << 0;
        QTest::newRow("last below header") << "7" << "3" << 7 << 0;
        QTest::newRow("cap") << "0" << "40000" << 0 << 31000;
        QTest::newRow("cap after header") << "100" << "31101" << 100 << 31000;
        QTest::newRow("half to even down") << "2.5" << "10" << 2 << 8;
        QTest::newRow("half to even up") << "3.5" << "10.5" << 4 << 6;
        QTest::newRow("junk reads as 0") << "abc" << "12 lines" << 0 << 12;
    }
    void counts() {
        QFETCH(QString, head);
        QFETCH(QString, last);
        QFETCH(int, header);
        QFETCH(int, records);
        const int h = importer::headerLines(head);
        QCOMPARE(h, header);
        QCOMPARE(importer::recordCount(last, h), records);
    }

    void headerOverflow() {
        QVERIFY_THROWS_EXCEPTION(legacy::Error, importer::headerLines(QStringLiteral("40000")));
    }

    void commaLine_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("line");
        QTest::addColumn<Record>("expected");
        QTest::newRow("short line") << "xyz0" << "1,2" << Record{1, 2, 0};
        QTest::newRow("double comma") << "xyz0" << "1,,2,3" << Record{1, 2, 3};
        QTest::newRow("leading comma") << "xyz0" << ",5,6" << Record{0, 5, 6};
        QTest::newRow("skipped text") << "xy-0" << "10,20,name" << Record{10, 20, 0};
        QTest::newRow("skip first") << "-xyz" << "P1,10,20,30" << Record{10, 20, 30};
        QTest::newRow("yx order") << "yxz0" << "45.5,-120.25,7" << Record{-120.25f, 45.5f, 7};
        QTest::newRow("z first") << "zyx0" << "9,2,1" << Record{1, 2, 9};
        QTest::newRow("two skips") << "--yx" << "a,b,3,4" << Record{4, 3, 0};
        QTest::newRow("last takes rest") << "xy00" << "1,2,3" << Record{1, 2, 0};
        QTest::newRow("xy00 double comma") << "xy00" << "1,,2" << Record{1, 2, 0};
        QTest::newRow("blanks") << "xyz0" << " 1, 2 , 3" << Record{1, 2, 3};
        QTest::newRow("empty line") << "xyz0" << "" << Record{0, 0, 0};
        QTest::newRow("junk fields") << "xyz0" << "abc,def,ghi" << Record{0, 0, 0};
        QTest::newRow("exponent") << "xyz-" << "1E3,-2.5e-1,.5,x" << Record{1000, -0.25f, 0.5f};
    }
    void commaLine() {
        QFETCH(QString, code);
        QFETCH(QString, line);
        QFETCH(Record, expected);
        const Record r = importer::parseCommaLine(line, code);
        QVERIFY2(same(r, expected), qPrintable(show(r) + QStringLiteral(" != ") + show(expected)));
    }

    void commaModeReadsLines() {
        RecordReader reader(QStringLiteral("head\r\n1,2,3\r4,5,6\n7,8,9\r\n"), QStringLiteral("xyz0"),
                            RecordReader::Mode::Comma);
        reader.skipLines(1);
        int missing = -1;
        QVERIFY(same(reader.read(missing), {1, 2, 3}));
        QCOMPARE(missing, 0);
        QVERIFY(same(reader.read(missing), {4, 5, 6}));
        QVERIFY(same(reader.read(missing), {7, 8, 9}));
        QVERIFY(reader.atEnd());
    }

    void streamSpansLines() {
        RecordReader reader(QStringLiteral("1 2\n3\n4\t5 6\n"), QStringLiteral("xyz0"), RecordReader::Mode::Stream);
        int missing = -1;
        QVERIFY(same(reader.read(missing), {1, 2, 3}));
        QCOMPARE(missing, 0);
        QVERIFY(same(reader.read(missing), {4, 5, 6}));
        QVERIFY(reader.atEnd());
    }

    void streamTruncated() {
        // Seven numbers for records of three: the third record misses two fields.
        RecordReader reader(QStringLiteral("1 2 3 4 5 6 7"), QStringLiteral("xyz0"), RecordReader::Mode::Stream);
        int missing = 0;
        reader.read(missing);
        reader.read(missing);
        QVERIFY(!reader.atEnd());
        QVERIFY(same(reader.read(missing), {7, 0, 0}));
        QCOMPARE(missing, 2);
        QVERIFY(reader.atEnd());
    }

    void streamFields() {
        int missing = 0;
        // Quoted names in a skipped column count as one field.
        RecordReader named(QStringLiteral("\"Well A\" 10 20 30\r\n\"B, east\",11,21,31\r\n"), QStringLiteral("-xyz"),
                           RecordReader::Mode::Stream);
        QVERIFY(same(named.read(missing), {10, 20, 30}));
        QVERIFY(same(named.read(missing), {11, 21, 31}));
        // An unquoted name ends at a blank.
        RecordReader bare(QStringLiteral("P1 10 20 30"), QStringLiteral("-xyz"), RecordReader::Mode::Stream);
        QVERIFY(same(bare.read(missing), {10, 20, 30}));
        // Commas separate too; an empty field is 0.
        RecordReader commas(QStringLiteral("1,,3\n4, 5 ,6"), QStringLiteral("xyz0"), RecordReader::Mode::Stream);
        QVERIFY(same(commas.read(missing), {1, 0, 3}));
        QVERIFY(same(commas.read(missing), {4, 5, 6}));
        // Blank lines between records do not shift the columns.
        RecordReader blanks(QStringLiteral("1 2\n\n\r\n3 4\n\n"), QStringLiteral("xy00"), RecordReader::Mode::Stream);
        QVERIFY(same(blanks.read(missing), {1, 2, 0}));
        QVERIFY(same(blanks.read(missing), {3, 4, 0}));
        QVERIFY(blanks.atEnd());
        // Junk in a number column reads as 0 and keeps the stream in step.
        RecordReader junk(QStringLiteral("abc 2 3\n4 5 6"), QStringLiteral("xyz0"), RecordReader::Mode::Stream);
        QVERIFY(same(junk.read(missing), {0, 2, 3}));
        QVERIFY(same(junk.read(missing), {4, 5, 6}));
    }

    void headerPastEndFails() {
        RecordReader reader(QStringLiteral("a\nb\n"), QStringLiteral("xy00"), RecordReader::Mode::Comma);
        try {
            reader.skipLines(3);
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), QStringLiteral("Input past end of file"));
        }
    }

    void projections_data() {
        QTest::addColumn<QString>("projection");
        for (const QString& p : {projection_names::TransverseMercator, projection_names::Orthographic,
                                 projection_names::LambertAzimuthal, projection_names::AlbersEqualArea,
                                 projection_names::LambertConformal})
            QTest::newRow(qPrintable(p)) << p;
    }
    void projections() {
        QFETCH(QString, projection);
        Document doc;
        doc.ProjectionName = projection;
        doc.ProjScaleX = 1000;
        doc.ProjScaleY = 1000;
        doc.CentralMeridian = float(DegRad(-100, true));
        doc.CentralParallel = float(DegRad(40, true));
        doc.Lat1 = float(DegRad(30, true));
        doc.Lat2 = float(DegRad(50, true));
        ComputeConeConstants(doc);
        float X = -105.5f, Y = 42.25f;
        importer::toMapUnits(doc, true, X, Y);
        float (*f)(Document&, double, double, bool, bool) =
            projection == projection_names::TransverseMercator ? ProjectTransverseMercator
            : projection == projection_names::Orthographic     ? ProjectOrthographic
            : projection == projection_names::LambertAzimuthal ? ProjectLambertAzimuthal
            : projection == projection_names::AlbersEqualArea  ? ProjectAlbersEqualArea
                                                               : ProjectLambertConformal;
        // Both coordinates come from the unconverted longitude and latitude.
        QCOMPARE(X, f(doc, -105.5, 42.25, true, true));
        QCOMPARE(Y, f(doc, -105.5, 42.25, true, false));
        QVERIFY(X != -105.5f && Y != 42.25f);
        QVERIFY(!doc.ProjectionFailed);
    }

    void mercatorAndLinear() {
        Document doc;
        doc.ProjectionName = projection_names::StandardMercator;
        doc.ProjScaleX = doc.ProjScaleY = 1;
        float X = -120, Y = 45;
        importer::toMapUnits(doc, true, X, Y);
        QCOMPARE(X, -120.0f); // only the latitude is projected
        QCOMPARE(Y, ProjectMercator(doc, 45, true));

        // The pole is held just below 90 in degrees.
        doc.ProjectionName = projection_names::CylindricalEquidistant;
        X = 10;
        Y = 95;
        importer::toMapUnits(doc, true, X, Y);
        QCOMPARE(Y, 89.99999f);
        QCOMPARE(X, 10.0f);

        // Linear units: stored as read, nothing limited.
        doc.ProjectionName = projection_names::Linear;
        X = -5000;
        Y = 95;
        importer::toMapUnits(doc, false, X, Y);
        QCOMPARE(X, -5000.0f);
        QCOMPARE(Y, 95.0f);
    }
};

VEX_TEST(ImportParserTest);
#include "ImportParserTest.moc"
