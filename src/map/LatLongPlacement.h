// Whether a longitude/latitude typed or read can become a point of the map,
// and where it lands.  Every road that turns a typed or read position into a
// point (editing a point's coordinates, importing, registering) asks
// placeLatLong, so that none of them stores a point where the map cannot
// hold it, and all of them agree on whether the map is in degrees.
#pragma once

#include <QString>
#include <optional>

struct Document;

namespace placement {

// A position further than this from where it was meant, once its unrounded
// map values are read back through the inverse, was folded onto another
// place by the projection (the far hemisphere of an orthographic map, a
// transverse Mercator point more than 90 degrees from its central meridian).
// A position the projection places reads back within a few thousandths of a
// degree, at the poles and the horizon included.
inline constexpr double FoldTolerance = 0.1; // degrees of arc

// Whether the map's values are degrees: its units are "Degrees".  On a map
// in Easting/Northing no rule of degrees applies.
bool mapInDegrees(const Document& doc);

// Why a longitude and a latitude in degrees cannot be a point, or nothing: a
// latitude beyond 90 degrees north or south, a longitude beyond 360 degrees
// east or west.  The text names the value ("Latitude 95 lies beyond ...").
std::optional<QString> rangeRefusal(double lon, double lat);
// The same for one angle, named by `what` ("Central parallel").
std::optional<QString> latitudeRefusal(const QString& what, double lat);
std::optional<QString> longitudeRefusal(const QString& what, double lon);

// Why the map's projection cannot place the longitude and latitude, or
// nothing.  On success X and Y hold the map values, exactly as the
// projection procedures give them (Standard Mercator
// converts the latitude alone; linear and cylindrical equidistant maps keep
// both as given).  The projection fails, or the placed point reads back more
// than FoldTolerance away.  Checks no range.
std::optional<QString> projectionRefusal(const Document& doc, double lon, double lat, float& X, float& Y);

// What every road asks: on a map in degrees the range (rangeRefusal), then
// the projection's placement (projectionRefusal); on a map in Easting and
// Northing the values as given.
std::optional<QString> placeLatLong(const Document& doc, double lon, double lat, float& X, float& Y);

// "Longitude "abc" is not a number" for a typed text that is no number
// (blanks around it, no-break spaces included, are allowed);
// `what` names the value ("Longitude", "Northing", ...).  On success `value`
// holds the number.
std::optional<QString> numberRefusal(const QString& what, const QString& text, double& value);

} // namespace placement
