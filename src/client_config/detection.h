#pragma once
// Which zone and client version the installation at ClientDir is set to, read back from its
// files and written into MainWindow's two status lines; and speaking a text aloud.
#include <optional>

#include "program/program.h"
#include "client_config/zone_profiles.h"

namespace zonvex {

// Runs after MainWindow's creation and after every switch that wrote the client files.
void DetectLocalClient(Program& p);

// The profile whose signature the directory-server text carries, tried in profile order.
// Fills the four captures on the way.
std::optional<ZoneProfile> ClassifyDirServer(DetectionState& detection);

// Speaks the text with the system voice; false when there is none.
bool SpeakText(Program& p, const Text& text);

// Loads the version-data file at path into the document; a missing, empty or malformed
// file leaves it empty.
void LoadVersionData(Program& p, const Text& path);

}  // namespace zonvex
