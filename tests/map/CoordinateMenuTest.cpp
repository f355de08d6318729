// The Coordinates menu's click logic, its reset, and the clicks that restore
// a stored coordinate system.  The click table is under tests/data/map.
#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "map/CoordinateMenu.h"
#include "map/Projections.h"

namespace {

// The ticked items, in menu order, comma-separated.
QString ticks(const CoordMenuState& s) {
    const bool t[] = {s.mnuCoordLinear,  s.mnuCoordCylEquiDis, s.mnuCoordSMerc,    s.mnuCoordTMerc,
                      s.mnuCoordOrtho,   s.mnuCoordLmbertAzi,  s.mnuCoordAlbersEA, s.mnuCoordLambertConf,
                      s.mnuCoordDegrees, s.mnuCoordFeet,       s.mnuCoordMeters};
    QStringList on;
    for (int i = 0; i < 11; ++i)
        if (t[i]) on << maptest::coordItemNames()[i];
    return on.join(u',');
}

} // namespace

class CoordinateMenuTest : public QObject {
    Q_OBJECT
private slots:
    void clicks_data() { testsupport::addFileRows(QStringLiteral("map/coordinate-menu.txt")); }
    void clicks() {
        const auto r = testsupport::rowFields();
        const QString clicks = QString::fromUtf8(QTest::currentDataTag());
        CoordMenuState s;
        clearCoordMenu(s);
        for (const QString& c : clicks.split(u','))
            c == QLatin1String("reset") ? clearCoordMenu(s) : applyCoordClick(s, maptest::coordItemNamed(c));
        QCOMPARE(s.ProjectionName, r.str(0));
        QCOMPARE(s.CoordUnits, r.str(1));
        QCOMPARE(ticks(s), r.str(2));
        QVERIFY(s.mnuCoordFeetEnabled == r.flag(3) && s.mnuCoordMetersEnabled == r.flag(3));
        QCOMPARE(s.StatusPanel1, clicks.endsWith(QLatin1String("reset"))
                                     ? QStringLiteral("Projection: (unkown), Units: (unknown)")
                                     : "Projection: " + r.str(0) + ", Units: " + r.str(1));
        // Degrees when already ticked changes nothing.
        if (!s.mnuCoordDegrees) return;
        s.CoordUnits = QStringLiteral("Feet");
        s.StatusPanel1 = QStringLiteral("unchanged");
        applyCoordClick(s, CoordItem::Degrees);
        QVERIFY(s.CoordUnits == QLatin1String("Feet") && s.StatusPanel1 == QLatin1String("unchanged"));
    }

    // The project reader assigns both texts, then runs the projection's
    // handler and the units' handler: stored units survive the Linear click.
    void reselection() {
        using namespace projection_names;
        const std::tuple<QString, const char*, QString, const char*> table[] = {
            {Linear, "Feet", Linear, "Linear,Feet"},
            {Linear, "Meters", Linear, "Linear,Meters"},
            {Linear, "Yards", Linear, "Linear,Feet"},
            {CylindricalEquidistant, "Degrees", Linear, "Linear,Degrees"},
            {AlbersEqualArea, "Degrees", AlbersEqualArea, "AlbersEA,Degrees"},
            {TransverseMercator, "Degrees", TransverseMercator, "TMerc,Degrees"},
            {LambertConformal, "Degrees", LambertConformal, "LambertConf,Degrees"}};
        for (const auto& [projection, units, endProjection, endTicks] : table) {
            CoordMenuState s;
            clearCoordMenu(s);
            s.ProjectionName = projection;
            s.CoordUnits = QString::fromLatin1(units);
            const auto item = reselectProjectionItem(projection);
            QVERIFY(item.has_value());
            applyCoordClick(s, *item);
            applyCoordClick(s, reselectUnitsItem(s.CoordUnits));
            QCOMPARE(s.ProjectionName, endProjection);
            QCOMPARE(ticks(s), QString::fromLatin1(endTicks));
            QCOMPARE(s.StatusPanel1, "Projection: " + endProjection + ", Units: " + ticks(s).section(u',', 1));
        }
        for (const char* unknown : {"Miller Cylindrical", "linear coordinates", ""})
            QVERIFY(!reselectProjectionItem(QString::fromLatin1(unknown)).has_value());
    }
};
VEX_TEST(CoordinateMenuTest);
#include "CoordinateMenuTest.moc"
