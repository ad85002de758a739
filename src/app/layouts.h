#pragma once
// The three windows as data: title, place and every control.
#include <span>

#include "platform/window_system.h"

namespace zonvex {

std::span<const WindowLayout> Layouts();
const WindowLayout& LayoutOf(Window window);

}  // namespace zonvex
