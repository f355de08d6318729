// Value-to-colour ramps of the contour map and its colour scale.
#pragma once

// The plot's colour schemes, as stored in the setting "Color".
namespace colour_scheme {
constexpr int Gray3D = 1;
constexpr int LowColor = 2;
constexpr int HighColor = 3;
} // namespace colour_scheme

// The colour of a value within [bottom, top] on the ramp of a scheme, as a
// colour number (red + green * 256 + blue * 65536).  Values outside the range
// take the colour of the nearer end; an unknown scheme gives black.  A range
// with top equal to bottom has no position: values at or below it take the
// bottom colour and values above it the top colour.
long PicRGB(double value, double bottom, double top, int scheme);
