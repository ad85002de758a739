#pragma once
// Where zonvexctl looks for client installations when it is not told a folder.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zonvex {

struct Installation {
    Text folder;         // as the program takes it: a Windows path in its prefix, or a host path
    std::string prefix;  // the Wine prefix it was found in
    std::string source;  // how: "registry" (the folder the client recorded) or "running" (a running launcher)
};

// The installations one Wine prefix shows: the folder its registry records, then the folders
// of its running launchers (Client.exe). Each is listed once and only when it holds
// crossfire.exe. `files` maps the prefix's paths.
std::vector<Installation> InstallationsInPrefix(const std::string& prefix, const FileSystem& files,
                                                const Registry& registry, const ProcessList& processes);

}  // namespace zonvex
