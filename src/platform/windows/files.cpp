#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

namespace {

// Closes a handle when it goes out of scope.
struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h != INVALID_HANDLE_VALUE && h != nullptr; }
};

bool WriteFully(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Nobody else has the file open in a way that keeps us from replacing it: a program that
// holds it without sharing (as the running client does) makes this open fail.
bool FreeToReplace(const std::wstring& target) {
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    return file.valid();
}

// The attributes a replaced file keeps; the new file is never read-only.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

bool Files::exists(const Text& path) const {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

std::optional<std::string> Files::read(const Text& path) const {
    // Shared every way, so the client may keep writing the file while it is read.
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.valid() || GetFileType(file.h) != FILE_TYPE_DISK || !GetFileSizeEx(file.h, &size) ||
        size.QuadPart > static_cast<LONGLONG>(kMaxRead))
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.h, buffer, sizeof buffer, &n, nullptr)) return std::nullopt;
        if (n == 0) break;
        if (n > kMaxRead - bytes.size()) return std::nullopt;  // grew beyond the limit meanwhile
        bytes.append(buffer, n);
    }
    return bytes;
}

bool Files::isFolder(const Text& path) const {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Files::setHidden(const Text& path) { return SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN); }

bool Files::replaceAll(std::span<const FileContent> files) {
    struct Staged {
        std::wstring target, temp;
        bool existed;
    };
    std::vector<Staged> staged;
    auto discard = [&staged] {
        for (const Staged& s : staged) DeleteFileW(s.temp.c_str());
        return false;
    };
    for (const FileContent& file : files) {
        const std::wstring target = Wide(file.path);
        DWORD attributes = GetFileAttributesW(target.c_str());
        const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
        if (existed && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return discard();
        // A missing file is created; a missing folder (or any other error) fails.
        if (!existed && GetLastError() != ERROR_FILE_NOT_FOUND) return discard();
        attributes = existed ? (attributes & kKeptAttributes) : FILE_ATTRIBUTE_NORMAL;

        std::wstring temp;
        HANDLE created = INVALID_HANDLE_VALUE;
        for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
            temp = target + L".zonvex-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
            created = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
        }
        if (created == INVALID_HANDLE_VALUE) return discard();
        staged.push_back({target, temp, existed});
        bool written = WriteFully(created, file.bytes) && FlushFileBuffers(created);
        written = CloseHandle(created) && written;
        if (!written || (attributes != FILE_ATTRIBUTE_NORMAL && !SetFileAttributesW(temp.c_str(), attributes)))
            return discard();
    }
    // Checked last, just before the moves, so that a file the client opened meanwhile is
    // still found out before anything has changed.
    for (const Staged& s : staged)
        if (s.existed && !FreeToReplace(s.target)) return discard();
    for (size_t i = 0; i < staged.size(); ++i) {
        if (!MoveFileExW(staged[i].temp.c_str(), staged[i].target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            staged.erase(staged.begin(), staged.begin() + static_cast<std::ptrdiff_t>(i));
            return discard();
        }
    }
    return true;
}

}  // namespace zonvex::windows_platform
