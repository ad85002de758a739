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

std::vector<LauncherSighting> SightingsInPrefix(const std::string& prefix, const Registry& registry,
                                                const ProcessList& processes) {
    std::vector<LauncherSighting> sightings;
    if (auto value = registry.currentUserString(Text(kRegistryKey), Text(kRegistryValue)))
        sightings.push_back({*value, prefix, "registry"});
    for (const ProcessEntry& entry : processes.snapshot().value_or(std::vector<ProcessEntry>())) {
        if (entry.id == 0 || !EqualsIgnoringAsciiCase(entry.exeName, kRunningLauncherName)) continue;
        if (auto path = processes.modulePath(entry.id)) sightings.push_back({*path, prefix, "running"});
    }
    return sightings;
}

}  // namespace zonvex
