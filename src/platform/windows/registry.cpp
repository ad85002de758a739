#include <windows.h>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

namespace {

// A string value's data, up to its first zero unit (data need not end in one).
std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name, DWORD& type) {
    std::wstring data(64, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {  // the value may grow between calls
        DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            data.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;
        data.resize(bytes / sizeof(wchar_t));
        return data.substr(0, data.find(L'\0'));
    }
    return std::nullopt;
}

std::optional<std::wstring> ExpandEnvironment(const std::wstring& text) {
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring expanded(size, L'\0');
    const DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
    if (n == 0 || n > size) return std::nullopt;
    expanded.resize(n - 1);  // the count includes the terminating zero
    return expanded;
}

}  // namespace

std::optional<Text> CurrentUserRegistry::currentUserString(const Text& key, const Text& value) const {
    HKEY opened;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = REG_NONE;
    std::optional<std::wstring> data = ReadString(opened, Wide(value), type);
    RegCloseKey(opened);
    if (!data) return std::nullopt;
    if (type == REG_EXPAND_SZ) data = ExpandEnvironment(*data);
    else if (type != REG_SZ) return std::nullopt;
    if (!data) return std::nullopt;
    return Narrow(*data);
}

}  // namespace zonvex::windows_platform
