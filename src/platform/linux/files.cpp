#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

bool Files::exists(const Text& path) const {
    struct stat st;
    return lstat(HostPath(path, prefix_).c_str(), &st) == 0;
}

std::optional<std::string> Files::read(const Text& path) const {
    int fd = ::open(HostPath(path, prefix_).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;  // a directory, or a read error
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

bool Files::write(const Text& path, std::string_view bytes) {
    int fd = ::open(HostPath(path, prefix_).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return ::close(fd) == 0 && ok;
}

}  // namespace zonvex::linux_platform
