#include <gtest/gtest.h>

#include "platform/message_box_text.h"

namespace zonvex {
namespace {

Text Repeat(const Text& piece, size_t times) {
    Text out;
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(MessageBoxTextTest, TextsBeyondWhatABoxShowsAreCutBetweenCharactersAndMarked) {
    const struct {
        const char* what;
        Text text, shown;
    } cases[] = {
        {"empty", "", ""},
        {"a short message", "转换失败！", "转换失败！"},
        {"exactly the bytes a box shows", Repeat("a", kMessageBoxMaxBytes), Repeat("a", kMessageBoxMaxBytes)},
        {"one byte more", Repeat("a", kMessageBoxMaxBytes + 1), Repeat("a", kMessageBoxMaxBytes) + "……"},
        {"Chinese that fits evenly", Repeat("维", kMessageBoxMaxBytes / 2) + "x", Repeat("维", kMessageBoxMaxBytes / 2) + "……"},
        {"a character across the bound stays whole or goes",
         "a" + Repeat("维", kMessageBoxMaxBytes / 2), "a" + Repeat("维", kMessageBoxMaxBytes / 2 - 1) + "……"},
        {"exactly the lines a box shows", Repeat("公告\r\n", kMessageBoxMaxLines - 1) + "公告",
         Repeat("公告\r\n", kMessageBoxMaxLines - 1) + "公告"},
        {"one line more", Repeat("公告\r\n", kMessageBoxMaxLines) + "公告",
         Repeat("公告\r\n", kMessageBoxMaxLines - 1) + "公告……"},
        {"lines ended by LF alone", Repeat("x\n", kMessageBoxMaxLines + 5), Repeat("x\n", kMessageBoxMaxLines - 1) + "x……"},
        {"megabytes", Repeat("维护公告，", 400000), Repeat("维护公告，", 200) + "……"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortenedForMessageBox(c.text), c.shown) << c.what;
    }
}

}  // namespace
}  // namespace zonvex
