#pragma once
// The windows' skin: the skin library is written beside the program on its first start,
// loaded once, and handed a built-in skin each time StartWindow is created.
#include <span>

#include "program/program.h"

namespace zonvex {

inline constexpr int kBuiltInSkinCount = 33;
// The skin every StartWindow attaches.
inline constexpr int kStartWindowSkin = 8;

// The skin library's file, as the build made it.
std::span<const unsigned char> SkinLibraryImage();
// A built-in skin's whole file, numbered from 1; empty for any other number.
std::span<const unsigned char> BuiltInSkin(int number);

// Writes the library into the program's folder unless something of its name is there
// already, and gives the path to load it from: that file, or a private copy when the
// program's folder holds no file of that name (it could not be written, or a folder of
// that name stands there).
Text EnsureSkinLibrary(Program& p);

// Hands a fresh copy of the built-in skin to the library; a library that cannot be loaded
// or lacks its entry point is fatal.
void AttachSkin(Program& p, int number);

}  // namespace zonvex
