#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/linux/linux_platform.h"
#include "support/fake_home.h"
#include "support/utf8.h"

namespace zonvex::linux_platform {
namespace {

using testing::FakeHome;
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
    std::optional<RegString> expected;
};

TEST(WineRegistryTest, ReadsStringValues) {
    const RegCase cases[] = {
        {"plain string", UserReg("\"install\"=\"C:\\\\Games\\\\CF\\\\rude\\\\Client.exe\""),
         RegString{"C:\\Games\\CF\\rude\\Client.exe"}},
        {"escaped Chinese", UserReg("\"install\"=\"D:\\\\\\x6211\\x7684\\x6e38\\x620f\""), RegString{U8(u8"D:\\我的游戏")}},
        {"raw UTF-8", UserReg(U8(u8"\"install\"=\"D:\\\\我的游戏\"")), RegString{U8(u8"D:\\我的游戏")}},
        {"quote escape", UserReg("\"install\"=\"a\\\"b\""), RegString{"a\"b"}},
        {"names ignore case", UserReg("\"INSTALL\"=\"C:\\\\cf\"", "software\\\\TENCENT\\\\crossfire"), RegString{"C:\\cf"}},
        {"expandable string", UserReg("\"install\"=str(2):\"%ProgramFiles%\\\\cf\""), RegString{"%ProgramFiles%\\cf", true}},
        {"expandable hex", UserReg("\"install\"=hex(2):25,00,5a,00,4f,00,4e,00,56,00,45,00,58,00,5f,00,54,00,45,00,\\\n"
                                   "  53,00,54,00,5f,00,47,00,41,00,4d,00,45,00,53,00,25,00,00,00"),
         RegString{"%ZONVEX_TEST_GAMES%", true}},
        {"dword is not a string", UserReg("\"install\"=dword:00000001"), std::nullopt},
        {"binary is not a string", UserReg("\"install\"=hex:43,00"), std::nullopt},
        {"multi-string is not a string", UserReg("\"install\"=str(7):\"a\\0b\""), std::nullopt},
        {"missing value", UserReg("\"other\"=\"x\""), std::nullopt},
        {"missing key", UserReg("\"install\"=\"x\"", "Software\\\\Tencent\\\\CF"), std::nullopt},
        {"unterminated string", UserReg("\"install\"=\"C:\\\\cf"), std::nullopt},
        {"lone surrogate", UserReg("\"install\"=\"C:\\\\\\xd83c\""), RegString{"C:\\?"}},
        {"CR LF lines", "[Software\\\\Tencent\\\\CrossFire] 1\r\n\"install\"=\"C:\\\\cf\"\r\n", RegString{"C:\\cf"}},
        {"garbage", std::string("\0\xff[\x01\"\"=\\x", 9), std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadRegString(c.userReg, kKey, kValue), c.expected) << c.name;
}

TEST(WineRegistryTest, HugeFileWithoutTheKey) {
    std::string huge;
    for (int i = 0; i < 200000; ++i) huge += "[Software\\\\K" + std::to_string(i) + "] 1\n\"install\"=\"x\"\n";
    EXPECT_EQ(ReadRegString(huge, kKey, kValue), std::nullopt);
}

// The parts of a fresh Wine prefix's registry that define variables.
const std::string kSystemReg =
    "WINE REGISTRY Version 2\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
    "\"CommonFilesDir\"=\"C:\\\\Program Files\\\\Common Files\"\n"
    "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n"
    "\"ProgramFilesDir (x86)\"=\"C:\\\\Program Files (x86)\"\n"
    "\"ProgramFilesPath\"=str(2):\"%ProgramFiles%\"\n\n"
    "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n"
    "\"SystemRoot\"=\"C:\\\\windows\"\n\n"
    "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\ProfileList] 1\n"
    "\"ProgramData\"=\"C:\\\\ProgramData\"\n\"Public\"=\"C:\\\\users\\\\Public\"\n\n"
    "[System\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment] 1\n"
    "\"ComSpec\"=str(2):\"%SystemRoot%\\\\system32\\\\cmd.exe\"\n"
    "\"TEMP\"=str(2):\"%SystemRoot%\\\\temp\"\n"
    "\"windir\"=str(2):\"%SystemRoot%\"\n"
    "\"OS\"=\"Windows_NT\"\n";
const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    "[Environment] 1\n\"TEMP\"=\"C:\\\\users\\\\me\\\\Temp\"\n\"GAMES\"=str(2):\"%USERPROFILE%\\\\Games\"\n\n"
    "[Volatile Environment] 1\n\"APPDATA\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n"
    "\"USERPROFILE\"=\"C:\\\\users\\\\me\"\n";

TEST(WineRegistryTest, ExpandsWithThePrefixsOwnVariables) {
    const WineVariables variables = PrefixVariables(kSystemReg, kUserReg);
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"%ProgramFiles%\\cf", "C:\\Program Files\\cf"},
        {"%programfiles(x86)%\\cf", "C:\\Program Files (x86)\\cf"},
        {"%CommonProgramFiles%", "C:\\Program Files\\Common Files"},
        {"%windir%\\x", "C:\\windows\\x"},
        {"%SystemDrive%\\Games", "C:\\Games"},
        {"%ProgramData%|%PUBLIC%|%ComSpec%", "C:\\ProgramData|C:\\users\\Public|C:\\windows\\system32\\cmd.exe"},
        {"%TEMP%", "C:\\users\\me\\Temp"},  // the user's Environment over the system's
        {"%APPDATA%\\cf", "C:\\users\\me\\AppData\\Roaming\\cf"},
        {"%HOME%\\cf", "%HOME%\\cf"},  // the Linux environment is not the prefix's
        {"%NOPE%%ProgramFiles%", "%NOPE%C:\\Program Files"},
        {"100% %OS%", "100% Windows_NT"},
        {"%%", "%%"},
        {"50%", "50%"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandVariables(c.text, variables), c.expected) << c.text;
    // A user variable may refer to one defined later, in Volatile Environment: like Windows, it is
    // expanded with what is known when it is read.
    EXPECT_EQ(variables.at("games"), "%USERPROFILE%\\Games");
    EXPECT_TRUE(PrefixVariables("", "").empty());
}

// Fake homes with prefixes holding the client's value; which one the program is given.
struct LookupCase {
    const char* name;
    std::function<void(const FakeHome&, Environment&)> build;
    std::optional<std::string> expected;  // "~" for the home's host form "Z:\...\home"
};

const std::string kCfValue = "\"install\"=str(2):\"%ProgramFiles%\\\\\\x7a7f\\x8d8a\\x706b\\x7ebf\\\\rude\\\\Client.exe\"";

void Install(const FakeHome& home, const std::string& folder) {
    home.write(folder + "/crossfire.exe", "MZ");
    home.write(folder + "/rude/Client.exe", "MZ");
}

TEST(WineRegistryTest, EveryKnownPrefixIsAsked) {
    const LookupCase cases[] = {
        {"nothing anywhere", [](const FakeHome&, Environment&) {}, std::nullopt},
        {"the own prefix keeps its drive form",
         [](const FakeHome& h, Environment&) {
             h.prefix(".wine", UserReg("\"install\"=\"C:\\\\cf\""));
             Install(h, ".wine/drive_c/cf");
         },
         "C:\\cf"},
        {"an expandable value in a Lutris prefix, in host form",
         [](const FakeHome& h, Environment&) {
             h.prefix("Games/cf", UserReg(kCfValue), kSystemReg);
             Install(h, "Games/cf/drive_c/Program Files/穿越火线");
             h.write(".config/lutris/games/cf.yml", "game:\n  prefix: " + h.at("Games/cf") + "\n");
         },
         "Z:~\\Games\\cf\\drive_c\\Program Files\\穿越火线\\rude\\Client.exe"},
        {"a stale value loses to one that names an installation",
         [](const FakeHome& h, Environment&) {
             h.prefix(".wine", UserReg("\"install\"=\"C:\\\\gone\""));
             h.prefix(".PlayOnLinux/wineprefix/CF", UserReg(kCfValue), kSystemReg);
             Install(h, ".PlayOnLinux/wineprefix/CF/drive_c/Program Files/穿越火线");
         },
         "Z:~\\.PlayOnLinux\\wineprefix\\CF\\drive_c\\Program Files\\穿越火线\\rude\\Client.exe"},
        {"with no installation anywhere, the first value found",
         [](const FakeHome& h, Environment&) {
             h.prefix(".wine", UserReg("\"install\"=\"C:\\\\gone\""));
             h.prefix(".PlayOnLinux/wineprefix/CF", UserReg("\"install\"=\"C:\\\\also gone\""));
         },
         "C:\\gone"},
        {"WINEPREFIX is the own prefix; ~/.wine is another",
         [](const FakeHome& h, Environment& env) {
             h.prefix(".wine", UserReg("\"install\"=\"C:\\\\cf\""));
             Install(h, ".wine/drive_c/cf");
             h.prefix("mine", UserReg("\"install\"=\"C:\\\\gone\""));
             env.winePrefix = h.at("mine");
         },
         "Z:~\\.wine\\drive_c\\cf"},
        {"an unknown variable stays; damaged registry files are passed over",
         [](const FakeHome& h, Environment&) {
             h.prefix(".wine", std::string("\0\xff[\"", 4));
             h.prefix(".PlayOnLinux/wineprefix/A", UserReg("\"install\"=str(2):\"%CF_HOME%\\\\cf\""), "[");
         },
         "%CF_HOME%\\cf"},
    };
    for (const auto& c : cases) {
        FakeHome home;
        Environment env = home.environment();
        c.build(home, env);
        Files files(env.ownPrefix());
        WineRegistry registry(env, [&](const Text& value) {
            return files.exists(RemoveAllIgnoringAsciiCase(value, "\\rude\\Client.exe") + "\\crossfire.exe");
        });
        std::optional<Text> expected;
        if (c.expected) {
            Text hostHome = PathText(home.str());
            std::replace(hostHome.begin(), hostHome.end(), '/', '\\');
            expected = *c.expected;
            if (auto at = expected->find('~'); at != Text::npos) expected->replace(at, 1, hostHome);
        }
        EXPECT_EQ(registry.currentUserString(kKey, kValue), expected) << c.name;
    }
}

TEST(WineRegistryTest, EveryValueWithItsPrefix) {
    FakeHome home;
    home.prefix(".wine", UserReg("\"install\"=\"C:\\\\a\""));
    home.prefix(".PlayOnLinux/wineprefix/B", UserReg(kCfValue), kSystemReg);
    home.prefix(".PlayOnLinux/wineprefix/C");
    auto found = FindRegistryValues(home.environment(), kKey, kValue);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].prefix.source, "home");
    EXPECT_EQ(found[0].value, "C:\\a");
    EXPECT_EQ(found[0].path, "C:\\a");
    EXPECT_EQ(found[1].prefix.path, home.at(".PlayOnLinux/wineprefix/B"));
    EXPECT_EQ(found[1].value, U8(u8"C:\\Program Files\\穿越火线\\rude\\Client.exe"));
}

}  // namespace
}  // namespace zonvex::linux_platform
