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

Text ReadPage(Program& p, const std::string& url) {
    return UpToFirstZero(Utf8ToGb18030(p.platform.http.get(url)));
}

void AnnounceAndStartRefreshing(Program& p) {
    SharedState& s = p.state;
    s.BulletinPageText = ReadPage(p, p.pages.bulletinPage);
    s.AnnouncementText = ExtractBetween(s.BulletinPageText, kAnnouncementMarker, kValueEnd);
    p.ui.message(s.AnnouncementText);
    p.ui.setTimerPeriod(Window::Main, kRefreshTimer, kRefreshPeriodMs);
}

void OnRecommendationTick(Program& p) {
    SharedState& s = p.state;
    s.VersionsPageText = ReadPage(p, p.pages.versionsPage);
    for (const RecommendationRow& row : kRecommendationRows)
        p.ui.setText(Window::Main, row.label, ExtractBetween(s.VersionsPageText, row.marker, kVersionEnd));
    s.BulletinPageText = ReadPage(p, p.pages.bulletinPage);
    s.PatchLink = ExtractByPattern(kPatchMarker, kValueEnd, s.BulletinPageText);
}

void CutDownloadLinks(Program& p) {
    for (size_t i = 0; i < kDownloadLinks.size(); ++i)
        p.state.DownloadLinks[i] = ExtractByPattern(kDownloadLinks[i].marker, kValueEnd, p.state.BulletinPageText);
}

void OnDownloadLinkPressed(Program& p, size_t index) {
    FollowLink(p, p.state.DownloadLinks[index], kDownloadLinks[index].noneMessage);
}

void OnPatchLinkPressed(Program& p) { FollowLink(p, p.state.PatchLink, kNoPatchMessage); }

void OnGroupJoinClicked(Program& p) { p.platform.shell.open(Text(kGroupJoinPage)); }

}  // namespace zonvex
