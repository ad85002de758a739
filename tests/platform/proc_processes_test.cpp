#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/linux_platform.h"
#include "support/temp_dir.h"
#include "support/utf8.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;
using testing::U8;

// A small /proc: Wine processes show their Windows path as the first argument.
class ProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        proc.write("10/cmdline", std::string("C:\\Games\\CF\\rude\\Client.exe\0-x\0", 31));
        proc.write("9/cmdline", std::string("/usr/bin/bash\0", 14));
        fs::create_symlink("/usr/bin/bash", proc.path() / "9/exe");
        proc.write("100/cmdline", U8(u8"D:\\游戏\\rude\\CLIENT.EXE") + '\0');
        proc.write("200/cmdline", "");  // a kernel thread: no arguments, unreadable exe
        proc.write("200/comm", "kworker/0:1\n");
        proc.write("300/cmdline", U8(u8"C:\\🎮\\rude\\Client.exe") + '\0');
        proc.mkdir("self");
        proc.write("abc/cmdline", "x");
    }
    testing::TempDir proc;
};

TEST_F(ProcTest, SnapshotListsProcessesInAscendingIdWithTheirNames) {
    auto snapshot = ProcProcesses(proc.str()).snapshot();
    ASSERT_TRUE(snapshot);
    std::vector<std::pair<unsigned long, Text>> got;
    for (const auto& e : *snapshot) got.emplace_back(e.id, e.exeName);
    std::vector<std::pair<unsigned long, Text>> expected = {
        {9, "bash"}, {10, "Client.exe"}, {100, "CLIENT.EXE"}, {200, "kworker/0:1"}, {300, "Client.exe"}};
    EXPECT_EQ(got, expected);
}

TEST_F(ProcTest, ModulePaths) {
    ProcProcesses processes(proc.str());
    EXPECT_EQ(processes.modulePath(10), "C:\\Games\\CF\\rude\\Client.exe");
    EXPECT_EQ(processes.modulePath(100), Text("D:\\游戏\\rude\\CLIENT.EXE"));
    EXPECT_EQ(processes.modulePath(9), "/usr/bin/bash");
    EXPECT_EQ(processes.modulePath(300), "C:\\?\\rude\\Client.exe") << "outside GBK shows as ?";
    EXPECT_EQ(processes.modulePath(200), std::nullopt) << "modules unreadable";
    EXPECT_EQ(processes.modulePath(12345), std::nullopt) << "the process has gone";
}

TEST(ProcProcessesTest, NoProcTreeIsNoSnapshot) {
    EXPECT_EQ(ProcProcesses("/nonexistent/proc").snapshot(), std::nullopt);
}

TEST(ProcProcessesTest, TheRealProcListsThisProcess) {
    auto snapshot = ProcProcesses().snapshot();
    ASSERT_TRUE(snapshot);
    bool found = false;
    for (const auto& e : *snapshot) found |= e.id == static_cast<unsigned long>(getpid()) && e.exeName == "platform_test";
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace zonvex::linux_platform
