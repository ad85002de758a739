#pragma once
// The skin file format: a 15-byte header, then a raw LZMA stream.
//   0..3   ".SHE"
//   4..5   0x00 0x03
//   6..9   size of the unpacked content, 32-bit little-endian
//   10..14 LZMA properties: 0x5D (lc 3, lp 0, pb 2), dictionary size 8 MiB, little-endian
//   15..   the LZMA stream
// Used by the tool that packs the built-in skins and by the skin library that unpacks them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zonvex::skin {

inline constexpr size_t kHeaderSize = 15;
inline constexpr unsigned char kMagic[] = {'.', 'S', 'H', 'E', 0x00, 0x03};
// lc 3, lp 0, pb 2 and an 8 MiB dictionary, as the properties are written in a stream header.
inline constexpr unsigned char kProperties[] = {0x5D, 0x00, 0x00, 0x80, 0x00};
inline constexpr uint32_t kDictionarySize = 8u << 20;
// No skin unpacks to more; a header that says otherwise is damaged.
inline constexpr size_t kMaxUnpackedSize = 64u << 20;

// The whole skin file for the content. Deterministic: the same content gives the same bytes.
// Only on the build machine (zonvex_skin_pack).
std::vector<unsigned char> Pack(std::span<const unsigned char> content);

// The content of a skin file; nothing when the header is wrong, the stream is damaged or
// it does not unpack to exactly the size the header gives.
std::optional<std::vector<unsigned char>> Unpack(std::span<const unsigned char> file);

inline void PutLittleEndian32(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline uint32_t GetLittleEndian32(const unsigned char* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
}

}  // namespace zonvex::skin
