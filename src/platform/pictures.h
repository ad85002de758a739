#pragma once
// The program's own pictures, one source for every window system: drawn as SVG in
// data/pictures/, rendered at build time and carried as RGBA rows (alpha not premultiplied).
#include <span>

namespace zonvex {

struct Picture {
    int width = 0, height = 0;
    std::span<const unsigned char> rgba;
};

// The custom 32 x 32 colour mouse pointer; its hot spot is at this pixel.
inline constexpr int kPointerHotSpotX = 1, kPointerHotSpotY = 1;
Picture PointerPicture();
// The 90 x 22 picture of the button that opens the chat group's join page.
Picture GroupJoinPicture();

}  // namespace zonvex
