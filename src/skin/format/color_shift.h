#pragma once
// The hue, saturation and brightness shift a skin library applies to every colour of a
// skin: hue in degrees around the colour wheel, saturation and brightness (HSL lightness)
// in percent of their whole range. Grey stays grey under a hue shift.
#include <algorithm>

#include "skin/format/skin_content.h"

namespace zonvex::skin {

struct ColorShift {
    int hue = 0, saturation = 0, brightness = 0;

    // The shift a caller asks for, held to its range: hue -180 to 180, the others -100 to 100.
    static ColorShift Clamped(int hue, int saturation, int brightness) {
        return {std::clamp(hue, -180, 180), std::clamp(saturation, -100, 100), std::clamp(brightness, -100, 100)};
    }
    bool none() const { return hue == 0 && saturation == 0 && brightness == 0; }
    Rgb operator()(Rgb color) const;
};

}  // namespace zonvex::skin
