// Windows path texts mapped through a small Wine prefix of the fuzzer's own.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/linux_platform.h"

namespace {

// A prefix with drive C: and a few folders, made once per process and removed at its end.
struct FuzzPrefix {
    FuzzPrefix() {
        namespace fs = std::filesystem;
        dir = (fs::temp_directory_path() / "zonvex-fuzz-prefix-XXXXXX").string();
        if (!mkdtemp(dir.data())) abort();
        fs::create_directories(dir + "/drive_c/Games/CF/RUDE");
        fs::create_directories(dir + "/dosdevices");
        fs::create_directory_symlink("../drive_c", dir + "/dosdevices/c:");
    }
    ~FuzzPrefix() { std::filesystem::remove_all(dir); }
    std::string dir;
};

const std::string& Prefix() {
    static FuzzPrefix prefix;
    return prefix.dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string host = zonvex::linux_platform::HostPath(zonvex::Text(reinterpret_cast<const char*>(data), size), Prefix());
    (void)zonvex::linux_platform::PathText(host);
    return 0;
}
