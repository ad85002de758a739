#pragma once
// The maker's two pages: the versions page names the recommended client version of each
// zone; the bulletin page carries an announcement, the manual patch and the download links.
// Every value on them stands between fixed markers (see the README's page conventions).
#include <array>
#include <string>

#include "program/program.h"

namespace zonvex {

// The page that lets a player join the maker's chat group.
inline constexpr std::string_view kGroupJoinPage = "https://qun.chat.example/join?group=615204873";

// MainWindow's timer, which keeps the recommendations current while it runs.
inline constexpr std::string_view kRefreshTimer = "时钟1";

// One of MainWindow's recommendation labels and the marker of its version.
struct RecommendationRow {
    std::string_view label;
    std::string_view marker;
};
// Top to bottom: zones 1, 2, 3, live servers.
inline constexpr std::array<RecommendationRow, 4> kRecommendationRows{{
    {"透明标签9", "体验服一："},
    {"透明标签8", "体验服二："},
    {"透明标签6", "体验服三："},
    {"透明标签7", "正服："},
}};
inline constexpr std::string_view kVersionEnd = "版本";

// A download link of DownloadWindow, in the order of SharedState::DownloadLinks.
struct DownloadLink {
    std::string_view control;
    std::string_view marker;
    std::string_view noneMessage;  // shown when the page offers "无" instead of a link
};
inline constexpr std::array<DownloadLink, 9> kDownloadLinks{{
    {"超级链接框11", "一区最新完整版客户端下载地址：（", "目前暂时无该区的完整版客户端下载。"},
    {"超级链接框10", "一区QQ会员下载器：（", "目前暂时无该区的QQ会员下载器。"},
    {"超级链接框9", "一区蓝钻下载器：（", "目前暂时无该区的蓝钻下载器。"},
    {"超级链接框8", "二区最新完整版客户端下载地址：（", "目前暂时无该区的完整版客户端下载。"},
    {"超级链接框7", "二区QQ会员下载器：（", "目前暂时无该区的QQ会员下载器。"},
    {"超级链接框6", "二区蓝钻下载器：（", "目前暂时无该区的蓝钻下载器。"},
    {"超级链接框1", "三区最新完整版客户端下载地址：（", "目前暂时无该区的完整版客户端下载。"},
    {"超级链接框4", "三区QQ会员下载器：（", "目前暂时无该区的QQ会员下载器。"},
    {"超级链接框5", "三区蓝钻下载器：（", "目前暂时无该区的蓝钻下载器。"},
}};

// A page as text: the body read from the server, UTF-8 converted to GB18030 (the empty
// text when the body is not all valid UTF-8), up to its first zero byte.
Text ReadPage(Http& http, const std::string& url);

// What the pages say, cut out as MainWindow and DownloadWindow cut it: the four
// recommended versions (in the order of kRecommendationRows), the manual-patch link and
// the nine download links (in the order of kDownloadLinks). Missing values are empty.
std::array<Text, 4> RecommendedVersions(std::string_view versionsPage);
Text PatchLinkOf(std::string_view bulletinPage);
std::array<Text, 9> DownloadLinksOf(std::string_view bulletinPage);

// MainWindow's creation up to detection: reads the bulletin page, shows its announcement
// (empty or not) and waits for the user, then starts the recommendation timer.
void AnnounceAndStartRefreshing(Program& p);
// Each tick of MainWindow's timer: rereads both pages, rewrites the four recommendation
// labels and the patch link.
void OnRecommendationTick(Program& p);

// DownloadWindow's creation: cuts the nine links from the bulletin page as last read.
void CutDownloadLinks(Program& p);
// The link of a DownloadWindow hyperlink (index into kDownloadLinks), by the link rule.
void OnDownloadLinkPressed(Program& p, size_t index);
// MainWindow's manual-patch hyperlink, by the link rule.
void OnPatchLinkPressed(Program& p);
void OnGroupJoinClicked(Program& p);

}  // namespace zonvex
