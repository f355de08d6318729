// Reading a second project file as the second data set, and the Combine
// Data tool tips.
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "document/ProjectFile.h"
#include "exchange/SecondDataSet.h"
#include "map/Projections.h"

#include <QTest>

namespace {

// A linear project file of the given kind with datum and contour rows
// (x, y, z each).
QByteArray projectFile(std::optional<DataKind> kind, const std::vector<std::array<float, 3>>& datum,
                       const std::vector<std::array<float, 3>>& contour) {
    Document f;
    f.DataTitle = QStringLiteral("Other title");
    f.MapFileName = QStringLiteral("/maps/other.jpg");
    f.ProjectionName = QStringLiteral("Linear Coordinates");
    f.CoordUnits = QStringLiteral("Meters");
    f.ContourDetail = 50;
    auto fill = [](std::vector<DataPoint>& v, int& count, const std::vector<std::array<float, 3>>& rows) {
        v.assign(1, DataPoint{});
        for (const auto& r : rows) v.push_back({int16_t(v.size()), r[0], r[1], r[2], false});
        count = int(rows.size());
    };
    fill(f.DatumPoints, f.DatCount, datum);
    fill(f.ContourPoints, f.ConCount, contour);
    ProjectControls c;
    c.txtMin = QStringLiteral("0");
    c.txtMax = QStringLiteral("100");
    c.kind = kind;
    return writeProjectFile(f, c);
}

Document openLinear() {
    Document d;
    d.ProjectionName = QStringLiteral("Linear Coordinates");
    d.CoordUnits = QStringLiteral("Meters");
    return d;
}

} // namespace

class SecondDataSetTest : public QObject {
    Q_OBJECT
private slots:
    // Datum row i is (100 + i, 200 + i, i), contour row i (300 + i, 400 + i,
    // 10 + i); only the tables the counts name are read, datum rows first.
    void reads_data() {
        QTest::addColumn<int>("kind"); // -1 none, else DataKind
        QTest::addColumn<int>("datum");
        QTest::addColumn<int>("contour");
        QTest::addColumn<bool>("structural");
        QTest::newRow("both tables, structural") << int(DataKind::Structural) << 2 << 1 << true;
        QTest::newRow("contour rows only, isopach") << int(DataKind::Isopach) << 0 << 2 << false;
        QTest::newRow("datum rows only, contacts") << int(DataKind::Contacts) << 1 << 0 << false;
        QTest::newRow("no kind") << -1 << 1 << 0 << false;
    }
    void reads() {
        QFETCH(int, kind);
        QFETCH(int, datum);
        QFETCH(int, contour);
        QFETCH(bool, structural);
        std::vector<std::array<float, 3>> d, c;
        for (int i = 1; i <= datum; ++i) d.push_back({100.0f + i, 200.0f + i, float(i)});
        for (int i = 1; i <= contour; ++i) c.push_back({300.0f + i, 400.0f + i, 10.0f + i});
        Document doc = openLinear();
        doc.OtherStructural = !structural;
        seconddata::readSecondDataSet(projectFile(kind < 0 ? std::nullopt : std::optional(DataKind(kind)), d, c), doc);
        QCOMPARE(doc.OtherDatCount, datum);
        QCOMPARE(doc.OtherConCount, contour);
        QCOMPARE(doc.OtherCount, datum + contour);
        QCOMPARE(doc.OtherStructural, structural);
        QCOMPARE(int(doc.OtherPoints.size()), datum + contour + 1);
        QCOMPARE(doc.OtherPoints[0].Z, 0.0f);
        for (int i = 1; i <= datum + contour; ++i) {
            const DataPoint& p = doc.OtherPoints[size_t(i)];
            const auto& want = i <= datum ? d[size_t(i - 1)] : c[size_t(i - datum - 1)];
            QCOMPARE(p.X, want[0]);
            QCOMPARE(p.Y, want[1]);
            QCOMPARE(p.Z, want[2]);
        }
        // The open document's own points and title are untouched.
        QCOMPARE(doc.DatCount, 0);
        QVERIFY(doc.DataTitle.isEmpty());
    }

    void rowsTakeTheOpenDocumentsProjection() {
        // The second file's rows are latitude first: 40 then -95.
        Document d = openLinear();
        d.ProjectionName = QStringLiteral("Transverse Mercator");
        d.CoordUnits = QStringLiteral("Degrees");
        d.ProjScaleX = 1;
        d.ProjScaleY = 1;
        d.CentralMeridian = float(DegRad(-100, true));
        seconddata::readSecondDataSet(projectFile(DataKind::Structural, {{-95, 40, 12}}, {}), d);
        QCOMPARE(d.OtherPoints[1].X, ProjectTransverseMercator(d, -95, 40, true, true));
        QCOMPARE(d.OtherPoints[1].Y, ProjectTransverseMercator(d, -95, 40, true, false));
        QCOMPARE(d.OtherPoints[1].Z, 12.0f);

        Document cyl = openLinear();
        cyl.ProjectionName = QStringLiteral("Cylindrical Equidistant");
        seconddata::readSecondDataSet(projectFile(DataKind::Structural, {{-95, 40, 12}}, {}), cyl);
        QCOMPARE(cyl.OtherPoints[1].X, -95.0f);
        QCOMPARE(cyl.OtherPoints[1].Y, 40.0f);
    }

    // A second file is taken whole or not at all: a field that is not a
    // number, or a table cut short, refuses it with the reason, and the set
    // held before stays as it was.
    void damagedFileChangesNothing_data() {
        QTest::addColumn<QByteArray>("counts");
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QString>("error");
        QTest::newRow("text in a row") << QByteArray(" 3  0  50") << QByteArray("1,100,100,10\r\n2,200,200,20\r\n3,abc,150,30\r\n")
                                       << "Type mismatch in line 15: \"abc\"";
        QTest::newRow("empty field") << QByteArray(" 2  0  50") << QByteArray("1,100,100,10\r\n2,,200,20\r\n")
                                     << "Type mismatch in line 14: \"\"";
        QTest::newRow("number prefix") << QByteArray(" 1  0  50") << QByteArray("1,100,100,10m\r\n")
                                       << "Type mismatch in line 13: \"10m\"";
        QTest::newRow("text count") << QByteArray(" 3x  0  50") << QByteArray("1,100,100,10\r\n")
                                    << "Type mismatch in line 9: \"3x\"";
        QTest::newRow("table cut short") << QByteArray(" 3  0  50") << QByteArray("1,100,100,10\r\n2,200,200,20\r\n")
                                         << "Input past end of file";
    }
    void damagedFileChangesNothing() {
        QFETCH(QByteArray, counts);
        QFETCH(QByteArray, rows);
        QFETCH(QString, error);
        const QByteArray bytes = "Basin\r\n\r\nmap.jpg\r\n 2000  1500  1000  1000  0  100 Linear Coordinates:Meters\r\n"
                                 " 0  0  0  0  1  1\r\n 0  0  1000  1000  0  0\r\n\r\n"
                                 "Isopach datum/contour points and contour detail:\r\n" +
                                 counts + "\r\n\r\nNumber Y X Z\r\n=====\r\n" + rows;
        Document d = openLinear();
        seconddata::readSecondDataSet(projectFile(DataKind::Structural, {{1, 2, 3}, {4, 5, 6}}, {}), d);
        try {
            seconddata::readSecondDataSet(bytes, d);
            QFAIL("the damaged file was read");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), error);
        }
        QCOMPARE(d.OtherCount, 2);
        QCOMPARE(d.OtherDatCount, 2);
        QCOMPARE(int(d.OtherPoints.size()), 3);
        QCOMPARE(d.OtherPoints[2].X, 4.0f);
        QVERIFY(d.OtherStructural);
    }

    void toolTips() {
        using seconddata::combineToolTip;
        const QString tail = QStringLiteral("(only affects those points that have not been previously combined)");
        QCOMPARE(combineToolTip(false, true, 0), "Subtract structural data from plotted points  " + tail);
        QCOMPARE(combineToolTip(false, true, 1), "Add structural data to plotted points  " + tail);
        QCOMPARE(combineToolTip(false, false, 0), "Subtract isopach data from plotted points " + tail);
        QCOMPARE(combineToolTip(false, false, 1), "Add isopach data to plotted points  " + tail);
        QCOMPARE(combineToolTip(true, true, 0), "Subtract plotted points from structural data  " + tail);
        QCOMPARE(combineToolTip(true, true, 1), "Add plotted points to structural data  " + tail);
        QCOMPARE(combineToolTip(true, false, 0), "Subtract plotted points from isopach data  " + tail);
        QCOMPARE(combineToolTip(true, false, 1), "Add plotted points to isopach data  " + tail);
    }
};

VEX_TEST(SecondDataSetTest);
#include "SecondDataSetTest.moc"
