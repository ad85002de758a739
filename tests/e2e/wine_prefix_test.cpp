// A real Wine prefix, made here, kept by a game manager (a Lutris game file) in a home of the
// test's own, with no WINEPREFIX for the program. The installer's value is expandable, the
// client is started as `wine Client.exe` from its folder: the first 搜索CF客户端地址 opens
// MainWindow, the second finds the running client, and the launcher starts in that prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/linux/linux_platform.h"
#include "support/fake_home.h"
#include "support/fake_platform.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The program on the given services, dispatching through the real binding table.
struct RealProgram {
    Platform platform;
    testing::FakeWindowSystem ui{Layouts(), [this](Window w, std::string_view c, Event e) { Dispatch(program, w, c, e); }};
    Program program{ui, platform, {testing::kVersionsPage, testing::kBulletinPage}, {}};
};

class WinePrefixTest : public ::testing::Test {
protected:
    void SetUp() override {
        prefix = home.at("Games/cf");
        home.mkdir("Games");  // Wine makes the prefix's folder, not the ones above it
        // Every Wine here, the launcher's too, runs quietly in the test's home, without menus or
        // add-on installers; only the test's own steps name the prefix.
        setenv("HOME", home.str().c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
        unsetenv("WINEPREFIX");
        wineEnvironment = "env WINEPREFIX=" + Quoted(prefix) + " ";
    }
    // Everything still running in the prefix ends before the folder goes.
    void TearDown() override { run("wineserver -k 2>/dev/null; " + wineEnvironment + "wineserver -w"); }

    int run(const std::string& command) { return std::system((wineEnvironment + command).c_str()); }

    // Waits (bounded) for a Windows program of that name to run in the test's prefix.
    std::optional<RunningProgramFound> running(const Text& name) {
        for (int i = 0; i < 600; ++i) {
            for (const auto& found : FindRunningPrograms(home.environment(), name))
                if (found.prefix == prefix) return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return std::nullopt;
    }

    testing::FakeHome home;
    std::string prefix, wineEnvironment;
};

TEST_F(WinePrefixTest, AClientInALutrisPrefixIsFoundAndItsLauncherStartsThere) {
    // 1. A prefix as Wine makes it, and the installer's expandable value in it.
    ASSERT_EQ(run("wineboot -i >/dev/null 2>&1"), 0);
    ASSERT_EQ(run("wine reg add 'HKCU\\Software\\Tencent\\CrossFire' /v install /t REG_EXPAND_SZ /d "
                  "'%ProgramFiles%\\" + GbkToUtf8("穿越火线") + "\\rude\\Client.exe' /f >/dev/null 2>&1"), 0);
    ASSERT_EQ(run("wineserver -w"), 0);  // the registry is on disk once the server has gone
    ASSERT_TRUE(IsWinePrefix(prefix));

    // 2. The installation, and the game manager's record of its prefix and Wine.
    const fs::path install = fs::path(prefix) / "drive_c/Program Files" / fs::u8path(GbkToUtf8("穿越火线"));
    fs::create_directories(install / "rude");
    std::ofstream(install / "crossfire.exe") << "MZ";
    fs::copy_file(ZONVEX_SLEEPING_CLIENT, install / "rude/Client.exe");
    fs::copy_file(ZONVEX_SLEEPING_CLIENT, install / "QQLogin.exe");
    home.write(".config/lutris/games/cf.yml", "game:\n  prefix: " + prefix + "\nwine:\n  version: system-wine\n");
    auto runner = home.mkdir(".local/share/lutris/runners/wine/system-wine/bin") / "wine";
    fs::create_symlink(ZONVEX_WINE, runner);

    // 3. The client started as players do, by its name from its folder.
    ASSERT_EQ(std::system(("cd " + Quoted((install / "rude").string()) + " && " + wineEnvironment +
                           "setsid wine Client.exe >/dev/null 2>&1 &").c_str()), 0);
    auto client = running("Client.exe");
    ASSERT_TRUE(client) << "the client never ran";
    EXPECT_TRUE(fs::equivalent(client->image, install / "rude/Client.exe"));

    // 4. The program, with the real Linux services in this home and fakes for the rest.
    const Environment env = home.environment();
    Files files(env.ownPrefix());
    WineRegistry registry(env, [&](const Text& value) {
        return files.exists(RemoveAllIgnoringAsciiCase(value, "\\rude\\Client.exe") + "\\crossfire.exe");
    });
    ProcProcesses processes(env.ownPrefix());
    DetachedLauncher launcher(env);
    testing::FakeServices fakes;
    RealProgram p{{files, registry, processes, fakes.http, fakes.shell, launcher, fakes.voice, fakes.skin}};
    Text folder = "Z:" + PathText(Canonical(install.string()));
    std::replace(folder.begin(), folder.end(), '/', '\\');

    p.ui.open(Window::Start);
    p.ui.press(Window::Start, "超级链接框1");
    EXPECT_EQ(p.program.state.ClientDir, folder) << "the registry's value, expanded in its prefix";
    EXPECT_TRUE(p.ui.isOpen(Window::Main));

    p.ui.open(Window::Start);
    p.ui.press(Window::Start, "超级链接框2");
    EXPECT_EQ(p.program.state.ClientDir, folder + "\\") << "the running client's folder";

    // 5. Switching ends by starting the launcher: in the client's prefix, with its manager's Wine.
    launcher.start(p.program.state.ClientDir + "\\QQLogin.exe");
    auto started = running("QQLogin.exe");
    ASSERT_TRUE(started) << "the launcher never ran in the client's prefix";
    EXPECT_TRUE(fs::equivalent(started->image, install / "QQLogin.exe"));
}

}  // namespace
}  // namespace zonvex::linux_platform
