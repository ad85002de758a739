#include <windows.h>
#include <tlhelp32.h>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

std::optional<std::vector<ProcessEntry>> ToolhelpProcesses::snapshot() const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<ProcessEntry> entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        entries.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    CloseHandle(snapshot);
    return entries;
}

std::optional<Text> ToolhelpProcesses::modulePath(unsigned long id) const {
    // The module list can be caught while it changes; the system asks to try again then.
    HANDLE modules = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 5 && modules == INVALID_HANDLE_VALUE; ++attempt) {
        modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, id);
        if (modules == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) break;
    }
    if (modules != INVALID_HANDLE_VALUE) {
        MODULEENTRY32W module{};
        module.dwSize = sizeof module;
        const bool found = Module32FirstW(modules, &module);
        CloseHandle(modules);
        if (found) return Narrow(module.szExePath);
    }
    // Modules that cannot be read (a protected process) still leave the image's name.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return std::nullopt;
    wchar_t path[32768];
    DWORD size = ARRAYSIZE(path);
    const bool named = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!named) return std::nullopt;
    return Narrow(std::wstring_view(path, size));
}

}  // namespace zonvex::windows_platform
