#include <windows.h>
#include <shellapi.h>

#include "platform/web_address.h"
#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

void ShellOpen::open(const Text& target) {
    if (IsWebAddress(target)) ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ProcessLauncher::start(const Text& path) {
    const std::wstring program = Wide(path);
    // The program is named twice: as the file to start, so the system never searches for it
    // by the words of an unquoted line, and quoted as the command line it sees.
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return;
    WaitForInputIdle(started.hProcess, 1000);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

}  // namespace zonvex::windows_platform
