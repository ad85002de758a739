#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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

std::optional<std::string> WineImagePath(const std::string& processDir) {
    auto cmdline = ReadSmallFile(processDir + "/cmdline");
    return cmdline ? WineImagePathFromCmdline(*cmdline) : std::nullopt;
}

std::string LastComponent(const std::string& path, char separator) {
    size_t at = path.rfind(separator);
    return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace

std::optional<std::string> WineImagePathFromCmdline(std::string_view cmdline) {
    std::string_view first = cmdline.substr(0, cmdline.find('\0'));
    if (first.size() >= 3 && std::isalpha(static_cast<unsigned char>(first[0])) && first[1] == ':' && first[2] == '\\')
        return std::string(first);
    return std::nullopt;
}

std::optional<std::vector<ProcessEntry>> ProcProcesses::snapshot() const {
    DIR* dir = opendir(root_.c_str());
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

    std::vector<ProcessEntry> entries;
    for (unsigned long id : ids) {
        std::string processDir = root_ + "/" + std::to_string(id);
        std::string name;
        if (auto image = WineImagePath(processDir)) {
            name = LastComponent(*image, '\\');
        } else if (auto exe = ReadLink(processDir + "/exe")) {
            name = LastComponent(*exe, '/');
        } else if (auto comm = ReadSmallFile(processDir + "/comm")) {
            name = comm->substr(0, comm->find('\n'));  // the kernel's short name
        } else {
            continue;  // gone while we looked
        }
        entries.push_back({id, Utf8ToGbk(name)});
    }
    return entries;
}

std::optional<Text> ProcProcesses::modulePath(unsigned long id) const {
    std::string processDir = root_ + "/" + std::to_string(id);
    if (auto image = WineImagePath(processDir)) return Utf8ToGbk(*image);
    if (auto exe = ReadLink(processDir + "/exe")) return PathText(*exe);
    return std::nullopt;
}

}  // namespace zonvex::linux_platform
