// The first argument of a process's /proc cmdline, as Wine processes show their image.
#include <cstdlib>

#include "platform/linux/linux_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view cmdline(reinterpret_cast<const char*>(data), size);
    auto path = zonvex::linux_platform::WineImagePathFromCmdline(cmdline);
    if (path && (path->size() < 3 || cmdline.substr(0, path->size()) != *path)) abort();
    return 0;
}
