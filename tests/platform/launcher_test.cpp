#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/linux/linux_platform.h"
#include "support/fake_home.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;
using testing::FakeHome;

// Waits (bounded) for a file that a started program writes.
std::string WaitForFile(const fs::path& file) {
    for (int i = 0; i < 200 && !fs::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return testing::ReadFile(file);
}

void MakeExecutable(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
}

// A Wine that writes who it is, its WINEPREFIX and its arguments into the home's "started".
fs::path RecordingWine(const FakeHome& home, const std::string& relative, const std::string& who) {
    auto wine = home.write(relative, "#!/bin/sh\necho \"" + who + " $WINEPREFIX $*\" > '" + home.at("started") + "'\n");
    MakeExecutable(wine);
    return wine;
}

TEST(LauncherTest, StartsAProgramDetachedAndLeavesNoZombie) {
    testing::TempDir dir;
    auto marker = dir.path() / "started";
    auto program = dir.write("QQLogin.exe", "#!/bin/sh\necho started > '" + marker.string() + "'\n");
    MakeExecutable(program);
    DetachedLauncher(Environment::ForHome(dir.str())).start(PathText(dir.str()) + "\\qqlogin.EXE");
    EXPECT_EQ(WaitForFile(marker), "started\n");
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child of ours is left to reap";
}

// Windows programs run through Wine in their own prefix. Each Wine here is a script that
// records who it is, the WINEPREFIX it got and its arguments.
struct WineCase {
    const char* name;
    std::function<void(const FakeHome&, Environment&)> build;
    std::string program;   // below the home
    std::string expected;  // "<which wine> <WINEPREFIX below the home> <program below the home>"
};

TEST(LauncherTest, WindowsProgramsRunInTheirPrefixWithItsWine) {
    auto lutrisGame = [](const FakeHome& h, const std::string& version) {
        h.prefix("Games/cf");
        h.write(".config/lutris/games/cf.yml", "game:\n  prefix: " + h.at("Games/cf") + "\nwine:\n  version: " + version + "\n");
    };
    const WineCase cases[] = {
        {"a Lutris prefix without a runner: wine from PATH", [&](const FakeHome& h, Environment&) { lutrisGame(h, "''"); },
         "Games/cf/drive_c/CF/QQLogin.exe", "path-wine Games/cf Games/cf/drive_c/CF/QQLogin.exe"},
        {"the Lutris runner the game records",
         [&](const FakeHome& h, Environment&) {
             lutrisGame(h, "lutris-8");
             RecordingWine(h, ".local/share/lutris/runners/wine/lutris-8/bin/wine", "runner");
         },
         "Games/cf/drive_c/CF/QQLogin.exe", "runner Games/cf Games/cf/drive_c/CF/QQLogin.exe"},
        {"a recorded runner that is not there: wine from PATH", [&](const FakeHome& h, Environment&) { lutrisGame(h, "gone"); },
         "Games/cf/drive_c/CF/QQLogin.exe", "path-wine Games/cf Games/cf/drive_c/CF/QQLogin.exe"},
        {"$WINE over the runner",
         [&](const FakeHome& h, Environment& env) {
             lutrisGame(h, "lutris-8");
             RecordingWine(h, ".local/share/lutris/runners/wine/lutris-8/bin/wine", "runner");
             env.wine = RecordingWine(h, "tools/my-wine", "env-wine").string();
         },
         "Games/cf/drive_c/CF/QQLogin.exe", "env-wine Games/cf Games/cf/drive_c/CF/QQLogin.exe"},
        {"a bottle's runner",
         [](const FakeHome& h, Environment&) {
             h.prefix(".local/share/bottles/bottles/CF");
             h.write(".local/share/bottles/bottles/CF/bottle.yml", "Runner: soda-7\n");
             RecordingWine(h, ".local/share/bottles/runners/soda-7/bin/wine", "bottles-runner");
         },
         ".local/share/bottles/bottles/CF/drive_c/QQLogin.exe",
         "bottles-runner .local/share/bottles/bottles/CF .local/share/bottles/bottles/CF/drive_c/QQLogin.exe"},
        {"a Steam prefix, whose Proton is not a wine",
         [](const FakeHome& h, Environment& env) {
             h.prefix(".local/share/Steam/steamapps/compatdata/7/pfx");
             h.prefix("own");
             env.winePrefix = h.at("own");
         },
         ".local/share/Steam/steamapps/compatdata/7/pfx/drive_c/QQLogin.exe",
         "path-wine .local/share/Steam/steamapps/compatdata/7/pfx .local/share/Steam/steamapps/compatdata/7/pfx/drive_c/QQLogin.exe"},
        {"outside every prefix: the own prefix", [](const FakeHome& h, Environment&) { h.prefix(".wine"); },
         "loose/QQLogin.exe", "path-wine .wine loose/QQLogin.exe"},
    };
    for (const auto& c : cases) {
        FakeHome home;
        Environment env = home.environment();
        RecordingWine(home, "bin/wine", "path-wine");
        c.build(home, env);
        home.write(c.program, "MZ\x90\x00");
        std::string path = std::getenv("PATH");
        setenv("PATH", home.at("bin").c_str(), 1);
        DetachedLauncher(env).start(PathText(home.at(c.program)));
        setenv("PATH", path.c_str(), 1);
        std::string expected = c.expected + "\n";
        for (size_t at = 0; (at = expected.find(' ', at)) != std::string::npos;) expected.insert(++at, home.str() + "/");
        EXPECT_EQ(WaitForFile(home.path() / "started"), expected) << c.name;
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << c.name;
    }
}

TEST(LauncherTest, MissingProgramIsQuietlyNotStarted) {
    EXPECT_FALSE(SpawnDetached({"/nonexistent/program"}));
    DetachedLauncher(Environment::ForHome("/nonexistent")).start("\\nonexistent\\QQLogin.exe");
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
