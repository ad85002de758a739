#pragma once
// What both systems' conversions count as one unconvertible piece of UTF-8, so that they
// put the same number of "?" for it.
#include <cstddef>
#include <string_view>

namespace zonvex::text_detail {

// The bytes one "?" stands for at the start of `rest`: a whole well-formed character, or
// only the first byte of a malformed one.
inline size_t Utf8SequenceLength(std::string_view rest) {
    auto lead = static_cast<unsigned char>(rest[0]);
    size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (size_t i = 1; i < n; ++i)
        if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return 1;
    return n;
}

}  // namespace zonvex::text_detail
