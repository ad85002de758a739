#pragma once
// The Wine prefixes a player has. Game managers give each game a prefix of its own and start
// it without exporting WINEPREFIX to the rest of the desktop, so besides $WINEPREFIX and
// ~/.wine the platform reads where the managers record theirs. A folder is a prefix when it
// holds drive_c/ and user.reg.
//
// Path texts of the program are mapped through one prefix, the "own" one ($WINEPREFIX, else
// ~/.wine). A path found in another prefix reaches the program in Wine's own form for a host
// path (Z:\home\...), so every later step (suffix removal, file access) works unchanged.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace zonvex::linux_platform {

// What the platform reads of its surroundings; tests pass fake homes.
struct Environment {
    std::string home;        // $HOME
    std::string winePrefix;  // $WINEPREFIX; empty when unset
    std::string wine;        // $WINE, the Wine to start Windows programs with; empty when unset
    std::string dataHome;    // $XDG_DATA_HOME, else <home>/.local/share
    std::string configHome;  // $XDG_CONFIG_HOME, else <home>/.config

    // This process's environment.
    static Environment Current();
    // A home with nothing else set.
    static Environment ForHome(std::string home);
    // The prefix path texts are mapped through: winePrefix, else <home>/.wine.
    std::string ownPrefix() const;
};

struct WinePrefixEntry {
    std::string path;    // host path of the prefix folder
    std::string source;  // how it was found: "WINEPREFIX", "home" (~/.wine), "lutris", "bottles", "steam", "heroic", "playonlinux"
    std::string wine;    // the Wine the prefix's manager records for it (host path of a wine executable), empty when none
};

// True when the folder holds drive_c/ and user.reg.
bool IsWinePrefix(const std::string& folder);

// Every Wine prefix the platform knows, in search order, each folder once (however it is
// reached): $WINEPREFIX, ~/.wine, Lutris, Bottles, Steam, Heroic, PlayOnLinux. A manager's
// file that is damaged or cannot be read is skipped.
std::vector<WinePrefixEntry> KnownWinePrefixes(const Environment& environment);

// The nearest folder above a host path that is a prefix; empty when there is none.
std::string PrefixHolding(const std::string& hostPath);

// A host path as a path text of the program, mapped through `ownPrefix`: a path on one of
// its drives (other than the one that is "/") in that drive's form ("C:\users\..."), any
// other in Wine's form for a host path ("Z:\home\...").
Text WindowsPathText(const std::string& hostPath, const std::string& ownPrefix);

// One registry value as each prefix holds it.
struct RegistryValueFound {
    WinePrefixEntry prefix;
    std::string value;  // as that prefix holds it (UTF-8), an expandable one expanded with the prefix's variables
    Text path;          // as the program is given it: unchanged from the own prefix, else a drive path in host form
};
// The string value under HKEY_CURRENT_USER in every known prefix that holds it, in search order.
std::vector<RegistryValueFound> FindRegistryValues(const Environment& environment, const Text& key, const Text& value);

// One running Windows program.
struct RunningProgramFound {
    unsigned long id = 0;
    std::string image;   // host path of the executable Wine mapped into the process
    std::string prefix;  // WINEPREFIX in its environment, else ~/.wine; when its environment
                         // cannot be read, the prefix holding the image (empty when none)
    Text path;           // the image as the program is given it (WindowsPathText)
};
// Every Wine process under `procRoot` whose image has the file name `exeName` (ASCII letters
// compared without regard to case; every Wine process when empty), by ascending id. A process
// that cannot be read is skipped.
std::vector<RunningProgramFound> FindRunningPrograms(const Environment& environment, const Text& exeName,
                                                     const std::string& procRoot = "/proc");

// The managers' own files, read here for KnownWinePrefixes and exposed for tests and fuzzing.
// Each gives nothing (or nothing more) for a file that is damaged or not of the expected shape.
struct ManagedPrefix {
    std::string prefix;  // as written in the file
    std::string wine;    // Lutris: the runner version; Bottles: the runner; Heroic: the wine executable
    bool operator==(const ManagedPrefix&) const = default;
};
// A Lutris game file: game.prefix and wine.version.
std::optional<ManagedPrefix> ParseLutrisGame(std::string_view yaml);
// A bottle.yml: its Runner (prefix empty: a bottle is the folder holding the file).
std::optional<ManagedPrefix> ParseBottle(std::string_view yaml);
// Bottles' data.yml: custom_bottles_path, when set.
std::optional<std::string> ParseBottlesCustomPath(std::string_view yaml);
// Steam's libraryfolders.vdf: the path of every library it lists.
std::vector<std::string> ParseSteamLibraryFolders(std::string_view vdf);
// A Heroic GamesConfig file: each game's winePrefix (with /pfx for a Proton game) and the
// wine executable it records (none for Proton, which is no wine executable).
std::vector<ManagedPrefix> ParseHeroicGamesConfig(std::string_view json);

// The Windows executable a Wine process runs, from its /proc maps: the mapped file named
// *.exe whose name starts with the process's short name (Wine names the process after its
// image; the kernel keeps 15 bytes of it), else the first mapped *.exe. Nothing when none.
std::optional<std::string> WineImageFromMaps(std::string_view maps, std::string_view shortName);

}  // namespace zonvex::linux_platform
