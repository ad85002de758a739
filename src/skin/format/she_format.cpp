#include "skin/format/she_format.h"

#include <lzma.h>

#include <algorithm>
#include <cstring>

namespace zonvex::skin {

namespace {

constexpr unsigned char kMagic[] = {'.', 'S', 'H', 'E', 0x00, 0x03};
// lc 3, lp 0, pb 2 and an 8 MiB dictionary, as the properties are written in a stream header.
constexpr unsigned char kProperties[] = {0x5D, 0x00, 0x00, 0x80, 0x00};
constexpr uint32_t kDictionarySize = 8u << 20;
// An .lzma ("alone") header is the five property bytes and the 64-bit unpacked size.
constexpr size_t kAloneHeaderSize = 13;

void PutLittleEndian32(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetLittleEndian32(const unsigned char* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
}

// Runs a coder over the input to its end; false on any error or when the output would
// exceed the limit.
bool Run(lzma_stream& s, std::span<const unsigned char> input, std::vector<unsigned char>& out, size_t limit) {
    s.next_in = input.data();
    s.avail_in = input.size();
    unsigned char buffer[1 << 16];
    for (;;) {
        s.next_out = buffer;
        s.avail_out = sizeof buffer;
        lzma_ret r = lzma_code(&s, LZMA_FINISH);
        size_t produced = sizeof buffer - s.avail_out;
        if (out.size() + produced > limit) return false;
        out.insert(out.end(), buffer, buffer + produced);
        if (r == LZMA_STREAM_END) return true;
        if (r != LZMA_OK) return false;
        if (produced == 0 && s.avail_in == 0) return false;  // truncated: no end in sight
    }
}

}  // namespace

std::vector<unsigned char> Pack(std::span<const unsigned char> content) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    options.dict_size = kDictionarySize;
    options.lc = 3;
    options.lp = 0;
    options.pb = 2;
    lzma_stream s = LZMA_STREAM_INIT;
    std::vector<unsigned char> alone;
    bool ok = lzma_alone_encoder(&s, &options) == LZMA_OK && Run(s, content, alone, SIZE_MAX);
    lzma_end(&s);
    if (!ok || alone.size() < kAloneHeaderSize) return {};

    std::vector<unsigned char> file(kHeaderSize);
    std::memcpy(file.data(), kMagic, sizeof kMagic);
    PutLittleEndian32(file.data() + 6, static_cast<uint32_t>(content.size()));
    std::memcpy(file.data() + 10, alone.data(), 5);  // the same property bytes the encoder wrote
    file.insert(file.end(), alone.begin() + kAloneHeaderSize, alone.end());
    return file;
}

std::optional<std::vector<unsigned char>> Unpack(std::span<const unsigned char> file) {
    if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0 ||
        std::memcmp(file.data() + 10, kProperties, sizeof kProperties) != 0)
        return std::nullopt;
    const size_t size = GetLittleEndian32(file.data() + 6);
    if (size > kMaxUnpackedSize) return std::nullopt;

    // The stream carries its own end marker: decode it as an .lzma stream of unknown size,
    // then hold the result to the size the header promised.
    std::vector<unsigned char> stream;
    stream.reserve(kAloneHeaderSize + file.size() - kHeaderSize);
    // The properties, with a dictionary no larger than the content: no match can reach
    // further back than what was decoded, so the 8 MiB the header names would only cost
    // memory (and time, under a sanitizer) for a skin of a few kilobytes.
    stream.push_back(file[10]);
    stream.resize(5);
    PutLittleEndian32(stream.data() + 1, static_cast<uint32_t>(std::clamp<size_t>(size, 4096, kDictionarySize)));
    stream.insert(stream.end(), 8, 0xFF);  // size unknown
    stream.insert(stream.end(), file.begin() + kHeaderSize, file.end());
    lzma_stream s = LZMA_STREAM_INIT;
    std::vector<unsigned char> content;  // grown as decoded: the header's size is only a claim
    bool ok = lzma_alone_decoder(&s, UINT64_MAX) == LZMA_OK && Run(s, stream, content, size) && content.size() == size;
    lzma_end(&s);
    if (!ok) return std::nullopt;
    return content;
}

}  // namespace zonvex::skin
