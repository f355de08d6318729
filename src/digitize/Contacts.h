// Point numbers within rock-unit contacts, the list of contacts present among
// the datum points, and the ordering of the datum points by contact and
// number.  Pure functions over the point records; the main window's commands
// apply their results to the controls.
#pragma once

#include "document/Document.h"

#include <cstdint>
#include <vector>

namespace contacts {

// The next point number of contact `z`: one more than the largest Number
// among records 1..datCount-1 whose Z equals z exactly (record datCount is
// the one just appended and is not looked at); 1 for a contact with no
// earlier point.  Gaps are not reused.
int32_t MapDatNum(const std::vector<DataPoint>& points, int datCount, float z);

// The contact designators present among records 1..datCount, ascending: every
// whole number k from 0 up for which some record has Z exactly k.  Negative
// and fractional designators are not listed.  Throws legacy::Error
// ("Overflow") when the largest designator rounds to 32767 or more, because
// the list's numbers are 16-bit.  O(n log n).
std::vector<int16_t> ContactDesignators(const std::vector<DataPoint>& points, int datCount);

// Reorders records 1..datCount: for each designator of `contactList` in its
// order, the records of that contact by ascending Number (equal numbers keep
// their array order), renumbered 1, 2, 3...  Records whose designator is not
// in the list keep every field and follow, in their array order.  X, Y, Z
// and Combined travel with their record.  `contactList` must be ascending.
void OrderPoints(std::vector<DataPoint>& points, int datCount, const std::vector<int16_t>& contactList);

} // namespace contacts
