#pragma once
// The window system on plain Win32: windows and controls are built from the layout tables,
// with the standard control classes ("Edit", "Button", "Static"), so the skin library and
// tests recognise them. Every coordinate of the layouts is scaled to the display's DPI.
#include <windows.h>

#include <map>
#include <set>
#include <span>
#include <string>

#include "platform/window_system.h"

namespace zonvex::win32 {

// The window class of the program's own windows.
inline constexpr wchar_t kWindowClass[] = L"ZonvexWindow";
// A window property on every hyperlink, for skins to colour links apart from labels.
inline constexpr wchar_t kHyperlinkProperty[] = L"Zonvex.Hyperlink";

class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem(std::span<const WindowLayout> layouts, Dispatcher dispatch);
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    void open(Window) override;
    void close(Window) override;
    bool isOpen(Window) const override;
    Text text(Window, std::string_view control) const override;
    void setText(Window, std::string_view control, const Text&) override;
    void setTimerPeriod(Window, std::string_view timer, int ms) override;
    void message(const Text&) override;
    std::optional<Text> browseFolder(const Text& prompt) override;
    [[noreturn]] void fatal(const Text&) override;

    // Runs the message loop until the last window of the program is destroyed.
    int run();

    // The top-level window of an open window, or nullptr.
    HWND window(Window) const;
    // A control of an open window (timers have none), or nullptr.
    HWND control(Window, std::string_view name) const;
    // The program's own mouse pointer.
    HCURSOR pointer() const { return pointer_; }
    // Layout pixels to device pixels.
    int scale(int pixels) const;

private:
    struct Control {
        const ControlLayout* layout = nullptr;
        HWND hwnd = nullptr;
        Text caption;
        std::wstring shown;  // a label's caption as drawn
    };
    struct Timer {
        std::string_view name;
        UINT_PTR id = 0;
        int period = 0;
    };
    struct OpenWindow {
        HWND hwnd = nullptr;
        std::map<std::string, Control, std::less<>> controls;
        std::map<std::string, Timer, std::less<>> timers;
    };

    const WindowLayout& layout(Window) const;
    void build(Window);
    const Control* controlOf(HWND) const;
    Control* find(Window, std::string_view name);
    const Control* find(Window, std::string_view name) const;
    std::optional<Window> windowOf(HWND top) const;
    void dispatch(Window, std::string_view control, Event);
    void showCaption(Control&);
    void paintLabel(HWND, const Control&);
    void paintPicture(const DRAWITEMSTRUCT&);
    void paintEditMargins(HWND);
    bool setPointer(HWND top, HWND target) const;
    bool moveFocus(HWND from, bool backwards);

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT windowMessage(HWND, UINT, WPARAM, LPARAM);
    LRESULT controlMessage(HWND, UINT, WPARAM, LPARAM);

    std::span<const WindowLayout> layouts_;
    Dispatcher dispatch_;
    std::map<Window, OpenWindow> open_;
    std::set<HWND> closing_;  // closed, destroyed once no handler runs
    int alive_ = 0;           // windows created and not yet destroyed, closing ones included
    int running_ = 0;         // handlers running, nested ones included
    bool writing_ = false;    // the program is writing an edit box's text
    bool destroying_ = false;
    int dpi_ = 96;
    int lineHeight_ = 0;  // an edit box's text line
    HFONT font_ = nullptr, linkFont_ = nullptr;
    HCURSOR pointer_ = nullptr;
    HBITMAP picture_ = nullptr;  // the picture button's, premultiplied
};

}  // namespace zonvex::win32
