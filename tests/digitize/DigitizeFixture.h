// The names the exchange tests know the digitizing window by; the window
// itself is tests/common/DigitizeSupport.h.
#pragma once

#include "common/DigitizeSupport.h"

namespace digitize_fixture {
using testsupport::registerLinear;
inline void record(MainWindow& w, double x, double y, const QString& typed) { testsupport::recordAt(w, x, y, typed); }
} // namespace digitize_fixture
