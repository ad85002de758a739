#include "client_config/switch_zone.h"

#include <gtest/gtest.h>

#include "client_config/stamp.h"
#include "support/fake_platform.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

using testing::U8;

const Text kDir = "C:\\cf";
const Text kExe = kDir + "\\crossfire.exe";
const Text kPaths[] = {kDir + "\\RUDE\\config\\dirserver.xml", kDir + "\\RUDE\\config\\VersionServerConfig.xml",
                       kDir + "\\RUDE\\mmog_data.xml"};
const char* const kButtons[] = {"按钮2", "按钮3", "按钮4", "按钮5"};  // zones 1, 2, 3, live
const char* const kSuccess[] = {"已成功转换到体验服一区！", "已成功转换到体验服二区！", "已成功转换到体验服三区！",
                                "已成功还原到正服！"};
const char* const kSpoken[] = {"恭喜您已经成功转换到体验服一区", "恭喜您已经成功转换到体验服二区",
                               "恭喜您已经成功转换到体验服三区", "恭喜您已经成功还原到正服"};
const Text kAutoFilled = "由于您没有填写版本号，软件已自动填写了推荐版本号：";
const Text kNotReady = "版本号还没获取完成，请等待获取完成后再尝试！";
const Text kFailed = "转换失败！";
const std::string kRecommended = U8(u8"体验服一：1.0.1版本体验服二：1.0.2版本体验服三：1.0.3版本正服：1.0.0版本");

// A program whose MainWindow is open on an installation holding older files.
struct Switching {
    explicit Switching(ZoneProfile profile = ZoneProfile::TestZone1) : profile(profile) {
        t.files.addFile(kExe);
        for (const Text& path : kPaths) t.files.addFile(path, "old");
        t.ui.open(Window::Start);
        t.ui.type(Window::Start, "编辑框1", kDir);
        t.ui.messages.clear();
        t.events.clear();
    }
    void Recommend(const std::string& versionsPage = kRecommended) {
        t.http.pages[testing::kVersionsPage] = versionsPage;
        t.ui.tick(Window::Main, "时钟1");
    }
    void Type(const Text& version) { t.ui.type(Window::Main, "编辑框2", version); }
    void Click() { t.ui.click(Window::Main, kButtons[index()]); }
    Text Field() { return t.ui.text(Window::Main, "编辑框2"); }
    std::vector<std::string> Files() {
        std::vector<std::string> files;
        for (const Text& path : kPaths) files.push_back(t.files.read(path).value_or("(missing)"));
        return files;
    }
    std::vector<std::string> Switched(const Text& version, ZoneProfile to) {
        return {std::string(FilesOf(to).dirServer), std::string(FilesOf(to).versionServer), StampedVersionData(version)};
    }
    std::vector<std::string> Switched(const Text& version) { return Switched(version, profile); }
    int index() const { return static_cast<int>(profile); }

    ZoneProfile profile;
    testing::TestProgram t;
};

TEST(SwitchZoneTest, NothingHappensBeforeTheRecommendationsArrive) {
    for (ZoneProfile profile : kZoneProfiles) {
        for (const Text typed : {"", "1.2.3"}) {
            Switching s(profile);
            s.Type(typed);
            s.Click();
            EXPECT_EQ(s.t.ui.messages, std::vector<Text>{kNotReady}) << s.index();
            EXPECT_EQ(s.Field(), typed);
            EXPECT_EQ(s.Files(), std::vector<std::string>(3, "old"));
        }
    }
}

TEST(SwitchZoneTest, ATypedVersionIsSwitchedToSilently) {
    for (ZoneProfile profile : kZoneProfiles) {
        Switching s(profile);
        s.Recommend();
        s.Type("9.9.9");
        s.Click();
        EXPECT_EQ(s.Files(), s.Switched("9.9.9")) << s.index();
        EXPECT_EQ(s.Field(), "");
        EXPECT_EQ(s.t.events, (std::vector<std::string>{"start C:\\cf\\QQLogin.exe", "message " + Text(kSuccess[s.index()])}));
        EXPECT_EQ(s.t.ui.text(Window::Main, "透明标签2"), "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端版本号为：9.9.9");
    }
}

TEST(SwitchZoneTest, AnEmptyFieldTakesTheRecommendationAndCongratulates) {
    const Text recommended[] = {"1.0.1", "1.0.2", "1.0.3", "1.0.0"};
    for (ZoneProfile profile : kZoneProfiles) {
        Switching s(profile);
        s.Recommend();
        Text versionLineWhenSpoken;
        s.t.voice.log = [&](const std::string& e) {
            s.t.events.push_back(e);
            versionLineWhenSpoken = s.t.ui.text(Window::Main, "透明标签2");
        };
        s.Click();
        const Text version = recommended[s.index()];
        EXPECT_EQ(s.Files(), s.Switched(version)) << s.index();
        EXPECT_EQ(s.Field(), "");
        EXPECT_EQ(s.t.events, (std::vector<std::string>{"message " + kAutoFilled + version,
                                                        "speak " + Text(kSpoken[s.index()]), "start C:\\cf\\QQLogin.exe",
                                                        "message " + Text(kSuccess[s.index()])}));
        EXPECT_NE(versionLineWhenSpoken.find(version), std::string::npos) << "detection runs before the speech";
    }
}

TEST(SwitchZoneTest, AnUnreadVersionsPageStillLetsTheSwitchThroughWithAnEmptyVersion) {
    Switching s;
    s.Recommend("");
    s.Click();
    EXPECT_EQ(s.t.ui.messages, (std::vector<Text>{kAutoFilled, kSuccess[0]}));
    EXPECT_EQ(s.Files(), s.Switched(""));
}

TEST(SwitchZoneTest, StopWords) {
    struct Case {
        ZoneProfile profile;
        Text recommendation;
        Text typed;
        Text refusal;  // empty: switched
        Text version;  // stamped when switched
    } cases[] = {
        {ZoneProfile::TestZone3, "已经停服", "", "此服务器已经停服", ""},
        {ZoneProfile::LiveServers, "不可还原", "", "目前无法还原正服", ""},
        {ZoneProfile::TestZone3, "已经停服", "1.0.9", "", "1.0.9"},
        {ZoneProfile::LiveServers, "不可还原", "1.0.9", "", "1.0.9"},
        {ZoneProfile::TestZone1, "已经停服", "", "", "已经停服"},  // zones 1 and 2 have no stop word
        {ZoneProfile::TestZone3, " 已经停服", "", "", " 已经停服"},
        {ZoneProfile::LiveServers, "不可还原了", "", "", "不可还原了"},
    };
    const Text markers[] = {"体验服一：", "体验服二：", "体验服三：", "正服："};
    for (const Case& c : cases) {
        Switching s(c.profile);
        s.Recommend(GbkToUtf8(markers[s.index()] + c.recommendation + "版本") + kRecommended);  // the first row wins
        s.Type(c.typed);
        s.Click();
        if (!c.refusal.empty()) {
            EXPECT_EQ(s.t.ui.messages, std::vector<Text>{c.refusal}) << c.recommendation;
            EXPECT_EQ(s.Field(), "") << "the next click fills it again";
            EXPECT_EQ(s.Files(), std::vector<std::string>(3, "old"));
        } else {
            EXPECT_EQ(s.Files(), s.Switched(c.version)) << c.recommendation;
            EXPECT_EQ(s.t.ui.messages.back(), kSuccess[s.index()]);
        }
    }
}

TEST(SwitchZoneTest, AnInstallationThatWentAwayFailsAndKeepsTheFilledVersion) {
    Switching s;
    s.Recommend();
    s.t.files.remove(kExe);
    s.Click();
    EXPECT_EQ(s.t.ui.messages, (std::vector<Text>{kAutoFilled + "1.0.1", kFailed}));
    EXPECT_EQ(s.Field(), "1.0.1");
    s.t.files.addFile(kExe);
    s.t.ui.messages.clear();
    s.Click();
    EXPECT_EQ(s.t.ui.messages, std::vector<Text>{kSuccess[0]}) << "the kept version counts as typed";
    EXPECT_TRUE(s.t.voice.spoken.empty());
    EXPECT_EQ(s.Files(), s.Switched("1.0.1"));
}

// Zone 2's server list (two entries) and every other profile's files are replaced whole by
// a later switch to another profile.
TEST(SwitchZoneTest, TwoSwitchesInARowLeaveOnlyTheSecond) {
    for (ZoneProfile first : kZoneProfiles) {
        for (ZoneProfile second : kZoneProfiles) {
            if (second == first) continue;
            Switching s(first);
            s.Recommend();
            s.Type("1.1");
            s.Click();
            s.profile = second;
            s.Type("2.2");
            s.Click();
            EXPECT_EQ(s.Files(), s.Switched("2.2", second)) << static_cast<int>(first) << " then " << s.index();
            EXPECT_EQ(s.t.launcher.started.size(), 2u);
        }
    }
}

TEST(SwitchZoneTest, WithoutASpeechServiceNothingIsSpokenOrShown) {
    Switching s;
    s.Recommend();
    s.t.voice.available = false;
    s.Click();
    EXPECT_EQ(s.Files(), s.Switched("1.0.1"));
    EXPECT_EQ(s.t.events, (std::vector<std::string>{"message " + kAutoFilled + "1.0.1", "start C:\\cf\\QQLogin.exe",
                                                    "message " + Text(kSuccess[0])}));
}

TEST(SwitchZoneTest, AFailedWriteChangesNothingAndSaysSo) {
    struct Case {
        const char* name;
        std::function<void(testing::FakeFiles&)> arrange;
    } cases[] = {
        {"read-only version data", [](testing::FakeFiles& f) { f.readOnly.insert(testing::PathKey(kPaths[2])); }},
        {"missing config folder",
         [](testing::FakeFiles& f) {
             f.remove(kPaths[0]);
             f.remove(kPaths[1]);
             f.directories.erase(testing::PathKey(kDir + "\\RUDE\\config"));
         }},
    };
    for (const Case& c : cases) {
        Switching s;
        s.Recommend();
        c.arrange(s.t.files);
        auto before = s.t.files.files;
        s.t.ui.setText(Window::Main, "透明标签1", "before");
        s.Type("3.3");
        s.Click();
        EXPECT_EQ(s.t.files.files, before) << c.name;
        EXPECT_EQ(s.t.ui.messages, std::vector<Text>{kFailed}) << c.name;
        EXPECT_EQ(s.Field(), "3.3") << c.name;
        EXPECT_EQ(s.t.ui.text(Window::Main, "透明标签1"), "before") << "not detected again: " << c.name;
        EXPECT_TRUE(s.t.launcher.started.empty()) << c.name;
    }
}

}  // namespace
}  // namespace zonvex
