#pragma once
// The three windows as data: title, place and every control.
#include <span>

#include "platform/window_system.h"

namespace zonvex {

std::span<const WindowLayout> Layouts();
const WindowLayout& LayoutOf(Window window);

// The page that lets a player join the maker's chat group.
inline constexpr std::string_view kGroupJoinPage = "https://qun.chat.example/join?group=615204873";

}  // namespace zonvex
