#pragma once
// The handlers that only move between windows, and the windows' creation handlers.
#include "program/program.h"

namespace zonvex {

void OnStartWindowCreated(Program& p);
void OnMainWindowCreated(Program& p);
void OnDownloadWindowCreated(Program& p);

// StartWindow's download link: DownloadWindow opens beside it.
void OnDownloadFromStart(Program& p);
// MainWindow's download link: its recommendations stop refreshing for good.
void OnDownloadFromMain(Program& p);
// MainWindow's link back to StartWindow, to choose another installation.
void OnBackToStart(Program& p);

}  // namespace zonvex
