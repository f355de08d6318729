// Spherical map projections, the cone constants of the conic ones, and the
// linear transform between positions on the map picture and map values.
//
// Every projection works on a unit sphere with one scale factor per axis
// (ProjScaleX, ProjScaleY); the registration carries the map's size and
// offset.  Angles are degrees at the interface and radians inside.  One call
// yields one coordinate.  A call never throws: any arithmetic failure inside
// it gives 0 and sets Document::ProjectionFailed, which every call first
// clears.  Results are Singles; the working values are doubles.
#pragma once

#include <QString>
#include <optional>

struct Document;

// The pi every angle conversion and projection uses.  It is a little short of
// the true value; saved projects were computed with it.
inline constexpr double LegacyPi = 3.14159265358979;

// The texts ProjectionName holds.  They are compared character for character.
namespace projection_names {
inline const QString Linear = QStringLiteral("Linear Coordinates");
inline const QString CylindricalEquidistant = QStringLiteral("Cylindrical Equidistant");
inline const QString StandardMercator = QStringLiteral("Standard Mercator");
inline const QString TransverseMercator = QStringLiteral("Transverse Mercator");
inline const QString Orthographic = QStringLiteral("Orthographic Azimuthal");
inline const QString LambertAzimuthal = QStringLiteral("Lambert Equal Area Azimuthal");
inline const QString AlbersEqualArea = QStringLiteral("Albers Equal Area Conic");
inline const QString LambertConformal = QStringLiteral("Lambert Conformal Conic");
} // namespace projection_names

// Value * pi / 180 when ToRadians, otherwise Value * 180 / pi (the product is
// formed first).  No failure handling of its own.
double DegRad(double Value, bool ToRadians);

// Standard Mercator, latitude only.  Forward: latitude in degrees -> map y;
// inverse: map y -> latitude in degrees.  Latitudes of 90 and above are taken
// as 89.99999.
float ProjectMercator(Document& doc, double Value, bool Forward);

// The five two-coordinate projections.  Forward: A = longitude, B = latitude
// (degrees) -> map x (WantX) or map y.  Inverse: A = map x, B = map y ->
// longitude in degrees (WantX) or latitude in degrees.
float ProjectTransverseMercator(Document& doc, double A, double B, bool Forward, bool WantX);
float ProjectOrthographic(Document& doc, double A, double B, bool Forward, bool WantX);
float ProjectLambertAzimuthal(Document& doc, double A, double B, bool Forward, bool WantX);
float ProjectAlbersEqualArea(Document& doc, double A, double B, bool Forward, bool WantX);
float ProjectLambertConformal(Document& doc, double A, double B, bool Forward, bool WantX);

// One coordinate of the current ProjectionName's transform, as the procedure
// above computes it but left a double (no rounding to a Single) and without
// touching ProjectionFailed: nothing where the procedure fails.  Strict about
// the globe: where an inverse would pull an arcsine's argument beyond 1 back
// to the rim (a map value outside every place), it fails instead.  Standard
// Mercator's x and the linear systems' values pass through as given.
std::optional<double> projectUnrounded(const Document& doc, double A, double B, bool Forward, bool WantX);

// Sets ConeN, AlbersC and Rho0 (Albers) or ConeN, ConeF and Rho0 (Lambert
// conformal) from Lat1, Lat2 and CentralParallel, in that order; nothing for
// any other ProjectionName.  Unlike the projections it reports an arithmetic
// failure by throwing legacy::Error (a cone registered on the equator has
// n = 0 and fails here); the values assigned before the failure stay.
void ComputeConeConstants(Document& doc);

// Pixel <-> map transform of a registered map.  x, y are positions in twips
// on the map picture, whose current width and height are W and H, so the
// transform follows the zoom.  Map X grows to the right, map Y upward.
// Throws legacy::Error on a division by zero (W, H, MapSpanX or MapSpanY 0)
// or a result beyond a Single.
float PixelToMapX(const Document& doc, double x, double W);
float PixelToMapY(const Document& doc, double y, double H);
float MapToPixelX(const Document& doc, double mapX, double W);
float MapToPixelY(const Document& doc, double mapY, double H);

// The procedure of a projection that takes both coordinates in one call
// (Transverse Mercator, the azimuthals and the conics), or nullptr for the
// others.
using TwoCoordProjection = float (*)(Document&, double, double, bool, bool);
TwoCoordProjection twoCoordProjection(const QString& projectionName);
