// Click logic of the Coordinates menu.
#include "map/CoordinateMenu.h"

#include "map/Projections.h"

namespace {

void writeStatus(CoordMenuState& s) {
    s.StatusPanel1 = QStringLiteral("Projection: ") + s.ProjectionName + QStringLiteral(", Units: ") + s.CoordUnits;
}

// Ticks the given one of the eight projection items (Linear included) and
// unticks the others; an item outside the eight unticks all of them.
void tickProjection(CoordMenuState& s, CoordItem item) {
    s.mnuCoordLinear = item == CoordItem::Linear;
    s.mnuCoordCylEquiDis = item == CoordItem::CylEquiDis;
    s.mnuCoordSMerc = item == CoordItem::SMerc;
    s.mnuCoordTMerc = item == CoordItem::TMerc;
    s.mnuCoordOrtho = item == CoordItem::Ortho;
    s.mnuCoordLmbertAzi = item == CoordItem::LmbertAzi;
    s.mnuCoordAlbersEA = item == CoordItem::AlbersEA;
    s.mnuCoordLambertConf = item == CoordItem::LambertConf;
}

} // namespace

QString projectionNameOf(CoordItem item) {
    switch (item) {
    case CoordItem::Linear:
    case CoordItem::Feet:
    case CoordItem::Meters: return projection_names::Linear;
    case CoordItem::CylEquiDis: return projection_names::CylindricalEquidistant;
    case CoordItem::SMerc: return projection_names::StandardMercator;
    case CoordItem::TMerc: return projection_names::TransverseMercator;
    case CoordItem::Ortho: return projection_names::Orthographic;
    case CoordItem::LmbertAzi: return projection_names::LambertAzimuthal;
    case CoordItem::AlbersEA: return projection_names::AlbersEqualArea;
    case CoordItem::LambertConf: return projection_names::LambertConformal;
    case CoordItem::Degrees: break;
    }
    return QString();
}

void applyCoordClick(CoordMenuState& s, CoordItem item) {
    switch (item) {
    case CoordItem::CylEquiDis:
    case CoordItem::SMerc:
    case CoordItem::TMerc:
    case CoordItem::Ortho:
    case CoordItem::LmbertAzi:
    case CoordItem::AlbersEA:
    case CoordItem::LambertConf:
        s.ProjectionName = projectionNameOf(item);
        s.CoordUnits = coord_units::Degrees;
        tickProjection(s, item);
        s.mnuCoordMetersEnabled = false;
        s.mnuCoordFeetEnabled = false;
        s.mnuCoordDegrees = true;
        s.mnuCoordMeters = false;
        s.mnuCoordFeet = false;
        break;
    case CoordItem::Linear:
        // The units are left as they are although Meters gets the tick (the
        // project reader sets the stored units right after this click), but
        // never Degrees under an unticked Degrees: such a map would be
        // registered in Easting/Northing and then judged by the rules of
        // degrees, here and in every file it is saved to.
        s.ProjectionName = projection_names::Linear;
        if (s.CoordUnits == coord_units::Degrees) s.CoordUnits = coord_units::Meters;
        tickProjection(s, CoordItem::Linear);
        s.mnuCoordDegrees = false;
        s.mnuCoordMeters = true;
        s.mnuCoordFeet = false;
        s.mnuCoordMetersEnabled = true;
        s.mnuCoordFeetEnabled = true;
        break;
    case CoordItem::Feet:
    case CoordItem::Meters: {
        const bool feet = item == CoordItem::Feet;
        s.CoordUnits = feet ? coord_units::Feet : coord_units::Meters;
        s.ProjectionName = projection_names::Linear;
        tickProjection(s, CoordItem::Linear);
        s.mnuCoordDegrees = false;
        s.mnuCoordFeet = feet;
        s.mnuCoordMeters = !feet;
        break;
    }
    case CoordItem::Degrees:
        if (s.mnuCoordDegrees) return; // already ticked: nothing changes
        s.CoordUnits = coord_units::Degrees;
        s.mnuCoordDegrees = true;
        s.mnuCoordMeters = false;
        s.mnuCoordFeet = false;
        break;
    }
    writeStatus(s);
}

void clearCoordMenu(CoordMenuState& s) {
    tickProjection(s, CoordItem::Degrees);
    s.mnuCoordDegrees = false;
    s.mnuCoordMeters = false;
    s.mnuCoordFeet = false;
    s.ProjectionName.clear();
    s.CoordUnits.clear();
    s.StatusPanel1 = QStringLiteral("Projection: (unkown), Units: (unknown)");
}

std::optional<CoordItem> reselectProjectionItem(const QString& ProjectionName) {
    if (ProjectionName == projection_names::Linear || ProjectionName == projection_names::CylindricalEquidistant)
        return CoordItem::Linear;
    for (CoordItem item : {CoordItem::SMerc, CoordItem::TMerc, CoordItem::Ortho, CoordItem::LmbertAzi,
                           CoordItem::AlbersEA, CoordItem::LambertConf}) {
        if (ProjectionName == projectionNameOf(item)) return item;
    }
    return std::nullopt;
}

CoordItem reselectUnitsItem(const QString& CoordUnits) {
    if (CoordUnits == coord_units::Degrees) return CoordItem::Degrees;
    if (CoordUnits == coord_units::Meters) return CoordItem::Meters;
    return CoordItem::Feet;
}
