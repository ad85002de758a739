#include "bulletins/bulletins.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_platform.h"
#include "support/fake_platform.h"
#include "support/page_server.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

using testing::TestProgram;
using testing::U8;

const char* const kLabels[] = {"透明标签9", "透明标签8", "透明标签6", "透明标签7"};  // top to bottom
constexpr std::string_view kTimer = "时钟1";

// Pages as the maker publishes them: UTF-8.
const std::string kVersions = U8(u8"<p>体验服一：1.0.301版本</p><p>体验服二：1.0.302版本</p>"
                                 u8"<p>体验服三：1.0.303版本</p><p>正服：1.0.300版本</p>");
const std::string kBulletin = U8(u8"公告：（今晚八点维护）手动补丁：（http://dl.test/patch.exe）"
                                 u8"一区最新完整版客户端下载地址：（http://dl.test/1f）一区QQ会员下载器：（http://dl.test/1q）"
                                 u8"一区蓝钻下载器：（http://dl.test/1b）二区最新完整版客户端下载地址：（http://dl.test/2f）"
                                 u8"二区QQ会员下载器：（http://dl.test/2q）二区蓝钻下载器：（无）"
                                 u8"三区最新完整版客户端下载地址：（无）三区QQ会员下载器：（ 无）三区蓝钻下载器：（）");

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

// An open download window keeps the links it was opened with; opened again after a newer
// bulletin has been read, it shows the newer ones.
TEST_F(BulletinsTest, DownloadWindowShowsTheLinksOfTheBulletinLastReadWhenItOpened) {
    t.ui.open(Window::Start);
    OpenMain();
    t.ui.press(Window::Main, "超级链接框5");
    Serve(kVersions, U8(u8"一区最新完整版客户端下载地址：（http://dl.test/newer）"));
    t.ui.press(Window::Main, "超级链接框6");  // back, and a new main window reads the newer page
    OpenMain();
    t.ui.tick(Window::Main, kTimer);
    ASSERT_TRUE(t.ui.isOpen(Window::Download));
    t.ui.press(Window::Download, "超级链接框11");
    t.ui.closeBox(Window::Download);
    t.ui.press(Window::Main, "超级链接框5");
    t.ui.press(Window::Download, "超级链接框11");
    EXPECT_EQ(t.shell.opened, (std::vector<Text>{"http://dl.test/1f", "http://dl.test/newer"}));
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

// The pages as they come over the wire, read by the real reader from a local server.
TEST(PageReadingTest, EdgeCasesOfRealPages) {
    struct Case {
        const char* name;
        std::string versions, bulletin;  // bytes served
        std::vector<Text> labels;
        Text announcement, patch;
    } cases[] = {
        {"both pages", kVersions, kBulletin, {"1.0.301", "1.0.302", "1.0.303", "1.0.300"}, "今晚八点维护",
         "http://dl.test/patch.exe"},
        {"only zone 1 named", U8(u8"体验服一：1.0.1版本"), "", {"1.0.1", "", "", ""}, "", ""},
        {"no announcement marker", "", U8(u8"公告（x）手动补丁：（p）"), {"", "", "", ""}, "", "p"},
        {"announcement cut at the closing parenthesis", "", U8(u8"公告：（一）二）"), {"", "", "", ""}, "一", ""},
        {"page in GBK, not UTF-8", "\xCC\xE5\xD1\xE9\xB7\xFE\xD2\xBB\xA3\xBA" "1.0\xB0\xE6\xB1\xBE",
         "\xB9\xAB\xB8\xE6\xA3\xBA\xA3\xA8x\xA3\xA9", {"", "", "", ""}, "", ""},
        {"bytes after a zero byte", U8(u8"正服：1.0版本") + std::string(1, '\0') + U8(u8"体验服一：2.0版本"),
         U8(u8"手动补丁：（p）") + std::string(1, '\0') + U8(u8"公告：（a）"), {"", "", "", "1.0"}, "", "p"},
        {"spaces, tags and line breaks kept", U8(u8"体验服二： <b>1.0</b>\r\n版本"), U8(u8"公告：（ 多行\n公告 ）"),
         {"", " <b>1.0</b>\r\n", "", ""}, " 多行\n公告 ", ""},
        {"patch link of none", "", U8(u8"手动补丁：（无）"), {"", "", "", ""}, "", "无"},
        {"characters GBK lacks are still read", U8(u8"正服：😀版本"), "", {"", "", "", "\x94\x39\xFC\x36"}, "", ""},
    };
    testing::PageServer server;
    linux_platform::CurlHttp curl;
    for (const Case& c : cases) {
        server.serve("/versions", c.versions);
        server.serve("/bulletin", c.bulletin);
        TestProgram t;
        t.http.through = &curl;
        t.program.pages = {server.url("/versions"), server.url("/bulletin")};
        t.files.addFile("C:\\cf\\crossfire.exe");
        t.ui.open(Window::Start);
        t.ui.type(Window::Start, "编辑框1", "C:\\cf");
        t.ui.tick(Window::Main, kTimer);
        std::vector<Text> labels;
        for (const char* label : kLabels) labels.push_back(t.ui.text(Window::Main, label));
        EXPECT_EQ(labels, c.labels) << c.name;
        EXPECT_EQ(t.ui.messages, std::vector<Text>{c.announcement}) << c.name;
        EXPECT_EQ(t.state().PatchLink, c.patch) << c.name;
    }
}

TEST(PageReadingTest, AnUnreachableServerEmptiesEverything) {
    const int closedPort = testing::SilentSocket().release();
    const std::string dead = "http://127.0.0.1:" + std::to_string(closedPort) + "/";
    linux_platform::CurlHttp curl;
    TestProgram t;
    t.http.through = &curl;
    t.program.pages = {dead + "versions", dead + "bulletin"};
    t.files.addFile("C:\\cf\\crossfire.exe");
    t.ui.open(Window::Start);
    t.ui.type(Window::Start, "编辑框1", "C:\\cf");
    EXPECT_EQ(t.ui.messages, std::vector<Text>{""});
    t.ui.tick(Window::Main, kTimer);
    for (const char* label : kLabels) EXPECT_EQ(t.ui.text(Window::Main, label), "") << label;
    EXPECT_EQ(t.state().PatchLink, "");
}

}  // namespace
}  // namespace zonvex
