#include "app/window_flow.h"

#include "client_config/detection.h"

namespace zonvex {

namespace {
constexpr std::string_view kTimer = "时钟1";
}

void OnStartWindowCreated(Program&) {}

void OnMainWindowCreated(Program& p) { DetectLocalClient(p); }

void OnDownloadWindowCreated(Program&) {}

void OnDownloadFromStart(Program& p) { p.ui.open(Window::Download); }

void OnDownloadFromMain(Program& p) {
    p.ui.setTimerPeriod(Window::Main, kTimer, 0);
    p.ui.open(Window::Download);
}

void OnBackToStart(Program& p) {
    p.ui.setTimerPeriod(Window::Main, kTimer, 0);
    p.ui.open(Window::Start);
    p.ui.close(Window::Main);
}

}  // namespace zonvex
