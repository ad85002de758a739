// Makes the built-in skin files from their definitions:
//   zonvex_pack_skins DEFINITIONS OUTPUT_FOLDER
// Each definition line is
//   NUMBER NAME window text base button button-text accent link frame RADIUS PATTERN
// and becomes OUTPUT_FOLDER/skin-NN.she. The picture behind the windows is drawn here from
// the pattern, in the window colour shaded towards the text colour. Deterministic: the same
// definitions always give the same files.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "skin/format/she_format.h"
#include "skin/format/skin_content.h"

using namespace zonvex::skin;

namespace {

constexpr int kTile = 48;

Rgb Mix(Rgb from, Rgb to, int percent) {
    auto channel = [percent](int a, int b) { return static_cast<uint8_t>(a + (b - a) * percent / 100); };
    return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

// How far (percent) the pixel at x, y leans towards the text colour.
int Shade(const std::string& pattern, int x, int y, bool& known) {
    known = true;
    if (pattern == "plain") return 0;
    if (pattern == "stripes") return y % 6 < 2 ? 5 : 0;
    if (pattern == "diagonal") return (x + y) % 12 < 2 ? 5 : 0;
    if (pattern == "cross") return ((x + y) % 16 == 0 || (x - y + 48) % 16 == 0) ? 6 : 0;
    if (pattern == "dots") return (x % 8 < 2 && y % 8 < 2) ? 7 : 0;
    if (pattern == "grid") return (x % 12 == 0 || y % 12 == 0) ? 5 : 0;
    if (pattern == "checker") return ((x / 12) + (y / 12)) % 2 ? 4 : 0;
    if (pattern == "waves") {
        int crest = x % 24 < 12 ? x % 24 : 24 - x % 24;  // a triangle wave, 0 to 12
        return (y + crest / 2) % 12 < 2 ? 5 : 0;
    }
    if (pattern == "grain") {
        unsigned h = (static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u) * 2654435761u;
        return static_cast<int>((h >> 24) % 5);
    }
    known = false;
    return 0;
}

bool MakeSkin(const std::string& line, int& number, SkinContent& skin) {
    std::istringstream in(line);
    std::string colors[8], pattern;
    in >> number >> skin.name;
    for (std::string& c : colors) in >> c;
    in >> skin.radius >> pattern;
    if (!in) return false;
    Rgb* targets[] = {&skin.window, &skin.text, &skin.base, &skin.button,
                      &skin.buttonText, &skin.accent, &skin.link, &skin.frame};
    for (int i = 0; i < 8; ++i) {
        auto rgb = ParseColor(colors[i]);
        if (!rgb) return false;
        *targets[i] = *rgb;
    }
    skin.pictureWidth = skin.pictureHeight = kTile;
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            bool known = false;
            Rgb p = Mix(skin.window, skin.text, Shade(pattern, x, y, known));
            if (!known) return false;
            skin.picture.insert(skin.picture.end(), {p.r, p.g, p.b, 255});
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEFINITIONS OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::ifstream definitions(argv[1]);
    if (!definitions) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::string line;
    int lineNumber = 0, made = 0;
    while (std::getline(definitions, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        int number = 0;
        SkinContent skin;
        if (!MakeSkin(line, number, skin) || number < 1 || number > 99) {
            std::fprintf(stderr, "%s:%d: not a skin definition\n", argv[1], lineNumber);
            return 1;
        }
        std::vector<unsigned char> file = Pack(Serialize(skin));
        char name[32];
        std::snprintf(name, sizeof name, "/skin-%02d.she", number);
        std::ofstream out(std::string(argv[2]) + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        if (file.empty() || !out) {
            std::fprintf(stderr, "cannot write skin %d\n", number);
            return 1;
        }
        ++made;
    }
    std::printf("made %d skins\n", made);
    return 0;
}
