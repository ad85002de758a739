#pragma once
// Where zonvexctl looks for client installations when it is not told a folder.
#include <span>
#include <string>
#include <vector>

#include "platform/linux/wine_prefixes.h"
#include "platform/platform.h"

namespace zonvex {

// A sign of an installation: the path of its launcher's image, <folder>\rude\Client.exe, as a
// prefix's registry records it or a running launcher shows it.
struct LauncherSighting {
    Text image;
    std::string prefix;  // the Wine prefix it was seen in
    std::string source;  // "registry" or "running"
};

struct Installation {
    Text folder;         // as the program takes it: a Windows path, or a host path
    std::string prefix;  // the Wine prefix it was found in
    std::string source;  // how: "registry" or "running"
};

// The installations the sightings point at, in their order: each folder once, and only
// when it holds crossfire.exe.
std::vector<Installation> InstallationsSeen(std::span<const LauncherSighting> sightings, const FileSystem& files);

// Every sighting in the player's Wine prefixes: the value each prefix's registry records, in
// the prefixes' search order ($WINEPREFIX first), then every running launcher (Client.exe).
std::vector<LauncherSighting> LauncherSightings(const linux_platform::Environment& environment,
                                                const std::string& procRoot = "/proc");

}  // namespace zonvex
