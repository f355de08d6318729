// Latitude and longitude as display text, the display format codes of the
// View menu's "&Degree Format" submenu, and that submenu's click logic.
#pragma once

#include <QString>

struct Document;

// The display codes LatLongFormat holds.  Any other code shows four decimals.
namespace latlong_codes {
inline const QString DegMin = QStringLiteral("0");
inline const QString DegMinSec = QStringLiteral("0s");
inline const QString Decimal1 = QStringLiteral("1");
inline const QString Decimal2 = QStringLiteral("2");
inline const QString Decimal3 = QStringLiteral("3");
inline const QString Decimal4 = QStringLiteral("4");
} // namespace latlong_codes

// One angle in degrees as text under doc.LatLongFormat ("45° 30.00' N",
// "45° 30' 0'' N", "45.5° N" ...).  IsLong selects a longitude (E/W) rather
// than a latitude (N/S); Longitude360 is the tick of "&360 Degree Longitude",
// which shows longitudes from 0 to 360 east.  Clears doc.ProjectionFailed
// first; on an arithmetic failure (whole degrees beyond a 16-bit Integer,
// a value beyond a Single) the result is "0" and the flag is set.
QString FormatLatLong(Document& doc, double Value, bool IsLong, bool Longitude360);

// The six format items of the submenu, in menu order of their handlers.
enum class DegreeFormatItem { DegMin, DegMinSec, Decimal1, Decimal2, Decimal3, Decimal4 };

// Tick state of the "&Degree Format" submenu.  The 360 switch is ticked at
// start-up and is not saved.
struct DegreeFormatMenuState {
    bool mnuViewLatLong360 = true;
    bool mnuViewLatLongDegMin = false;
    bool mnuViewLatLongDegMinSec = false;
    bool mnuViewLatLongDecimal1 = false;
    bool mnuViewLatLongDecimal2 = false;
    bool mnuViewLatLongDecimal3 = false;
    bool mnuViewLatLongDecimal4 = false;
};

// The code a format item sets.
QString latLongFormatCode(DegreeFormatItem item);
// The item ticked for a code at start-up: "0", "0s", "1" to "3" their own
// item, anything else (including "4") the four-decimal item.
DegreeFormatItem degreeFormatItemForCode(const QString& code);
// Ticks exactly the given format item (the 360 switch is left alone).
void tickDegreeFormatItem(DegreeFormatMenuState& menu, DegreeFormatItem item);
// A click on a format item: LatLongFormat := its code, its tick on and the
// other five off.  Nothing is redrawn; the next text formed uses the code.
void applyDegreeFormatClick(DegreeFormatMenuState& menu, QString& LatLongFormat, DegreeFormatItem item);
// A click on "&360 Degree Longitude" inverts its tick.
void applyLongitude360Click(DegreeFormatMenuState& menu);
