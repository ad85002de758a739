// The process list, the launcher and the shell against the real system: programs of the
// test's own build, copied under the names the client and its launcher have.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/windows/windows_platform.h"
#include "windows_test_support.h"

namespace zonvex::windows_platform {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(WindowsProcessesTest, FindsTheClientStartedFromAChineseFolder) {
    TempFolder folder;
    const fs::path client = testing::CopyHelper(folder.at("穿越火线\\rude\\Client.exe"));
    testing::Child running(client, L"wait");
    ASSERT_TRUE(running.started());

    ToolhelpProcesses processes;
    const auto entries = processes.snapshot();
    ASSERT_TRUE(entries);
    const auto found = std::find_if(entries->begin(), entries->end(), [&](const ProcessEntry& e) { return e.id == running.id(); });
    ASSERT_NE(found, entries->end());
    EXPECT_EQ(found->exeName, "Client.exe");
    EXPECT_TRUE(std::any_of(entries->begin(), entries->end(),
                            [](const ProcessEntry& e) { return e.id == GetCurrentProcessId(); }))
        << "the test itself is listed too";
    EXPECT_EQ(processes.modulePath(running.id()), folder.text("穿越火线\\rude\\Client.exe"));
}

TEST(WindowsProcessesTest, AProcessThatIsGoneHasNoPath) {
    TempFolder folder;
    unsigned long id;
    {
        testing::Child ended(testing::CopyHelper(folder.at("Client.exe")), L"wait");
        id = ended.id();
    }
    // Wine lets an ended process's modules linger for a moment after it has been waited for.
    std::optional<Text> path = ToolhelpProcesses().modulePath(id);
    for (int i = 0; i < 100 && path; ++i, Sleep(50)) path = ToolhelpProcesses().modulePath(id);
    EXPECT_EQ(path, std::nullopt);
}

// "C:\Program Files\...\QQLogin.exe" given unquoted would let the system start
// "C:\Program.exe" first: a program standing there must never be started in its place.
TEST(WindowsLauncherTest, StartsTheProgramAtItsPathEvenWithSpaces) {
    TempFolder folder;
    const fs::path decoy = testing::CopyHelper(folder.at("Program.exe"));
    const fs::path launcher = testing::CopyHelper(folder.at("Program Files\\穿越 火线\\QQLogin.exe"));
    ProcessLauncher().start(folder.text("Program Files\\穿越 火线\\QQLogin.exe"));
    ASSERT_TRUE(testing::WaitForFile(launcher.wstring() + L".started"));
    EXPECT_FALSE(fs::exists(decoy.wstring() + L".started"));
    const std::string line = testing::ReadFile(launcher.wstring() + L".started");
    const std::wstring quoted = L"\"" + launcher.wstring() + L"\"";
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(line.data()), line.size() / sizeof(wchar_t)), quoted)
        << "the program sees its own path, quoted, and no arguments";
}

TEST(WindowsLauncherTest, AMissingProgramIsQuietlyNotStarted) {
    TempFolder folder;
    ProcessLauncher().start(folder.text("QQLogin.exe"));
    ProcessLauncher().start("");
}

// The rule itself is checked by one table for every system (web_address_test.cpp); here,
// that a local program handed to the shell is not started.
TEST(WindowsShellTest, LocalProgramsAreNotOpened) {
    TempFolder folder;
    const fs::path program = testing::CopyHelper(folder.at("a.exe"));
    const Text path = folder.text("a.exe");
    ShellOpen shell;
    for (const Text& target : {path, "file:///" + path, "file://" + path}) shell.open(target);
    Sleep(500);
    EXPECT_FALSE(fs::exists(program.wstring() + L".started"));
}

}  // namespace
}  // namespace zonvex::windows_platform
