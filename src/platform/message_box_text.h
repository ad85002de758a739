#pragma once
// What a message box shows of a text. A box grows with its text: a few megabytes of
// announcement from a page would take the window system over a minute to lay out, and the
// box would stand far beyond the screen with its button out of reach. Every window system
// shows this instead; the program itself keeps working with the whole text.
#include <cstddef>

#include "text/text.h"

namespace zonvex {

// About a thousand Chinese characters in thirty lines: as much as a box on a small screen
// shows.
inline constexpr size_t kMessageBoxMaxBytes = 2000;
inline constexpr size_t kMessageBoxMaxLines = 30;

// The text itself when it fits; otherwise its beginning up to the bounds, cut between two
// characters and marked with "……".
Text ShortenedForMessageBox(const Text& text);

}  // namespace zonvex
