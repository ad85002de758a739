#pragma once
// The skin file format: a 15-byte header, then a raw LZMA stream.
//   0..3   ".SHE"
//   4..5   0x00 0x03
//   6..9   size of the unpacked content, 32-bit little-endian
//   10..14 LZMA properties: 0x5D (lc 3, lp 0, pb 2), dictionary size 8 MiB, little-endian
//   15..   the LZMA stream
// Used by the tool that packs the built-in skins and by the skin library that unpacks them.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zonvex::skin {

inline constexpr size_t kHeaderSize = 15;
// No skin unpacks to more (the built-in ones hold about 9 KB); a header that says otherwise
// is damaged.
inline constexpr size_t kMaxUnpackedSize = 4u << 20;

// The whole skin file for the content. Deterministic: the same content gives the same bytes.
std::vector<unsigned char> Pack(std::span<const unsigned char> content);

// The content of a skin file; nothing when the header is wrong, the stream is damaged or
// it does not unpack to exactly the size the header gives.
std::optional<std::vector<unsigned char>> Unpack(std::span<const unsigned char> file);

}  // namespace zonvex::skin
