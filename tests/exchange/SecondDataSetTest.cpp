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
    void readsBothTablesInFileOrder() {
        Document d = openLinear();
        seconddata::readSecondDataSet(
            projectFile(DataKind::Structural, {{100, 200, 5}, {110, 210, 6}}, {{300, 400, 7.5f}}), d);
        QCOMPARE(d.OtherDatCount, 2);
        QCOMPARE(d.OtherConCount, 1);
        QCOMPARE(d.OtherCount, 3);
        QCOMPARE(int(d.OtherPoints.size()), 4);
        QCOMPARE(d.OtherPoints[0].Z, 0.0f);
        QCOMPARE(d.OtherPoints[2].X, 110.0f);
        QCOMPARE(d.OtherPoints[2].Y, 210.0f);
        QCOMPARE(d.OtherPoints[3].Z, 7.5f);
        QCOMPARE(d.OtherPoints[3].X, 300.0f);
        QVERIFY(d.OtherStructural);
        // The open document's own points and title are untouched.
        QCOMPARE(d.DatCount, 0);
        QVERIFY(d.DataTitle.isEmpty());
    }

    void oneTableOnly() {
        Document d = openLinear();
        seconddata::readSecondDataSet(projectFile(DataKind::Isopach, {}, {{1, 2, 3}, {4, 5, 6}}), d);
        QCOMPARE(d.OtherDatCount, 0);
        QCOMPARE(d.OtherCount, 2);
        QCOMPARE(d.OtherPoints[2].Y, 5.0f);
        seconddata::readSecondDataSet(projectFile(DataKind::Isopach, {{1, 2, 3}}, {}), d);
        QCOMPARE(d.OtherCount, 1);
        QCOMPARE(int(d.OtherPoints.size()), 2);
    }

    void kindLine_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("structural");
        QTest::newRow("structural") << 1 << true;
        QTest::newRow("isopach") << 2 << false;
        QTest::newRow("contacts") << 0 << false;
        QTest::newRow("none") << -1 << false;
    }
    void kindLine() {
        QFETCH(int, kind);
        QFETCH(bool, structural);
        std::optional<DataKind> k;
        if (kind >= 0) k = DataKind(kind == 0 ? DataKind::Contacts : kind == 1 ? DataKind::Structural : DataKind::Isopach);
        Document d = openLinear();
        d.OtherStructural = !structural;
        seconddata::readSecondDataSet(projectFile(k, {{1, 2, 3}}, {}), d);
        QCOMPARE(d.OtherStructural, structural);
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
