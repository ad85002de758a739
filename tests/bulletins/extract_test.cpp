#include "bulletins/extract.h"

#include <gtest/gtest.h>

namespace zonvex {
namespace {

struct Case {
    const char* name;
    std::string source, start, end;
    Text between, byPattern;  // what each operation gives
};

// "）" is A3 A9. In "\xB0\xA3\xA9\xB0" its bytes stand across two characters (B0 A3, A9 B0).
const Case kCases[] = {
    {"empty source", "", "a", "b", "", ""},
    {"plain", "x公告：（你好）y", "公告：（", "）", "你好", "你好"},
    {"second row", "体验服一：2.1版本体验服二：2.2版本", "体验服二：", "版本", "2.2", "2.2"},
    {"first start marker wins", "<a>1<a>2</a>", "<a>", "</a>", "1<a>2", "1<a>2"},
    {"end marker only before the start", ">x<", "<", ">", "", ""},
    {"end right after start", "<>", "<", ">", "", ""},
    {"empty end marker", "ab<cd", "<", "", "cd", ""},
    {"empty start marker", "ab]cd]", "", "]", "ab", "ab"},
    {"both empty", "abc", "", "", "abc", ""},
    {"missing start", "abc", "<", ">", "", ""},
    {"dot is a wildcard for patterns", "198x18.2.22", "198.18.", ".22", "", "2"},
    {"runs over line breaks", "手动补丁：（http://a\r\nb）", "手动补丁：（", "）", "http://a\r\nb", "http://a\r\nb"},
    {"nothing trimmed", "版本： 1.0 版本", "版本：", "版本", " 1.0 ", " 1.0 "},
    {"marker hidden across two characters", "<\xB0\xA3\xA9\xB0x\xA3\xA9", "<", "\xA3\xA9", "\xB0\xA3\xA9\xB0x", "\xB0"},
    {"group inside a marker becomes group 1", "ab", "(a)", "b", "", "a"},
};

TEST(ExtractTest, Between) {
    for (const auto& c : kCases) EXPECT_EQ(ExtractBetween(c.source, c.start, c.end), c.between) << c.name;
}

TEST(ExtractTest, ByPattern) {
    for (const auto& c : kCases) EXPECT_EQ(ExtractByPattern(c.start, c.end, c.source), c.byPattern) << c.name;
}

TEST(ExtractTest, PatternFailuresGiveTheEmptyText) {
    EXPECT_EQ(ExtractByPattern("(", "]", "(x]"), "") << "does not compile";
    EXPECT_EQ(ExtractByPattern("a|", "b", "xa"), "") << "group 1 took no part";
    // Many start markers without an end make the library give up.
    std::string source(300000, 'a');
    EXPECT_EQ(ExtractByPattern("(a*)*", "b", source), "");
    EXPECT_EQ(ExtractByPattern("a", "b", source), "");
}

}  // namespace
}  // namespace zonvex
