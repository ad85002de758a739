#include "skin/format/color_shift.h"

#include <cmath>

namespace zonvex::skin {

namespace {

double HueToChannel(double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 1.0 / 2) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

}  // namespace

Rgb ColorShift::operator()(Rgb color) const {
    if (none()) return color;
    const double r = color.r / 255.0, g = color.g / 255.0, b = color.b / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    double h = 0, s = 0, l = (high + low) / 2;
    const bool grey = high == low;
    if (!grey) {
        const double d = high - low;
        s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
        h = high == r ? (g - b) / d + (g < b ? 6 : 0) : high == g ? (b - r) / d + 2 : (r - g) / d + 4;
        h /= 6;
        h = std::fmod(h + hue / 360.0 + 1, 1.0);
    }
    s = std::clamp(s + saturation / 100.0, 0.0, 1.0);
    l = std::clamp(l + brightness / 100.0, 0.0, 1.0);
    if (grey || s == 0) return {ToByte(l), ToByte(l), ToByte(l)};
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
    return {ToByte(HueToChannel(p, q, h + 1.0 / 3)), ToByte(HueToChannel(p, q, h)), ToByte(HueToChannel(p, q, h - 1.0 / 3))};
}

}  // namespace zonvex::skin
