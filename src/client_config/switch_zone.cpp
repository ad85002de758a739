#include "client_config/switch_zone.h"

#include "bulletins/bulletins.h"
#include "client_config/detection.h"
#include "client_config/stamp.h"
#include "client_location/install_paths.h"

namespace zonvex {

namespace {

constexpr std::string_view kVersionField = "编辑框2";
constexpr std::string_view kFetching = "获取中....";
constexpr std::string_view kNotReady = "版本号还没获取完成，请等待获取完成后再尝试！";
constexpr std::string_view kAutoFilled = "由于您没有填写版本号，软件已自动填写了推荐版本号：";

// What tells the four switches apart, besides their files and recommendation label.
constexpr SwitchTexts kSwitchTexts[] = {
    {{}, {}, "恭喜您已经成功转换到体验服一区", "已成功转换到体验服一区！"},
    {{}, {}, "恭喜您已经成功转换到体验服二区", "已成功转换到体验服二区！"},
    {"已经停服", "此服务器已经停服", "恭喜您已经成功转换到体验服三区", "已成功转换到体验服三区！"},
    {"不可还原", "目前无法还原正服", "恭喜您已经成功还原到正服", "已成功还原到正服！"},
};

}  // namespace

const SwitchTexts& SwitchTextsOf(ZoneProfile profile) { return kSwitchTexts[static_cast<int>(profile)]; }

bool IsStopWord(ZoneProfile profile, const Text& recommendation) {
    const std::string_view stopWord = SwitchTextsOf(profile).stopWord;
    return !stopWord.empty() && recommendation == stopWord;
}

bool WriteProfileFiles(FileSystem& files, VersionDataDocument& doc, const Text& clientDir, ZoneProfile profile,
                       const Text& version) {
    doc.load(kVersionDataTemplate);
    StampVersion(doc, version);
    const std::optional<std::string> versionData = doc.save();
    if (!versionData) return false;
    const FileContent contents[] = {
        {clientDir + Text(kDirServerSuffix), FilesOf(profile).dirServer},
        {clientDir + Text(kVersionServerSuffix), FilesOf(profile).versionServer},
        {clientDir + Text(kVersionDataSuffix), *versionData},
    };
    return files.replaceAll(contents);
}

SwitchOutcome SwitchInstallation(FileSystem& files, VersionDataDocument& doc, const Text& clientDir,
                                 ZoneProfile profile, const Text& version) {
    if (!files.exists(clientDir + Text(kMainExecutableSuffix))) return SwitchOutcome::NoInstallation;
    if (!WriteProfileFiles(files, doc, clientDir, profile, version)) return SwitchOutcome::NotWritten;
    return SwitchOutcome::Switched;
}

bool HoldsProfileFiles(const FileSystem& files, const Text& clientDir, ZoneProfile profile, const Text& version) {
    return files.read(clientDir + Text(kDirServerSuffix)) == FilesOf(profile).dirServer &&
           files.read(clientDir + Text(kVersionServerSuffix)) == FilesOf(profile).versionServer &&
           files.read(clientDir + Text(kVersionDataSuffix)) == StampedVersionData(version);
}

void SwitchZone(Program& p, ZoneProfile profile) {
    const SwitchTexts& texts = SwitchTextsOf(profile);
    const std::string_view recommendation = kRecommendationRows[static_cast<int>(profile)].label;
    WindowSystem& ui = p.ui;

    // Until the first tick has brought the recommendations, no switch is offered.
    for (const RecommendationRow& row : kRecommendationRows) {
        if (ui.text(Window::Main, row.label) == kFetching) {
            ui.message(Text(kNotReady));
            return;
        }
    }

    const bool autoFill = ui.text(Window::Main, kVersionField).empty();
    if (autoFill) {
        ui.setText(Window::Main, kVersionField, ui.text(Window::Main, recommendation));
        if (IsStopWord(profile, ui.text(Window::Main, kVersionField))) {
            ui.message(Text(texts.refusal));
            ui.setText(Window::Main, kVersionField, "");
            return;
        }
        ui.message(Text(kAutoFilled) + ui.text(Window::Main, recommendation));
    }

    const Text& dir = p.state.ClientDir;
    // A version left in the field after a failure is taken as typed by the next click.
    if (SwitchInstallation(p.platform.files, p.state.VersionData, dir, profile, ui.text(Window::Main, kVersionField)) !=
        SwitchOutcome::Switched) {
        ui.message(Text(kSwitchFailed));
        return;
    }
    ui.setText(Window::Main, kVersionField, "");
    DetectLocalClient(p);
    if (autoFill) SpeakText(p, Text(texts.spoken));
    p.platform.launcher.start(dir + Text(kLauncherSuffix));
    ui.message(Text(texts.success));
}

}  // namespace zonvex
