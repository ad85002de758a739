#pragma once
// The one context every handler runs in: the window system, the platform services and the
// program-wide state. Nothing is global, so a test can run two programs side by side.
#include <array>
#include <string>

#include "program/version_data_document.h"
#include "platform/platform.h"
#include "platform/window_system.h"
#include "text/text.h"

namespace zonvex {

struct PageAddresses {
    std::string versionsPage;
    std::string bulletinPage;
};

// What the last run of DetectLocalClient found; nothing outside detection reads it.
struct DetectionState {
    Text DetectedVersion;
    Text DirServerText;
    Text Zone1Capture, Zone2Capture, Zone3Capture, LiveCapture;
};

struct SharedState {
    Text ClientDir;
    VersionDataDocument VersionData;
    DetectionState Detection;
    Text LauncherPath;
    Text VersionsPageText;
    Text BulletinPageText;
    Text PatchLink;
    Text AnnouncementText;
    std::array<Text, 9> DownloadLinks;  // zones 1 to 3, each: full client, QQ member, Blue Diamond

    // Releases every text and the loaded document, in a fixed order, at exit.
    void Release() {
        ClientDir.clear();
        VersionData.clear();
        Detection = {};
        LauncherPath.clear();
        VersionsPageText.clear();
        BulletinPageText.clear();
        PatchLink.clear();
        AnnouncementText.clear();
        for (Text& link : DownloadLinks) link.clear();
    }
};

struct Program {
    WindowSystem& ui;
    Platform& platform;
    PageAddresses pages;
    SharedState state;
};

}  // namespace zonvex
