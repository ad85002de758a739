#include "client_location/client_directory.h"

#include "client_location/install_paths.h"

namespace zonvex {

namespace {

constexpr std::string_view kEditBox = "编辑框1";
constexpr std::string_view kBrowsePrompt = "请选择CF安装目录 务必正确选择";
constexpr std::string_view kRegistryKey = "Software\\Tencent\\CrossFire";
constexpr std::string_view kRegistryValue = "install";
constexpr std::string_view kRegistryFallback = "自动搜索失败，请手动选择";
constexpr std::string_view kSnapshotFailed = "创建进程快照失败";

// The launcher's path without "rude\Client.exe": its folder keeps the trailing backslash.
constexpr std::string_view kLauncherPathSuffix = kRunningLauncherSuffix.substr(1);

}  // namespace

void OnClientDirChanged(Program& p) {
    Text folder = p.ui.text(Window::Start, kEditBox);
    if (!p.platform.files.exists(folder + Text(kMainExecutableSuffix))) return;
    p.state.ClientDir = folder;
    p.ui.open(Window::Main);
    p.ui.close(Window::Start);
}

void OnBrowseForClientDir(Program& p) {
    std::optional<Text> folder = p.ui.browseFolder(Text(kBrowsePrompt));
    p.ui.setText(Window::Start, kEditBox, folder.value_or(Text()));
}

void OnRegistryLookup(Program& p) {
    Text value = p.platform.registry.currentUserString(Text(kRegistryKey), Text(kRegistryValue))
                     .value_or(Text(kRegistryFallback));
    p.ui.setText(Window::Start, kEditBox, RemoveAllIgnoringAsciiCase(value, kRunningLauncherSuffix));
}

void OnLauncherSearch(Program& p) {
    const Text name(kRunningLauncherName);
    if (!IsProcessRunning(p.platform.processes, name)) return;
    p.state.LauncherPath = GetProcessPath(p, name);
    p.ui.setText(Window::Start, kEditBox, RemoveAllIgnoringAsciiCase(p.state.LauncherPath, kLauncherPathSuffix));
}

bool IsProcessRunning(const ProcessList& processes, const Text& name) {
    auto snapshot = processes.snapshot();
    if (!snapshot) return false;
    for (const ProcessEntry& entry : *snapshot)
        if (entry.id != 0 && EqualsIgnoringAsciiCase(entry.exeName, name)) return true;
    return false;
}

Text GetProcessPath(Program& p, const Text& name) {
    auto snapshot = p.platform.processes.snapshot();
    if (!snapshot) {
        p.ui.message(Text(kSnapshotFailed));
        return {};
    }
    for (const ProcessEntry& entry : *snapshot) {
        if (entry.id == 0 || !EqualsIgnoringAsciiCase(entry.exeName, name)) continue;
        // A character the code page cannot hold shows as "?": such a path is useless.
        Text path = UpToFirstZero(p.platform.processes.modulePath(entry.id).value_or(Text()));
        return path.find('?') == Text::npos ? path : Text();
    }
    return {};
}

}  // namespace zonvex
