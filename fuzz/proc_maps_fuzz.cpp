// The /proc maps reader, which finds the Windows executable mapped into a Wine process. The
// first field is the process's short name, the rest the maps text.
#include <cstdlib>

#include "fuzz_input.h"
#include "platform/linux/wine_prefixes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto f = zonvex::fuzz::Fields(data, size, 2);
    auto image = zonvex::linux_platform::WineImageFromMaps(f[1], f[0]);
    // An image is always a whole absolute file name that the maps text holds.
    if (image && (image->empty() || (*image)[0] != '/' || f[1].find(*image) == std::string_view::npos)) abort();
    return 0;
}
