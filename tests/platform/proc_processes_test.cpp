#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/linux/linux_platform.h"
#include "support/fake_home.h"
#include "support/utf8.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;
using testing::U8;
using namespace std::string_literals;

std::string MapsLine(const std::string& file) { return "7f0000000000-7f0000001000 r--p 00000000 08:01 1234567    " + file + "\n"; }

TEST(WineImageFromMapsTest, TheMappedWindowsExecutable) {
    const std::string ntdll = MapsLine("/usr/lib/x86_64-linux-gnu/wine/x86_64-unix/ntdll.so");
    const struct {
        const char* name;
        std::string maps, shortName;
        std::optional<std::string> expected;
    } cases[] = {
        {"a client under Wine", ntdll + MapsLine("/home/me/Games/cf/drive_c/CF/rude/Client.exe") + "7ffe-7fff rw-p 0 00:00 0 [stack]\n",
         "Client.exe", "/home/me/Games/cf/drive_c/CF/rude/Client.exe"},
        {"spaces in the name", MapsLine("/p/drive_c/Program Files/A B.EXE"), "A B.EXE", "/p/drive_c/Program Files/A B.EXE"},
        {"the image named like the process, not the first .exe",
         MapsLine("/usr/lib/wine/x86_64-windows/ntoskrnl.exe") + MapsLine("/usr/lib/wine/x86_64-windows/winedevice.exe"),
         "winedevice.exe", "/usr/lib/wine/x86_64-windows/winedevice.exe"},
        {"the kernel keeps 15 bytes of the name", MapsLine("/a/x.exe") + MapsLine("/a/averylongclientname.exe"),
         "averylongclient", "/a/averylongclientname.exe"},
        {"else the first .exe", MapsLine("/a/one.exe") + MapsLine("/a/two.exe"), "wine64", "/a/one.exe"},
        {"a deleted file is no image", MapsLine("/a/old.exe (deleted)"), "old.exe", std::nullopt},
        {"no .exe: not a Wine process", ntdll + MapsLine("/usr/bin/bash"), "bash", std::nullopt},
        {"lines without a file", "00400000-00452000 r-xp 00000000 08:02 173521\n7ffe-7fff rw-p 0 00:00 0 [heap]\n", "",
         std::nullopt},
        {"broken lines", "x\n\n   \n1 2 3 4 5\n1 2 3 4 5 \n1 2 3 4 5 relative.exe\n", "", std::nullopt},
        {"empty", "", "", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(WineImageFromMaps(c.maps, c.shortName), c.expected) << c.name;
}

// A small /proc beside a home with prefixes: Wine processes show their image in maps, and
// their command line is whatever they were started with.
class ProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        own = home.prefix(".wine").string();
        foreign = home.prefix("Games/cf").string();
        ownClient = home.write(".wine/drive_c/CF/rude/Client.exe", "MZ").string();
        foreignClient = home.write("Games/cf/drive_c/Program Files/穿越火线/rude/Client.exe", "MZ").string();
        std::string ntdll = MapsLine("/usr/lib/wine/ntdll.so");

        process(10, "Client.exe", ntdll + MapsLine(foreignClient), "Client.exe\0"s, "A=1\0WINEPREFIX="s + foreign + '\0');
        process(11, "Client.exe", MapsLine(ownClient), "C:\\CF\\rude\\Client.exe\0"s, "HOME=/home/me\0WINEPREFIX=\0"s);
        process(12, "client.exe", MapsLine(foreignClient));  // no environment to read
        process(13, "winedevice.exe", MapsLine("/usr/lib/wine/ntoskrnl.exe") + MapsLine("/usr/lib/wine/winedevice.exe"));
        process(14, "Client.exe", MapsLine(home.at(U8(u8"Games/🎮/Client.exe"))));
        process(9, "bash", ntdll, "/usr/bin/bash\0"s);
        fs::create_symlink("/usr/bin/bash", proc.path() / "9/exe");
        process(200, "kworker/0:1", "");  // a kernel thread: nothing mapped, no exe
        proc.write("300/comm", "Client.exe\n");  // another user's: its maps cannot be read
        proc.write("abc/maps", "x");
        proc.mkdir("self");
    }

    void process(int id, const std::string& comm, const std::string& maps, const std::string& cmdline = {},
                 std::optional<std::string> environ = std::nullopt) {
        std::string dir = std::to_string(id);
        proc.write(dir + "/comm", comm + "\n");
        proc.write(dir + "/maps", maps);
        proc.write(dir + "/cmdline", cmdline);
        if (environ) proc.write(dir + "/environ", *environ);
    }

    testing::FakeHome home;
    testing::TempDir proc;
    std::string own, foreign, ownClient, foreignClient;
};

TEST_F(ProcTest, SnapshotNamesProcessesByTheirImage) {
    auto snapshot = ProcProcesses(own, proc.str()).snapshot();
    ASSERT_TRUE(snapshot);
    std::vector<std::pair<unsigned long, Text>> got;
    for (const auto& e : *snapshot) got.emplace_back(e.id, e.exeName);
    std::vector<std::pair<unsigned long, Text>> expected = {{9, "bash"},           {10, "Client.exe"},
                                                            {11, "Client.exe"},    {12, "Client.exe"},
                                                            {13, "winedevice.exe"}, {14, "Client.exe"},
                                                            {200, "kworker/0:1"}};
    EXPECT_EQ(got, expected);
}

TEST_F(ProcTest, ModulePathsInTheOwnPrefixKeepTheirDriveElseHostForm) {
    ProcProcesses processes(own, proc.str());
    Text foreignForm = "Z:" + PathText(foreignClient);
    std::replace(foreignForm.begin(), foreignForm.end(), '/', '\\');
    EXPECT_EQ(processes.modulePath(10), foreignForm) << "started with a relative command line";
    EXPECT_EQ(processes.modulePath(11), "C:\\CF\\rude\\Client.exe");
    EXPECT_EQ(processes.modulePath(12), foreignForm) << "no environment to read";
    EXPECT_NE(processes.modulePath(14)->find("?"), Text::npos) << "outside GBK shows as ?";
    EXPECT_EQ(processes.modulePath(9), "/usr/bin/bash");
    EXPECT_EQ(processes.modulePath(200), std::nullopt) << "modules unreadable";
    EXPECT_EQ(processes.modulePath(300), std::nullopt) << "another user's";
    EXPECT_EQ(processes.modulePath(12345), std::nullopt) << "the process has gone";
}

TEST_F(ProcTest, RunningProgramsWithTheirPrefixes) {
    std::vector<std::string> got;
    for (const auto& found : FindRunningPrograms(home.environment(), "CLIENT.EXE", proc.str()))
        got.push_back(std::to_string(found.id) + " " + found.image + " " + found.prefix);
    std::vector<std::string> expected = {
        "10 " + foreignClient + " " + foreign,             // its environment's WINEPREFIX
        "11 " + ownClient + " " + home.at(".wine"),         // no WINEPREFIX: ~/.wine
        "12 " + foreignClient + " " + foreign,             // environment unreadable: the prefix holding it
        "14 " + home.at(U8(u8"Games/🎮/Client.exe")) + " ",  // ... and none holds it
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(FindRunningPrograms(home.environment(), "", proc.str()).size(), 5u) << "every Wine process";
}

TEST(ProcProcessesTest, NoProcTreeIsNoSnapshot) {
    EXPECT_EQ(ProcProcesses("/nonexistent", "/nonexistent/proc").snapshot(), std::nullopt);
}

TEST(ProcProcessesTest, TheRealProcListsThisProcess) {
    auto snapshot = ProcProcesses("/nonexistent").snapshot();
    ASSERT_TRUE(snapshot);
    bool found = false;
    for (const auto& e : *snapshot) found |= e.id == static_cast<unsigned long>(getpid()) && e.exeName == "platform_test";
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace zonvex::linux_platform
