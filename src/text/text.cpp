#include "text/text.h"

#include <string.h>

namespace zonvex {

namespace {

// The first occurrence of needle at or after `from`, as a byte position. The GNU C
// library's memmem is several times faster than a portable search on long texts.
size_t FindBytes(std::string_view haystack, std::string_view needle, size_t from) {
#ifdef __GLIBC__
    const void* at = memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return at ? static_cast<size_t>(static_cast<const char*>(at) - haystack.data()) : std::string_view::npos;
#else
    return haystack.find(needle, from);
#endif
}

}  // namespace

long FindAtCharStart(std::string_view haystack, std::string_view needle) {
    if (haystack.empty()) return -1;
    if (needle.empty()) return 1;
    // Candidates come from a fast byte search. Whether one stands at a character start is
    // told by the bytes just before it: a byte below 0x80 always ends a character, and from
    // there every byte of 0x80 or above opens a pair. So the candidate starts a character
    // when an even number of such bytes separates it from the last character start known.
    size_t known = 0;  // a character start at or before every candidate still to come
    for (size_t candidate = FindBytes(haystack, needle, 0); candidate != std::string_view::npos;
         candidate = FindBytes(haystack, needle, candidate + 1)) {
        size_t from = candidate;
        while (from > known && IsLeadByte(haystack[from - 1])) --from;
        if ((candidate - from) % 2 != 0) {
            known = candidate + 1;  // the candidate is the second byte of a pair
            continue;
        }
        if (IsLeadByte(haystack[candidate]) && candidate + 1 == haystack.size()) return -1;
        return static_cast<long>(candidate) + 1;
    }
    return -1;
}

Text Middle(std::string_view text, long start, long count) {
    if (start < 1 || start > static_cast<long>(text.size()) || count <= 0) return {};
    return Text(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count)));
}

Text Left(std::string_view text, long count) {
    if (count <= 0) return {};
    return Text(text.substr(0, static_cast<size_t>(count)));
}

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringAsciiCase(std::string_view text, size_t at, std::string_view needle) {
    if (text.size() - at < needle.size()) return false;
    for (size_t i = 0; i < needle.size(); ++i)
        if (FoldAscii(text[at + i]) != FoldAscii(needle[i])) return false;
    return true;
}
}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, 0, b);
}

Text RemoveAllIgnoringAsciiCase(std::string_view text, std::string_view needle) {
    if (needle.empty()) return Text(text);
    Text result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (StartsWithIgnoringAsciiCase(text, i, needle)) {
            i += needle.size();
            continue;
        }
        size_t width = (IsLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
        result.append(text.substr(i, width));
        i += width;
    }
    return result;
}

Text UpToFirstZero(std::string_view bytes) { return Text(bytes.substr(0, bytes.find('\0'))); }

Text UpToFirstZero(Text&& bytes) {
    if (size_t zero = bytes.find('\0'); zero != Text::npos) bytes.resize(zero);
    return std::move(bytes);
}

}  // namespace zonvex
