#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

namespace {

std::optional<std::string> ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return content;
}

std::optional<std::string> ReadLink(const std::string& path) {
    std::string buffer(4096, '\0');
    ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return std::nullopt;
    buffer.resize(static_cast<size_t>(n));
    return buffer;
}

std::string LastComponent(const std::string& path) {
    size_t at = path.rfind('/');
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

// The process ids in ascending order; nothing when the tree cannot be read.
std::optional<std::vector<unsigned long>> ProcessIds(const std::string& root) {
    DIR* dir = opendir(root.c_str());
    if (!dir) return std::nullopt;
    std::vector<unsigned long> ids;
    while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name.empty() || name.size() > 10 || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        ids.push_back(std::stoul(std::string(name)));
    }
    closedir(dir);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// What can be read of one process; nothing when its maps cannot be read.
struct ProcessView {
    std::optional<std::string> image;  // the Windows executable, for a Wine process
    std::optional<std::string> exe;    // the host executable
    std::optional<std::string> shortName;
};

std::optional<ProcessView> ViewProcess(const std::string& processDir) {
    auto maps = ReadSmallFile(processDir + "/maps");
    if (!maps) return std::nullopt;
    ProcessView view;
    if (auto comm = ReadSmallFile(processDir + "/comm")) view.shortName = comm->substr(0, comm->find('\n'));
    view.image = WineImageFromMaps(*maps, view.shortName.value_or(""));
    if (!view.image) view.exe = ReadLink(processDir + "/exe");
    return view;
}

// WINEPREFIX in a process's environment; "" when it is not set there, nothing when the
// environment cannot be read.
std::optional<std::string> WinePrefixOf(const std::string& processDir) {
    auto variables = ReadSmallFile(processDir + "/environ");
    if (!variables) return std::nullopt;
    constexpr std::string_view kName = "WINEPREFIX=";
    for (size_t at = 0; at < variables->size();) {
        size_t end = std::min(variables->find('\0', at), variables->size());
        std::string_view entry = std::string_view(*variables).substr(at, end - at);
        if (entry.starts_with(kName) && entry.size() > kName.size()) return std::string(entry.substr(kName.size()));
        at = end + 1;
    }
    return "";
}

}  // namespace

std::optional<std::string> WineImageFromMaps(std::string_view maps, std::string_view shortName) {
    std::optional<std::string> first;
    size_t at = 0;
    while (at < maps.size()) {
        size_t end = std::min(maps.find('\n', at), maps.size());
        std::string_view line = maps.substr(at, end - at);
        at = end + 1;
        // address perms offset device inode, then the file's name, which may hold spaces.
        size_t field = 0;
        for (int skip = 0; skip < 5 && field != std::string_view::npos; ++skip) {
            field = line.find_first_not_of(' ', field);
            field = field == std::string_view::npos ? field : line.find(' ', field);
        }
        if (field == std::string_view::npos) continue;
        size_t start = line.find_first_not_of(' ', field);
        if (start == std::string_view::npos || line[start] != '/') continue;
        std::string_view file = line.substr(start);
        if (!EndsWithIgnoringCase(file, ".exe")) continue;  // a deleted file ends in " (deleted)"
        if (!shortName.empty() && LastComponent(std::string(file)).starts_with(shortName)) return std::string(file);
        if (!first) first = std::string(file);
    }
    return first;
}

std::optional<std::vector<ProcessEntry>> ProcProcesses::snapshot() const {
    auto ids = ProcessIds(root_);
    if (!ids) return std::nullopt;
    std::vector<ProcessEntry> entries;
    for (unsigned long id : *ids) {
        auto view = ViewProcess(root_ + "/" + std::to_string(id));
        if (!view) continue;
        std::string name;
        if (view->image) name = LastComponent(*view->image);
        else if (view->exe) name = LastComponent(*view->exe);
        else if (view->shortName) name = *view->shortName;  // the kernel's short name
        else continue;  // gone while we looked
        entries.push_back({id, Utf8ToGbk(name)});
    }
    return entries;
}

std::optional<Text> ProcProcesses::modulePath(unsigned long id) const {
    auto view = ViewProcess(root_ + "/" + std::to_string(id));
    if (!view) return std::nullopt;
    if (view->image) return WindowsPathText(*view->image, prefix_);
    if (view->exe) return PathText(*view->exe);
    return std::nullopt;
}

std::vector<RunningProgramFound> FindRunningPrograms(const Environment& environment, const Text& exeName,
                                                     const std::string& procRoot) {
    std::vector<RunningProgramFound> found;
    for (unsigned long id : ProcessIds(procRoot).value_or(std::vector<unsigned long>())) {
        std::string processDir = procRoot + "/" + std::to_string(id);
        auto view = ViewProcess(processDir);
        if (!view || !view->image) continue;
        if (!exeName.empty() && !EqualsIgnoringAsciiCase(Utf8ToGbk(LastComponent(*view->image)), exeName)) continue;
        std::string prefix;
        if (auto own = WinePrefixOf(processDir)) prefix = own->empty() ? environment.home + "/.wine" : *own;
        else prefix = PrefixHolding(*view->image);
        found.push_back({id, *view->image, prefix, WindowsPathText(*view->image, environment.ownPrefix())});
    }
    return found;
}

}  // namespace zonvex::linux_platform
