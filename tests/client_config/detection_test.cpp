#include "client_config/detection.h"

#include <gtest/gtest.h>

#include "client_location/install_paths.h"
#include "support/fake_platform.h"

namespace zonvex {
namespace {

using testing::TestProgram;

const Text kDir = "C:\\cf";
const Text kVersionLine = "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端版本号为：";
const Text kFailed = "你好，非常抱歉，我们判断您的客户端失败了";
const Text kWaiting = "请稍等，正在判断...";
const Text kZoneLines[] = {
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服一区",
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服二区",
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服三区",
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为正服",
};

std::string VersionData(const std::string& version) {
    return "<?xml version=\"1.0\"?><VersionUpdateData><VersionConf/><ClientConf><VersionData><Version>" + version +
           "</Version></VersionData></ClientConf></VersionUpdateData>";
}

class DetectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.files.addFile(kDir + "\\crossfire.exe");
        t.files.addDirectory(kDir + "\\RUDE\\config");
        t.state().ClientDir = kDir;
        t.ui.open(Window::Main);  // detection runs as the last step of its creation
    }
    void SetDirServer(std::string_view bytes) { t.files.addFile(kDir + Text(kDirServerSuffix), std::string(bytes)); }
    void SetVersion(const std::string& version) { t.files.addFile(kDir + Text(kVersionDataSuffix), VersionData(version)); }
    Text ZoneLine() { return t.ui.text(Window::Main, "透明标签1"); }
    Text VersionLine() { return t.ui.text(Window::Main, "透明标签2"); }
    TestProgram t;
};

TEST_F(DetectionTest, RecognisesEveryProfileItWrites) {
    for (ZoneProfile profile : kZoneProfiles) {
        SetDirServer(FilesOf(profile).dirServer);
        SetVersion("1.2." + std::to_string(static_cast<int>(profile)));
        DetectLocalClient(t.program);
        EXPECT_EQ(ZoneLine(), kZoneLines[static_cast<int>(profile)]);
        EXPECT_EQ(VersionLine(), kVersionLine + "1.2." + std::to_string(static_cast<int>(profile)));
    }
}

TEST_F(DetectionTest, Classification) {
    const std::string live = std::string(FilesOf(ZoneProfile::LiveServers).dirServer);
    const std::string zone3 = std::string(FilesOf(ZoneProfile::TestZone3).dirServer);
    const struct {
        const char* name;
        std::string dirServer;
        const Text* zoneLine;
    } cases[] = {
        {"test zone before live", live + zone3, &kZoneLines[2]},
        {"captures start at the leftmost prefix", "198.18.2.22 198.18.1.21", &kZoneLines[1]},
        {"leftmost match decides", "198.18.1.21 198.18.2.22", &kZoneLines[0]},
        {"live host in other case", "host=\"LOGIN.CF-LIVE.EXAMPLE\"", &kFailed},
        {"no signature", "<Server/>", &kFailed},
        {"empty file", "", &kFailed},
        {"dots match any byte", "198x18x2x22", &kZoneLines[1]},
        {"bytes after a zero byte are not read", std::string("x\0 198.18.1.21", 14), &kFailed},
    };
    for (const auto& c : cases) {
        SetDirServer(c.dirServer);
        DetectLocalClient(t.program);
        EXPECT_EQ(ZoneLine(), *c.zoneLine) << c.name;
    }
}

TEST_F(DetectionTest, FirstRunWithoutFiles) {
    // MainWindow's creation already ran detection with neither file there.
    EXPECT_EQ(ZoneLine(), kFailed);
    EXPECT_EQ(VersionLine(), kWaiting);
    SetDirServer(FilesOf(ZoneProfile::TestZone1).dirServer);
    DetectLocalClient(t.program);
    EXPECT_EQ(VersionLine(), kVersionLine) << "no version read yet: nothing after the colon";
}

TEST_F(DetectionTest, VersionSurvivesAFailedRead) {
    SetDirServer(FilesOf(ZoneProfile::TestZone2).dirServer);
    SetVersion("3.1");
    DetectLocalClient(t.program);
    t.files.remove(kDir + Text(kVersionDataSuffix));
    DetectLocalClient(t.program);
    EXPECT_EQ(VersionLine(), kVersionLine + "3.1");
    t.files.addFile(kDir + Text(kVersionDataSuffix), "<broken");
    DetectLocalClient(t.program);
    EXPECT_EQ(VersionLine(), kVersionLine + "3.1");
    SetVersion("");
    DetectLocalClient(t.program);
    EXPECT_EQ(VersionLine(), kVersionLine) << "an empty element is a version";
}

TEST_F(DetectionTest, DirServerGoneLeavesTheVersionLine) {
    SetDirServer(FilesOf(ZoneProfile::TestZone2).dirServer);
    SetVersion("3.1");
    DetectLocalClient(t.program);
    t.files.remove(kDir + Text(kDirServerSuffix));
    DetectLocalClient(t.program);
    EXPECT_EQ(ZoneLine(), kFailed);
    EXPECT_EQ(VersionLine(), kVersionLine + "3.1");
    EXPECT_EQ(t.state().Detection.DirServerText, "");
}

TEST_F(DetectionTest, TrailingBackslashReadsTheSameFiles) {
    SetDirServer(FilesOf(ZoneProfile::LiveServers).dirServer);
    SetVersion("7");
    t.state().ClientDir = kDir + "\\";
    DetectLocalClient(t.program);
    EXPECT_EQ(ZoneLine(), kZoneLines[3]);
    EXPECT_EQ(VersionLine(), kVersionLine + "7");
}

TEST(SignatureTest, CapturesAreTheExpectedPartsOfTheHosts) {
    const std::pair<std::string_view, const Text DetectionState::*> hosts[] = {
        {kTestZone1Host, &DetectionState::Zone1Capture}, {kTestZone2Host1, &DetectionState::Zone2Capture},
        {kTestZone3Host, &DetectionState::Zone3Capture}, {kLiveHost1, &DetectionState::LiveCapture}};
    const Text expected[] = {"1", "2", "3", "cf-live"};
    for (int i = 0; i < 4; ++i) {
        DetectionState d;
        d.DirServerText = "host=\"" + std::string(hosts[i].first) + "\"";
        EXPECT_EQ(ClassifyDirServer(d), kZoneProfiles[i]);
        EXPECT_EQ(d.*hosts[i].second, expected[i]);
    }
}

}  // namespace
}  // namespace zonvex
