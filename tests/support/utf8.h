#pragma once
// Test sources are compiled to GBK literals; host-side data (file names, pages) is UTF-8.
#include <string>
#include <string_view>

namespace zonvex::testing {

inline std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

}  // namespace zonvex::testing
