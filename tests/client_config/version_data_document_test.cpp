#include "program/version_data_document.h"

#include <gtest/gtest.h>

namespace zonvex {
namespace {

TEST(VersionDataDocumentTest, LoadDropsDeclarationAndCommentsAndTrimsText) {
    VersionDataDocument doc;
    ASSERT_TRUE(doc.load("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- c -->\n<a x=\"1&amp;2\">\n\t <b> \t v \r\n</b><c>  </c><!-- d -->\n<d>中文</d></a>"));
    EXPECT_EQ(doc.save(), "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<a x=\"1&amp;2\">\r\n\t<b>v</b>\r\n\t<c/>\r\n\t<d>中文</d>\r\n</a>");
}

TEST(VersionDataDocumentTest, ElementPaths) {
    VersionDataDocument doc;
    ASSERT_TRUE(doc.load("<r><a>1</a><!-- x --><b><c>2</c><c>3</c></b></r>"));
    const std::pair<const char*, std::optional<Text>> cases[] = {
        {"@1", ""}, {"r", ""}, {"@1/@1", "1"}, {"@1/@2/@2", "3"}, {"r/b/c", "2"}, {"@1/b/@2", "3"},
        {"@2", std::nullopt}, {"x", std::nullopt}, {"@1/@3", std::nullopt}, {"@1/@0", std::nullopt},
        {"@1/@", std::nullopt}, {"@1/@1x", std::nullopt}, {"@1//@1", std::nullopt}, {"", std::nullopt},
        {"@1/@1/@1", std::nullopt}, {"@1/@99999999999999999999", std::nullopt},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(doc.getText(path), expected) << path;
    doc.setText("@1/@9", "x");  // selects nothing: no change
    doc.setText("@1/@2/@1", "new");
    EXPECT_EQ(doc.getText("@1/@2/@1"), "new");
    EXPECT_EQ(doc.save(), "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<r>\r\n\t<a>1</a>\r\n\t<b>\r\n\t\t<c>new</c>\r\n\t\t<c>3</c>\r\n\t</b>\r\n</r>");
}

TEST(VersionDataDocumentTest, BadFilesLeaveTheDocumentEmpty) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""}, {"not XML", "hello"}, {"truncated", "<a><b>1</b"}, {"binary", std::string("\0\xff<\x01", 4)},
        {"only a declaration", "<?xml version=\"1.0\"?>"}, {"unclosed deep nesting", deep},
    };
    for (const auto& [name, bytes] : cases) {
        VersionDataDocument doc;
        doc.load("<a>old</a>");
        EXPECT_FALSE(doc.load(bytes)) << name;
        EXPECT_TRUE(doc.empty()) << name;
        EXPECT_EQ(doc.save(), std::nullopt) << name;
        doc.setText("@1", "x");
        EXPECT_EQ(doc.getText("@1"), std::nullopt) << name;
    }
}

TEST(VersionDataDocumentTest, DeeplyNestedDocumentSavesWithoutRecursion) {
    std::string deep;
    const int depth = 20000;
    for (int i = 0; i < depth; ++i) deep += "<a>";
    for (int i = 0; i < depth; ++i) deep += "</a>";
    VersionDataDocument doc;
    ASSERT_TRUE(doc.load(deep));
    auto saved = doc.save();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->substr(saved->size() - 6), "\r\n</a>");
}

}  // namespace
}  // namespace zonvex
