#include "ctl/installations.h"

#include "client_location/install_paths.h"

namespace zonvex {

namespace {

constexpr std::string_view kRegistryKey = "Software\\Tencent\\CrossFire";
constexpr std::string_view kRegistryValue = "install";

// Two texts name the same folder when they differ only in separators or ASCII letter case,
// as Windows and Wine see it.
Text FolderKey(const Text& folder) {
    Text key;
    for (char c : folder) {
        if (c == '/') c = '\\';
        if (c == '\\' && !key.empty() && key.back() == '\\') continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}

}  // namespace

std::vector<Installation> InstallationsSeen(std::span<const LauncherSighting> sightings, const FileSystem& files) {
    std::vector<Installation> found;
    for (const LauncherSighting& s : sightings) {
        Text folder = RemoveAllIgnoringAsciiCase(UpToFirstZero(s.image), kRunningLauncherSuffix);
        if (folder.empty() || !files.exists(folder + Text(kMainExecutableSuffix))) continue;
        bool known = false;
        for (const Installation& i : found) known |= FolderKey(i.folder) == FolderKey(folder);
        if (!known) found.push_back({std::move(folder), s.prefix, s.source});
    }
    return found;
}

std::vector<LauncherSighting> LauncherSightings(const linux_platform::Environment& environment,
                                                const std::string& procRoot) {
    std::vector<LauncherSighting> sightings;
    for (const auto& r : linux_platform::FindRegistryValues(environment, Text(kRegistryKey), Text(kRegistryValue)))
        sightings.push_back({r.path, r.prefix.path, "registry"});
    for (const auto& p : linux_platform::FindRunningPrograms(environment, Text(kRunningLauncherName), procRoot))
        sightings.push_back({p.path, p.prefix, "running"});
    return sightings;
}

}  // namespace zonvex
