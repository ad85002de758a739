// GBK texts across the boundary of the W functions, and the program's own folders.
#include <windows.h>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

namespace {

constexpr UINT kGbk = 936;

// GB18030 reads every GBK text as GBK does, and also the four-byte sequences of pages
// converted from UTF-8 (an announcement may hold such characters); where the system lacks
// it (Wine 8 does), GBK.
UINT ReadingCodePage() {
    static const UINT codePage = IsValidCodePage(54936) ? 54936 : kGbk;
    return codePage;
}

}  // namespace

std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');  // never more units than bytes
    const int n = MultiByteToWideChar(ReadingCodePage(), 0, text.data(), size, wide.data(), size);
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return wide;
}

Text Narrow(std::wstring_view wide) {
    // A character beyond the basic plane is two UTF-16 units but one "?", as on Linux.
    std::wstring units;
    units.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        units += pair ? L'?' : wide[i];
        i += pair;
    }
    if (units.empty()) return {};
    const int size = static_cast<int>(units.size());
    // No best fit: a character GBK lacks becomes "?", never a look-alike such as "a" for "ä"
    // (a look-alike in a path would name another file).
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, units.data(), size, nullptr, 0, "?", nullptr);
    if (n <= 0) return {};
    Text text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, units.data(), size, text.data(), n, "?", nullptr);
    return text;
}

std::wstring ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

void EnterProgramDirectory() { SetCurrentDirectoryW(ProgramDirectory().c_str()); }

std::wstring PrivateDirectory() {
    wchar_t buffer[32768];
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, ARRAYSIZE(buffer));
    if (n == 0 || n >= ARRAYSIZE(buffer)) return {};
    return std::wstring(buffer, n) + L"\\Zonvex";
}

}  // namespace zonvex::windows_platform
