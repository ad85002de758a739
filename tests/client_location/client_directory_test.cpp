#include "client_location/client_directory.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace zonvex {
namespace {

using testing::TestProgram;

constexpr std::string_view kEdit = "编辑框1";

class ClientDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.files.addFile("D:\\我的游戏\\穿越火线\\crossfire.exe");
        t.files.addDirectory("D:\\我的游戏\\穿越火线\\RUDE\\config");
        t.ui.open(Window::Start);
    }
    TestProgram t;
};

TEST_F(ClientDirectoryTest, TypingAcceptsTheFirstFolderThatHoldsTheClient) {
    const Text folder = "D:\\我的游戏\\穿越火线";
    for (size_t n = 1; n < folder.size(); ++n) {
        t.ui.type(Window::Start, kEdit, folder.substr(0, n));
        ASSERT_TRUE(t.ui.isOpen(Window::Start)) << n;
    }
    t.ui.type(Window::Start, kEdit, folder);
    EXPECT_EQ(t.state().ClientDir, folder);
    EXPECT_TRUE(t.ui.isOpen(Window::Main));
    EXPECT_FALSE(t.ui.isOpen(Window::Start));
    EXPECT_EQ(t.ui.messages, std::vector<Text>{""}) << "only MainWindow's announcement, empty without pages";
}

TEST_F(ClientDirectoryTest, CheckCases) {
    t.files.addDirectory("E:\\cf\\crossfire.exe");  // a folder of that name counts
    struct Case {
        const char* name;
        Text typed;
        bool accepted;
    } cases[] = {
        {"trailing backslash kept", "D:\\我的游戏\\穿越火线\\", true},
        {"other letter case", "d:\\我的游戏\\穿越火线", true},
        {"folder named crossfire.exe", "E:\\cf", true},
        {"no client there", "D:\\我的游戏", false},
        {"empty text", "", false},
        {"not GBK", "D:\\\xFF\xFF", false},
    };
    for (const auto& c : cases) {
        TestProgram p;
        p.files = t.files;
        p.ui.open(Window::Start);
        p.ui.type(Window::Start, kEdit, c.typed);
        EXPECT_EQ(p.ui.isOpen(Window::Main), c.accepted) << c.name;
        EXPECT_EQ(p.state().ClientDir, c.accepted ? c.typed : Text()) << c.name;
        EXPECT_EQ(p.ui.text(Window::Start, kEdit), c.accepted ? Text() : c.typed) << c.name;
    }
}

TEST_F(ClientDirectoryTest, BrowseWritesTheChosenFolderOrClearsTheBox) {
    t.ui.type(Window::Start, kEdit, "abc");
    t.ui.click(Window::Start, "按钮1");  // cancelled
    EXPECT_EQ(t.ui.text(Window::Start, kEdit), "");
    EXPECT_EQ(t.ui.browsePrompts, std::vector<Text>{"请选择CF安装目录 务必正确选择"});
    t.ui.browseAnswers = {Text("D:\\我的游戏\\穿越火线")};
    t.ui.click(Window::Start, "按钮1");
    EXPECT_EQ(t.state().ClientDir, Text("D:\\我的游戏\\穿越火线"));
}

TEST_F(ClientDirectoryTest, RegistryLookup) {
    struct Case {
        const char* name;
        std::optional<Text> value;
        Text expected;  // the edit box's text when it is not accepted
        bool accepted;
    } cases[] = {
        {"launcher path", Text("D:\\我的游戏\\穿越火线\\rude\\Client.exe"), "", true},
        {"launcher path, other case", Text("D:\\我的游戏\\穿越火线\\RUDE\\CLIENT.EXE"), "", true},
        {"installation folder itself", Text("D:\\我的游戏\\穿越火线"), "", true},
        {"missing", std::nullopt, "自动搜索失败，请手动选择", false},
        {"elsewhere", Text("C:\\Other\\rude\\Client.exe"), "C:\\Other", false},
    };
    for (const auto& c : cases) {
        TestProgram p;
        p.files = t.files;
        p.registry.value = c.value;
        p.ui.open(Window::Start);
        p.ui.press(Window::Start, "超级链接框1");
        EXPECT_EQ(p.registry.lookups, std::vector<Text>{"Software\\Tencent\\CrossFire|install"});
        EXPECT_EQ(p.ui.isOpen(Window::Main), c.accepted) << c.name;
        if (c.accepted) EXPECT_EQ(p.state().ClientDir, Text("D:\\我的游戏\\穿越火线")) << c.name;
        else EXPECT_EQ(p.ui.text(Window::Start, kEdit), c.expected) << c.name;
    }
}

TEST_F(ClientDirectoryTest, LauncherSearch) {
    struct Case {
        const char* name;
        std::vector<ProcessEntry> entries;
        std::map<unsigned long, Text> modules;
        std::optional<int> failSnapshotFrom;
        Text box;  // the edit box's text afterwards; "accepted" when MainWindow opened
        std::vector<Text> messages;
        std::optional<int> goneFrom = {};
    } cases[] = {
        {"launcher in its rude folder", {{7, "explorer.exe"}, {42, "client.EXE"}},
         {{42, "D:\\我的游戏\\穿越火线\\rude\\Client.exe"}}, {}, "accepted", {""}},  // the announcement
        {"first of two launchers, elsewhere", {{5, "Client.exe"}, {6, "Client.exe"}},
         {{5, "C:\\x\\Client.exe"}, {6, "D:\\我的游戏\\穿越火线\\rude\\Client.exe"}}, {}, "C:\\x\\Client.exe", {}},
        {"process id 0 is skipped", {{0, "Client.exe"}}, {{0, "D:\\我的游戏\\穿越火线\\rude\\Client.exe"}}, {}, "abc", {}},
        {"not running", {{3, "bash"}}, {}, {}, "abc", {}},
        {"modules unreadable", {{3, "Client.exe"}}, {}, {}, "", {}},
        {"path outside the code page", {{3, "Client.exe"}}, {{3, "C:\\?\\rude\\Client.exe"}}, {}, "", {}},
        {"exits before the path is read", {{3, "Client.exe"}}, {}, 2, "", {"创建进程快照失败"}},
        {"no snapshot at all", {{3, "Client.exe"}}, {}, 1, "abc", {}},
        {"gone between the two snapshots", {{3, "Client.exe"}}, {{3, "D:\\我的游戏\\穿越火线\\rude\\Client.exe"}}, {}, "", {}, 2},
    };
    for (const auto& c : cases) {
        TestProgram p;
        p.files = t.files;
        p.processes.entries = c.entries;
        p.processes.modules = c.modules;
        p.processes.failSnapshotFrom = c.failSnapshotFrom;
        p.processes.goneFrom = c.goneFrom;
        p.ui.open(Window::Start);
        p.ui.type(Window::Start, kEdit, "abc");
        p.ui.press(Window::Start, "超级链接框2");
        if (c.box == "accepted") {
            EXPECT_EQ(p.state().ClientDir, Text("D:\\我的游戏\\穿越火线\\")) << c.name;
        } else {
            EXPECT_TRUE(p.ui.isOpen(Window::Start)) << c.name;
            EXPECT_EQ(p.ui.text(Window::Start, kEdit), c.box) << c.name;
        }
        EXPECT_EQ(p.ui.messages, c.messages) << c.name;
    }
}

}  // namespace
}  // namespace zonvex
