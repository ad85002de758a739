#include "text/text.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// Each system converts with its own services (iconv on Linux, the code-page functions on
// Windows); both builds run these cases and must give the same bytes.
struct ConversionCase {
    const char* name;
    std::string input, expected;
};

TEST(ConversionTest, PagesToGb18030AllOrNothing) {
    const ConversionCase cases[] = {
        {"Chinese text", U8(u8"公告：（你好）"), "公告：（你好）"},
        {"empty", "", ""},
        {"zero bytes kept", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"not UTF-8 at all", "ok\xff", ""},
        {"ends inside a character", "ok\xe4\xbd", ""},
        {"an encoded surrogate", "a\xED\xA0\x80", ""},
        {"an overlong form", "a\xC0\x80", ""},
        {"beyond U+10FFFF", "a\xF4\x90\x80\x80", ""},
        {"a letter GBK lacks", "\xC3\xA4", "\x81\x30\x8A\x31"},
        {"the euro sign", "\xE2\x82\xAC", "\xA2\xE3"},
        {"m with acute, a double-byte code since 2005", "\xE1\xB8\xBF", "\xA8\xBC"},
        {"a user-defined character", "\xEE\x80\x80", "\xAA\xA1"},
        {"a private-use character whose code went elsewhere", "a\xEE\x9E\x8D", ""},
        {"an emoji", "\xF0\x9F\x98\x80", "\x94\x39\xFC\x36"},
        {"a plane-2 character with a double-byte code", "\xF0\xA0\x82\x87", "\xFE\x51"},
        {"a noncharacter", "\xEF\xBF\xBE", "\x84\x31\xA4\x38"},
        {"a tag character", "a\xF3\xA0\x80\x81z", "a\xD3\x36\x95\x39z"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToGb18030(c.input), c.expected) << c.name;
}

TEST(ConversionTest, GbkToUtf8MarksWhatIsNotGbk) {
    const ConversionCase cases[] = {
        {"Chinese text", "穿越", "\xE7\xA9\xBF\xE8\xB6\x8A"},
        {"middle dot", "\xA1\xA4", "\xC2\xB7"},
        {"the euro sign's single byte", "\x80", "\xE2\x82\xAC"},
        {"a byte that starts nothing", "a\xFF" "b", "a?b"},
        {"a bad second byte stands for itself", "\x81\x30", "?0"},
        {"a user-defined code is not GBK", "\xAA\xA1", "??"},
        {"a lead byte at the end", "a\x81", "a?"},
        {"zero bytes kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(GbkToUtf8(c.input), c.expected) << c.name;
}

TEST(ConversionTest, Utf8ToGbkMarksWhatGbkLacks) {
    const ConversionCase cases[] = {
        {"Chinese text", "\xE7\xA9\xBF\xE8\xB6\x8A", "穿越"},
        {"an emoji", "a\xF0\x9F\x98\x80z", "a?z"},
        {"a letter GBK lacks, never a look-alike", "\xC3\xA4", "?"},
        {"the euro sign", "\xE2\x82\xAC", "\x80"},
        {"a user-defined character", "\xEE\x80\x80", "?"},
        {"a lone lead byte", "a\xC3z", "a?z"},
        {"a cut-off character: one mark per byte", "a\xE4\xBDz", "a??z"},
        {"a stray continuation byte", "a\x80z", "a?z"},
        {"an encoded surrogate", "a\xED\xA0\x80z", "a?z"},
        {"an overlong form", "a\xC0\x80z", "a?z"},
        {"beyond U+10FFFF", "a\xF4\x90\x80\x80z", "a?z"},
        {"a tag character is dropped", "a\xF3\xA0\x80\x81z", "az"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToGbk(c.input), c.expected) << c.name;
}

// FNV-1a: a short fingerprint of a long conversion.
uint64_t Fingerprint(std::string_view bytes) {
    uint64_t h = 14695981039346656037ull;
    for (char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

std::string EncodeUtf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        s += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
        s += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
              static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    return s;
}

// Every character and every double-byte code, converted by this build, against what the
// other build gives: the fingerprints are the same in both, so a table that differs in a
// single character shows here.
TEST(ConversionTest, EveryCharacterConvertsAlikeInBothBuilds) {
    std::string gb18030, gbk;
    for (char32_t block = 0; block < 0x110000; block += 256) {
        std::string utf8;
        for (char32_t c = block; c < block + 256; ++c)
            if (c < 0xD800 || c > 0xDFFF) utf8 += EncodeUtf8(c);
        gb18030 += Utf8ToGb18030(utf8) + '|';  // a block with a character GB18030 lacks is empty
        gbk += Utf8ToGbk(utf8);
    }
    std::string codes;
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x30; trail <= 0xFF; ++trail) codes += {static_cast<char>(lead), static_cast<char>(trail), ' '};
    EXPECT_EQ(Fingerprint(gb18030), 12463568247978586308ull);
    EXPECT_EQ(Fingerprint(gbk), 11314380663824222959ull);
    EXPECT_EQ(Fingerprint(GbkToUtf8(codes)), 10208760306409020834ull);
}

TEST(TextTest, UpToFirstZero) { EXPECT_EQ(UpToFirstZero(std::string("ab\0cd", 5)), "ab"); }

}  // namespace
}  // namespace zonvex
