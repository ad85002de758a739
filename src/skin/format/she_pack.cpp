// Packing skins: only the build machine does it (the skin packer and the tests), with
// liblzma's encoder. Unpacking, which both programs do, is in she_format.cpp.
#include <lzma.h>

#include <cstring>

#include "skin/format/she_format.h"

namespace zonvex::skin {

namespace {

// An .lzma ("alone") header is the five property bytes and the 64-bit unpacked size.
constexpr size_t kAloneHeaderSize = 13;

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
    bool ok = lzma_alone_encoder(&s, &options) == LZMA_OK;
    s.next_in = content.data();
    s.avail_in = content.size();
    unsigned char buffer[1 << 16];
    while (ok) {
        s.next_out = buffer;
        s.avail_out = sizeof buffer;
        const lzma_ret r = lzma_code(&s, LZMA_FINISH);
        alone.insert(alone.end(), buffer, buffer + (sizeof buffer - s.avail_out));
        if (r == LZMA_STREAM_END) break;
        ok = r == LZMA_OK;
    }
    lzma_end(&s);
    if (!ok || alone.size() < kAloneHeaderSize) return {};

    std::vector<unsigned char> file(kHeaderSize);
    std::memcpy(file.data(), kMagic, sizeof kMagic);
    PutLittleEndian32(file.data() + 6, static_cast<uint32_t>(content.size()));
    std::memcpy(file.data() + 10, alone.data(), 5);  // the same property bytes the encoder wrote
    file.insert(file.end(), alone.begin() + kAloneHeaderSize, alone.end());
    return file;
}

}  // namespace zonvex::skin
