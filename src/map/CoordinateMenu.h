// The Coordinates menu as plain state: which coordinate system and units are
// chosen, the menu's ticks and enabled states, and the first status panel.
// The main window applies this state to its menu items (same names) after
// each click; the project reader and re-registration drive the same clicks.
#pragma once

#include <QString>
#include <optional>

// The texts CoordUnits holds.
namespace coord_units {
inline const QString Degrees = QStringLiteral("Degrees");
inline const QString Feet = QStringLiteral("Feet");
inline const QString Meters = QStringLiteral("Meters");
} // namespace coord_units

// The items of the menu that have a click handler.  "&Miller Cylindrical" and
// "&Mollweide Elliptical" are disabled and have none.
enum class CoordItem {
    Linear,       // mnuCoordLinear
    CylEquiDis,   // mnuCoordCylEquiDis
    SMerc,        // mnuCoordSMerc
    TMerc,        // mnuCoordTMerc
    Ortho,        // mnuCoordOrtho
    LmbertAzi,    // mnuCoordLmbertAzi
    AlbersEA,     // mnuCoordAlbersEA
    LambertConf,  // mnuCoordLambertConf
    Degrees,      // mnuCoordDegrees
    Feet,         // mnuCoordFeet
    Meters,       // mnuCoordMeters
};

struct CoordMenuState {
    QString ProjectionName;
    QString CoordUnits;

    // Check marks.
    bool mnuCoordLinear = false;
    bool mnuCoordCylEquiDis = false;
    bool mnuCoordSMerc = false;
    bool mnuCoordTMerc = false;
    bool mnuCoordOrtho = false;
    bool mnuCoordLmbertAzi = false;
    bool mnuCoordAlbersEA = false;
    bool mnuCoordLambertConf = false;
    bool mnuCoordDegrees = false;
    bool mnuCoordMeters = false;
    bool mnuCoordFeet = false;

    // Enabled states of the two linear units (enabled in the design; the
    // reset does not re-enable them).
    bool mnuCoordFeetEnabled = true;
    bool mnuCoordMetersEnabled = true;

    // Text of the first panel of the status bar.
    QString StatusPanel1;
};

// The ProjectionName text a projection item sets (Linear, Feet and Meters set
// "Linear Coordinates"; Degrees sets none and gives an empty text).
QString projectionNameOf(CoordItem item);

// One click on a menu item, as its handler does it.
void applyCoordClick(CoordMenuState& state, CoordItem item);

// The reset's part of the menu: all eleven ticks off, both texts "", and the
// reset text of the first status panel.  Enabled states stay as they are.
void clearCoordMenu(CoordMenuState& state);

// Which handler restores a stored coordinate system, for the project reader
// and re-registration: "Linear Coordinates" and "Cylindrical Equidistant" ->
// Linear, each other projection its own item, any other name none.
std::optional<CoordItem> reselectProjectionItem(const QString& ProjectionName);
// ... and then the units: "Degrees" -> Degrees, "Meters" -> Meters, anything
// else -> Feet.
CoordItem reselectUnitsItem(const QString& CoordUnits);
