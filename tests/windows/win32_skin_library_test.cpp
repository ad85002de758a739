// The skin library as a Windows DLL under Wine: every built-in skin attaches, and from then
// on the program's windows, those open and those opened later, are drawn in it; a damaged
// skin is refused and leaves the look as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/layouts.h"
#include "platform/win32/win32_window_system.h"
#include "skin/format/she_format.h"
#include "skin/format/skin_content.h"
#include "skin/skin.h"
#include "windows/win32_test_helpers.h"

namespace zonvex {
namespace {

using namespace testing;
using Attach = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

// The library the build made; a host path is reached through Wine's drive Z:.
Attach BuiltLibrary() {
    static Attach attach = [] {
        std::wstring path;
        for (char c : std::string(ZONVEX_SKIN_LIBRARY)) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
        if (path.starts_with(L"\\")) path = L"Z:" + path;
        HMODULE module = LoadLibraryW(path.c_str());
        return module ? reinterpret_cast<Attach>(reinterpret_cast<void*>(GetProcAddress(module, "SkinH_AttachRes"))) : nullptr;
    }();
    return attach;
}

int AttachBytes(const std::vector<unsigned char>& skin, int hue = 0, int saturation = 0, int brightness = 0) {
    return BuiltLibrary()(skin.data(), static_cast<int>(skin.size()), "", hue, saturation, brightness);
}

std::vector<unsigned char> Skin(int number) {
    std::span<const unsigned char> skin = BuiltInSkin(number);
    return {skin.begin(), skin.end()};
}

struct Painted {
    COLORREF pixel;      // a point of the window's own background
    COLORREF labelText;  // the colour a label is asked to draw its caption in
    bool buttonSkinned;  // a push button is drawn by the skin
};

// What the window shows now: a pixel of its background, as painted, and what it answers
// its controls.
Painted Look(win32::Win32WindowSystem& ui, Window window, std::string_view label, std::string_view button) {
    HWND top = ui.window(window);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50);
    HDC dc = GetDC(top);
    Painted p{GetPixel(dc, 2, 2), 0, false};
    ReleaseDC(top, dc);
    HDC memory = CreateCompatibleDC(nullptr);
    HWND l = ui.control(window, label);
    SendMessageW(GetParent(l), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(l));
    p.labelText = GetTextColor(memory);
    DeleteDC(memory);
    p.buttonSkinned = (GetWindowLongW(ui.control(window, button), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
    return p;
}

COLORREF ToColor(skin::Rgb c) { return RGB(c.r, c.g, c.b); }

// The picture's pixel at x, y over the window colour, as the skin tiles it.
COLORREF PicturePixel(const skin::SkinContent& skin, int x, int y) {
    const unsigned char* p = &skin.picture[static_cast<size_t>((y % skin.pictureHeight) * skin.pictureWidth + x % skin.pictureWidth) * 4];
    auto mix = [&](int c, int under) { return static_cast<BYTE>((c * p[3] + under * (255 - p[3])) / 255); };
    return RGB(mix(p[0], skin.window.r), mix(p[1], skin.window.g), mix(p[2], skin.window.b));
}

// All in one test: the library is loaded once per process and keeps its skin.
TEST(Win32SkinLibraryTest, SkinsAttachAndDrawEveryWindowAndDamagedOnesChangeNothing) {
    ASSERT_NE(BuiltLibrary(), nullptr) << "SkinH_EL.dll or its SkinH_AttachRes";
    win32::Win32WindowSystem ui(Layouts(), [](Window, std::string_view, Event) {});
    ui.open(Window::Start);
    const Painted plain = Look(ui, Window::Start, "透明标签1", "按钮1");
    EXPECT_FALSE(plain.buttonSkinned);

    // Damaged skins, before any skin and after one: refused, and the look stays.
    const std::vector<unsigned char> good = Skin(kStartWindowSkin);
    ASSERT_GT(good.size(), skin::kHeaderSize + 16);
    auto damaged = [&] {
        std::vector<std::vector<unsigned char>> cases;
        cases.push_back({});                                                      // nothing
        cases.push_back({good.begin(), good.begin() + 10});                       // a header cut short
        cases.push_back({good.begin(), good.begin() + skin::kHeaderSize + 16});   // a stream cut short
        for (size_t at : {size_t(0), size_t(4), size_t(6), size_t(10), good.size() / 2, good.size() - 1}) {
            auto c = good;
            c[at] ^= 0x5A;  // magic, version, size, properties, the stream, its end
            cases.push_back(c);
        }
        return cases;
    }();
    for (const auto& skin : damaged) EXPECT_EQ(AttachBytes(skin), 0);
    EXPECT_EQ(BuiltLibrary()(nullptr, 100, "", 0, 0, 0), 0);
    EXPECT_EQ(BuiltLibrary()(good.data(), -1, "", 0, 0, 0), 0);
    const Painted afterDamage = Look(ui, Window::Start, "透明标签1", "按钮1");
    EXPECT_EQ(afterDamage.pixel, plain.pixel);
    EXPECT_EQ(afterDamage.labelText, plain.labelText);
    EXPECT_FALSE(afterDamage.buttonSkinned);

    // Every built-in skin attaches; the last one attached is skin 8.
    for (int n = 1; n <= kBuiltInSkinCount; ++n) EXPECT_EQ(AttachBytes(Skin(n)), 1) << "skin " << n;
    EXPECT_EQ(AttachBytes(good, 30, -20, 10), 1);
    const Painted shifted = Look(ui, Window::Start, "透明标签1", "按钮1");
    EXPECT_EQ(AttachBytes(good), 1);

    auto content = skin::Unpack(good);
    ASSERT_TRUE(content);
    auto parsed = skin::Parse(*content);
    ASSERT_TRUE(parsed);
    const Painted skinned = Look(ui, Window::Start, "透明标签1", "按钮1");
    EXPECT_EQ(skinned.pixel, PicturePixel(*parsed, 2, 2)) << "the window open before the skin";
    EXPECT_EQ(skinned.labelText, ToColor(parsed->text));
    EXPECT_TRUE(skinned.buttonSkinned);
    EXPECT_NE(shifted.labelText, skinned.labelText) << "the shifts change the colours";

    // A window opened later, and a hyperlink in it.
    ui.open(Window::Main);
    const Painted later = Look(ui, Window::Main, "超级链接框3", "按钮2");
    EXPECT_EQ(later.pixel, PicturePixel(*parsed, 2, 2));
    EXPECT_EQ(later.labelText, ToColor(parsed->link));
    EXPECT_TRUE(later.buttonSkinned);

    // The message boxes: their OK button is the skin's too.
    {
        BoxDismisser dismisser;
        std::atomic<bool> okSkinned = false;
        dismisser.dismissWhen = [&] {
            EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(hwnd, &process);
                if (process != GetCurrentProcessId() || ClassName(hwnd) != L"#32770") return TRUE;
                HWND ok = GetDlgItem(hwnd, IDOK);
                *reinterpret_cast<std::atomic<bool>*>(p) = ok && (GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&okSkinned));
            return true;
        };
        ui.message("x");
        EXPECT_EQ(dismisser.seen().size(), 1u);
        EXPECT_TRUE(okSkinned);
    }

    // Damaged after a good one: refused, the look of skin 8 stays.
    for (const auto& skin : damaged) EXPECT_EQ(AttachBytes(skin), 0);
    const Painted kept = Look(ui, Window::Main, "超级链接框3", "按钮2");
    EXPECT_EQ(kept.pixel, later.pixel);
    EXPECT_EQ(kept.labelText, later.labelText);
}

}  // namespace
}  // namespace zonvex
