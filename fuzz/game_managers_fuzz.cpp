// The game managers' files: Lutris' and Bottles' YAML, Heroic's JSON, Steam's VDF. The first
// byte picks the reader, the rest is the file.
#include "platform/linux/wine_prefixes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    namespace lp = zonvex::linux_platform;
    switch (data[0] % 5) {
        case 0: (void)lp::ParseLutrisGame(file); break;
        case 1: (void)lp::ParseBottle(file); break;
        case 2: (void)lp::ParseBottlesCustomPath(file); break;
        case 3: (void)lp::ParseSteamLibraryFolders(file); break;
        default: (void)lp::ParseHeroicGamesConfig(file); break;
    }
    return 0;
}
