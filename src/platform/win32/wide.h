#pragma once
// The program's texts are GBK bytes; the W functions take UTF-16. Texts cross here, so
// nothing depends on the machine's ANSI code page.
#include <windows.h>

#include <string>
#include <string_view>

#include "text/text.h"

namespace zonvex::win32 {

// GB18030 reads every GBK text as GBK does, and also the four-byte sequences of pages
// converted from UTF-8; where the system lacks it (Wine 8 does), GBK.
inline UINT TextCodePage() {
    static const UINT codePage = IsValidCodePage(54936) ? 54936 : 936;
    return codePage;
}
// What the program reads back is GBK: a character GBK lacks becomes "?", as the ANSI
// functions give it.
inline constexpr UINT kGbkCodePage = 936;

inline std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(TextCodePage(), 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(TextCodePage(), 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

inline Text Narrow(std::wstring_view wide) {
    // A character beyond the basic plane is two UTF-16 units but one "?".
    std::wstring units;
    units.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        units += pair ? L'?' : wide[i];
        i += pair;
    }
    if (units.empty()) return {};
    const int size = static_cast<int>(units.size());
    // No best fit: "?" rather than a look-alike ("a" for "ä"), as the Linux build gives it.
    const int n = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, units.data(), size, nullptr, 0, "?", nullptr);
    Text text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, units.data(), size, text.data(), n, "?", nullptr);
    return text;
}

}  // namespace zonvex::win32
