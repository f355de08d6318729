// Internals shared by the legacy number and text rules; not for use outside
// the Legacy*.cpp files.
#pragma once

#include <QStringView>

namespace legacy::detail {

// The value of the longest leading part of `text` that converts to a number
// whose magnitude is at most `limit` (decimal with optional sign, point and
// exponent, or "&H" hex as a signed 32-bit value, blanks allowed around);
// 0 when no leading part converts.  Scans the text once.
double leadingValue(QStringView text, double limit);

// The lenient reading of a whole item: "" and "False" give 0, "True" 1,
// otherwise leadingValue().
double lenientValue(QStringView text, double limit);

} // namespace legacy::detail
