#include "contour/ColourRamps.h"

#include <algorithm>
#include <cmath>

namespace {

long rgb(long r, long g, long b) {
    // Components reach 256 at the segment ends; the colour number holds 255.
    r = std::min(r, 255L);
    g = std::min(g, 255L);
    b = std::min(b, 255L);
    return r + g * 256 + b * 65536;
}

// Ramp position: floor((value - bottom) * steps / (top - bottom)), clamped.
long position(double value, double bottom, double top, long steps, long lo, long hi) {
    double q;
    if (top == bottom) q = value > bottom ? double(hi) : double(lo);
    else q = std::floor((value - bottom) * double(steps) / (top - bottom));
    if (!(q >= double(lo))) return lo; // also a NaN value
    if (q > double(hi)) return hi;
    return long(q);
}

} // namespace

long PicRGB(double value, double bottom, double top, int scheme) {
    using namespace colour_scheme;
    switch (scheme) {
    case Gray3D: {
        const long k = position(value, bottom, top, 200, 0, 200) + 55;
        return rgb(k, k, k);
    }
    case LowColor: {
        const long q = position(value, bottom, top, 512, 0, 512);
        if (q <= 256) return rgb(0, q, 256 - q);
        return rgb(q - 256, 512 - q, 0);
    }
    case HighColor: {
        const long q = position(value, bottom, top, 1472, 0, 1472);
        if (q <= 192) return rgb(0, 0, q + 64);
        if (q <= 448) return rgb(0, q - 192, 256);
        if (q <= 704) return rgb(0, 256, 704 - q);
        if (q <= 960) return rgb(q - 704, 256, 0);
        if (q <= 1216) return rgb(256, 1216 - q, 0);
        return rgb(256, 0, q - 1216);
    }
    default:
        return 0;
    }
}
