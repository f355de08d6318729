// Temporary stand-in for the digit-pattern Format until the full number-text
// helpers are in this branch: handles "0", "0.0", "0.00" and the like only.
#include "document/Legacy.h"

#include <cmath>

namespace legacy {

QString Format(double value, const QString& pattern) {
    const auto dot = pattern.indexOf(u'.');
    const int decimals = dot < 0 ? 0 : int(pattern.size() - dot - 1);
    const double scale = std::pow(10.0, decimals);
    return QString::number(std::round(value * scale) / scale, 'f', decimals);
}

} // namespace legacy
