#include "platform/win32/win32_window_system.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <vector>

#include "platform/message_box_text.h"
#include "platform/pictures.h"
#include "platform/windows/windows_platform.h"

namespace zonvex::win32 {

using windows_platform::Narrow;
using windows_platform::Wide;

namespace {

// Posted to a closed window: destroy it once no handler runs.
constexpr UINT kDestroyMessage = WM_APP + 1;
constexpr UINT_PTR kSubclassId = 0x5A58;  // "ZX"
constexpr int kFirstControlId = 1000;     // clear of IDOK and IDCANCEL, which dialogs send
// The font's pixel size and the distance between a label's lines, as the layouts expect.
constexpr int kFontPixels = 12;
constexpr int kLinePitch = 12;
constexpr COLORREF kLinkColor = RGB(0, 70, 200);

// A font with Chinese glyphs: the first of these the system has, else whatever it maps the
// Chinese character set to.
HFONT CreateUiFont(int pixels, bool underline) {
    static const wchar_t* const faces[] = {L"Microsoft YaHei", L"SimSun", L"WenQuanYi Micro Hei"};
    static const wchar_t* chosen = [] {
        HDC dc = GetDC(nullptr);
        const wchar_t* found = L"";
        for (const wchar_t* face : faces) {
            LOGFONTW query{};
            query.lfCharSet = GB2312_CHARSET;
            wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
            bool present = false;
            EnumFontFamiliesExW(dc, &query, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
                *reinterpret_cast<bool*>(p) = true;
                return 0;
            }, reinterpret_cast<LPARAM>(&present), 0);
            if (present) {
                found = face;
                break;
            }
        }
        ReleaseDC(nullptr, dc);
        return found;
    }();
    LOGFONTW f{};
    f.lfHeight = -pixels;
    f.lfWeight = FW_NORMAL;
    f.lfUnderline = underline;
    f.lfCharSet = GB2312_CHARSET;
    f.lfQuality = DEFAULT_QUALITY;
    wcsncpy(f.lfFaceName, chosen, LF_FACESIZE - 1);
    return CreateFontIndirectW(&f);
}

// A 32-bit bitmap of a picture, top row first: premultiplied for drawing with alpha, or
// straight, with an empty mask of its size, for a pointer.
HBITMAP CreatePictureBitmap(const Picture& picture, HBITMAP* mask = nullptr) {
    const bool premultiply = mask == nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* out = static_cast<unsigned char*>(bits);
    const unsigned char* in = picture.rgba.data();
    const size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    for (size_t i = 0; i < pixels && (i + 1) * 4 <= picture.rgba.size(); ++i, in += 4, out += 4) {
        const unsigned a = premultiply ? in[3] : 255;
        out[0] = static_cast<unsigned char>(in[2] * a / 255);
        out[1] = static_cast<unsigned char>(in[1] * a / 255);
        out[2] = static_cast<unsigned char>(in[0] * a / 255);
        out[3] = in[3];
    }
    if (mask) *mask = CreateBitmap(picture.width, picture.height, 1, 1, nullptr);
    return bitmap;
}

HCURSOR CreatePointer() {
    HBITMAP mask = nullptr;
    HBITMAP color = CreatePictureBitmap(PointerPicture(), &mask);
    ICONINFO info{FALSE, kPointerHotSpotX, kPointerHotSpotY, mask, color};
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return cursor;
}

// Marks that never begin a line.
constexpr wchar_t kNoLineStart[] = L"，。、：；！？）」』》〉…,.:;!?)";

// A caption's lines as a label shows them: broken at CR LF (or a bare LF), and wrapped to
// the width between characters (an ASCII word is kept whole when it can be).
std::vector<std::wstring> LabelLines(HDC dc, const std::wstring& caption, int width) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        size_t end = caption.find(L'\n', start);
        std::wstring_view rest(caption.data() + start, (end == std::wstring::npos ? caption.size() : end) - start);
        if (rest.ends_with(L'\r')) rest.remove_suffix(1);
        do {
            int fit = 0;
            SIZE size;
            GetTextExtentExPointW(dc, rest.data(), static_cast<int>(rest.size()), width, &fit, nullptr, &size);
            size_t take = std::clamp<size_t>(static_cast<size_t>(fit), 1, std::max<size_t>(rest.size(), 1));
            auto asciiWord = [](wchar_t c) { return c < 0x80 && iswalnum(c); };
            if (take < rest.size() && asciiWord(rest[take - 1]) && asciiWord(rest[take])) {
                size_t space = rest.substr(0, take).find_last_of(L' ');
                if (space != std::wstring_view::npos && space > 0) take = space + 1;
            } else if (take > 1 && take < rest.size() && std::wstring_view(kNoLineStart).find(rest[take]) != std::wstring_view::npos) {
                --take;  // a closing mark goes down with the character before it
            }
            lines.emplace_back(rest.substr(0, std::min(take, rest.size())));
            rest.remove_prefix(std::min(take, rest.size()));
        } while (!rest.empty());
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return lines;
}

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::EditBox: return WC_EDITW;
        case ControlKind::Button:
        case ControlKind::GroupBox:
        case ControlKind::PictureButton: return WC_BUTTONW;
        case ControlKind::TransparentLabel:
        case ControlKind::Hyperlink: return WC_STATICW;
        case ControlKind::Timer: break;
    }
    return nullptr;
}

DWORD StyleOf(ControlKind kind) {
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (kind) {
        case ControlKind::EditBox: return child | WS_TABSTOP | ES_AUTOHSCROLL;
        case ControlKind::Button: return child | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
        case ControlKind::GroupBox: return child | WS_CLIPCHILDREN | BS_GROUPBOX;
        case ControlKind::PictureButton: return child | WS_TABSTOP | BS_OWNERDRAW;
        // Labels take the mouse (SS_NOTIFY), so that their pointer shows over them.
        case ControlKind::TransparentLabel:
        case ControlKind::Hyperlink: return child | SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
        case ControlKind::Timer: break;
    }
    return child;
}

DWORD ExtendedStyleOf(ControlKind kind) {
    if (kind == ControlKind::EditBox) return WS_EX_CLIENTEDGE;
    if (kind == ControlKind::GroupBox) return WS_EX_CONTROLPARENT;  // tab into the controls it holds
    return 0;
}

bool IsLabel(ControlKind kind) { return kind == ControlKind::TransparentLabel || kind == ControlKind::Hyperlink; }

void RegisterWindowClass(WNDPROC proc) {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.style = CS_DBLCLKS;
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(1));  // the program's icon, when it has one
    c.lpszClassName = kWindowClass;
    RegisterClassExW(&c);  // already registered by an earlier window system: the same class
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(std::span<const WindowLayout> layouts, Dispatcher dispatch)
    : layouts_(layouts), dispatch_(std::move(dispatch)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass(&WindowProc);
    HDC screen = GetDC(nullptr);
    dpi_ = std::max(96, GetDeviceCaps(screen, LOGPIXELSY));
    font_ = CreateUiFont(scale(kFontPixels), false);
    linkFont_ = CreateUiFont(scale(kFontPixels), true);
    HGDIOBJ old = SelectObject(screen, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    lineHeight_ = metrics.tmHeight + scale(2);
    pointer_ = CreatePointer();
    picture_ = CreatePictureBitmap(GroupJoinPicture());
}

Win32WindowSystem::~Win32WindowSystem() {
    destroying_ = true;
    std::vector<HWND> windows(closing_.begin(), closing_.end());
    for (const auto& [window, open] : open_) windows.push_back(open.hwnd);
    for (HWND hwnd : windows) DestroyWindow(hwnd);
    DeleteObject(font_);
    DeleteObject(linkFont_);
    DeleteObject(picture_);
    DestroyCursor(pointer_);
}

int Win32WindowSystem::scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

const WindowLayout& Win32WindowSystem::layout(Window window) const {
    for (const auto& l : layouts_)
        if (l.window == window) return l;
    std::abort();  // every window has a layout
}

HWND Win32WindowSystem::window(Window window) const {
    auto it = open_.find(window);
    return it == open_.end() ? nullptr : it->second.hwnd;
}

Win32WindowSystem::Control* Win32WindowSystem::find(Window window, std::string_view name) {
    auto it = open_.find(window);
    if (it == open_.end()) return nullptr;
    auto c = it->second.controls.find(name);
    return c == it->second.controls.end() ? nullptr : &c->second;
}

const Win32WindowSystem::Control* Win32WindowSystem::find(Window window, std::string_view name) const {
    return const_cast<Win32WindowSystem*>(this)->find(window, name);
}

HWND Win32WindowSystem::control(Window window, std::string_view name) const {
    const Control* c = find(window, name);
    return c ? c->hwnd : nullptr;
}

std::optional<Window> Win32WindowSystem::windowOf(HWND top) const {
    for (const auto& [window, open] : open_)
        if (open.hwnd == top) return window;
    return std::nullopt;
}

const Win32WindowSystem::Control* Win32WindowSystem::controlOf(HWND hwnd) const {
    for (const auto& [window, open] : open_)
        for (const auto& [name, c] : open.controls)
            if (c.hwnd == hwnd) return &c;
    return nullptr;
}

void Win32WindowSystem::dispatch(Window window, std::string_view control, Event event) {
    ++running_;
    dispatch_(window, control, event);
    // Windows closed meanwhile go once the outermost handler has returned to the loop.
    if (--running_ == 0)
        for (HWND hwnd : closing_) PostMessageW(hwnd, kDestroyMessage, 0, 0);
}

void Win32WindowSystem::build(Window window) {
    const WindowLayout& l = layout(window);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    HWND top = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, Wide(l.title).c_str(), style, scale(l.left),
                               scale(l.top), scale(l.width), scale(l.height), nullptr, nullptr, instance, this);
    if (!top) fatal("无法创建窗口。");
    ++alive_;
    OpenWindow& open = open_[window];
    open.hwnd = top;

    int id = kFirstControlId;
    // Group boxes first, so the controls inside them have their parent.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlLayout& c : l.controls) {
            if ((c.kind == ControlKind::GroupBox) != (pass == 0)) continue;
            ++id;
            if (c.kind == ControlKind::Timer) {
                open.timers.emplace(std::string(c.name), Timer{c.name, static_cast<UINT_PTR>(id), 0});
                continue;
            }
            HWND parent = c.group.empty() ? top : open.controls.at(std::string(c.group)).hwnd;
            const std::wstring caption = c.kind == ControlKind::EditBox ? std::wstring() : Wide(c.caption);
            HWND hwnd = CreateWindowExW(ExtendedStyleOf(c.kind), ClassOf(c.kind),
                                        caption.c_str(), StyleOf(c.kind), scale(c.left), scale(c.top),
                                        scale(c.width), scale(c.height), parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
            if (!hwnd) fatal("无法创建窗口。");
            // A later control stands above an earlier one where they overlap, as laid out.
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.kind == ControlKind::Hyperlink ? linkFont_ : font_), FALSE);
            if (c.kind == ControlKind::Hyperlink) SetPropW(hwnd, kHyperlinkProperty, reinterpret_cast<HANDLE>(1));
            Control& control = open.controls[std::string(c.name)];
            control.layout = &c;
            control.hwnd = hwnd;
            SetWindowSubclass(hwnd, &ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
            if (c.kind == ControlKind::EditBox)  // its text line, centred, from now on
                SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            control.caption = Text(c.caption);
            if (IsLabel(c.kind)) showCaption(control);
        }
    }
}

void Win32WindowSystem::open(Window window) {
    if (HWND existing = this->window(window)) {
        if (IsIconic(existing)) ShowWindow(existing, SW_RESTORE);
        SetForegroundWindow(existing);
        SetActiveWindow(existing);
        return;
    }
    build(window);
    HWND top = this->window(window);
    ShowWindow(top, SW_SHOW);
    UpdateWindow(top);
    SetForegroundWindow(top);
    dispatch(window, {}, Event::Created);
}

void Win32WindowSystem::close(Window window) {
    auto it = open_.find(window);
    if (it == open_.end()) return;
    HWND top = it->second.hwnd;
    for (const auto& [name, timer] : it->second.timers) KillTimer(top, timer.id);
    open_.erase(it);
    closing_.insert(top);
    if (running_ == 0) PostMessageW(top, kDestroyMessage, 0, 0);
}

bool Win32WindowSystem::isOpen(Window window) const { return open_.contains(window); }

Text Win32WindowSystem::text(Window window, std::string_view name) const {
    const Control* c = find(window, name);
    if (!c) return {};
    if (c->layout->kind != ControlKind::EditBox) return c->caption;
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(c->hwnd)) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(c->hwnd, wide.data(), static_cast<int>(wide.size()))));
    return Narrow(wide);
}

void Win32WindowSystem::setText(Window window, std::string_view name, const Text& text) {
    Control* c = find(window, name);
    if (!c) return;
    if (c->layout->kind == ControlKind::EditBox) {
        // The change event is raised here, once, whether or not the text differs, just as
        // typing over it would; the box's own notification is not counted again.
        writing_ = true;
        SetWindowTextW(c->hwnd, Wide(text).c_str());
        writing_ = false;
        dispatch(window, name, Event::TextChanged);
        return;
    }
    c->caption = text;
    if (IsLabel(c->layout->kind)) showCaption(*c);
    else SetWindowTextW(c->hwnd, Wide(text).c_str());
}

// A label draws its caption itself, with its lines kept the layout's distance apart; it
// grows downwards when its lines need more room than the layout gives.
void Win32WindowSystem::showCaption(Control& c) {
    c.shown = Wide(c.caption);
    HDC dc = GetDC(c.hwnd);
    HGDIOBJ old = SelectObject(dc, c.layout->kind == ControlKind::Hyperlink ? linkFont_ : font_);
    const int lines = static_cast<int>(LabelLines(dc, c.shown, scale(c.layout->width)).size());
    SelectObject(dc, old);
    ReleaseDC(c.hwnd, dc);
    const int height = std::max(scale(c.layout->height), lines * scale(kLinePitch));
    RECT r;
    GetClientRect(c.hwnd, &r);
    if (r.bottom != height)
        SetWindowPos(c.hwnd, nullptr, 0, 0, scale(c.layout->width), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(c.hwnd, nullptr, TRUE);
}

void Win32WindowSystem::paintLabel(HWND hwnd, const Control& c) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    // What stands behind the label: its parent says (a skin answers with its picture).
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    if (brush) FillRect(dc, &r, brush);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, c.layout->kind == ControlKind::Hyperlink ? linkFont_ : font_);
    int y = 0;
    for (const std::wstring& line : LabelLines(dc, c.shown, r.right)) {
        TextOutW(dc, 0, y, line.data(), static_cast<int>(line.size()));
        y += scale(kLinePitch);
    }
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

void Win32WindowSystem::paintEditMargins(HWND hwnd) {
    RECT outer, client;
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -outer.left, -outer.top);
    OffsetRect(&outer, -outer.left, -outer.top);
    const int edge = GetSystemMetrics(SM_CYEDGE);
    HDC dc = GetWindowDC(hwnd);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    const RECT above{client.left, outer.top + edge, client.right, client.top};
    const RECT below{client.left, client.bottom, client.right, outer.bottom - edge};
    FillRect(dc, &above, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    FillRect(dc, &below, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    ReleaseDC(hwnd, dc);
}

void Win32WindowSystem::paintPicture(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(item.hwndItem), WM_CTLCOLORBTN,
                                                       reinterpret_cast<WPARAM>(item.hDC),
                                                       reinterpret_cast<LPARAM>(item.hwndItem)));
    FillRect(item.hDC, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const Picture picture = GroupJoinPicture();
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, picture_);
    const int pressed = (item.itemState & ODS_SELECTED) ? 1 : 0;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(item.hDC, HALFTONE);
    GdiAlphaBlend(item.hDC, r.left + pressed, r.top + pressed, r.right - r.left, r.bottom - r.top, memory, 0, 0,
                  picture.width, picture.height, blend);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(item.hDC, &focus);
    }
}

void Win32WindowSystem::setTimerPeriod(Window window, std::string_view name, int ms) {
    auto it = open_.find(window);
    if (it == open_.end()) return;
    auto t = it->second.timers.find(name);
    if (t == it->second.timers.end()) return;
    Timer& timer = t->second;
    if (ms <= 0) {
        KillTimer(it->second.hwnd, timer.id);
        timer.period = 0;
    } else if (timer.period != ms) {
        SetTimer(it->second.hwnd, timer.id, static_cast<UINT>(ms), nullptr);
        timer.period = ms;
    }
}

void Win32WindowSystem::message(const Text& text) {
    // No owner, and task-modal: every window of the program is disabled meanwhile, while
    // the box's own loop keeps delivering timer ticks to them.
    MessageBoxW(nullptr, Wide(ShortenedForMessageBox(text)).c_str(), Wide("信息：").c_str(),
                MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

std::optional<Text> Win32WindowSystem::browseFolder(const Text& prompt) {
    const std::wstring title = Wide(prompt);
    BROWSEINFOW info{};
    info.hwndOwner = GetActiveWindow();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return std::nullopt;
    std::wstring path(MAX_PATH * 4, L'\0');
    const bool ok = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!ok) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return Narrow(path);
}

void Win32WindowSystem::fatal(const Text& text) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide("信息：").c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(EXIT_FAILURE);
}

int Win32WindowSystem::run() {
    if (alive_ == 0) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && moveFocus(msg.hwnd, GetKeyState(VK_SHIFT) < 0))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Tab moves between a window's edit boxes and buttons in the order of its layout.
bool Win32WindowSystem::moveFocus(HWND from, bool backwards) {
    auto window = from ? windowOf(GetAncestor(from, GA_ROOT)) : std::nullopt;
    if (!window) return false;
    std::vector<HWND> stops;
    for (const ControlLayout& c : layout(*window).controls)
        if (c.kind == ControlKind::EditBox || c.kind == ControlKind::Button || c.kind == ControlKind::PictureButton)
            if (HWND hwnd = control(*window, c.name); hwnd && IsWindowEnabled(hwnd)) stops.push_back(hwnd);
    if (stops.empty()) return false;
    size_t next = 0;
    if (auto at = std::find(stops.begin(), stops.end(), GetFocus()); at != stops.end())
        next = (static_cast<size_t>(at - stops.begin()) + (backwards ? stops.size() - 1 : 1)) % stops.size();
    SetFocus(stops[next]);
    if (controlOf(stops[next])->layout->kind == ControlKind::EditBox) SendMessageW(stops[next], EM_SETSEL, 0, -1);
    return true;
}

bool Win32WindowSystem::setPointer(HWND top, HWND target) const {
    Pointer pointer = Pointer::Custom;
    if (target != top) {
        const Control* c = controlOf(target);
        if (!c) return false;
        pointer = c->layout->pointer;
    }
    switch (pointer) {
        case Pointer::Custom: SetCursor(pointer_); return true;
        case Pointer::Hand: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return true;
        case Pointer::Default: return false;  // the control's own
    }
    return false;
}

LRESULT CALLBACK Win32WindowSystem::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->windowMessage(hwnd, message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

LRESULT Win32WindowSystem::windowMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND: {
            const Control* c = controlOf(reinterpret_cast<HWND>(l));
            auto window = windowOf(hwnd);
            if (!c || !window) break;
            const WORD code = HIWORD(w);
            if (c->layout->kind == ControlKind::EditBox && code == EN_CHANGE && !writing_)
                dispatch(*window, c->layout->name, Event::TextChanged);
            else if ((c->layout->kind == ControlKind::Button || c->layout->kind == ControlKind::PictureButton) &&
                     code == BN_CLICKED)
                dispatch(*window, c->layout->name, Event::Clicked);
            return 0;
        }
        case WM_TIMER: {
            auto window = windowOf(hwnd);
            if (!window) break;
            for (const auto& [name, timer] : open_.at(*window).timers)
                if (timer.id == w) {
                    dispatch(*window, timer.name, Event::Tick);  // the layout's name outlives the window
                    break;
                }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            auto dc = reinterpret_cast<HDC>(w);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetPropW(reinterpret_cast<HWND>(l), kHyperlinkProperty) ? kLinkColor
                                                                                     : GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            const Control* c = controlOf(item.hwndItem);
            if (!c || c->layout->kind != ControlKind::PictureButton) break;
            paintPicture(item);
            return TRUE;
        }
        case WM_SETCURSOR:
            if (LOWORD(l) == HTCLIENT && setPointer(hwnd, reinterpret_cast<HWND>(w))) return TRUE;
            break;
        case WM_CLOSE:  // the close box closes it as the program would
            if (auto window = windowOf(hwnd)) close(*window);
            return 0;
        case kDestroyMessage:
            if (running_ == 0 && closing_.contains(hwnd)) DestroyWindow(hwnd);
            return 0;
        case WM_NCDESTROY: {
            closing_.erase(hwnd);
            if (auto window = windowOf(hwnd)) open_.erase(*window);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            if (--alive_ == 0 && !destroying_) PostQuitMessage(0);
            break;
        }
    }
    return DefWindowProcW(hwnd, message, w, l);
}

LRESULT CALLBACK Win32WindowSystem::ControlProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<Win32WindowSystem*>(self)->controlMessage(hwnd, message, w, l);
}

LRESULT Win32WindowSystem::controlMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    const Control* c = controlOf(hwnd);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &ControlProc, kSubclassId);
    if (!c) return DefSubclassProc(hwnd, message, w, l);
    switch (c->layout->kind) {
        case ControlKind::GroupBox:
            switch (message) {
                // A group box holds its controls: what they tell their parent goes on to the window.
                case WM_COMMAND:
                case WM_NOTIFY:
                case WM_DRAWITEM:
                case WM_MEASUREITEM:
                case WM_CTLCOLORSTATIC:
                case WM_CTLCOLORBTN:
                case WM_CTLCOLOREDIT:
                    return SendMessageW(GetParent(hwnd), message, w, l);
                case WM_SETCURSOR:
                    // Asked for a control inside it: the window decides, else the control's own.
                    if (reinterpret_cast<HWND>(w) != hwnd) return SendMessageW(GetParent(hwnd), message, w, l);
                    break;
                case WM_ERASEBKGND: {
                    auto dc = reinterpret_cast<HDC>(w);
                    auto brush = reinterpret_cast<HBRUSH>(
                        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, w, reinterpret_cast<LPARAM>(hwnd)));
                    RECT r;
                    GetClientRect(hwnd, &r);
                    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
                    return TRUE;
                }
            }
            break;
        case ControlKind::EditBox:
            // An edit box taller than its line shows the line in its middle: the room above
            // and below is frame, in the box's own colour, and takes the mouse like the text.
            switch (message) {
                case WM_NCCALCSIZE: {
                    const LRESULT result = DefSubclassProc(hwnd, message, w, l);
                    RECT& client = reinterpret_cast<NCCALCSIZE_PARAMS*>(l)->rgrc[0];  // a RECT alone when w is 0
                    const int spare = static_cast<int>(client.bottom - client.top) - lineHeight_;
                    if (spare > 1) {
                        client.top += spare / 2;
                        client.bottom -= spare - spare / 2;
                    }
                    return result;
                }
                case WM_NCPAINT: {
                    const LRESULT result = DefSubclassProc(hwnd, message, w, l);
                    paintEditMargins(hwnd);
                    return result;
                }
                case WM_NCHITTEST: {
                    const LRESULT hit = DefSubclassProc(hwnd, message, w, l);
                    return hit == HTBORDER || hit == HTNOWHERE ? HTCLIENT : hit;
                }
            }
            break;
        case ControlKind::TransparentLabel:
        case ControlKind::Hyperlink:
            switch (message) {
                case WM_PAINT: paintLabel(hwnd, *c); return 0;
                case WM_ERASEBKGND: return TRUE;  // painted whole with its caption
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                    // A hyperlink acts when the left button goes down, not when it is released.
                    if (c->layout->kind != ControlKind::Hyperlink) break;
                    if (auto window = windowOf(GetAncestor(hwnd, GA_ROOT))) dispatch(*window, c->layout->name, Event::Pressed);
                    return 0;
            }
            break;
        default: break;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

}  // namespace zonvex::win32
