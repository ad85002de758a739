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

// What a switch of the installation's files came to. Not written means nothing changed.
enum class SwitchOutcome { Switched, NoInstallation, NotWritten };
// The part of a switch that touches the installation: it must hold crossfire.exe, then it
// gets the profile's files with the version, all or nothing.
SwitchOutcome SwitchInstallation(FileSystem& files, VersionDataDocument& doc, const Text& clientDir,
                                 ZoneProfile profile, const Text& version);
// Whether the installation already holds exactly the files such a switch would write.
bool HoldsProfileFiles(const FileSystem& files, const Text& clientDir, ZoneProfile profile, const Text& version);

// The texts of one zone's switch.
struct SwitchTexts {
    std::string_view stopWord;  // the versions page's way of saying "not possible"; none when empty
    std::string_view refusal;
    std::string_view spoken;  // after a switch with the recommended version
    std::string_view success;
};
const SwitchTexts& SwitchTextsOf(ZoneProfile profile);
// Said when a switch could not be carried out.
inline constexpr std::string_view kSwitchFailed = "转换失败！";
// The recommendation is the zone's stop word: the zone takes no switch with it.
bool IsStopWord(ZoneProfile profile, const Text& recommendation);

}  // namespace zonvex
