// Which link texts are handed to the system's "open" action: the same rule on every system.
#include "platform/web_address.h"

#include <gtest/gtest.h>

namespace zonvex {
namespace {

TEST(WebAddressTest, OnlyHttpAndHttpsAreOpened) {
    const struct {
        const char* target;
        bool opened;
    } cases[] = {
        {"http://example.test/b", true},
        {"HTTPS://example.test/a", true},
        {"Http://example.test", true},
        {"", false},
        {"无", false},
        {"file:///etc/passwd", false},
        {"file://C:/Windows/System32/calc.exe", false},
        {"javascript:alert(1)", false},
        {"/usr/bin/xterm", false},
        {"C:\\a.exe", false},
        {"\\\\server\\share\\a.exe", false},
        {"httpx://a", false},
        {"ftp://example.test/", false},
        {" http://example.test", false},
        {"www.example.test", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWebAddress(c.target), c.opened) << c.target;
}

}  // namespace
}  // namespace zonvex
