#include "common/TestRegistry.h"

#include "map/CoordinateMenu.h"
#include "map/Projections.h"

#include <QTest>

namespace {

const char* const ItemNames[] = {"Linear", "CylEquiDis", "SMerc", "TMerc", "Ortho", "LmbertAzi",
                                 "AlbersEA", "LambertConf", "Degrees", "Feet", "Meters"};

CoordItem itemNamed(const QString& name) {
    for (int i = 0; i < 11; ++i)
        if (name == QLatin1String(ItemNames[i])) return CoordItem(i);
    qFatal("unknown item %s", qPrintable(name));
}

// The ticked items, in menu order, as a comma-separated list.
QString ticks(const CoordMenuState& s) {
    const bool t[] = {s.mnuCoordLinear, s.mnuCoordCylEquiDis, s.mnuCoordSMerc, s.mnuCoordTMerc,
                      s.mnuCoordOrtho,  s.mnuCoordLmbertAzi,  s.mnuCoordAlbersEA, s.mnuCoordLambertConf,
                      s.mnuCoordDegrees, s.mnuCoordFeet, s.mnuCoordMeters};
    QStringList on;
    for (int i = 0; i < 11; ++i)
        if (t[i]) on << QLatin1String(ItemNames[i]);
    return on.join(u',');
}

CoordMenuState afterReset() {
    CoordMenuState s;
    clearCoordMenu(s);
    return s;
}

} // namespace

class CoordinateMenuTest : public QObject {
    Q_OBJECT
private slots:
    // Click sequences on a freshly reset menu.
    void sequences_data() {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("projection");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<bool>("linearUnitsEnabled");
        auto row = [](const char* clicks, const char* projection, const char* units, const char* ticked,
                      bool enabled) {
            QTest::newRow(clicks) << QString::fromLatin1(clicks) << QString::fromLatin1(projection)
                                  << QString::fromLatin1(units) << QString::fromLatin1(ticked) << enabled;
        };
        row("CylEquiDis", "Cylindrical Equidistant", "Degrees", "CylEquiDis,Degrees", false);
        row("SMerc", "Standard Mercator", "Degrees", "SMerc,Degrees", false);
        row("TMerc", "Transverse Mercator", "Degrees", "TMerc,Degrees", false);
        row("Ortho", "Orthographic Azimuthal", "Degrees", "Ortho,Degrees", false);
        row("LmbertAzi", "Lambert Equal Area Azimuthal", "Degrees", "LmbertAzi,Degrees", false);
        row("AlbersEA", "Albers Equal Area Conic", "Degrees", "AlbersEA,Degrees", false);
        row("LambertConf", "Lambert Conformal Conic", "Degrees", "LambertConf,Degrees", false);
        // Linear ticks Meters but leaves the units as they were.
        row("Linear", "Linear Coordinates", "", "Linear,Meters", true);
        row("TMerc,Linear", "Linear Coordinates", "Degrees", "Linear,Meters", true);
        row("Linear,Degrees", "Linear Coordinates", "Degrees", "Linear,Degrees", true);
        row("Linear,Feet", "Linear Coordinates", "Feet", "Linear,Feet", true);
        row("Linear,Feet,Meters", "Linear Coordinates", "Meters", "Linear,Meters", true);
        row("Linear,Meters,SMerc", "Standard Mercator", "Degrees", "SMerc,Degrees", false);
        row("AlbersEA,LambertConf", "Lambert Conformal Conic", "Degrees", "LambertConf,Degrees", false);
        // Feet and Meters leave the enabled states alone (code may call them
        // while they are disabled).
        row("Ortho,Feet", "Linear Coordinates", "Feet", "Linear,Feet", false);
        row("Ortho,Degrees", "Orthographic Azimuthal", "Degrees", "Ortho,Degrees", false);
        row("Feet", "Linear Coordinates", "Feet", "Linear,Feet", true);
        row("Degrees", "", "Degrees", "Degrees", true);
        row("Linear,Degrees,Meters", "Linear Coordinates", "Meters", "Linear,Meters", true);
    }
    void sequences() {
        QFETCH(QString, clicks);
        QFETCH(QString, projection);
        QFETCH(QString, units);
        QFETCH(QString, ticked);
        QFETCH(bool, linearUnitsEnabled);
        CoordMenuState s = afterReset();
        for (const QString& c : clicks.split(u','))
            applyCoordClick(s, itemNamed(c));
        QCOMPARE(s.ProjectionName, projection);
        QCOMPARE(s.CoordUnits, units);
        QCOMPARE(ticks(s), ticked);
        QCOMPARE(s.mnuCoordFeetEnabled, linearUnitsEnabled);
        QCOMPARE(s.mnuCoordMetersEnabled, linearUnitsEnabled);
        QCOMPARE(s.StatusPanel1, QStringLiteral("Projection: ") + projection + QStringLiteral(", Units: ") + units);
    }

    void resetText() {
        CoordMenuState s;
        applyCoordClick(s, CoordItem::AlbersEA);
        clearCoordMenu(s);
        QCOMPARE(ticks(s), QString());
        QCOMPARE(s.ProjectionName, QString());
        QCOMPARE(s.CoordUnits, QString());
        QCOMPARE(s.StatusPanel1, QStringLiteral("Projection: (unkown), Units: (unknown)"));
        // The reset does not re-enable the linear units.
        QVERIFY(!s.mnuCoordFeetEnabled && !s.mnuCoordMetersEnabled);
    }

    void degreesWhenTickedChangesNothing() {
        CoordMenuState s = afterReset();
        applyCoordClick(s, CoordItem::SMerc);
        s.CoordUnits = QStringLiteral("Feet"); // as if set elsewhere
        s.StatusPanel1 = QStringLiteral("unchanged");
        applyCoordClick(s, CoordItem::Degrees);
        QCOMPARE(s.CoordUnits, QStringLiteral("Feet"));
        QCOMPARE(s.StatusPanel1, QStringLiteral("unchanged"));
        QCOMPARE(ticks(s), QStringLiteral("SMerc,Degrees"));
    }

    // The project reader assigns both texts, then runs Linear and the units'
    // handler: stored Feet survives the Linear click.
    void readerRestoresStoredUnits() {
        CoordMenuState s = afterReset();
        s.ProjectionName = projection_names::Linear;
        s.CoordUnits = coord_units::Feet;
        applyCoordClick(s, CoordItem::Linear);
        QCOMPARE(s.CoordUnits, QStringLiteral("Feet"));
        applyCoordClick(s, reselectUnitsItem(s.CoordUnits));
        QCOMPARE(ticks(s), QStringLiteral("Linear,Feet"));
        QCOMPARE(s.StatusPanel1, QStringLiteral("Projection: Linear Coordinates, Units: Feet"));
    }

    void reselection_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("endProjection");
        QTest::addColumn<QString>("endTicks");
        auto row = [](const char* tag, const QString& p, const char* u, const char* endP, const char* endT) {
            QTest::newRow(tag) << p << QString::fromLatin1(u) << QString::fromLatin1(endP) << QString::fromLatin1(endT);
        };
        using namespace projection_names;
        row("linear feet", Linear, "Feet", "Linear Coordinates", "Linear,Feet");
        row("linear meters", Linear, "Meters", "Linear Coordinates", "Linear,Meters");
        row("linear odd units", Linear, "Yards", "Linear Coordinates", "Linear,Feet");
        row("cylindrical", CylindricalEquidistant, "Degrees", "Linear Coordinates", "Linear,Degrees");
        row("albers", AlbersEqualArea, "Degrees", "Albers Equal Area Conic", "AlbersEA,Degrees");
        row("tmerc", TransverseMercator, "Degrees", "Transverse Mercator", "TMerc,Degrees");
        row("lambert conformal", LambertConformal, "Degrees", "Lambert Conformal Conic", "LambertConf,Degrees");
    }
    void reselection() {
        QFETCH(QString, projection);
        QFETCH(QString, units);
        QFETCH(QString, endProjection);
        QFETCH(QString, endTicks);
        CoordMenuState s = afterReset();
        s.ProjectionName = projection;
        s.CoordUnits = units;
        const auto item = reselectProjectionItem(projection);
        QVERIFY(item.has_value());
        applyCoordClick(s, *item);
        applyCoordClick(s, reselectUnitsItem(units));
        QCOMPARE(s.ProjectionName, endProjection);
        QCOMPARE(ticks(s), endTicks);
    }

    void unknownProjectionHasNoHandler() {
        QVERIFY(!reselectProjectionItem(QStringLiteral("Miller Cylindrical")).has_value());
        QVERIFY(!reselectProjectionItem(QStringLiteral("linear coordinates")).has_value());
        QVERIFY(!reselectProjectionItem(QString()).has_value());
    }
};
VEX_TEST(CoordinateMenuTest);
#include "CoordinateMenuTest.moc"
