#include "text/text.h"

#include <gtest/gtest.h>

#include <random>

#include "support/utf8.h"

namespace zonvex {
namespace {

using testing::U8;

TEST(TextTest, LiteralsAreGbk) {
    EXPECT_EQ(sizeof("信息："), 7u);
    EXPECT_EQ(Text("→"), "\xA1\xFA");
}

struct FindCase {
    const char* name;
    std::string haystack, needle;
    long expected;
};

TEST(TextTest, FindAtCharStart) {
    // "）" is A3 A9; the pair 汉 (BA BA) then A3 A9 hides nothing, but xx A3 + A9 yy does.
    const FindCase cases[] = {
        {"plain", "abcabc", "bc", 2},
        {"empty needle", "abc", "", 1},
        {"empty haystack", "", "", -1},
        {"not found", "abc", "d", -1},
        {"double-byte needle", "版本2.1版本", "2.1", 5},
        {"after double-byte characters", "体验服一：2.1版本", "版本", 14},
        {"hidden across two characters", "\xB0\xA3\xA9\xB0", "\xA3\xA9", -1},
        {"found later at a character start", "\xB0\xA3\xA9\xB0\xA3\xA9", "\xA3\xA9", 5},
        {"at a start after a hidden one", "\xB0\xA3\xA9\xB0x\xA3\xA9", "\xA3\xA9", 6},
        {"lone lead byte at the end ends the scan", "a\x81", "\x81", -1},
        {"case-sensitive", "ABC", "b", -1},
        {"a trail byte below 0x80", "\x81" "AA", "A", 3},
        {"after an even run of double-byte characters", "\xB0\xB0\xB0\xB0\xA3\xA9", "\xA3\xA9", 5},
        {"hidden twice after an odd run", "\xB0\xB0\xB0\xA3\xA9\xA3\xA9", "\xA3\xA9", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(FindAtCharStart(c.haystack, c.needle), c.expected) << c.name;
}

// The character starts walked forward from the beginning, one by one: slow, plainly right.
long FindAtCharStartByWalking(std::string_view haystack, std::string_view needle) {
    if (haystack.empty()) return -1;
    if (needle.empty()) return 1;
    for (size_t at = 0; at < haystack.size(); at += IsLeadByte(haystack[at]) ? 2 : 1) {
        if (haystack.substr(at, needle.size()) != needle) continue;
        if (IsLeadByte(haystack[at]) && at + 1 == haystack.size()) return -1;
        return static_cast<long>(at) + 1;
    }
    return -1;
}

TEST(TextTest, FindAtCharStartAgreesWithWalkingOnRandomText) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'A', '\x81', '\xA3', '\xA9', '\xB0', '\xFE', '\x40'};
    for (int round = 0; round < 20000; ++round) {
        std::string haystack(random() % 24, ' '), needle(1 + random() % 3, ' ');
        for (char& c : haystack) c = alphabet[random() % sizeof alphabet];
        for (char& c : needle) c = alphabet[random() % sizeof alphabet];
        ASSERT_EQ(FindAtCharStart(haystack, needle), FindAtCharStartByWalking(haystack, needle))
            << ::testing::PrintToString(haystack) << " " << ::testing::PrintToString(needle);
    }
}

TEST(TextTest, MiddleAndLeft) {
    EXPECT_EQ(Middle("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Middle("abcdef", 5, 100), "ef");
    EXPECT_EQ(Middle("abcdef", 0, 2), "");
    EXPECT_EQ(Middle("abcdef", 7, 2), "");
    EXPECT_EQ(Middle("abcdef", 1, 0), "");
    EXPECT_EQ(Middle("abcdef", 1, -1), "");
    EXPECT_EQ(Left("abcdef", 2), "ab");
    EXPECT_EQ(Left("abcdef", 10), "abcdef");
    EXPECT_EQ(Left("abcdef", 0), "");
    EXPECT_EQ(Left("abcdef", -3), "");
}

TEST(TextTest, RemoveAllIgnoringAsciiCase) {
    EXPECT_EQ(RemoveAllIgnoringAsciiCase("C:\\CF\\RUDE\\client.EXE", "\\rude\\Client.exe"), "C:\\CF");
    EXPECT_EQ(RemoveAllIgnoringAsciiCase("a\\rude\\client.exeb\\rude\\client.exe", "\\rude\\Client.exe"), "ab");
    EXPECT_EQ(RemoveAllIgnoringAsciiCase("D:\\游戏\\rude\\Client.exe", "rude\\Client.exe"), "D:\\游戏\\");
    // 乇 is 81 5C: its second byte is a backslash that must not start a match.
    EXPECT_EQ(RemoveAllIgnoringAsciiCase("\x81\\rude\\Client.exe", "\\rude\\Client.exe"), "\x81\\rude\\Client.exe");
    EXPECT_EQ(RemoveAllIgnoringAsciiCase("abc", ""), "abc");
    EXPECT_EQ(RemoveAllIgnoringAsciiCase("x\x81", "\x81"), "x");  // a lone lead byte at the end is one byte
    EXPECT_TRUE(EqualsIgnoringAsciiCase("CLIENT.exe", "client.EXE"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("Client.exe", "Client.ex"));
}

TEST(TextTest, Conversions) {
    EXPECT_EQ(Utf8ToGb18030(U8(u8"公告：（你好）")), Text("公告：（你好）"));
    EXPECT_EQ(Utf8ToGb18030(""), "");
    EXPECT_EQ(Utf8ToGb18030("ok\xff"), "") << "not UTF-8 at all";
    EXPECT_EQ(Utf8ToGb18030("ok\xe4\xbd"), "") << "ends inside a character";
    EXPECT_EQ(GbkToUtf8("穿越"), "\xE7\xA9\xBF\xE8\xB6\x8A");
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a?b");
    EXPECT_EQ(Utf8ToGbk("\xE7\xA9\xBF\xE8\xB6\x8A"), Text("穿越"));
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80z"), "a?z") << "an emoji has no GBK code";
    EXPECT_EQ(Utf8ToGbk("a\xC3z"), "a?z");
    EXPECT_EQ(UpToFirstZero(std::string("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace zonvex
