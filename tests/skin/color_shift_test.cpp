// The hue, saturation and brightness shift both skin libraries apply to a skin's colours.
#include <gtest/gtest.h>

#include "skin/format/color_shift.h"

namespace zonvex::skin {
namespace {

TEST(ColorShiftTest, ShiftsHueSaturationAndBrightness) {
    struct Case {
        Rgb in;
        ColorShift shift;
        Rgb out;
    } cases[] = {
        {{18, 52, 86}, {}, {18, 52, 86}},                       // no shift: the very colour
        {{255, 0, 0}, {120, 0, 0}, {0, 255, 0}},                // a third of the wheel
        {{255, 0, 0}, {-120, 0, 0}, {0, 0, 255}},               // backwards
        {{255, 0, 0}, {360, 0, 0}, {255, 0, 0}},                // all the way round
        {{128, 128, 128}, {90, 0, 0}, {128, 128, 128}},         // grey has no hue to turn
        {{128, 128, 128}, {0, 50, 0}, {128, 128, 128}},         // nor a colour to saturate
        {{255, 0, 0}, {0, -100, 0}, {128, 128, 128}},           // all saturation gone
        {{0, 0, 255}, {0, 0, 100}, {255, 255, 255}},            // brightest
        {{0, 0, 255}, {0, 0, -100}, {0, 0, 0}},                 // darkest
        {{255, 0, 0}, {0, 0, -25}, {128, 0, 0}},                // a quarter darker
    };
    for (const Case& c : cases) {
        const Rgb out = c.shift(c.in);
        EXPECT_EQ(out, c.out) << int(c.in.r) << "," << int(c.in.g) << "," << int(c.in.b) << " by " << c.shift.hue
                              << "/" << c.shift.saturation << "/" << c.shift.brightness << " gave " << int(out.r)
                              << "," << int(out.g) << "," << int(out.b);
    }
}

TEST(ColorShiftTest, AskedShiftsAreHeldToTheirRange) {
    const ColorShift s = ColorShift::Clamped(1000, -1000, 250);
    EXPECT_EQ(s.hue, 180);
    EXPECT_EQ(s.saturation, -100);
    EXPECT_EQ(s.brightness, 100);
    EXPECT_EQ(ColorShift::Clamped(-500, 0, 0).hue, -180);
}

}  // namespace
}  // namespace zonvex::skin
