#pragma once
// StartWindow's ways to learn the client's installation folder. Each way only writes the
// folder edit box; the check runs on every change of its text.
#include <optional>

#include "program/program.h"

namespace zonvex {

// The edit box changed: a folder that holds crossfire.exe becomes ClientDir and MainWindow
// takes over from StartWindow; anything else is left alone, silently.
void OnClientDirChanged(Program& p);
// Browse for the folder; a cancelled dialog clears the edit box.
void OnBrowseForClientDir(Program& p);
// The folder the client recorded in the registry.
void OnRegistryLookup(Program& p);
// The folder of the running launcher, if it runs.
void OnLauncherSearch(Program& p);

// Whether a process with that executable name runs (ASCII letters compared without case).
bool IsProcessRunning(const ProcessList& processes, const Text& name);
// The executable path of the first process with that name, or the empty text.
Text GetProcessPath(Program& p, const Text& name);

}  // namespace zonvex
