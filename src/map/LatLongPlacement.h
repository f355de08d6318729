// Whether a longitude/latitude typed or read can become a point of the map,
// and where it lands.  Every road that turns a position in degrees into a
// point (editing a point's coordinates, importing, registering) asks here, so
// that none of them stores a point where the map cannot hold it.
#pragma once

#include <QString>
#include <optional>

struct Document;

namespace placement {

// A longitude or latitude further than this from where it was meant, once the
// placed point is read back, was folded onto another place by the projection
// (the far hemisphere of an orthographic map, a transverse Mercator point more
// than 90 degrees from its central meridian, a cone beyond its seam).  Well
// above what storing map values as Singles loses near the poles.
inline constexpr double FoldTolerance = 0.1; // degrees of arc

// Why a longitude and a latitude in degrees cannot be a point, or nothing: a
// latitude beyond 90 degrees north or south, a longitude beyond 360 degrees
// east or west.  The text names the value ("Latitude 95 lies beyond ...").
std::optional<QString> rangeRefusal(double lon, double lat);
// The same for one angle, named by `what` ("Central parallel").
std::optional<QString> latitudeRefusal(const QString& what, double lat);
std::optional<QString> longitudeRefusal(const QString& what, double lon);

// Why the map's projection cannot place the longitude and latitude, or
// nothing.  On success X and Y hold the map values, computed exactly as the
// projection procedures give them (the latitude first; Standard Mercator
// converts the latitude alone; linear and cylindrical equidistant maps keep
// both as given).  The projection fails, or the placed point reads back more
// than FoldTolerance away.  Checks no range: ask rangeRefusal first.
std::optional<QString> projectionRefusal(Document& doc, double lon, double lat, float& X, float& Y);

// Both checks in turn: what every degree road asks.
std::optional<QString> placeLatLong(Document& doc, double lon, double lat, float& X, float& Y);

// "Longitude "abc" is not a number" for a typed text that is no number;
// `what` names the value ("Longitude", "Northing", ...).  On success `value`
// holds the number.
std::optional<QString> numberRefusal(const QString& what, const QString& text, double& value);

} // namespace placement
