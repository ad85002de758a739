// zonvexctl: switches a client installation from the command line, without windows.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "ctl/zonvexctl.h"
#include "platform/linux/linux_platform.h"

namespace {

// $XDG_STATE_HOME/zonvex/zonvexctl.log, else ~/.local/state/zonvex/zonvexctl.log.
std::string LogFile() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return std::string(state) + "/zonvex/zonvexctl.log";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : "";
    }
    return std::string(home) + "/.local/state/zonvex/zonvexctl.log";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zonvex;
    using namespace zonvex::linux_platform;
    const Environment environment = Environment::Current();
    Files files(environment.ownPrefix());
    CurlHttp http;
    DetachedLauncher launcher(environment);
    ControlServices services{files, http, launcher,
                             [&] { return InstallationsSeen(LauncherSightings(environment), files); },
                             {ZONVEX_VERSIONS_PAGE_URL, ZONVEX_BULLETIN_PAGE_URL}, LogFile()};
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunZonvexctl(args, services, std::cout, std::cerr);
}
