// The keep tests of the point filters, without any window.
#include "common/TestRegistry.h"
#include "map/Projections.h"
#include "removal/Filters.h"

#include <QTest>

using namespace removal;

Q_DECLARE_METATYPE(removal::Removed)
Q_DECLARE_METATYPE(removal::Quantity)

namespace {

DataPoint pt(float x, float y, float z, int16_t number = 0) {
    DataPoint p;
    p.Number = number;
    p.X = x;
    p.Y = y;
    p.Z = z;
    return p;
}

// Points whose stored coordinates are the forward projection of the given
// longitudes and latitudes (degrees).
std::vector<DataPoint> projected(Document& d, const QList<QPointF>& lonLat,
                                 float (*f)(Document&, double, double, bool, bool)) {
    std::vector<DataPoint> out(1);
    for (const QPointF& ll : lonLat)
        out.push_back(pt(f(d, ll.x(), ll.y(), true, true), f(d, ll.x(), ll.y(), true, false), 0));
    return out;
}

QList<int> toList(const std::vector<int>& v) { return QList<int>(v.begin(), v.end()); }

} // namespace

class FiltersTest : public QObject {
    Q_OBJECT
private slots:
    void limitKeepTest_data() {
        QTest::addColumn<float>("quantity");
        QTest::addColumn<float>("limit");
        QTest::addColumn<Removed>("removed");
        QTest::addColumn<bool>("kept");
        QTest::newRow("greater: below stays") << 1.0f << 2.0f << Removed::Greater << true;
        QTest::newRow("greater: on limit stays") << 2.0f << 2.0f << Removed::Greater << true;
        QTest::newRow("greater: above goes") << 2.5f << 2.0f << Removed::Greater << false;
        QTest::newRow("less: above stays") << 3.0f << 2.0f << Removed::Less << true;
        QTest::newRow("less: on limit stays") << 2.0f << 2.0f << Removed::Less << true;
        QTest::newRow("less: below goes") << -1.0f << 2.0f << Removed::Less << false;
        QTest::newRow("negative limit") << -5.0f << -4.0f << Removed::Less << false;
    }
    void limitKeepTest() {
        QFETCH(float, quantity);
        QFETCH(float, limit);
        QFETCH(Removed, removed);
        QTEST(keepByLimit(quantity, limit, removed), "kept");
    }

    void contactKeepTest_data() {
        QTest::addColumn<float>("z");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("keptOne");     // "One Contact Set" (remove the equal ones)
        QTest::addColumn<bool>("keptAllBut");  // "All But One" (remove the others)
        QTest::newRow("3 matches 3") << 3.0f << "3" << false << true;
        QTest::newRow("03 matches nothing") << 3.0f << "03" << true << false;
        QTest::newRow("3.0 matches nothing") << 3.0f << "3.0" << true << false;
        QTest::newRow("trailing blank matches nothing") << 3.0f << "3 " << true << false;
        QTest::newRow("fraction in general form") << 0.5f << "0.5" << false << true;
        QTest::newRow("no leading zero form is different") << 0.5f << ".5" << true << false;
        QTest::newRow("negative") << -2.0f << "-2" << false << true;
        QTest::newRow("not a number") << 0.0f << "abc" << true << false;
    }
    void contactKeepTest() {
        QFETCH(float, z);
        QFETCH(QString, answer);
        QTEST(keepByContact(z, answer, Removed::TextEquals), "keptOne");
        QTEST(keepByContact(z, answer, Removed::TextDiffers), "keptAllBut");
    }

    void quantityByProjection_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<Quantity>("quantity");
        QTest::addColumn<float>("expected");
        // Stored X 7, Y 1.2, Z 40.
        QTest::newRow("linear X") << "Linear Coordinates" << Quantity::Longitude << 7.0f;
        QTest::newRow("linear Y") << "Linear Coordinates" << Quantity::Latitude << 1.2f;
        QTest::newRow("cylindrical X") << "Cylindrical Equidistant" << Quantity::Longitude << 7.0f;
        QTest::newRow("cylindrical Y") << "Cylindrical Equidistant" << Quantity::Latitude << 1.2f;
        QTest::newRow("mercator X stored") << "Standard Mercator" << Quantity::Longitude << 7.0f;
        QTest::newRow("unknown name uses stored X") << "Polar Stereo" << Quantity::Longitude << 7.0f;
        QTest::newRow("Z under transverse") << "Transverse Mercator" << Quantity::Z << 40.0f;
        QTest::newRow("Z under mercator") << "Standard Mercator" << Quantity::Z << 40.0f;
    }
    void quantityByProjection() {
        QFETCH(QString, projection);
        QFETCH(Quantity, quantity);
        Document d;
        d.ProjectionName = projection;
        d.ProjScaleX = d.ProjScaleY = 1;
        QTEST(pointQuantity(d, pt(7, 1.2f, 40), quantity), "expected");
    }

    void mercatorLatitudeIsInverse() {
        Document d;
        d.ProjectionName = QStringLiteral("Standard Mercator");
        d.ProjScaleX = d.ProjScaleY = 1;
        const float y = ProjectMercator(d, 60, true);
        QVERIFY(std::abs(pointQuantity(d, pt(0.3f, y, 0), Quantity::Latitude) - 60.0f) < 1e-3f);
        // A Y filter at 50 degrees removes it; the stored Y (about 1.3) would not.
        std::vector<DataPoint> pts{DataPoint{}, pt(0.3f, y, 0), pt(0.3f, ProjectMercator(d, 40, true), 0)};
        QCOMPARE(toList(keptIndexes(d, pts, 2, {Quantity::Latitude, Removed::Greater}, QStringLiteral("50"))),
                 QList<int>{2});
    }

    // Under every two-coordinate projection the X and Y filters compare
    // degrees from the inverse projection, not the stored projected values.
    void twoWayProjectionsCompareDegrees_data() {
        QTest::addColumn<QString>("projection");
        QTest::newRow("transverse") << "Transverse Mercator";
        QTest::newRow("orthographic") << "Orthographic Azimuthal";
        QTest::newRow("lambert azimuthal") << "Lambert Equal Area Azimuthal";
        QTest::newRow("albers") << "Albers Equal Area Conic";
        QTest::newRow("lambert conformal") << "Lambert Conformal Conic";
    }
    void twoWayProjectionsCompareDegrees() {
        QFETCH(QString, projection);
        Document d;
        d.ProjectionName = projection;
        d.ProjScaleX = d.ProjScaleY = 1;
        d.CentralMeridian = float(DegRad(20, true));
        d.CentralParallel = float(DegRad(40, true));
        d.Lat1 = float(DegRad(35, true));
        d.Lat2 = float(DegRad(45, true));
        ComputeConeConstants(d);
        using F = float (*)(Document&, double, double, bool, bool);
        const F f = projection.startsWith(QLatin1String("Transverse")) ? F(&ProjectTransverseMercator)
                    : projection.startsWith(QLatin1String("Ortho"))    ? F(&ProjectOrthographic)
                    : projection.startsWith(QLatin1String("Lambert E")) ? F(&ProjectLambertAzimuthal)
                    : projection.startsWith(QLatin1String("Albers"))   ? F(&ProjectAlbersEqualArea)
                                                                       : F(&ProjectLambertConformal);
        const auto pts = projected(d, {{10, 38}, {20, 41}, {30, 44}}, f);
        QCOMPARE(toList(keptIndexes(d, pts, 3, {Quantity::Longitude, Removed::Greater}, QStringLiteral("25"))),
                 (QList<int>{1, 2}));
        QCOMPARE(toList(keptIndexes(d, pts, 3, {Quantity::Longitude, Removed::Less}, QStringLiteral("15"))),
                 (QList<int>{2, 3}));
        QCOMPARE(toList(keptIndexes(d, pts, 3, {Quantity::Latitude, Removed::Greater}, QStringLiteral("42.5"))),
                 (QList<int>{1, 2}));
        QCOMPARE(toList(keptIndexes(d, pts, 3, {Quantity::Latitude, Removed::Less}, QStringLiteral("39"))),
                 (QList<int>{2, 3}));
    }

    void limitIsLeadingNumberOfAnswer() {
        Document d;
        d.ProjectionName = QStringLiteral("Linear Coordinates");
        std::vector<DataPoint> pts{DataPoint{}, pt(0, 0, -1), pt(0, 0, 0), pt(0, 0, 12), pt(0, 0, 13)};
        // "abc" is the limit 0; "12abc" is 12.
        QCOMPARE(toList(keptIndexes(d, pts, 4, {Quantity::Z, Removed::Less}, QStringLiteral("abc"))),
                 (QList<int>{2, 3, 4}));
        QCOMPARE(toList(keptIndexes(d, pts, 4, {Quantity::Z, Removed::Greater}, QStringLiteral("12abc"))),
                 (QList<int>{1, 2, 3}));
        // Only the points 1..count are looked at.
        QCOMPARE(toList(keptIndexes(d, pts, 2, {Quantity::Z, Removed::Greater}, QStringLiteral("100"))),
                 (QList<int>{1, 2}));
    }
};

VEX_TEST(FiltersTest);
#include "FiltersTest.moc"
