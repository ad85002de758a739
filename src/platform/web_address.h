#pragma once
// Which link texts the program hands to the system's "open" action.
#include <string_view>

namespace zonvex {

// True for an http or https address (the scheme in any letter case). Only these are
// opened: a page that changes its links must not make the desktop start a local program
// or open a file.
bool IsWebAddress(std::string_view target);

}  // namespace zonvex
