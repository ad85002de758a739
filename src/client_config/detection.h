#pragma once
// Which zone and client version the installation at ClientDir is set to, read back from its
// files and written into MainWindow's two status lines; and speaking a text aloud.
#include <optional>

#include "program/program.h"
#include "client_config/zone_profiles.h"

namespace zonvex {

// Runs after MainWindow's creation and after every switch that wrote the client files.
void DetectLocalClient(Program& p);

// What an installation's files say it is set to.
struct ClientStatus {
    std::optional<ZoneProfile> zone;  // none when no signature matched
    std::optional<Text> version;      // none when the version data holds no version element
};
// Reads the installation's version data into `doc` (a missing, empty or malformed file
// leaves it empty) and its directory servers into `detection` (the text and the captures).
ClientStatus ReadClientStatus(const FileSystem& files, VersionDataDocument& doc, DetectionState& detection,
                              const Text& clientDir);

// MainWindow's two status lines: the zone (or the failure text) and the version.
Text ZoneLine(std::optional<ZoneProfile> zone);
Text VersionLine(const Text& version);

// The profile whose signature the directory-server text carries, tried in profile order.
// Fills the four captures on the way.
std::optional<ZoneProfile> ClassifyDirServer(DetectionState& detection);

// Speaks the text with the system voice; false when there is none.
bool SpeakText(Program& p, const Text& text);

}  // namespace zonvex
