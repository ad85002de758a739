#include "bulletins/bulletins.h"

#include "bulletins/extract.h"

namespace zonvex {

namespace {

constexpr int kRefreshPeriodMs = 3000;
constexpr std::string_view kValueEnd = "）";
constexpr std::string_view kAnnouncementMarker = "公告：（";
constexpr std::string_view kPatchMarker = "手动补丁：（";
constexpr std::string_view kNoPatchMessage = "目前暂时无手动补丁下载。";

// "无" in place of a link means the maker offers none: say so instead of opening it.
void FollowLink(Program& p, const Text& link, std::string_view noneMessage) {
    if (link == "无")
        p.ui.message(Text(noneMessage));
    else
        p.platform.shell.open(link);
}

}  // namespace

Text ReadPage(Http& http, const std::string& url) { return UpToFirstZero(Utf8ToGb18030(http.get(url))); }

std::array<Text, 4> RecommendedVersions(std::string_view versionsPage) {
    std::array<Text, 4> versions;
    for (size_t i = 0; i < versions.size(); ++i)
        versions[i] = ExtractBetween(versionsPage, kRecommendationRows[i].marker, kVersionEnd);
    return versions;
}

Text PatchLinkOf(std::string_view bulletinPage) { return ExtractByPattern(kPatchMarker, kValueEnd, bulletinPage); }

std::array<Text, 9> DownloadLinksOf(std::string_view bulletinPage) {
    std::array<Text, 9> links;
    for (size_t i = 0; i < links.size(); ++i) links[i] = ExtractByPattern(kDownloadLinks[i].marker, kValueEnd, bulletinPage);
    return links;
}

void AnnounceAndStartRefreshing(Program& p) {
    SharedState& s = p.state;
    s.BulletinPageText = ReadPage(p.platform.http, p.pages.bulletinPage);
    s.AnnouncementText = ExtractBetween(s.BulletinPageText, kAnnouncementMarker, kValueEnd);
    p.ui.message(s.AnnouncementText);
    p.ui.setTimerPeriod(Window::Main, kRefreshTimer, kRefreshPeriodMs);
}

void OnRecommendationTick(Program& p) {
    SharedState& s = p.state;
    s.VersionsPageText = ReadPage(p.platform.http, p.pages.versionsPage);
    const std::array<Text, 4> versions = RecommendedVersions(s.VersionsPageText);
    for (size_t i = 0; i < versions.size(); ++i) p.ui.setText(Window::Main, kRecommendationRows[i].label, versions[i]);
    s.BulletinPageText = ReadPage(p.platform.http, p.pages.bulletinPage);
    s.PatchLink = PatchLinkOf(s.BulletinPageText);
}

void CutDownloadLinks(Program& p) { p.state.DownloadLinks = DownloadLinksOf(p.state.BulletinPageText); }

void OnDownloadLinkPressed(Program& p, size_t index) {
    FollowLink(p, p.state.DownloadLinks[index], kDownloadLinks[index].noneMessage);
}

void OnPatchLinkPressed(Program& p) { FollowLink(p, p.state.PatchLink, kNoPatchMessage); }

void OnGroupJoinClicked(Program& p) { p.platform.shell.open(Text(kGroupJoinPage)); }

}  // namespace zonvex
