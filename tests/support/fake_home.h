#pragma once
// A home folder built by a test: Wine prefixes and the files game managers keep.
#include <filesystem>
#include <string>

#include "platform/linux/wine_prefixes.h"
#include "support/temp_dir.h"

namespace zonvex::testing {

class FakeHome : public TempDir {
public:
    linux_platform::Environment environment() const { return linux_platform::Environment::ForHome(str()); }

    // A Wine prefix below the home, laid out as Wine makes one: drive_c/, the registry files
    // and dosdevices/c: pointing at drive_c.
    std::filesystem::path prefix(const std::string& relative, const std::string& userReg = "WINE REGISTRY Version 2\n",
                                 const std::string& systemReg = "WINE REGISTRY Version 2\n") const {
        auto folder = mkdir(relative);
        std::filesystem::create_directories(folder / "drive_c");
        std::filesystem::create_directories(folder / "dosdevices");
        std::error_code ec;
        std::filesystem::create_directory_symlink("../drive_c", folder / "dosdevices/c:", ec);
        write(relative + "/user.reg", userReg);
        write(relative + "/system.reg", systemReg);
        return folder;
    }

    // An absolute path below the home, as a manager's file would name it.
    std::string at(const std::string& relative) const { return str() + "/" + relative; }
};

}  // namespace zonvex::testing
