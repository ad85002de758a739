#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

std::string WinePrefix() { return Environment::Current().ownPrefix(); }

namespace {

bool Exists(const std::string& hostPath) {
    struct stat st;
    return lstat(hostPath.c_str(), &st) == 0;
}

std::string Join(const std::string& base, const std::string& name) {
    if (base.empty()) return name;
    return base.back() == '/' ? base + name : base + "/" + name;
}

// The entry of `dir` whose name equals `name` ignoring ASCII case, if there is one.
std::optional<std::string> FindIgnoringCase(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> found;
    while (dirent* entry = readdir(d)) {
        if (EqualsIgnoringAsciiCase(entry->d_name, name)) {
            found = entry->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string HostPath(const Text& windowsPath, const std::string& winePrefix) {
    std::string path = GbkToUtf8(windowsPath);
    std::string base;
    size_t at = 0;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
        base = winePrefix + "/dosdevices/" + drive + ":";
        if (drive == 'z' && !Exists(base)) base = "/";
        at = 2;
    } else if (!path.empty() && IsSeparator(path[0])) {
        base = "/";
    }
    bool resolving = true;  // once a component is missing, nothing below it can be found
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::string name = path.substr(at, end - at);
        at = end + 1;
        if (name.empty()) continue;
        std::string candidate = Join(base, name);
        if (resolving && !Exists(candidate)) {
            if (auto other = FindIgnoringCase(base, name)) candidate = Join(base, *other);
            else resolving = false;
        }
        base = std::move(candidate);
    }
    return base.empty() ? "." : base;
}

void EnterProgramDirectory() { (void)!chdir(ProgramDirectory().c_str()); }

Text PathText(const std::string& hostPath) { return Utf8ToGbk(hostPath); }

std::string ProgramDirectory() {
    std::string buffer(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0) return ".";
    buffer.resize(static_cast<size_t>(n));
    size_t slash = buffer.rfind('/');
    return slash == 0 ? "/" : buffer.substr(0, slash);
}

}  // namespace zonvex::linux_platform
