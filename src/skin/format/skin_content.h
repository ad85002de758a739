#pragma once
// What a skin holds once unpacked: its colours, the corner radius of its controls and a
// picture tiled behind every window. Written as text lines "key value", then the line
// "picture WIDTH HEIGHT" followed by the picture's RGBA bytes, row by row.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zonvex::skin {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct SkinContent {
    std::string name;  // UTF-8
    Rgb window, text, base, button, buttonText, accent, link, frame;
    int radius = 0;  // pixels, 0 to 12
    int pictureWidth = 0, pictureHeight = 0;
    std::vector<unsigned char> picture;  // RGBA
    bool operator==(const SkinContent&) const = default;
};

std::vector<unsigned char> Serialize(const SkinContent& skin);
// Nothing when a colour, the radius or the picture is missing or malformed.
std::optional<SkinContent> Parse(std::span<const unsigned char> bytes);

// "#rrggbb"
std::optional<Rgb> ParseColor(const std::string& text);

}  // namespace zonvex::skin
