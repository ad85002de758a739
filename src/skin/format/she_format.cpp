#include "skin/format/she_format.h"

#include <cstdlib>
#include <cstring>

#include "LzmaDec.h"

namespace zonvex::skin {

namespace {

void* Allocate(void*, size_t size) { return std::malloc(size); }
void Free(void*, void* address) { std::free(address); }

}  // namespace

std::optional<std::vector<unsigned char>> Unpack(std::span<const unsigned char> file) {
    if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0 ||
        std::memcmp(file.data() + 10, kProperties, sizeof kProperties) != 0)
        return std::nullopt;
    const size_t size = GetLittleEndian32(file.data() + 6);
    if (size > kMaxUnpackedSize) return std::nullopt;

    // The stream ends with its end marker. Decoding into exactly the promised size makes
    // the decoder check that the marker follows: a stream that would give more, or ends
    // before, is refused.
    std::vector<unsigned char> content(size);
    SizeT contentSize = size;
    SizeT streamSize = file.size() - kHeaderSize;
    ELzmaStatus status;
    ISzAlloc allocator = {Allocate, Free};
    const SRes result = LzmaDecode(content.data(), &contentSize, file.data() + kHeaderSize, &streamSize,
                                   file.data() + 10, LZMA_PROPS_SIZE, LZMA_FINISH_END, &status, &allocator);
    if (result != SZ_OK || status != LZMA_STATUS_FINISHED_WITH_MARK || contentSize != size) return std::nullopt;
    return content;
}

}  // namespace zonvex::skin
