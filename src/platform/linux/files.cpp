#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

namespace fs = std::filesystem;

bool Files::exists(const Text& path) const {
    struct stat st;
    return lstat(HostPath(path, prefix_).c_str(), &st) == 0;
}

int OpenRegularFile(const std::string& hostPath) {
    // Looked at before opening: opening a named pipe waits for a writer, and opening a
    // device may do whatever the device does. Checked again on what was opened, in case
    // the name was replaced in between.
    struct stat st;
    if (::stat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<std::string> ReadRegularFile(const std::string& hostPath, size_t limit) {
    int fd = OpenRegularFile(hostPath);
    if (fd < 0) return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || static_cast<unsigned long long>(st.st_size) > limit) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        // A read error, or a file that grows beyond the limit while it is read.
        if (n < 0 || bytes.size() + static_cast<size_t>(n) > limit) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::optional<std::string> Files::read(const Text& path) const { return ReadRegularFile(HostPath(path, prefix_)); }

bool Files::isFolder(const Text& path) const {
    struct stat st;
    return ::stat(HostPath(path, prefix_).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Files::setHidden(const Text& path) {
    static constexpr char kHidden[] = "0x2";
    return ::setxattr(HostPath(path, prefix_).c_str(), "user.DOSATTRIB", kHidden, sizeof kHidden - 1, 0) == 0;
}

namespace {

bool WriteFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The file a path finally names, following symbolic links (a bounded number of them).
fs::path FinalTarget(fs::path path) {
    std::error_code ec;
    for (int links = 0; links < 40 && fs::is_symlink(path, ec); ++links) {
        fs::path to = fs::read_symlink(path, ec);
        if (ec) break;
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return path;
}

mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool Files::replaceAll(std::span<const FileContent> files) {
    struct Staged {
        fs::path target, temp;
    };
    std::vector<Staged> staged;
    auto discard = [&staged] {
        for (const Staged& s : staged) ::unlink(s.temp.c_str());
        return false;
    };
    for (const FileContent& file : files) {
        fs::path target = FinalTarget(HostPath(file.path, prefix_));
        mode_t mode = NewFileMode();
        struct stat st;
        if (::stat(target.c_str(), &st) == 0) {
            bool writable = S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
            if (!writable) return discard();
            mode = st.st_mode & 07777;
        } else if (errno != ENOENT) {
            return discard();
        }
        std::string temp = (target.parent_path() / ("." + target.filename().string() + ".zonvex-XXXXXX")).string();
        int fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return discard();
        staged.push_back({target, temp});
        bool written = WriteFully(fd, file.bytes) && ::fchmod(fd, mode) == 0 && ::fdatasync(fd) == 0;
        if (::close(fd) != 0 || !written) return discard();
    }
    // Renames within one folder do not fail once the new file stands beside the old one.
    for (size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temp.c_str(), staged[i].target.c_str()) != 0) {
            staged.erase(staged.begin(), staged.begin() + static_cast<std::ptrdiff_t>(i));
            return discard();
        }
    }
    return true;
}

}  // namespace zonvex::linux_platform
