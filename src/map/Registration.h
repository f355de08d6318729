// Two-point registration arithmetic: which projection parameters a
// coordinate system asks for, the texts of the registration prompts, and the
// fit of the map's spans and origins through the two reference points.  No
// widgets: the map view gathers the clicks and the typed values and calls
// these.
#pragma once

#include "map/Projections.h"

#include <QString>

struct Document;

// The scale of the Mercators' projected coordinates: degrees of arc, the
// unit of Standard Mercator's map X (the longitude as typed).
inline constexpr float MercatorDegreeScale = float(180.0 / LegacyPi);

// The input boxes of one registration click.
struct RegistrationPrompt {
    QString prompt;
    QString title;
};

// The X (longitude or Easting) and Y (latitude or Northing) prompts of
// reference point 1 or 2; `degrees` is the tick of the Degrees item.
RegistrationPrompt registrationXPrompt(int point, bool degrees);
RegistrationPrompt registrationYPrompt(int point, bool degrees);

// Whether the coordinate system asks for a central meridian (every
// projection with a transform except Standard Mercator) and a central
// parallel (those, except Transverse Mercator).
bool asksCentralMeridian(const QString& ProjectionName);
bool asksCentralParallel(const QString& ProjectionName);

// The suggested answers: X1 + |X2 - X1| / 2 and Y2 + |Y1 - Y2| / 2, with one
// decimal.
QString centralMeridianDefault(const Document& doc);
QString centralParallelDefault(const Document& doc);

// Why two reference points cannot be fitted: point 2 was clicked right of
// (`secondAfter`, `across`), left of, below or above point 1, but its map
// values do not lie that way.
QString orderRefusal(const QString& ProjectionName, bool secondAfter, bool across);

// Computes the registration from the two clicks (RefPixel*, twips on the map
// picture of width W and height H), the typed reference values (RefMap*) and
// the projection parameters: the scale factors, the projected reference
// values (which replace the typed ones), the spans and the origins.  The
// scales are picture units per typed unit, except that both Mercators have
// map units of one size across and down: their projected coordinates are in
// degrees (MercatorDegreeScale).  Returns false, with ProjectionFailed set
// and nothing after the failing call changed, when a projection fails.
// Throws legacy::Error when its own arithmetic fails (equal clicks or equal
// typed values along an axis, a span of 0, a cone on the equator), when a
// reference point is no place the map holds (placement::placeLatLong), and
// when the points' map values lie in the other order than their clicks
// across or down (orderRefusal); the reference values, spans and origins
// then stay as they were.
bool MapRegisterProjection(Document& doc, double W, double H);

// The factors by which map X and map Y of a document were multiplied.
struct MapUnitFactors {
    double x = 1.0;
    double y = 1.0;
};

// Projects saved before the Mercators had map units of one size across and
// down hold scales computed from the registration clicks (Transverse
// Mercator's map X per radian of longitude, its map Y per degree of
// latitude; Standard Mercator's map Y per radian of latitude).  A present
// registration sets the Mercators' scales to MercatorDegreeScale exactly,
// which the clicks never give; any other scale is an earlier one.  Brings
// such a registration's scales, reference values, spans and origins to the
// present units.  The points, read afterwards as latitude/longitude, follow
// by themselves; positions held in map units (the labels) are to be
// multiplied by the factors returned.  Any other document is left as it is.
MapUnitFactors adoptPresentMercatorUnits(Document& doc);

// The typed longitude/latitude (or Easting/Northing) of a reference point
// whose values a registration has already projected, or of any map values:
// the inverse of the current projection.  False when the inverse fails.
bool unprojectReference(Document& doc, float mapX, float mapY, float& typedX, float& typedY);
