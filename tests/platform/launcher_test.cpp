#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/linux/linux_platform.h"
#include "support/temp_dir.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;

// Waits (bounded) for a file that a started program writes.
std::string WaitForFile(const fs::path& file) {
    for (int i = 0; i < 200 && !fs::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return testing::ReadFile(file);
}

void MakeExecutable(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
}

TEST(LauncherTest, StartsAProgramDetachedAndLeavesNoZombie) {
    testing::TempDir dir;
    auto marker = dir.path() / "started";
    auto program = dir.write("QQLogin.exe", "#!/bin/sh\necho started > '" + marker.string() + "'\n");
    MakeExecutable(program);
    DetachedLauncher(dir.str()).start(PathText(dir.str()) + "\\qqlogin.EXE");
    EXPECT_EQ(WaitForFile(marker), "started\n");
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child of ours is left to reap";
}

TEST(LauncherTest, WindowsProgramsRunThroughWine) {
    testing::TempDir dir;
    auto marker = dir.path() / "wine-args";
    auto wine = dir.write("bin/wine", "#!/bin/sh\necho \"$@\" > '" + marker.string() + "'\n");
    MakeExecutable(wine);
    dir.write("cf/QQLogin.exe", "MZ\x90\x00");
    std::string path = std::getenv("PATH");
    setenv("PATH", (dir.path() / "bin").c_str(), 1);
    DetachedLauncher(dir.str()).start(PathText(dir.str()) + "\\cf\\QQLogin.exe");
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(WaitForFile(marker), (dir.path() / "cf/QQLogin.exe").string() + "\n");
}

TEST(LauncherTest, MissingProgramIsQuietlyNotStarted) {
    EXPECT_FALSE(SpawnDetached({"/nonexistent/program"}));
    DetachedLauncher("/nonexistent").start("\\nonexistent\\QQLogin.exe");
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(ShellTest, OpensOnlyWebAddresses) {
    testing::TempDir dir;
    auto marker = dir.path() / "opened";
    auto opener = dir.write("bin/xdg-open", "#!/bin/sh\necho \"$@\" >> '" + marker.string() + "'\n");
    MakeExecutable(opener);
    std::string path = std::getenv("PATH");
    setenv("PATH", (dir.path() / "bin").c_str(), 1);
    XdgShell shell;
    for (const char* refused : {"", "file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "C:\\a.exe", "httpx://a"})
        shell.open(refused);
    shell.open("HTTPS://example.test/a");
    shell.open("http://example.test/b");
    setenv("PATH", path.c_str(), 1);
    std::string opened = WaitForFile(marker);
    for (int i = 0; i < 40 && opened.find("/b") == std::string::npos; ++i) opened = WaitForFile(marker);
    EXPECT_NE(opened.find("HTTPS://example.test/a\n"), std::string::npos);
    EXPECT_NE(opened.find("http://example.test/b\n"), std::string::npos);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 2);
}

}  // namespace
}  // namespace zonvex::linux_platform
