// ExtractBetween and ExtractByPattern on any source and markers: start \x01 end \x01 source.
#include <cstdlib>

#include "bulletins/extract.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto f = zonvex::fuzz::Fields(data, size, 3);
    zonvex::Text between = zonvex::ExtractBetween(f[2], f[0], f[1]);
    zonvex::Text byPattern = zonvex::ExtractByPattern(f[0], f[1], f[2]);
    // Whatever is cut out is a piece of the source.
    if (between.size() > f[2].size() || byPattern.size() > f[2].size()) abort();
    if (!between.empty() && f[2].find(between) == std::string_view::npos) abort();
    return 0;
}
