#include <gtest/gtest.h>

#include "client_config/zone_profiles.h"
#include "support/fake_platform.h"

namespace zonvex {
namespace {

using testing::TestProgram;

class WindowFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.files.addFile("C:\\cf\\crossfire.exe");
        t.files.addFile("C:\\other\\crossfire.exe");
        t.ui.open(Window::Start);
    }
    void Accept(const Text& folder) { t.ui.type(Window::Start, "编辑框1", folder); }
    TestProgram t;
};

TEST_F(WindowFlowTest, StartToMainOpensTheNewWindowBeforeClosingTheOld) {
    t.ui.whileMessageShown = [&](const Text&) { EXPECT_TRUE(t.ui.isOpen(Window::Start)); };
    Accept("C:\\cf");
    EXPECT_TRUE(t.ui.isOpen(Window::Main));
    EXPECT_FALSE(t.ui.isOpen(Window::Start));
    EXPECT_FALSE(t.ui.ended());
}

TEST_F(WindowFlowTest, BackToStartKeepsClientDirUntilAnotherIsAccepted) {
    Accept("C:\\cf");
    t.ui.setTimerPeriod(Window::Main, "时钟1", 3000);
    t.ui.press(Window::Main, "超级链接框6");
    EXPECT_TRUE(t.ui.isOpen(Window::Start));
    EXPECT_FALSE(t.ui.isOpen(Window::Main));
    EXPECT_EQ(t.ui.text(Window::Start, "编辑框1"), "");
    EXPECT_EQ(t.state().ClientDir, "C:\\cf");
    Accept("C:\\other");
    EXPECT_EQ(t.state().ClientDir, "C:\\other");
    EXPECT_EQ(t.ui.created, (std::vector<Window>{Window::Start, Window::Main, Window::Start, Window::Main}));
}

TEST_F(WindowFlowTest, AcceptingTheSameFolderAgainDetectsAgain) {
    Accept("C:\\cf");
    EXPECT_EQ(t.ui.text(Window::Main, "透明标签1"), "你好，非常抱歉，我们判断您的客户端失败了");
    t.ui.press(Window::Main, "超级链接框6");
    t.files.addFile("C:\\cf\\RUDE\\config\\dirserver.xml", std::string(FilesOf(ZoneProfile::TestZone2).dirServer));
    Accept("C:\\cf");
    EXPECT_EQ(t.ui.text(Window::Main, "透明标签1"), "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服二区");
}

TEST_F(WindowFlowTest, DownloadWindowFromMainStopsTheTimerForGood) {
    Accept("C:\\cf");
    t.ui.setTimerPeriod(Window::Main, "时钟1", 3000);
    t.ui.press(Window::Main, "超级链接框5");
    EXPECT_TRUE(t.ui.isOpen(Window::Download));
    EXPECT_TRUE(t.ui.isOpen(Window::Main));
    EXPECT_EQ(t.ui.timerPeriod(Window::Main, "时钟1"), 0);
}

TEST_F(WindowFlowTest, OpeningAnOpenWindowActivatesIt) {
    t.ui.press(Window::Start, "超级链接框5");
    t.ui.press(Window::Start, "超级链接框5");
    EXPECT_EQ(t.ui.activations, 1);
    EXPECT_EQ(std::count(t.ui.created.begin(), t.ui.created.end(), Window::Download), 1);
}

TEST_F(WindowFlowTest, TheProgramEndsWithItsLastWindow) {
    t.ui.press(Window::Start, "超级链接框5");
    t.ui.closeBox(Window::Start);
    EXPECT_FALSE(t.ui.ended()) << "DownloadWindow is still open";
    t.ui.closeBox(Window::Download);
    EXPECT_TRUE(t.ui.ended());
}

TEST_F(WindowFlowTest, HelpLinksOpenTheirOwnAddresses) {
    Accept("C:\\cf");
    t.ui.press(Window::Main, "超级链接框3");
    t.ui.press(Window::Main, "超级链接框4");
    t.ui.press(Window::Main, "超级链接框1");
    ASSERT_EQ(t.shell.opened.size(), 3u);
    EXPECT_EQ(t.shell.opened[0], LayoutOf(Window::Main).control("超级链接框3")->address);
    for (const Text& opened : t.shell.opened) EXPECT_EQ(opened.rfind("https://", 0), 0u) << opened;
}

TEST(ReleaseTest, ReleaseEmptiesTheSharedState) {
    TestProgram t;
    t.state().ClientDir = "x";
    t.state().DownloadLinks[8] = "y";
    t.state().VersionData.load("<a/>");
    t.state().Release();
    EXPECT_EQ(t.state().ClientDir, "");
    EXPECT_EQ(t.state().DownloadLinks[8], "");
    EXPECT_TRUE(t.state().VersionData.empty());
}

}  // namespace
}  // namespace zonvex
