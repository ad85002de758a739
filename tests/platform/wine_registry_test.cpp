#include <gtest/gtest.h>

#include <stdlib.h>

#include "platform/linux/linux_platform.h"
#include "support/temp_dir.h"
#include "support/utf8.h"

namespace zonvex::linux_platform {
namespace {

using testing::U8;

const Text kKey = "Software\\Tencent\\CrossFire";
const Text kValue = "install";

std::string UserReg(const std::string& valueLine, const std::string& key = "Software\\\\Tencent\\\\CrossFire") {
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win32\n\n"
           "[Software\\\\Other] 1700000000\n\"install\"=\"C:\\\\wrong\"\n\n"
           "[" + key + "] 1700000000\n#time=1da0000000000000\n\"Path\"=\"x\"\n" + valueLine + "\n\n"
           "[Software\\\\Zzz] 1700000000\n";
}

struct RegCase {
    const char* name;
    std::string userReg;
    std::optional<Text> expected;
};

TEST(WineRegistryTest, ReadsStringValues) {
    setenv("ZONVEX_TEST_GAMES", U8(u8"/srv/游戏").c_str(), 1);
    const RegCase cases[] = {
        {"plain string", UserReg("\"install\"=\"C:\\\\Games\\\\CF\\\\rude\\\\Client.exe\""),
         "C:\\Games\\CF\\rude\\Client.exe"},
        {"escaped Chinese", UserReg("\"install\"=\"D:\\\\\\x6211\\x7684\\x6e38\\x620f\""), "D:\\我的游戏"},
        {"raw UTF-8", UserReg(U8(u8"\"install\"=\"D:\\\\我的游戏\"")), "D:\\我的游戏"},
        {"quote escape", UserReg("\"install\"=\"a\\\"b\""), "a\"b"},
        {"names ignore case", UserReg("\"INSTALL\"=\"C:\\\\cf\"", "software\\\\TENCENT\\\\crossfire"), "C:\\cf"},
        {"expandable string", UserReg("\"install\"=str(2):\"%ZONVEX_TEST_GAMES%\\\\cf\""), "/srv/游戏\\cf"},
        {"unknown variable stays", UserReg("\"install\"=str(2):\"%ZONVEX_NO_SUCH%\\\\cf\""), "%ZONVEX_NO_SUCH%\\cf"},
        {"expandable hex", UserReg("\"install\"=hex(2):25,00,5a,00,4f,00,4e,00,56,00,45,00,58,00,5f,00,54,00,45,00,\\\n"
                                   "  53,00,54,00,5f,00,47,00,41,00,4d,00,45,00,53,00,25,00,00,00"),
         "/srv/游戏"},
        {"dword is not a string", UserReg("\"install\"=dword:00000001"), std::nullopt},
        {"binary is not a string", UserReg("\"install\"=hex:43,00"), std::nullopt},
        {"multi-string is not a string", UserReg("\"install\"=str(7):\"a\\0b\""), std::nullopt},
        {"missing value", UserReg("\"other\"=\"x\""), std::nullopt},
        {"missing key", UserReg("\"install\"=\"x\"", "Software\\\\Tencent\\\\CF"), std::nullopt},
        {"unterminated string", UserReg("\"install\"=\"C:\\\\cf"), std::nullopt},
        {"character outside GBK", UserReg("\"install\"=\"C:\\\\\\xd83c\\xdfae\""), "C:\\?"},
        {"CR LF lines", "[Software\\\\Tencent\\\\CrossFire] 1\r\n\"install\"=\"C:\\\\cf\"\r\n", "C:\\cf"},
        {"garbage", std::string("\0\xff[\x01\"\"=\\x", 9), std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadUserRegString(c.userReg, kKey, kValue), c.expected) << c.name;
}

TEST(WineRegistryTest, ReadsTheFileInThePrefix) {
    testing::TempDir prefix;
    auto file = prefix.write("user.reg", UserReg("\"install\"=\"C:\\\\cf\""));
    EXPECT_EQ(WineRegistry(file.string()).currentUserString(kKey, kValue), "C:\\cf");
    EXPECT_EQ(WineRegistry((prefix.path() / "none.reg").string()).currentUserString(kKey, kValue), std::nullopt);
    EXPECT_EQ(WineRegistry(prefix.str()).currentUserString(kKey, kValue), std::nullopt) << "a folder";
}

TEST(WineRegistryTest, HugeFileWithoutTheKey) {
    std::string huge;
    for (int i = 0; i < 200000; ++i) huge += "[Software\\\\K" + std::to_string(i) + "] 1\n\"install\"=\"x\"\n";
    EXPECT_EQ(ReadUserRegString(huge, kKey, kValue), std::nullopt);
}

}  // namespace
}  // namespace zonvex::linux_platform
