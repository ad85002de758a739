// Files that a hostile installation or prefix could hold where the program expects a small
// file: none may hold the windows up (a named pipe blocks whoever opens it, a device link
// never ends) or fill the memory. Each is unreadable, like a missing file.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "platform/linux/linux_platform.h"
#include "platform/linux/wine_prefixes.h"
#include "support/temp_dir.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;

struct Hostile {
    const char* what;
    std::function<void(const fs::path&)> make;
};

const Hostile kHostile[] = {
    {"a named pipe nobody writes to", [](const fs::path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0644), 0); }},
    {"a link to a named pipe",
     [](const fs::path& at) {
         ASSERT_EQ(mkfifo((at.string() + ".fifo").c_str(), 0644), 0);
         fs::create_symlink(at.string() + ".fifo", at);
     }},
    {"a link to an endless device", [](const fs::path& at) { fs::create_symlink("/dev/zero", at); }},
    {"a link to a device of random bytes", [](const fs::path& at) { fs::create_symlink("/dev/urandom", at); }},
    {"a folder", [](const fs::path& at) { fs::create_directory(at); }},
    {"a file beyond the size bound",
     [](const fs::path& at) {
         std::ofstream{at};
         fs::resize_file(at, kMaxFileSize + 1);  // sparse: costs no disk
     }},
    {"a link that leads nowhere", [](const fs::path& at) { fs::create_symlink(at.string() + ".missing", at); }},
    {"a loop of links", [](const fs::path& at) { fs::create_symlink(at, at); }},
};

TEST(UnreadableFilesTest, AnythingButARegularFileWithinTheBoundIsUnreadable) {
    for (const Hostile& h : kHostile) {
        SCOPED_TRACE(h.what);
        testing::TempDir dir;
        const fs::path file = dir.path() / "dirserver.xml";
        h.make(file);
        EXPECT_EQ(Files("/nonexistent").read(PathText(file.string())), std::nullopt);
        DetachedLauncher(Environment::ForHome("/nonexistent")).start(PathText(file.string()));  // returns at once, starts nothing

        // The same thing standing as a prefix's user.reg.
        fs::create_directories(dir.path() / "prefix/drive_c");
        h.make(dir.path() / "prefix/user.reg");
        Environment environment = Environment::ForHome((dir.path() / "home").string());
        environment.winePrefix = (dir.path() / "prefix").string();
        WineRegistry registry(environment, [](const Text&) { return true; });
        EXPECT_EQ(registry.currentUserString("Software\\Tencent\\CrossFire", "install"), std::nullopt);
    }
}

TEST(UnreadableFilesTest, RegularFilesAreReadUpToTheBound) {
    testing::TempDir dir;
    const fs::path file = dir.write("file", "abcd");
    fs::create_symlink(file, dir.path() / "link");
    EXPECT_EQ(Files("/nonexistent").read(PathText(file.string())), "abcd");
    EXPECT_EQ(Files("/nonexistent").read(PathText((dir.path() / "link").string())), "abcd") << "a link to a file";
    EXPECT_EQ(ReadRegularFile(file.string(), 4), "abcd");
    EXPECT_EQ(ReadRegularFile(file.string(), 3), std::nullopt);
    // A file that says it is empty but goes on (as /proc files do) is held to the bound too.
    EXPECT_NE(ReadRegularFile("/proc/self/maps"), std::nullopt);
    EXPECT_EQ(ReadRegularFile("/proc/self/maps", 16), std::nullopt);
}

}  // namespace
}  // namespace zonvex::linux_platform
