// Skin files as the skin library takes them: unpacked, checked and parsed.
#include <cstdlib>

#include "skin/format/she_format.h"
#include "skin/format/skin_content.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto content = zonvex::skin::Unpack(std::span(data, size));
    if (!content) return 0;
    if (auto skin = zonvex::skin::Parse(*content)) {
        if (skin->picture.size() != static_cast<size_t>(skin->pictureWidth) * skin->pictureHeight * 4) abort();
    }
    return 0;
}
