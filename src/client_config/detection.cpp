#include "client_config/detection.h"

#include "bulletins/extract.h"
#include "client_location/install_paths.h"

namespace zonvex {

namespace {

// A profile is recognised by the first directory server: the text between two markers of
// the raw file must equal the expected part of the host. Markers are pattern text: a dot
// matches any byte. The test-zone prefix is the two octets the test zones share.
struct Signature {
    std::string_view start, end, expected;
    Text DetectionState::*capture;
    ZoneProfile profile;
};

constexpr Signature kSignatures[] = {
    {"198.18.", ".21", "1", &DetectionState::Zone1Capture, ZoneProfile::TestZone1},
    {"198.18.", ".22", "2", &DetectionState::Zone2Capture, ZoneProfile::TestZone2},
    {"198.18.", ".24", "3", &DetectionState::Zone3Capture, ZoneProfile::TestZone3},
    {"login.", ".example", "cf-live", &DetectionState::LiveCapture, ZoneProfile::LiveServers},
};

constexpr std::string_view kZoneLines[] = {
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服一区",
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服二区",
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为体验服三区",
    "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为正服",
};
constexpr std::string_view kVersionLine = "【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端版本号为：";
constexpr std::string_view kDetectionFailed = "你好，非常抱歉，我们判断您的客户端失败了";

}  // namespace

std::optional<ZoneProfile> ClassifyDirServer(DetectionState& d) {
    // All four captures are always taken, then compared in profile order.
    for (const Signature& s : kSignatures) d.*s.capture = ExtractByPattern(s.start, s.end, d.DirServerText);
    for (const Signature& s : kSignatures)
        if (!(d.*s.capture).empty() && d.*s.capture == s.expected) return s.profile;
    return std::nullopt;
}

ClientStatus ReadClientStatus(const FileSystem& files, VersionDataDocument& doc, DetectionState& d,
                              const Text& clientDir) {
    doc.load(files.read(clientDir + Text(kVersionDataSuffix)).value_or(std::string()));
    // The directory servers as raw text, comments included, never parsed as XML.
    d.DirServerText = UpToFirstZero(files.read(clientDir + Text(kDirServerSuffix)).value_or(""));
    return {ClassifyDirServer(d), doc.getText(kVersionElementPath)};
}

Text ZoneLine(std::optional<ZoneProfile> zone) {
    return Text(zone ? kZoneLines[static_cast<int>(*zone)] : kDetectionFailed);
}

Text VersionLine(const Text& version) { return Text(kVersionLine) + version; }

void DetectLocalClient(Program& p) {
    DetectionState& d = p.state.Detection;
    const ClientStatus status = ReadClientStatus(p.platform.files, p.state.VersionData, d, p.state.ClientDir);
    // The version is kept from an earlier read when this one finds none.
    if (status.version) d.DetectedVersion = *status.version;
    p.ui.setText(Window::Main, "透明标签1", ZoneLine(status.zone));
    // On failure the version line keeps what it showed.
    if (status.zone) p.ui.setText(Window::Main, "透明标签2", VersionLine(d.DetectedVersion));
}

bool SpeakText(Program& p, const Text& text) { return p.platform.voice.speak(text); }

}  // namespace zonvex
