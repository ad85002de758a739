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

std::vector<Installation> InstallationsInPrefix(const std::string& prefix, const FileSystem& files,
                                                const Registry& registry, const ProcessList& processes) {
    // Both the registry value and a launcher's image name <folder>\rude\Client.exe.
    std::vector<std::pair<Text, std::string>> candidates;
    if (auto value = registry.currentUserString(Text(kRegistryKey), Text(kRegistryValue)))
        candidates.emplace_back(*value, "registry");
    for (const ProcessEntry& entry : processes.snapshot().value_or(std::vector<ProcessEntry>())) {
        if (entry.id == 0 || !EqualsIgnoringAsciiCase(entry.exeName, kRunningLauncherName)) continue;
        if (auto path = processes.modulePath(entry.id)) candidates.emplace_back(UpToFirstZero(*path), "running");
    }

    std::vector<Installation> found;
    for (const auto& [image, source] : candidates) {
        Text folder = RemoveAllIgnoringAsciiCase(image, kRunningLauncherSuffix);
        if (folder.empty() || !files.exists(folder + Text(kMainExecutableSuffix))) continue;
        bool known = false;
        for (const Installation& i : found) known |= FolderKey(i.folder) == FolderKey(folder);
        if (!known) found.push_back({std::move(folder), prefix, source});
    }
    return found;
}

}  // namespace zonvex
