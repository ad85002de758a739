#pragma once
// Cutting a value out of a larger text between a start marker and an end marker. Neither
// operation fails: whatever goes wrong, the result is the empty text.
#include "text/text.h"

namespace zonvex {

// The bytes between the first start marker (found at a character start) and the first end
// marker after it. An empty end marker gives everything after the start marker; an empty
// start marker everything before the end marker.
Text ExtractBetween(std::string_view source, std::string_view start, std::string_view end);

// Group 1 of the leftmost match of start + "(.*?)" + end, a Perl regular expression on
// bytes: the markers are pattern text, so a "." in them matches any byte, line breaks too.
Text ExtractByPattern(std::string_view start, std::string_view end, std::string_view source);

}  // namespace zonvex
