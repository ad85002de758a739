// Writes a zone profile's client files, with a stamped version, into an installation:
//   zonvex_write_profile FOLDER PROFILE VERSION    (PROFILE: 1, 2, 3 or live)
// Used by the demo to make its sample installation.
#include <cstdio>
#include <string>

#include "client_config/switch_zone.h"
#include "platform/linux/linux_platform.h"

using namespace zonvex;

int main(int argc, char** argv) {
    const std::string names[] = {"1", "2", "3", "live"};
    int index = -1;
    for (int i = 0; argc == 4 && i < 4; ++i)
        if (argv[2] == names[i]) index = i;
    if (index < 0) {
        std::fprintf(stderr, "usage: %s FOLDER 1|2|3|live VERSION\n", argv[0]);
        return 2;
    }
    const Text folder = linux_platform::PathText(argv[1]);
    const ZoneProfile profile = kZoneProfiles[index];
    linux_platform::Files files(linux_platform::WinePrefix());
    VersionDataDocument doc;
    return WriteProfileFiles(files, doc, folder, profile, Utf8ToGbk(argv[3])) ? 0 : 1;
}
