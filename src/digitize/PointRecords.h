// Appending, deleting and renumbering point records.  Pure functions over an
// array used from index 1 with its count beside it; the commands move the
// markers and rewrite the tool tips of the records these functions report.
#pragma once

#include "document/Document.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace points {

// Raises the count by one (a count past 32767 is an "Overflow" and changes
// nothing), sizes the array to 0..count and returns the new record, which
// starts with every field 0 or false even where a deletion left an old record
// beyond the count.
DataPoint& AppendPoint(std::vector<DataPoint>& records, int& count);

// Removes record n (1..count) and moves every later record, all of its fields
// together, down one place; the array shrinks with the count.  An index
// outside 1..count is "Subscript out of range" and changes nothing.
void DeletePoint(std::vector<DataPoint>& records, int& count, int n);

// The key of the point a pop-up menu acts on: "D7" names datum point 7, any
// other first letter a contour point ("C12").
struct PointKey {
    bool datum = false;
    int index = 0;
};
// Reads a key as the menu commands do: the first character, then the rest
// rounded to a whole number.  An index beyond 16 bits is an "Overflow".
PointKey ParsePointKey(const QString& key);
QString PointKeyText(bool datum, int index);

// The number a typed value gives a point within its contact: the value
// limited to 1..datCount first, then rounded, so that no typed number can
// overflow.
int16_t ClampPointNumber(double typed, int datCount);

// Gives datum point n the number `newNumber` within its contact (the records
// whose Z equals its Z exactly) and makes room for it: from that number up to
// the contact's largest, the first other point holding each number, taken in
// index order, is numbered on consecutively after it.  Returns the indexes
// whose Number was written, n first.  A number past 32767 is an "Overflow".
std::vector<int> RenumberPoint(std::vector<DataPoint>& records, int datCount, int n, int16_t newNumber);

} // namespace points
