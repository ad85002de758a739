#pragma once
// zonvexctl: Zonvex's main job without windows, for scripts and game managers.
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "ctl/installations.h"
#include "program/program.h"

namespace zonvex {

// The exit codes, as the manual gives them.
enum ExitCode : int {
    kDone = 0,
    kNotWritten = 1,     // the files could not be written; nothing changed
    kWrongUsage = 2,
    kNoInstallation = 3,
    kNoRecommendation = 4,  // the page could not be read or names no version for the zone
    kRefused = 5,           // the zone's stop word stands in place of its version
};

// What the commands run against. Paths are mapped by `files` as the windowed program maps
// them (through the own Wine prefix).
struct ControlServices {
    FileSystem& files;
    Http& http;
    Launcher& launcher;
    // Every installation that can be seen, the first being the one taken when no folder is given.
    std::function<std::vector<Installation>()> findInstallations;
    PageAddresses pages;
    std::string logFile;  // every switch appends one line to it
};

// Runs one command line (without the program's name). Results go to `out` (UTF-8 text, or
// one JSON object with --json), messages in Chinese to `err` (UTF-8); the exit code.
int RunZonvexctl(std::span<const std::string> args, ControlServices& services, std::ostream& out, std::ostream& err);

}  // namespace zonvex
