// The window-skinning library on Windows: a DLL loaded by the program at run time, which
// draws every window of the calling thread in a skin handed to it, those open now and
// those created later. Windows are reached through a thread hook and subclassing; nothing
// of the program's own code is changed. It owns nothing of the caller's: the skin is
// unpacked into its own memory before anything changes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "skin/format/color_shift.h"
#include "skin/format/she_format.h"
#include "skin/format/skin_content.h"

namespace {

using zonvex::skin::Rgb;

constexpr UINT_PTR kSubclassId = 0x534B;  // "SK"
// Marks on windows: a push button the skin draws (and whether it is the default one), and
// a hyperlink of the program, which it colours as a link.
constexpr wchar_t kSkinnedButton[] = L"Zonvex.Skin.Button";
constexpr wchar_t kDefaultButton[] = L"Zonvex.Skin.Default";
constexpr wchar_t kHovered[] = L"Zonvex.Skin.Hovered";
constexpr wchar_t kHyperlink[] = L"Zonvex.Hyperlink";

enum class Kind : DWORD_PTR { Frame = 1, PushButton, GroupBox, Edit };

COLORREF ToColor(Rgb c) { return RGB(c.r, c.g, c.b); }

COLORREF Scaled(COLORREF c, int percent) {
    auto channel = [percent](int v) { return static_cast<BYTE>(std::min(255, v * percent / 100)); };
    return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

// The skin as the library draws it: colours after the shift, and the picture tiled behind
// every window as a pattern brush.
struct Look {
    COLORREF window, text, base, button, buttonText, accent, link, frame;
    int radius = 0;
    HBITMAP picture = nullptr;
    HBRUSH background = nullptr, baseBrush = nullptr;

    Look(const zonvex::skin::SkinContent& skin, const zonvex::skin::ColorShift& shift) {
        window = ToColor(shift(skin.window));
        text = ToColor(shift(skin.text));
        base = ToColor(shift(skin.base));
        button = ToColor(shift(skin.button));
        buttonText = ToColor(shift(skin.buttonText));
        accent = ToColor(shift(skin.accent));
        link = ToColor(shift(skin.link));
        frame = ToColor(shift(skin.frame));
        radius = skin.radius;
        // The picture over the window colour, so that the brush is opaque.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = skin.pictureWidth;
        info.bmiHeader.biHeight = -skin.pictureHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (picture) {
            auto* out = static_cast<unsigned char*>(bits);
            const unsigned char* in = skin.picture.data();
            for (size_t i = 0; i < skin.picture.size(); i += 4, in += 4, out += 4) {
                const Rgb c = shift(Rgb{in[0], in[1], in[2]});
                const unsigned a = in[3];
                out[0] = static_cast<unsigned char>((c.b * a + GetBValue(window) * (255 - a)) / 255);
                out[1] = static_cast<unsigned char>((c.g * a + GetGValue(window) * (255 - a)) / 255);
                out[2] = static_cast<unsigned char>((c.r * a + GetRValue(window) * (255 - a)) / 255);
                out[3] = 255;
            }
            background = CreatePatternBrush(picture);
        }
        if (!background) background = CreateSolidBrush(window);
        baseBrush = CreateSolidBrush(base);
    }
    ~Look() {
        DeleteObject(background);
        DeleteObject(baseBrush);
        if (picture) DeleteObject(picture);
    }
    Look(const Look&) = delete;
    Look& operator=(const Look&) = delete;
};

struct Library {
    std::unique_ptr<Look> look;
    HHOOK hook = nullptr;
    std::vector<HWND> skinned;  // windows carrying the skin's subclass
};
Library* library = nullptr;

LRESULT CALLBACK SkinProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// A window the skin draws: a top-level window with a caption (the program's windows, the
// message boxes and the folder dialog, owned or not), and the push buttons, group boxes and
// edit boxes inside one. Helper windows without a caption are left alone.
std::optional<Kind> KindOf(LONG style, const std::wstring& cls) {
    if (!(style & WS_CHILD)) return (style & WS_CAPTION) == WS_CAPTION ? std::optional(Kind::Frame) : std::nullopt;
    if (lstrcmpiW(cls.c_str(), WC_BUTTONW) == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return Kind::PushButton;
        if (type == BS_GROUPBOX) return Kind::GroupBox;
        return std::nullopt;
    }
    if (lstrcmpiW(cls.c_str(), WC_EDITW) == 0) return Kind::Edit;
    return std::nullopt;
}

bool IsSkinned(HWND hwnd) {
    return std::find(library->skinned.begin(), library->skinned.end(), hwnd) != library->skinned.end();
}

void Skin(HWND hwnd, Kind kind) {
    if (IsSkinned(hwnd)) return;
    if (kind == Kind::PushButton) {
        // The skin draws the button whole, in every state: the system's own drawing is
        // turned off by making it owner-drawn.
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) SetPropW(hwnd, kDefaultButton, reinterpret_cast<HANDLE>(1));
        SetPropW(hwnd, kSkinnedButton, reinterpret_cast<HANDLE>(1));
        SetWindowLongW(hwnd, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
    }
    SetWindowSubclass(hwnd, &SkinProc, kSubclassId, static_cast<DWORD_PTR>(kind));
    library->skinned.push_back(hwnd);
}

void SkinIfDrawn(HWND hwnd) {
    if (auto kind = KindOf(GetWindowLongW(hwnd, GWL_STYLE), ClassOf(hwnd)))
        Skin(hwnd, *kind);
}

void Unskin(HWND hwnd) {
    RemoveWindowSubclass(hwnd, &SkinProc, kSubclassId);
    if (GetPropW(hwnd, kSkinnedButton)) {
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE) & ~BS_TYPEMASK;
        SetWindowLongW(hwnd, GWL_STYLE, style | (GetPropW(hwnd, kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
        RemovePropW(hwnd, kSkinnedButton);
        RemovePropW(hwnd, kDefaultButton);
        RemovePropW(hwnd, kHovered);
    }
}

// Windows created from now on: they are skinned as they are created, before they draw.
LRESULT CALLBACK CbtProc(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND && library) {
        auto hwnd = reinterpret_cast<HWND>(w);
        const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(l)->lpcs;
        // A control is drawn when the window it stands in is.
        if (auto kind = KindOf(cs->style, ClassOf(hwnd));
            kind && (*kind == Kind::Frame || IsSkinned(GetAncestor(cs->hwndParent, GA_ROOT))))
            Skin(hwnd, *kind);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// The tiled picture, lined up with the top-level window's client area wherever it is
// painted: behind a control it continues the window's own.
HBRUSH BackgroundFor(HDC dc, HWND hwnd) {
    POINT origin{0, 0};
    if (HWND root = GetAncestor(hwnd, GA_ROOT); root && root != hwnd) MapWindowPoints(hwnd, root, &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return library->look->background;
}

void DrawRoundFrame(HDC dc, const RECT& r, COLORREF color, int radius) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void PaintButton(HWND hwnd, HDC dc) {
    const Look& look = *library->look;
    RECT r;
    GetClientRect(hwnd, &r);
    const LRESULT state = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
    const bool pressed = state & BST_PUSHED, hovered = GetPropW(hwnd, kHovered) != nullptr;
    const bool focused = GetFocus() == hwnd, enabled = IsWindowEnabled(hwnd);
    FillRect(dc, &r, BackgroundFor(dc, hwnd));
    // The face: a gentle gradient, darker while pressed, inside the rounded outline.
    const int radius = look.radius;
    HRGN shape = CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, radius * 2, radius * 2);
    SelectClipRgn(dc, shape);
    const COLORREF top = pressed ? Scaled(look.button, 89) : Scaled(look.button, 112);
    const COLORREF bottom = pressed ? Scaled(look.button, 89) : look.button;
    TRIVERTEX v[2] = {
        {r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
         static_cast<COLOR16>(GetBValue(top) << 8), 0xFF00},
        {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8), static_cast<COLOR16>(GetGValue(bottom) << 8),
         static_cast<COLOR16>(GetBValue(bottom) << 8), 0xFF00}};
    GRADIENT_RECT g{0, 1};
    GdiGradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    SelectClipRgn(dc, nullptr);
    DeleteObject(shape);
    const bool strong = hovered || focused || GetPropW(hwnd, kDefaultButton);
    DrawRoundFrame(dc, r, strong ? look.accent : look.frame, radius);
    // The caption, centred; greyed when disabled.
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd, caption, 256);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? look.buttonText : look.frame);
    RECT text = r;
    if (pressed) OffsetRect(&text, 1, 1);
    RECT measure = text;
    DrawTextW(dc, caption, -1, &measure, DT_CENTER | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    const int height = measure.bottom - measure.top;
    text.top += (r.bottom - r.top - height) / 2;
    DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void PaintGroupBox(HWND hwnd, HDC dc) {
    const Look& look = *library->look;
    RECT r;
    GetClientRect(hwnd, &r);
    wchar_t caption[256] = {};
    const int length = GetWindowTextW(hwnd, caption, 256);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, caption, length, &size);
    // The frame runs through the middle of the caption, which stands on a gap in it.
    RECT frame = r;
    frame.top += size.cy / 2;
    DrawRoundFrame(dc, frame, look.frame, std::min(look.radius, 6));
    if (length > 0) {
        const int indent = MulDiv(7, GetDeviceCaps(dc, LOGPIXELSX), 96), pad = MulDiv(2, GetDeviceCaps(dc, LOGPIXELSX), 96);
        RECT gap{indent, 0, indent + size.cx + 2 * pad, size.cy};
        FillRect(dc, &gap, BackgroundFor(dc, hwnd));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, look.accent);
        TextOutW(dc, indent + pad, 0, caption, length);
    }
    SelectObject(dc, oldFont);
}

LRESULT PaintWith(HWND hwnd, void (*paint)(HWND, HDC)) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    paint(hwnd, dc);
    EndPaint(hwnd, &ps);
    return 0;
}

// An edit box's border in the frame colour (the accent while it has the focus), on the
// box's own colour.
void PaintEditBorder(HWND hwnd) {
    const Look& look = *library->look;
    HDC dc = GetWindowDC(hwnd);
    RECT outer, client;
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -outer.left, -outer.top);
    OffsetRect(&outer, -outer.left, -outer.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &outer, library->look->baseBrush);
    HBRUSH border = CreateSolidBrush(GetFocus() == hwnd ? look.accent : look.frame);
    FrameRect(dc, &outer, border);
    DeleteObject(border);
    ReleaseDC(hwnd, dc);
}

LRESULT ColorControl(HDC dc, HWND control) {
    const Look& look = *library->look;
    SetBkMode(dc, TRANSPARENT);
    if (lstrcmpiW(ClassOf(control).c_str(), WC_EDITW) == 0) {  // a read-only or disabled edit box
        SetTextColor(dc, look.text);
        SetBkColor(dc, look.base);
        return reinterpret_cast<LRESULT>(look.baseBrush);
    }
    SetTextColor(dc, GetPropW(control, kHyperlink) ? look.link : look.text);
    return reinterpret_cast<LRESULT>(BackgroundFor(dc, control));
}

LRESULT CALLBACK SkinProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &SkinProc, kSubclassId);
        if (library) std::erase(library->skinned, hwnd);
        return DefSubclassProc(hwnd, message, w, l);
    }
    if (!library || !library->look) return DefSubclassProc(hwnd, message, w, l);
    const Look& look = *library->look;
    switch (static_cast<Kind>(data)) {
        case Kind::Frame:
            switch (message) {
                case WM_ERASEBKGND: {
                    RECT r;
                    GetClientRect(hwnd, &r);
                    auto dc = reinterpret_cast<HDC>(w);
                    SetBrushOrgEx(dc, 0, 0, nullptr);
                    FillRect(dc, &r, look.background);
                    return TRUE;
                }
                case WM_CTLCOLORDLG:
                    SetBrushOrgEx(reinterpret_cast<HDC>(w), 0, 0, nullptr);
                    return reinterpret_cast<LRESULT>(look.background);
                case WM_CTLCOLORSTATIC:
                case WM_CTLCOLORBTN: return ColorControl(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
                case WM_CTLCOLOREDIT:
                    SetTextColor(reinterpret_cast<HDC>(w), look.text);
                    SetBkColor(reinterpret_cast<HDC>(w), look.base);
                    return reinterpret_cast<LRESULT>(look.baseBrush);
                case WM_DRAWITEM: {
                    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
                    if (!GetPropW(item.hwndItem, kSkinnedButton)) break;
                    PaintButton(item.hwndItem, item.hDC);
                    return TRUE;
                }
            }
            break;
        case Kind::PushButton:
            switch (message) {
                case WM_PAINT: return PaintWith(hwnd, &PaintButton);
                case WM_ERASEBKGND: return TRUE;
                case BM_SETSTYLE: {
                    // A dialog moving its default button: kept owner-drawn, the default remembered.
                    if ((w & BS_TYPEMASK) == BS_DEFPUSHBUTTON) SetPropW(hwnd, kDefaultButton, reinterpret_cast<HANDLE>(1));
                    else RemovePropW(hwnd, kDefaultButton);
                    LRESULT result = DefSubclassProc(hwnd, message, (w & ~BS_TYPEMASK) | BS_OWNERDRAW, l);
                    InvalidateRect(hwnd, nullptr, FALSE);
                    return result;
                }
                case WM_GETDLGCODE: {
                    // Dialogs find their default button by what it answers here.
                    LRESULT code = DefSubclassProc(hwnd, message, w, l) & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
                    return code | (GetPropW(hwnd, kDefaultButton) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
                }
                case WM_MOUSEMOVE:
                    if (!GetPropW(hwnd, kHovered)) {
                        SetPropW(hwnd, kHovered, reinterpret_cast<HANDLE>(1));
                        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
                        TrackMouseEvent(&track);
                        InvalidateRect(hwnd, nullptr, FALSE);
                    }
                    break;
                case WM_MOUSELEAVE:
                    RemovePropW(hwnd, kHovered);
                    InvalidateRect(hwnd, nullptr, FALSE);
                    break;
                case BM_SETSTATE:
                case WM_SETFOCUS:
                case WM_KILLFOCUS:
                case WM_ENABLE:
                case WM_SETTEXT: {
                    LRESULT result = DefSubclassProc(hwnd, message, w, l);
                    InvalidateRect(hwnd, nullptr, FALSE);
                    return result;
                }
            }
            break;
        case Kind::GroupBox:
            switch (message) {
                case WM_PAINT: return PaintWith(hwnd, &PaintGroupBox);
                case WM_ERASEBKGND: {
                    RECT r;
                    GetClientRect(hwnd, &r);
                    FillRect(reinterpret_cast<HDC>(w), &r, BackgroundFor(reinterpret_cast<HDC>(w), hwnd));
                    return TRUE;
                }
                case WM_SETTEXT: {
                    LRESULT result = DefSubclassProc(hwnd, message, w, l);
                    InvalidateRect(hwnd, nullptr, TRUE);
                    return result;
                }
            }
            break;
        case Kind::Edit:
            switch (message) {
                case WM_NCPAINT:
                    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE || GetWindowLongW(hwnd, GWL_STYLE) & WS_BORDER) {
                        PaintEditBorder(hwnd);
                        return 0;
                    }
                    break;
                case WM_SETFOCUS:
                case WM_KILLFOCUS: {
                    LRESULT result = DefSubclassProc(hwnd, message, w, l);
                    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
                    return result;
                }
            }
            break;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

BOOL CALLBACK SkinChildren(HWND hwnd, LPARAM) {
    SkinIfDrawn(hwnd);
    return TRUE;
}

BOOL CALLBACK SkinWindow(HWND hwnd, LPARAM) {
    if (!IsWindowVisible(hwnd) || KindOf(GetWindowLongW(hwnd, GWL_STYLE), ClassOf(hwnd)) != Kind::Frame) return TRUE;
    Skin(hwnd, Kind::Frame);
    EnumChildWindows(hwnd, &SkinChildren, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

void Release() {
    if (!library) return;
    if (library->hook) UnhookWindowsHookEx(library->hook);
    for (HWND hwnd : std::vector<HWND>(library->skinned)) Unskin(hwnd);
    delete library;
    library = nullptr;
}

}  // namespace

// Draws the calling thread's windows, open now or opened later, in the skin. The password
// is for encrypted skins, which this library does not make; hue (degrees), saturation and
// brightness (percent) shift every colour of the skin. 1 when the skin was applied; 0 when
// it is damaged, with the look left as it was.
extern "C" __declspec(dllexport) int __stdcall SkinH_AttachRes(const unsigned char* skin, int size,
                                                               const char* /*password*/, int hue, int saturation,
                                                               int brightness) {
    if (!skin || size <= 0) return 0;
    auto content = zonvex::skin::Unpack(std::span(skin, static_cast<size_t>(size)));
    if (!content) return 0;
    auto parsed = zonvex::skin::Parse(*content);
    if (!parsed) return 0;
    auto look = std::make_unique<Look>(*parsed, zonvex::skin::ColorShift::Clamped(hue, saturation, brightness));

    if (!library) library = new Library;
    library->look = std::move(look);  // the earlier look's brushes go; nothing holds them
    if (!library->hook) library->hook = SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId());
    EnumThreadWindows(GetCurrentThreadId(), &SkinWindow, 0);
    return 1;
}

// Unloaded while the program runs on: every window is given back its own drawing. At the
// end of the process nothing needs undoing.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) Release();
    return TRUE;
}
