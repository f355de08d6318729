// The keep tests of the point filters: which points of a set stay when the
// points beyond a typed limit, or the points of one contact set, are removed.
// No widgets here; the commands apply the result to the document and markers.
#pragma once

#include "document/Document.h"

#include <QString>
#include <vector>

namespace removal {

// What a filter compares.
enum class Quantity {
    Longitude,   // the stored X, or the inverse-projected longitude in degrees
    Latitude,    // the stored Y, or the inverse-projected latitude in degrees
    Z,           // the stored Z
    ContactText, // the stored Z in its general text form (contact designators)
};

// When a point goes.
enum class Removed {
    Greater,     // its quantity is greater than the limit
    Less,        // its quantity is less than the limit
    TextEquals,  // its designator text equals the answer
    TextDiffers, // its designator text differs from the answer
};

struct FilterRule {
    Quantity quantity = Quantity::Z;
    Removed removed = Removed::Greater;
};

// The longitude or latitude of a point under the document's projection.
// Under the linear and cylindrical systems (and any name the program does not
// know) the stored coordinate; under Standard Mercator the stored X and the
// inverse Mercator latitude; under the other projections the inverse
// projection in degrees.  A failing projection gives 0 (ProjectionFailed is
// set and not looked at).  The stored coordinates are never changed.
float pointQuantity(Document& doc, const DataPoint& p, Quantity q);

// Whether a point stays: with Greater it stays when quantity <= limit, with
// Less when quantity >= limit (a point on the limit stays under both).
bool keepByLimit(float quantity, float limit, Removed removed);

// Whether a contact datum point stays: its Z as general text compared with
// the answer exactly as typed, character for character.
bool keepByContact(float z, const QString& answer, Removed removed);

// The indexes (1-based, in order) of the points 1..count of `points` that
// stay under the filter and the typed answer.  The limit of the numeric
// filters is NumVal of the answer; the contact filters compare the text.
std::vector<int> keptIndexes(Document& doc, const std::vector<DataPoint>& points, int count, const FilterRule& f,
                             const QString& answer);

} // namespace removal
