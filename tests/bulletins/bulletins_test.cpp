#include "bulletins/bulletins.h"

#include <gtest/gtest.h>

#include "bulletins/sample_pages.h"
#include "support/fake_platform.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

using testing::TestProgram;
using testing::U8;
using testing::kBulletin;
using testing::kLabels;
using testing::kTimer;
using testing::kVersions;

class BulletinsTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.files.addFile("C:\\cf\\crossfire.exe");
        Serve(kVersions, kBulletin);
    }
    void Serve(const std::string& versions, const std::string& bulletin) {
        t.http.pages[testing::kVersionsPage] = versions;
        t.http.pages[testing::kBulletinPage] = bulletin;
    }
    void OpenMain() { t.ui.type(Window::Start, "编辑框1", "C:\\cf"); }
    std::vector<Text> Labels() {
        std::vector<Text> texts;
        for (const char* label : kLabels) texts.push_back(t.ui.text(Window::Main, label));
        return texts;
    }
    TestProgram t;
};

TEST_F(BulletinsTest, CreationAnnouncesThenStartsTheTimerThenDetects) {
    t.ui.open(Window::Start);
    bool checkedDuringBox = false;
    t.ui.whileMessageShown = [&](const Text&) {
        checkedDuringBox = true;
        EXPECT_EQ(t.ui.timerPeriod(Window::Main, kTimer), 0);
        EXPECT_EQ(t.ui.text(Window::Main, "透明标签1"), "请稍等，正在判断...") << "detection comes last";
    };
    OpenMain();
    EXPECT_TRUE(checkedDuringBox);
    EXPECT_EQ(t.ui.messages, std::vector<Text>{"今晚八点维护"});
    EXPECT_EQ(t.state().AnnouncementText, "今晚八点维护");
    EXPECT_EQ(t.http.requests, std::vector<std::string>{testing::kBulletinPage}) << "the versions page waits for the first tick";
    EXPECT_EQ(t.ui.timerPeriod(Window::Main, kTimer), 3000);
    EXPECT_NE(t.ui.text(Window::Main, "透明标签1"), "请稍等，正在判断...");
    EXPECT_EQ(Labels(), std::vector<Text>(4, "获取中...."));
}

TEST_F(BulletinsTest, EachTickRereadsBothPagesAndRewritesTheLabels) {
    t.ui.open(Window::Start);
    OpenMain();
    t.http.requests.clear();
    t.ui.tick(Window::Main, kTimer);
    EXPECT_EQ(t.http.requests, (std::vector<std::string>{testing::kVersionsPage, testing::kBulletinPage}));
    EXPECT_EQ(Labels(), (std::vector<Text>{"1.0.301", "1.0.302", "1.0.303", "1.0.300"}));
    EXPECT_EQ(t.state().PatchLink, "http://dl.test/patch.exe");

    Serve(U8(u8"正服：2.0版本"), U8(u8"公告：（换了）手动补丁：（无）"));
    t.ui.tick(Window::Main, kTimer);
    EXPECT_EQ(Labels(), (std::vector<Text>{"", "", "", "2.0"}));
    EXPECT_EQ(t.state().PatchLink, "无");
    EXPECT_EQ(t.state().AnnouncementText, "今晚八点维护") << "announced once per window";
    EXPECT_EQ(t.ui.messages.size(), 1u);
    for (const Text& link : t.state().DownloadLinks) EXPECT_EQ(link, "") << "ticks leave the download links alone";
}

TEST_F(BulletinsTest, LabelsFreezeOnceTheDownloadWindowIsOpenedFromMain) {
    t.ui.open(Window::Start);
    OpenMain();
    t.ui.tick(Window::Main, kTimer);
    t.ui.press(Window::Main, "超级链接框5");
    Serve(U8(u8"体验服一：9.9版本"), U8(u8"手动补丁：（http://new）"));
    t.ui.tick(Window::Main, kTimer);  // a stopped timer does not tick
    EXPECT_EQ(Labels(), (std::vector<Text>{"1.0.301", "1.0.302", "1.0.303", "1.0.300"}));
    EXPECT_EQ(t.state().PatchLink, "http://dl.test/patch.exe");
    EXPECT_EQ(t.state().DownloadLinks[0], "http://dl.test/1f") << "cut from the page as last read";
}

TEST_F(BulletinsTest, EveryNewMainWindowAnnouncesAgain) {
    t.ui.open(Window::Start);
    OpenMain();
    t.ui.press(Window::Main, "超级链接框6");
    Serve("", "");
    OpenMain();
    EXPECT_EQ(t.ui.messages, (std::vector<Text>{"今晚八点维护", ""})) << "an empty announcement is shown too";
    EXPECT_EQ(t.ui.timerPeriod(Window::Main, kTimer), 3000);
}

TEST_F(BulletinsTest, DownloadLinksFollowTheLinkRule) {
    struct Case {
        const char* control;
        Text opened;         // what the press hands to the system, if anything
        Text message;        // what it shows instead
    } cases[] = {
        {"超级链接框11", "http://dl.test/1f", ""},
        {"超级链接框10", "http://dl.test/1q", ""},
        {"超级链接框9", "http://dl.test/1b", ""},
        {"超级链接框8", "http://dl.test/2f", ""},
        {"超级链接框7", "http://dl.test/2q", ""},
        {"超级链接框6", "", "目前暂时无该区的蓝钻下载器。"},
        {"超级链接框1", "", "目前暂时无该区的完整版客户端下载。"},
        {"超级链接框4", " 无", ""},  // only the exact text counts as none
        {"超级链接框5", "", ""},     // the empty link is handed on; the system opens nothing
    };
    t.ui.open(Window::Start);
    OpenMain();
    t.ui.press(Window::Main, "超级链接框5");
    t.ui.messages.clear();
    for (const Case& c : cases) {
        t.shell.opened.clear();
        t.ui.messages.clear();
        t.ui.press(Window::Download, c.control);
        if (c.message.empty()) {
            EXPECT_EQ(t.shell.opened, std::vector<Text>{c.opened}) << c.control;
            EXPECT_TRUE(t.ui.messages.empty()) << c.control;
        } else {
            EXPECT_TRUE(t.shell.opened.empty()) << c.control;
            EXPECT_EQ(t.ui.messages, std::vector<Text>{c.message}) << c.control;
        }
    }
}

TEST_F(BulletinsTest, DownloadWindowBeforeAnyReadHasEmptyLinks) {
    t.ui.open(Window::Start);
    t.ui.press(Window::Start, "超级链接框5");
    t.ui.press(Window::Download, "超级链接框6");
    EXPECT_TRUE(t.http.requests.empty()) << "the download window reads nothing itself";
    EXPECT_EQ(t.shell.opened, std::vector<Text>{""});
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(BulletinsTest, PatchLinkAndGroupButton) {
    t.ui.open(Window::Start);
    OpenMain();
    t.ui.messages.clear();
    t.ui.press(Window::Main, "超级链接框2");
    EXPECT_EQ(t.shell.opened, std::vector<Text>{""}) << "no tick yet: the empty link";
    t.ui.tick(Window::Main, kTimer);
    t.ui.press(Window::Main, "超级链接框2");
    EXPECT_EQ(t.shell.opened.back(), "http://dl.test/patch.exe");
    Serve(kVersions, U8(u8"手动补丁：（无）"));
    t.ui.tick(Window::Main, kTimer);
    t.ui.press(Window::Main, "超级链接框2");
    EXPECT_EQ(t.ui.messages, std::vector<Text>{"目前暂时无手动补丁下载。"});
    t.ui.click(Window::Main, "图形按钮1");
    EXPECT_EQ(t.shell.opened.back(), Text(kGroupJoinPage));
    EXPECT_EQ(t.shell.opened.size(), 3u);
}

}  // namespace
}  // namespace zonvex
