#include "skin/format/skin_content.h"

#include <charconv>
#include <cstdio>
#include <utility>

namespace zonvex::skin {

namespace {

constexpr char kFirstLine[] = "zonvex-skin 1";
constexpr int kMaxPictureSide = 512;

// Every colour of a skin, with its key.
template <typename Skin>
auto Colors(Skin& s) {
    return std::to_array<std::pair<const char*, decltype(&s.window)>>({
        {"window", &s.window},
        {"text", &s.text},
        {"base", &s.base},
        {"button", &s.button},
        {"button-text", &s.buttonText},
        {"accent", &s.accent},
        {"link", &s.link},
        {"frame", &s.frame},
    });
}

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<Rgb> ParseColor(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
    if (error != std::errc() || end != text.data() + 7) return std::nullopt;
    return Rgb{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::vector<unsigned char> Serialize(const SkinContent& skin) {
    std::string text = std::string(kFirstLine) + "\nname " + skin.name + "\n";
    for (const auto& [key, color] : Colors(skin)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", color->r, color->g, color->b);
        text += std::string(key) + " " + hex + "\n";
    }
    text += "radius " + std::to_string(skin.radius) + "\n";
    text += "picture " + std::to_string(skin.pictureWidth) + " " + std::to_string(skin.pictureHeight) + "\n";
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), skin.picture.begin(), skin.picture.end());
    return bytes;
}

std::optional<SkinContent> Parse(std::span<const unsigned char> bytes) {
    SkinContent skin;
    size_t at = 0;
    auto nextLine = [&]() -> std::optional<std::string> {
        size_t end = at;
        while (end < bytes.size() && bytes[end] != '\n') ++end;
        if (end == bytes.size()) return std::nullopt;
        std::string line(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(end));
        at = end + 1;
        return line;
    };
    if (nextLine() != kFirstLine) return std::nullopt;
    unsigned colorsSeen = 0;  // one bit per colour
    const unsigned allColors = (1u << Colors(skin).size()) - 1;
    bool radiusSeen = false;
    while (auto line = nextLine()) {
        size_t space = line->find(' ');
        if (space == std::string::npos) return std::nullopt;
        const std::string key = line->substr(0, space), value = line->substr(space + 1);
        if (key == "picture") {
            size_t second = value.find(' ');
            if (second == std::string::npos) return std::nullopt;
            auto w = ParseInt(value.substr(0, second)), h = ParseInt(value.substr(second + 1));
            if (!w || !h || *w < 1 || *h < 1 || *w > kMaxPictureSide || *h > kMaxPictureSide) return std::nullopt;
            if (bytes.size() - at != static_cast<size_t>(*w) * static_cast<size_t>(*h) * 4) return std::nullopt;
            if (colorsSeen != allColors || !radiusSeen) return std::nullopt;
            skin.pictureWidth = *w;
            skin.pictureHeight = *h;
            skin.picture.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
            return skin;
        }
        if (key == "name") {
            skin.name = value;
        } else if (key == "radius") {
            auto r = ParseInt(value);
            if (!r || *r < 0 || *r > 12) return std::nullopt;
            skin.radius = *r;
            radiusSeen = true;
        } else {
            const auto colors = Colors(skin);
            for (size_t i = 0; i < colors.size(); ++i) {
                if (key != colors[i].first) continue;
                auto parsed = ParseColor(value);
                if (!parsed) return std::nullopt;
                *colors[i].second = *parsed;
                colorsSeen |= 1u << i;
            }
        }
    }
    return std::nullopt;  // no picture
}

}  // namespace zonvex::skin
