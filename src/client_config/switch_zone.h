#pragma once
// Re-pointing the installation at ClientDir to one zone: its three client files, the
// version stamped in, then detection, the congratulation, the launcher and the result.
#include "program/program.h"
#include "client_config/zone_profiles.h"

namespace zonvex {

// The click on one of MainWindow's four zone buttons. The version is the one typed into
// the version field or, when it is empty, the zone's recommended version.
void SwitchZone(Program& p, ZoneProfile profile);

// Gives the installation the profile's three files, with the version stamped into the
// version data through `doc`: all of them or, when any cannot be written, none.
bool WriteProfileFiles(FileSystem& files, VersionDataDocument& doc, const Text& clientDir, ZoneProfile profile,
                       const Text& version);

}  // namespace zonvex
