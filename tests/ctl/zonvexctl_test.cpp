// zonvexctl against a temporary Wine prefix holding a client installation, pages served on
// 127.0.0.1 and a small /proc tree; the real files, registry, process and page readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "client_config/stamp.h"
#include "client_config/switch_zone.h"
#include "ctl/zonvexctl.h"
#include "platform/linux/linux_platform.h"
#include "support/fake_home.h"
#include "support/fake_platform.h"
#include "support/page_server.h"
#include "support/temp_dir.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

namespace fs = std::filesystem;
using namespace linux_platform;
using testing::ReadFile;
using testing::U8;

const std::string kFolder = U8(u8"C:\\游戏\\穿越火线");
const std::string kInstall = U8(u8"drive_c/游戏/穿越火线");
const Text kInstallText = "drive_c/游戏/穿越火线";  // as TempDir takes names
// The registry value as Wine writes it: "C:\游戏\穿越火线\rude\Client.exe".
const std::string kUserReg = "WINE REGISTRY Version 2\n\n[Software\\\\Tencent\\\\CrossFire] 1700000000\n"
                             "\"install\"=\"C:\\\\\\x6e38\\x620f\\\\\\x7a7f\\x8d8a\\x706b\\x7ebf\\\\rude\\\\Client.exe\"\n";

std::string SamplePage(const std::string& name) {
    return std::regex_replace(ReadFile(fs::path(ZONVEX_SAMPLE_PAGES) / name), std::regex("@BASE@"), "http://dl.test");
}

// What one case changes in the world before zonvexctl runs.
enum class Setup { None, NoRegistry, RunningClient, ReadOnlyFile, Zone3Stopped, LiveLocked, OnlyZone1, DamagedPages,
                   EmptyPages };

struct Result {
    int code;
    std::string out, err;
};

// A prefix with the installation set to the live servers at 1.0.320.500.
class Zonvexctl {
public:
    explicit Zonvexctl(Setup setup) {
        // The registry names the installation, unless the client is only running.
        const bool registered = setup != Setup::NoRegistry && setup != Setup::RunningClient;
        dir.prefix("prefix", registered ? kUserReg : "WINE REGISTRY Version 2\n");
        environment.winePrefix = prefix().string();
        dir.write("prefix/" + kInstallText + "/crossfire.exe", "");
        dir.mkdir("prefix/" + kInstallText + "/RUDE/config");
        VersionDataDocument doc;
        WriteProfileFiles(files, doc, Utf8ToGbk(install().string()), ZoneProfile::LiveServers, "1.0.320.500");
        dir.mkdir("proc");
        if (setup == Setup::RunningClient) runClient(4242, install() / "rude/Client.exe");
        if (setup == Setup::ReadOnlyFile) fs::permissions(install() / "RUDE/mmog_data.xml", fs::perms::owner_read);

        std::string versions = SamplePage("versions.html");
        if (setup == Setup::Zone3Stopped) versions = std::regex_replace(versions, std::regex("1.0.333.603"), U8(u8"已经停服"));
        if (setup == Setup::LiveLocked) versions = std::regex_replace(versions, std::regex("1.0.320.500"), U8(u8"不可还原"));
        if (setup == Setup::OnlyZone1) versions = U8(u8"体验服一：1.0.331.601版本");
        std::string bulletin = SamplePage("bulletin.html");
        if (setup == Setup::DamagedPages) versions = bulletin = Utf8ToGbk(versions);  // GBK is not UTF-8
        if (setup == Setup::EmptyPages) versions = bulletin = "<html>nothing here</html>";
        pages.serve("/versions.html", versions);
        pages.serve("/bulletin.html", bulletin);
    }

    fs::path prefix() const { return dir.path() / "prefix"; }
    fs::path install() const { return prefix() / fs::u8path(kInstall); }
    fs::path logFile() const { return dir.path() / "state/zonvex/zonvexctl.log"; }

    // A launcher running under Wine in this prefix, as /proc shows it: the image mapped into it.
    void runClient(int id, const fs::path& image) const {
        const std::string process = "proc/" + std::to_string(id);
        dir.write(process + "/comm", "Client.exe\n");
        dir.write(process + "/maps", "7f0000000000-7f0000001000 r--p 00000000 08:01 1234567    " + image.string() + "\n");
        dir.write(process + "/environ", "WINEPREFIX=" + prefix().string() + '\0');
    }

    Result run(const std::vector<std::string>& args) {
        ControlServices services{files, http, launcher,
                                 [this] {
                                     const std::string proc = (dir.path() / "proc").string();
                                     return InstallationsSeen(LauncherSightings(environment, proc), files);
                                 },
                                 {pages.url("/versions.html"), pages.url("/bulletin.html")}, logFile().string()};
        std::ostringstream out, err;
        int code = RunZonvexctl(args, services, out, err);
        return {code, out.str(), err.str()};
    }

    // The three client files, read as they are on disk.
    std::string clientFiles() const {
        return ReadFile(install() / "RUDE/config/dirserver.xml") + ReadFile(install() / "RUDE/config/VersionServerConfig.xml") +
               ReadFile(install() / "RUDE/mmog_data.xml");
    }
    static std::string profileFiles(ZoneProfile zone, const Text& version) {
        return std::string(FilesOf(zone).dirServer) + std::string(FilesOf(zone).versionServer) + StampedVersionData(version);
    }

    testing::FakeHome dir;
    Environment environment = dir.environment();
    Files files{prefix().string()};
    CurlHttp http;
    testing::FakeLauncher launcher;
    testing::PageServer pages;
};

const std::string kLiveStatus = kFolder + "\n" + U8(u8"【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为正服\n") +
                                U8(u8"【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端版本号为：1.0.320.500\n");
const std::string kZone1Status = kFolder + "\n" + U8(u8"【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服一区\n") +
                                 U8(u8"【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端版本号为：1.0.331.601\n");

struct Case {
    const char* name;
    Setup setup;
    std::vector<std::string> args;
    int code;
    std::string out;  // exactly what standard output holds
    std::string err;  // a part of what standard error holds
    std::optional<std::pair<ZoneProfile, Text>> files = std::nullopt;  // what the client files hold; unchanged when none
};

const std::string kLiveJson = R"({"folder":"C:\\)" + U8(u8"游戏\\\\穿越火线") + R"(","zone":"live","version":"1.0.320.500"})" "\n";

TEST(ZonvexctlTest, Commands) {
    const std::string folderJson = R"("folder":"C:\\)" + U8(u8"游戏\\\\穿越火线") + R"(")";
    const Case cases[] = {
        // status
        {"status of the installation the registry names", Setup::None, {"status"}, 0, kLiveStatus, ""},
        {"status as JSON", Setup::None, {"status", "--json"}, 0, kLiveJson, ""},
        {"status of a Windows path given", Setup::None, {"--json", "status", kFolder}, 0, kLiveJson, ""},
        {"status of a running client", Setup::RunningClient, {"status"}, 0, kLiveStatus, ""},
        {"status where nothing is installed", Setup::NoRegistry, {"status"}, 3, "", U8(u8"没有找到CF客户端")},
        {"status of a folder without the client", Setup::None, {"status", "/nonexistent"}, 3, "",
         U8(u8"这里没有CF客户端（找不到 crossfire.exe）：/nonexistent")},
        {"status errors as JSON", Setup::None, {"status", "--json", "/nonexistent"}, 3,
         R"({"error":"no-installation","message":")" + U8(u8"这里没有CF客户端（找不到 crossfire.exe）：/nonexistent\"}\n"), ""},

        // switch
        {"switch with the recommended version", Setup::None, {"switch", "test1"}, 0, kZone1Status,
         U8(u8"没有给出版本号，使用推荐版本号：1.0.331.601\n已成功转换到体验服一区！\n"),
         std::pair{ZoneProfile::TestZone1, Text("1.0.331.601")}},
        {"switch by the Chinese name, with a version, as JSON", Setup::None, {"--json", "switch", U8(u8"体验服二区"), "--version", "9.9.9"}, 0,
         "{" + folderJson + R"(,"zone":"test2","version":"9.9.9","zone_before":"live","version_before":"1.0.320.500","result":"switched","launched":false})" "\n",
         U8(u8"已成功转换到体验服二区！"), std::pair{ZoneProfile::TestZone2, Text("9.9.9")}},
        {"switch to where it already is", Setup::None, {"switch", "live", "--version=1.0.320.500", "--json"}, 0,
         "{" + folderJson + R"(,"zone":"live","version":"1.0.320.500","zone_before":"live","version_before":"1.0.320.500","result":"already","launched":false})" "\n",
         ""},
        {"already there is done even when a file is read-only", Setup::ReadOnlyFile, {"switch", "live", "--version", "1.0.320.500"}, 0,
         kLiveStatus, ""},
        {"a read-only file fails the switch and changes nothing", Setup::ReadOnlyFile, {"switch", "test1"}, 1, "",
         U8(u8"转换失败！客户端的文件无法写入，没有做任何改动。")},
        {"a read-only file as JSON", Setup::ReadOnlyFile, {"switch", "test1", "--json"}, 1,
         R"({"error":"not-written","message":")" + U8(u8"转换失败！客户端的文件无法写入，没有做任何改动。\"}\n"), ""},
        {"zone 3 stopped", Setup::Zone3Stopped, {"switch", "test3"}, 5, "", U8(u8"此服务器已经停服")},
        {"the live servers locked", Setup::LiveLocked, {"switch", "live", "--json"}, 5,
         R"({"error":"refused","message":")" + U8(u8"目前无法还原正服\"}\n"), ""},
        {"a version given is switched to even when the zone is stopped", Setup::Zone3Stopped,
         {"switch", "test3", "--version", "1.0.333.1"}, 0, "", "", std::pair{ZoneProfile::TestZone3, Text("1.0.333.1")}},
        {"no recommendation for the zone", Setup::OnlyZone1, {"switch", "test2"}, 4, "",
         U8(u8"版本推荐页面上没有体验服二区的推荐版本。")},
        {"a damaged versions page", Setup::DamagedPages, {"switch", "test1", "--json"}, 4,
         R"({"error":"page-unreadable","message":")" + U8(u8"无法读取版本推荐页面。\"}\n"), ""},
        {"switch where nothing is installed", Setup::NoRegistry, {"switch", "test1", "--version", "1.0"}, 3, "",
         U8(u8"没有找到CF客户端")},
        {"switch of a Linux path that is no installation", Setup::None, {"switch", "test1", "/tmp"}, 3, "",
         U8(u8"这里没有CF客户端")},

        // versions and links
        {"versions", Setup::None, {"versions"}, 0,
         U8(u8"体验服一区：1.0.331.601\n体验服二区：1.0.332.602\n体验服三区：1.0.333.603\n正服：1.0.320.500\n"), ""},
        {"versions as JSON", Setup::None, {"versions", "--json"}, 0,
         R"({"test1":"1.0.331.601","test2":"1.0.332.602","test3":"1.0.333.603","live":"1.0.320.500"})" "\n", ""},
        {"versions, one zone named", Setup::OnlyZone1, {"versions", "--json"}, 0,
         R"({"test1":"1.0.331.601","test2":null,"test3":null,"live":null})" "\n", ""},
        {"versions from a damaged page", Setup::DamagedPages, {"versions"}, 4, "", U8(u8"无法读取版本推荐页面。")},
        {"versions from a page without any", Setup::EmptyPages, {"versions"}, 4, "", U8(u8"版本推荐页面上没有任何推荐版本。")},
        {"links", Setup::None, {"links"}, 0,
         U8(u8"手动补丁：http://dl.test/downloads/patch.html\n"
            u8"一区最新完整版客户端下载地址：http://dl.test/downloads/zone1-full.html\n"
            u8"一区QQ会员下载器：http://dl.test/downloads/zone1-qq.html\n一区蓝钻下载器：无\n"
            u8"二区最新完整版客户端下载地址：http://dl.test/downloads/zone2-full.html\n二区QQ会员下载器：无\n"
            u8"二区蓝钻下载器：http://dl.test/downloads/zone2-blue.html\n"
            u8"三区最新完整版客户端下载地址：无\n三区QQ会员下载器：无\n三区蓝钻下载器：无\n"),
         ""},
        {"links as JSON", Setup::None, {"links", "--json"}, 0,
         R"({"patch":"http://dl.test/downloads/patch.html","downloads":{)"
         R"("test1":{"client":"http://dl.test/downloads/zone1-full.html","qq_member":"http://dl.test/downloads/zone1-qq.html","blue_diamond":null},)"
         R"("test2":{"client":"http://dl.test/downloads/zone2-full.html","qq_member":null,"blue_diamond":"http://dl.test/downloads/zone2-blue.html"},)"
         R"("test3":{"client":null,"qq_member":null,"blue_diamond":null}}})" "\n",
         ""},
        {"links from a damaged page", Setup::DamagedPages, {"links", "--json"}, 4,
         R"({"error":"page-unreadable","message":")" + U8(u8"无法读取公告页面。\"}\n"), ""},
        {"links from a page without any", Setup::EmptyPages, {"links"}, 4, "", U8(u8"公告页面上没有任何下载地址。")},

        // find
        {"find", Setup::None, {"find"}, 0, kFolder + "\t@PREFIX@\tregistry\n", ""},
        {"find as JSON", Setup::RunningClient, {"find", "--json"}, 0,
         R"({"installations":[{)" + folderJson + R"(,"prefix":"@PREFIX@","source":"running"}]})" "\n", ""},
        {"find nothing", Setup::NoRegistry, {"find", "--json"}, 3, "{\"installations\":[]}\n", U8(u8"没有找到CF客户端")},

        // usage
        {"help", Setup::None, {"--help"}, 0, "@HELP@", ""},
        {"help wins over anything else", Setup::None, {"switch", "--bogus", "-h"}, 0, "@HELP@", ""},
        {"the program's version", Setup::None, {"--version"}, 0, "zonvexctl " ZONVEX_VERSION "\n", ""},
        {"no command", Setup::None, {}, 2, "", U8(u8"用法错误：缺少命令\n请用 zonvexctl --help 查看用法。\n")},
        {"an unknown command", Setup::None, {"swtich", "test1"}, 2, "", U8(u8"用法错误：未知的命令 swtich")},
        {"an unknown zone", Setup::None, {"switch", "test4"}, 2, "", U8(u8"用法错误：未知的区 test4")},
        {"no zone", Setup::None, {"switch", "--json"}, 2, R"({"error":"usage","message":")" + U8(u8"用法错误：缺少要转换到的区\"}\n"), ""},
        {"--version without its value", Setup::None, {"switch", "test1", "--version"}, 2, "", U8(u8"--version 后面缺少版本号")},
        {"an empty version", Setup::None, {"switch", "test1", "--version", ""}, 2, "", U8(u8"版本号是空的")},
        {"--launch outside switch", Setup::None, {"status", "--launch"}, 2, "", U8(u8"--launch 只用于 switch")},
        {"an unknown option", Setup::None, {"status", "--verbose"}, 2, "", U8(u8"未知的选项 --verbose")},
        {"one operand too many", Setup::None, {"versions", "now"}, 2, "", U8(u8"多余的参数 now")},
        {"two folders", Setup::None, {"switch", "test1", "C:\\a", "C:\\b"}, 2, "", U8(u8"多余的参数 C:\\b")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Zonvexctl ctl(c.setup);
        const std::string before = ctl.clientFiles();
        const Result r = ctl.run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        std::string out = std::regex_replace(c.out, std::regex("@PREFIX@"), ctl.prefix().string());
        if (out == "@HELP@") {
            EXPECT_TRUE(r.out.starts_with(U8(u8"用法：zonvexctl [--json] 命令 [参数]\n"))) << r.out;
            EXPECT_NE(r.out.find(U8(u8"退出码：0 完成；1 文件无法写入")), std::string::npos);
        } else if (!(c.out.empty() && c.code == 0)) {  // an empty text for a success: not looked at
            EXPECT_EQ(r.out, out);
        }
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.files)
            EXPECT_EQ(ctl.clientFiles(), Zonvexctl::profileFiles(c.files->first, c.files->second));
        else
            EXPECT_EQ(ctl.clientFiles(), before) << "nothing may change";
        EXPECT_TRUE(ctl.launcher.started.empty());
    }
}

TEST(ZonvexctlTest, EverySwitchLeavesOneLogLine) {
    Zonvexctl ctl(Setup::ReadOnlyFile);
    ASSERT_EQ(ctl.run({"switch", "test1"}).code, 1);
    ASSERT_EQ(ctl.run({"switch", "live", "--version", "1.0.320.500"}).code, 0);
    fs::permissions(ctl.install() / "RUDE/mmog_data.xml", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(ctl.run({"switch", "test2", "--version", "a\tb\nc"}).code, 0);  // a version that would break the line
    ASSERT_EQ(ctl.run({"status"}).code, 0);                                      // no switch, no line
    ASSERT_EQ(ctl.run({"switch", "test1", "/nonexistent"}).code, 3);
    const std::string log = std::regex_replace(ReadFile(ctl.logFile()),
                                               std::regex(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d{4}\t)",
                                                          std::regex::multiline),
                                               "TIME\t");
    EXPECT_EQ(log, "TIME\t" + kFolder + "\tlive\tlive\t1.0.331.601\t1 not-written\n" +
                       "TIME\t" + kFolder + "\tlive\tlive\t1.0.320.500\t0 already\n" +
                       "TIME\t" + kFolder + "\tlive\ttest2\ta\\x09b\\x0ac\t0 switched\n" +
                       "TIME\t/nonexistent\t-\t-\t-\t3 no-installation\n");
}

TEST(ZonvexctlTest, AnUnwritableLogIsSaidButDoesNotFailTheSwitch) {
    Zonvexctl ctl(Setup::None);
    ctl.dir.write("state/zonvex", "a file where the folder should be");
    const Result r = ctl.run({"switch", "test1", "--version", "1.0"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find(U8(u8"无法写入日志文件：")), std::string::npos) << r.err;
}

TEST(ZonvexctlTest, LaunchStartsTheLauncherAfterTheSwitch) {
    Zonvexctl ctl(Setup::None);
    const Result r = ctl.run({"switch", "test1", "--launch", "--json"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find(R"("launched":true)"), std::string::npos) << r.out;
    EXPECT_EQ(ctl.launcher.started, std::vector<Text>{Utf8ToGbk(kFolder) + "\\QQLogin.exe"});
    // A switch that fails starts nothing.
    Zonvexctl stopped(Setup::Zone3Stopped);
    EXPECT_EQ(stopped.run({"switch", "test3", "--launch"}).code, 5);
    EXPECT_TRUE(stopped.launcher.started.empty());
}

TEST(ZonvexctlTest, FindListsEveryPrefixsRegistryThenRunningClientsEachFolderOnce) {
    Zonvexctl ctl(Setup::None);
    // ~/.wine records another installation; Wine paths in it reach the program in host form.
    ctl.dir.prefix(".wine", "WINE REGISTRY Version 2\n[Software\\\\Tencent\\\\CrossFire]\n"
                            "\"install\"=\"C:\\\\CF3\\\\rude\\\\Client.exe\"\n");
    ctl.dir.write(".wine/drive_c/CF3/crossfire.exe", "");
    // Running: the registered client, a client whose folder holds no crossfire.exe, and a third one.
    ctl.runClient(10, ctl.install() / "rude/Client.exe");
    ctl.runClient(11, ctl.prefix() / "drive_c/gone/rude/Client.exe");
    ctl.dir.write("prefix/drive_c/CF2/crossfire.exe", "");
    ctl.runClient(12, ctl.prefix() / "drive_c/CF2/rude/Client.exe");

    const Result r = ctl.run({"find"});
    EXPECT_EQ(r.code, 0);
    const std::string prefix = ctl.prefix().string(), home = ctl.dir.str() + "/.wine";
    Text homeForm = "Z:" + home + "/drive_c/CF3";
    std::replace(homeForm.begin(), homeForm.end(), '/', '\\');
    EXPECT_EQ(r.out, kFolder + "\t" + prefix + "\tregistry\n" + homeForm + "\t" + home + "\tregistry\n" +
                         "C:\\CF2\t" + prefix + "\trunning\n");
}

}  // namespace
}  // namespace zonvex
