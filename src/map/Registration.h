// Two-point registration arithmetic: which projection parameters a
// coordinate system asks for, the texts of the registration prompts, and the
// fit of the map's spans and origins through the two reference points.  No
// widgets: the map view gathers the clicks and the typed values and calls
// these.
#pragma once

#include <QString>

struct Document;

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

// Computes the registration from the two clicks (RefPixel*, twips on the map
// picture of width W and height H), the typed reference values (RefMap*) and
// the projection parameters: the scale factors, the projected reference
// values (which replace the typed ones), the spans and the origins.
// Returns false, with ProjectionFailed set and nothing after the failing
// call changed, when a projection fails.  Throws legacy::Error when its own
// arithmetic fails (equal clicks or equal typed values along an axis, a cone
// on the equator).
bool MapRegisterProjection(Document& doc, double W, double H);

// The typed longitude/latitude (or Easting/Northing) of a reference point
// whose values a registration has already projected: the inverse of the
// current projection.  False when the inverse fails.
bool unprojectReference(Document& doc, float mapX, float mapY, float& typedX, float& typedY);
