#include "app/window_flow.h"

#include "bulletins/bulletins.h"
#include "client_config/detection.h"
#include "skin/skin.h"

namespace zonvex {

void OnStartWindowCreated(Program& p) { AttachSkin(p, kStartWindowSkin); }

void OnMainWindowCreated(Program& p) {
    AnnounceAndStartRefreshing(p);
    DetectLocalClient(p);
}

void OnDownloadWindowCreated(Program& p) { CutDownloadLinks(p); }

void OnDownloadFromStart(Program& p) { p.ui.open(Window::Download); }

void OnDownloadFromMain(Program& p) {
    p.ui.setTimerPeriod(Window::Main, kRefreshTimer, 0);
    p.ui.open(Window::Download);
}

void OnBackToStart(Program& p) {
    p.ui.setTimerPeriod(Window::Main, kRefreshTimer, 0);
    p.ui.open(Window::Start);
    p.ui.close(Window::Main);
}

}  // namespace zonvex
