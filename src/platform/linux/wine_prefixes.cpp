#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/linux/wine_prefixes.h"

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

namespace fs = std::filesystem;

namespace {

// Managers' files are small; anything much larger is not one of theirs.
constexpr size_t kMaxManagerFile = 4 << 20;

std::optional<std::string> ReadManagerFile(const fs::path& file) { return ReadRegularFile(file.string(), kMaxManagerFile); }

// The entries of a folder, sorted by name (directory order is arbitrary); none when it
// cannot be read.
std::vector<fs::path> SortedEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A path as managers write it: absolute, or starting at the home ("~/").
std::string ManagerPath(const std::string& written, const Environment& environment) {
    if (written.starts_with("~/")) return environment.home + written.substr(1);
    return written.starts_with("/") ? written : std::string();
}

// A file name taken from a manager's file, used as one folder name: nothing that climbs out.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

class PrefixList {
public:
    explicit PrefixList(const Environment& environment) : environment(environment) {}

    void add(const std::string& path, const char* source, std::string wine = {}) {
        if (path.empty() || !IsWinePrefix(path) || !seen_.insert(Canonical(path)).second) return;
        entries.push_back({path, source, std::move(wine)});
    }

    const Environment& environment;
    std::vector<WinePrefixEntry> entries;

private:
    std::set<std::string> seen_;
};

void AddLutris(PrefixList& list) {
    const Environment& env = list.environment;
    const std::string flatpak = env.home + "/.var/app/net.lutris.Lutris";
    // Where game files lie, and the data folder whose runners they name.
    const std::pair<std::string, std::string> places[] = {
        {env.configHome + "/lutris/games", env.dataHome + "/lutris"},
        {env.dataHome + "/lutris/games", env.dataHome + "/lutris"},
        {flatpak + "/config/lutris/games", flatpak + "/data/lutris"},
        {flatpak + "/data/lutris/games", flatpak + "/data/lutris"},
    };
    for (const auto& [games, data] : places) {
        for (const fs::path& file : SortedEntries(games)) {
            if (file.extension() != ".yml") continue;
            auto content = ReadManagerFile(file);
            auto game = content ? ParseLutrisGame(*content) : std::nullopt;
            if (!game) continue;
            std::string wine = IsPlainName(game->wine) ? data + "/runners/wine/" + game->wine + "/bin/wine" : "";
            list.add(ManagerPath(game->prefix, env), "lutris", std::move(wine));
        }
    }
}

void AddBottles(PrefixList& list) {
    const Environment& env = list.environment;
    for (const std::string& data : {env.dataHome + "/bottles", env.home + "/.var/app/com.usebottles.bottles/data/bottles"}) {
        std::vector<std::string> folders = {data + "/bottles"};
        if (auto settings = ReadManagerFile(data + "/data.yml"))
            if (auto custom = ParseBottlesCustomPath(*settings)) folders.push_back(ManagerPath(*custom, env));
        for (const std::string& folder : folders) {
            if (folder.empty()) continue;
            for (const fs::path& bottle : SortedEntries(folder)) {
                auto content = ReadManagerFile(bottle / "bottle.yml");
                auto record = content ? ParseBottle(*content) : std::nullopt;
                if (!record) continue;
                std::string wine = IsPlainName(record->wine) ? data + "/runners/" + record->wine + "/bin/wine" : "";
                list.add(bottle.string(), "bottles", std::move(wine));
            }
        }
    }
}

void AddSteam(PrefixList& list) {
    const Environment& env = list.environment;
    const std::string roots[] = {
        env.home + "/.steam/steam",
        env.home + "/.steam/root",
        env.dataHome + "/Steam",
        env.home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
    };
    std::vector<std::string> libraries;
    for (const std::string& root : roots) {
        libraries.push_back(root);
        if (auto vdf = ReadManagerFile(root + "/steamapps/libraryfolders.vdf"))
            for (const std::string& library : ParseSteamLibraryFolders(*vdf)) libraries.push_back(ManagerPath(library, env));
    }
    std::set<std::string> seen;
    for (const std::string& library : libraries) {
        if (library.empty() || !seen.insert(Canonical(library)).second) continue;
        for (const fs::path& game : SortedEntries(library + "/steamapps/compatdata")) list.add((game / "pfx").string(), "steam");
    }
}

void AddHeroic(PrefixList& list) {
    const Environment& env = list.environment;
    for (const std::string& config :
         {env.configHome + "/heroic", env.home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic"}) {
        for (const fs::path& file : SortedEntries(config + "/GamesConfig")) {
            if (file.extension() != ".json") continue;
            auto content = ReadManagerFile(file);
            if (!content) continue;
            for (auto& game : ParseHeroicGamesConfig(*content))
                list.add(ManagerPath(game.prefix, env), "heroic", ManagerPath(game.wine, env));
        }
    }
}

void AddPlayOnLinux(PrefixList& list) {
    for (const fs::path& prefix : SortedEntries(list.environment.home + "/.PlayOnLinux/wineprefix"))
        list.add(prefix.string(), "playonlinux");
}

}  // namespace

Environment Environment::Current() {
    Environment env = ForHome(EnvironmentValue("HOME"));
    env.winePrefix = EnvironmentValue("WINEPREFIX");
    env.wine = EnvironmentValue("WINE");
    // Relative XDG folders are to be ignored.
    if (std::string data = EnvironmentValue("XDG_DATA_HOME"); data.starts_with("/")) env.dataHome = data;
    if (std::string config = EnvironmentValue("XDG_CONFIG_HOME"); config.starts_with("/")) env.configHome = config;
    return env;
}

Environment Environment::ForHome(std::string home) {
    Environment env;
    env.home = std::move(home);
    env.dataHome = env.home + "/.local/share";
    env.configHome = env.home + "/.config";
    return env;
}

std::string Environment::ownPrefix() const { return winePrefix.empty() ? home + "/.wine" : winePrefix; }

std::optional<std::string> ReadRegularFile(const std::string& path, size_t limit) {
    // Only a regular file: reading a pipe or a device could wait for ever.
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    auto size = fs::file_size(path, ec);
    if (ec || size > limit) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string content(size, '\0');
    if (!in.read(content.data(), static_cast<std::streamsize>(size)) && !in.eof()) return std::nullopt;
    content.resize(static_cast<size_t>(in.gcount()));  // shorter if it shrank meanwhile
    return content;
}

bool IsWinePrefix(const std::string& folder) {
    std::error_code ec;
    return fs::is_directory(folder + "/drive_c", ec) && fs::is_regular_file(folder + "/user.reg", ec);
}

std::vector<WinePrefixEntry> KnownWinePrefixes(const Environment& environment) {
    PrefixList list(environment);
    if (!environment.winePrefix.empty()) list.add(environment.winePrefix, "WINEPREFIX");
    list.add(environment.home + "/.wine", "home");
    AddLutris(list);
    AddBottles(list);
    AddSteam(list);
    AddHeroic(list);
    AddPlayOnLinux(list);
    return std::move(list.entries);
}

std::string Canonical(const std::string& path) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? path : canonical.string();
}

std::string PrefixHolding(const std::string& hostPath) {
    fs::path folder = fs::path(Canonical(hostPath)).parent_path();
    for (; !folder.empty() && folder != folder.root_path(); folder = folder.parent_path())
        if (IsWinePrefix(folder.string())) return folder.string();
    return {};
}

Text WindowsPathText(const std::string& hostPath, const std::string& ownPrefix) {
    const std::string path = Canonical(hostPath);
    std::string form = "Z:" + path;
    size_t longest = 0;
    for (const fs::path& link : SortedEntries(ownPrefix + "/dosdevices")) {
        std::string name = link.filename().string();
        if (name.size() != 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0]))) continue;
        std::error_code ec;
        std::string target = fs::canonical(link, ec).string();
        if (ec || target == "/" || target.size() <= longest) continue;
        if (path == target || (path.starts_with(target) && path[target.size()] == '/')) {
            longest = target.size();
            form = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])))) + ":" +
                   path.substr(target.size());
        }
    }
    if (form.size() == 2) form += '/';  // a drive's root
    std::replace(form.begin(), form.end(), '/', '\\');
    return PathText(form);
}

}  // namespace zonvex::linux_platform
