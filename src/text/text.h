#pragma once
// Text: a byte string in the Chinese Windows code page (GBK). Lengths and positions are
// bytes; positions handed out by these operations count from 1, as the program's own
// texts do. Conversion to and from other encodings happens only at the edges.
#include <string>
#include <string_view>

namespace zonvex {

using Text = std::string;

// A byte of 0x80 or above starts a double-byte character.
constexpr bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// 1-based position of the first occurrence of needle that begins at a character start,
// or -1. A match may not begin on the second byte of a double-byte character, and the
// scan ends at a lead byte that is the haystack's last byte. An empty needle is found at
// 1 in any non-empty haystack.
long FindAtCharStart(std::string_view haystack, std::string_view needle);

// The bytes from 1-based start, at most count of them; empty when start is outside the
// text or count is not positive.
Text Middle(std::string_view text, long start, long count);
// The first count bytes, at most the whole text; empty when count is not positive.
Text Left(std::string_view text, long count);

// Comparison that folds only the ASCII letters A to Z.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Every occurrence of needle removed, scanning from the first byte, letters compared
// without regard to ASCII case, double-byte characters stepped over whole.
Text RemoveAllIgnoringAsciiCase(std::string_view text, std::string_view needle);

// The bytes up to (not including) the first zero byte.
Text UpToFirstZero(std::string_view bytes);
// The same, cutting the bytes in place.
Text UpToFirstZero(Text&& bytes);

// UTF-8 bytes to GB18030 (GBK for every GBK character). Input that is not valid UTF-8
// gives the empty text: there is no partial result.
Text Utf8ToGb18030(std::string_view utf8);
// GBK text to UTF-8 for the host and Qt; a byte sequence that is not GBK becomes "?".
std::string GbkToUtf8(std::string_view text);
// UTF-8 to GBK; a character that GBK cannot hold (or a malformed sequence) becomes "?",
// as the Windows ANSI interfaces report it.
Text Utf8ToGbk(std::string_view utf8);

}  // namespace zonvex
