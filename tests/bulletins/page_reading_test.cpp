#include <gtest/gtest.h>

#include "bulletins/bulletins.h"
#include "bulletins/sample_pages.h"
#include "platform/linux/linux_platform.h"
#include "support/fake_platform.h"
#include "support/page_server.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

using testing::TestProgram;
using testing::U8;
using testing::kBulletin;
using testing::kLabels;
using testing::kTimer;
using testing::kVersions;

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
