// The Win32 window system under Wine: windows built from the layout tables, the events
// handlers rely on, message boxes, timers, queued closing and the end of the loop.
#include <ole2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/layouts.h"
#include "platform/win32/win32_window_system.h"
#include "platform/windows/windows_platform.h"
#include "windows/win32_test_helpers.h"

namespace zonvex {
namespace {

using namespace testing;
using windows_platform::Wide;
using win32::Win32WindowSystem;

struct Seen {
    Window window;
    std::string control;
    Event event;
    bool operator==(const Seen&) const = default;
};

// A window system whose events are recorded, and handed to `onEvent` when it is set.
struct Recorder {
    std::vector<Seen> events;
    std::function<void(const Seen&)> onEvent;
    Win32WindowSystem ui{Layouts(), [this](Window w, std::string_view c, Event e) {
                             events.push_back({w, std::string(c), e});
                             if (onEvent) onEvent(events.back());
                         }};
    size_t count(const Seen& s) const { return static_cast<size_t>(std::count(events.begin(), events.end(), s)); }
};

RECT PlaceInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The pointer a control shows, as the system asks for it when the mouse moves over it.
HCURSOR PointerOver(HWND hwnd) {
    SetCursor(nullptr);
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

TEST(Win32WindowsTest, EveryWindowIsBuiltFromItsTable) {
    Recorder t;
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), beam = LoadCursorW(nullptr, IDC_IBEAM);
    for (const WindowLayout& layout : Layouts()) {
        t.ui.open(layout.window);
        HWND top = t.ui.window(layout.window);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(ClassName(top), win32::kWindowClass);
        EXPECT_EQ(WindowText(top), Wide(layout.title));
        RECT outer;
        GetWindowRect(top, &outer);
        EXPECT_EQ(outer.left, t.ui.scale(layout.left));
        EXPECT_EQ(outer.top, t.ui.scale(layout.top));
        EXPECT_EQ(outer.right - outer.left, t.ui.scale(layout.width)) << "the outer size, frame included";
        EXPECT_EQ(outer.bottom - outer.top, t.ui.scale(layout.height));
        EXPECT_EQ(PointerOver(top), t.ui.pointer());
        for (const ControlLayout& c : layout.controls) {
            HWND hwnd = t.ui.control(layout.window, c.name);
            if (c.kind == ControlKind::Timer) {
                EXPECT_EQ(hwnd, nullptr) << c.name;
                continue;
            }
            ASSERT_NE(hwnd, nullptr) << c.name;
            const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
            switch (c.kind) {
                case ControlKind::EditBox: EXPECT_EQ(ClassName(hwnd), L"Edit") << c.name; break;
                case ControlKind::Button:
                    EXPECT_EQ(ClassName(hwnd), L"Button") << c.name;
                    EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << c.name;
                    EXPECT_EQ(WindowText(hwnd), Wide(c.caption)) << c.name;
                    break;
                case ControlKind::GroupBox:
                    EXPECT_EQ(ClassName(hwnd), L"Button") << c.name;
                    EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX) << c.name;
                    EXPECT_EQ(WindowText(hwnd), Wide(c.caption)) << c.name;
                    break;
                case ControlKind::PictureButton:
                    EXPECT_EQ(ClassName(hwnd), L"Button") << c.name;
                    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW) << c.name;
                    break;
                case ControlKind::TransparentLabel:
                case ControlKind::Hyperlink:
                    EXPECT_EQ(ClassName(hwnd), L"Static") << c.name;
                    EXPECT_EQ(GetPropW(hwnd, win32::kHyperlinkProperty) != nullptr, c.kind == ControlKind::Hyperlink)
                        << c.name;
                    break;
                case ControlKind::Timer: break;
            }
            HWND parent = c.group.empty() ? top : t.ui.control(layout.window, c.group);
            EXPECT_EQ(GetParent(hwnd), parent) << c.name;
            const RECT place = PlaceInParent(hwnd);
            EXPECT_EQ(place.left, t.ui.scale(c.left)) << c.name;
            EXPECT_EQ(place.top, t.ui.scale(c.top)) << c.name;
            EXPECT_EQ(place.right - place.left, t.ui.scale(c.width)) << c.name;
            EXPECT_GE(place.bottom - place.top, t.ui.scale(c.height)) << c.name;
            EXPECT_EQ(t.ui.text(layout.window, c.name), Text(c.caption)) << c.name;
            // Over a control inside a group box the question goes through the group box.
            HCURSOR expected = c.pointer == Pointer::Custom ? t.ui.pointer()
                               : c.pointer == Pointer::Hand ? LoadCursorW(nullptr, IDC_HAND)
                               : c.kind == ControlKind::EditBox ? beam
                                                                : arrow;
            EXPECT_EQ(PointerOver(hwnd), expected) << c.name;
        }
    }
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(t.ui.pointer(), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.yHotspot, 1u);
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    EXPECT_EQ(bitmap.bmBitsPixel, 32) << "a colour pointer";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Seven lines twelve pixels apart fill the label the layout gives them.
    RECT rows = PlaceInParent(t.ui.control(Window::Main, "透明标签10"));
    EXPECT_EQ(rows.bottom - rows.top, t.ui.scale(88));
}

TEST(Win32WindowsTest, WritingAnEditBoxRaisesItsChangeOnceAsTypingDoes) {
    Recorder t;
    t.ui.open(Window::Start);
    const Seen changed{Window::Start, "编辑框1", Event::TextChanged};
    t.ui.setText(Window::Start, "编辑框1", "D:\\穿越火线");
    EXPECT_EQ(t.count(changed), 1u);
    EXPECT_EQ(t.ui.text(Window::Start, "编辑框1"), "D:\\穿越火线");
    t.ui.setText(Window::Start, "编辑框1", "D:\\穿越火线");
    EXPECT_EQ(t.count(changed), 2u) << "the same text again still counts";
    t.ui.setText(Window::Start, "编辑框1", "");
    EXPECT_EQ(t.count(changed), 3u);
    // Typing: the edit box's own notification.
    SendMessageW(t.ui.control(Window::Start, "编辑框1"), WM_CHAR, L'c', 1);
    SendMessageW(t.ui.control(Window::Start, "编辑框1"), WM_CHAR, L'盘', 1);
    EXPECT_EQ(t.count(changed), 5u);
    EXPECT_EQ(t.ui.text(Window::Start, "编辑框1"), "c盘");
    // A character GBK lacks reads back as "?", as the ANSI functions give it.
    SetWindowTextW(t.ui.control(Window::Start, "编辑框1"), L"\U0001F600x");
    EXPECT_EQ(t.ui.text(Window::Start, "编辑框1"), "?x");
}

TEST(Win32WindowsTest, CaptionsAreWrittenAndReadAsTexts) {
    Recorder t;
    t.ui.open(Window::Main);
    t.ui.setText(Window::Main, "透明标签6", "1.0.331.601");
    EXPECT_EQ(t.ui.text(Window::Main, "透明标签6"), "1.0.331.601");
    t.ui.setText(Window::Main, "按钮5", "还原");
    EXPECT_EQ(WindowText(t.ui.control(Window::Main, "按钮5")), L"还原");
    // A label grows downwards when its lines need more room than the layout gives.
    t.ui.setText(Window::Main, "透明标签1", "一\r\n二\r\n三");
    RECT r = PlaceInParent(t.ui.control(Window::Main, "透明标签1"));
    EXPECT_EQ(r.bottom - r.top, t.ui.scale(36));
    t.ui.setText(Window::Main, "透明标签1", "一");
    r = PlaceInParent(t.ui.control(Window::Main, "透明标签1"));
    EXPECT_EQ(r.bottom - r.top, t.ui.scale(16));
    t.ui.setText(Window::Main, "透明标签1", "一\n二");  // a page's bare line feed breaks the line too
    r = PlaceInParent(t.ui.control(Window::Main, "透明标签1"));
    EXPECT_EQ(r.bottom - r.top, t.ui.scale(24));
    EXPECT_EQ(t.events.size(), 1u) << "only its creation: writing a caption raises nothing";
}

TEST(Win32WindowsTest, HyperlinksActWhenTheLeftButtonGoesDownAndButtonsWhenClicked) {
    Recorder t;
    t.ui.open(Window::Start);
    t.ui.open(Window::Main);
    t.events.clear();
    HWND inGroup = t.ui.control(Window::Start, "超级链接框1");  // stands in 分组框1
    SendMessageW(inGroup, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageW(inGroup, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(t.events.empty());
    SendMessageW(inGroup, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(t.ui.control(Window::Start, "超级链接框5"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(t.ui.control(Window::Start, "按钮1"), BM_CLICK, 0, 0);
    SendMessageW(t.ui.control(Window::Main, "图形按钮1"), BM_CLICK, 0, 0);
    SendMessageW(t.ui.control(Window::Main, "透明标签3"), WM_LBUTTONDOWN, MK_LBUTTON, 0);  // a label does nothing
    const std::vector<Seen> expected = {
        {Window::Start, "超级链接框1", Event::Pressed},
        {Window::Start, "超级链接框5", Event::Pressed},
        {Window::Start, "按钮1", Event::Clicked},
        {Window::Main, "图形按钮1", Event::Clicked},
    };
    EXPECT_EQ(t.events, expected);
}

TEST(Win32WindowsTest, MessageBoxHasTheTitleTheTextAndOnlyOk) {
    Recorder t;
    t.ui.open(Window::Start);
    t.ui.open(Window::Download);
    BoxDismisser dismisser({t.ui.window(Window::Start), t.ui.window(Window::Download)});
    t.ui.message("转换失败！");
    auto seen = dismisser.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"信息：");
    EXPECT_EQ(seen[0].text, L"转换失败！");
    EXPECT_EQ(seen[0].buttons, std::vector<std::wstring>{L"确定"});
    EXPECT_FALSE(seen[0].hasIcon);
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_TRUE(seen[0].programDisabled) << "modal for every window of the program";
    EXPECT_TRUE(IsWindowEnabled(t.ui.window(Window::Start)));
    EXPECT_TRUE(IsWindowEnabled(t.ui.window(Window::Download)));
}

TEST(Win32WindowsTest, TheFolderDialogShowsThePromptAndCancelChoosesNothing) {
    Recorder t;
    t.ui.open(Window::Start);
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // the dialog's new style needs it, as the host does
    std::atomic<bool> prompted = false, cancelled = false;
    std::thread canceller([&] {
        for (int i = 0; i < 1000 && !cancelled; ++i) {
            Sleep(10);
            HWND dialog = nullptr;
            EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(hwnd, &process);
                if (process != GetCurrentProcessId() || ClassName(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
                *reinterpret_cast<HWND*>(p) = hwnd;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog) continue;
            EnumChildWindows(dialog, [](HWND child, LPARAM p) -> BOOL {
                if (WindowText(child) == L"请选择CF安装目录 务必正确选择") *reinterpret_cast<std::atomic<bool>*>(p) = true;
                return TRUE;
            }, reinterpret_cast<LPARAM>(&prompted));
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            cancelled = true;
        }
    });
    EXPECT_EQ(t.ui.browseFolder("请选择CF安装目录 务必正确选择"), std::nullopt);
    canceller.join();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(prompted);
    OleUninitialize();
}

TEST(Win32WindowsTest, TimersTickWhileAMessageBoxIsOpenAndStopAtZero) {
    Recorder t;
    std::atomic<int> ticks = 0;
    t.onEvent = [&](const Seen& s) {
        if (s == Seen{Window::Main, "时钟1", Event::Tick}) ++ticks;
    };
    t.ui.open(Window::Main);
    Pump(100);
    EXPECT_EQ(ticks, 0) << "stopped when the window is created";
    t.ui.setTimerPeriod(Window::Main, "时钟1", 20);
    {
        BoxDismisser dismisser;
        dismisser.dismissWhen = [&] { return ticks >= 3; };
        t.ui.message("x");
        EXPECT_GE(ticks, 3);
    }
    t.ui.setTimerPeriod(Window::Main, "时钟1", 0);
    const int stoppedAt = ticks;
    Pump(150);
    EXPECT_EQ(ticks, stoppedAt);
    t.ui.setTimerPeriod(Window::Main, "时钟1", -5);
    t.ui.setTimerPeriod(Window::Main, "时钟1", 10);
    EXPECT_TRUE(PumpUntil([&] { return ticks > stoppedAt; }));
    // Closing the window stops its timer with it.
    t.ui.close(Window::Main);
    const int closedAt = ticks;
    Pump(100);
    EXPECT_EQ(ticks, closedAt);
}

TEST(Win32WindowsTest, ClosingWaitsUntilTheRunningHandlerHasReturned) {
    Recorder t;
    t.ui.open(Window::Start);
    t.ui.open(Window::Download);
    HWND start = t.ui.window(Window::Start);
    bool aliveAfterClose = false, aliveAfterBox = false;
    size_t boxes = 0;
    t.onEvent = [&](const Seen& s) {
        if (s.control != "超级链接框5") return;
        t.ui.close(Window::Start);
        aliveAfterClose = IsWindow(start) && !t.ui.isOpen(Window::Start);
        BoxDismisser dismisser;
        t.ui.message("x");  // the box's own loop runs, and must not destroy it either
        boxes = dismisser.seen().size();
        aliveAfterBox = IsWindow(start);
    };
    SendMessageW(t.ui.control(Window::Start, "超级链接框5"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(boxes, 1u);
    EXPECT_TRUE(aliveAfterClose);
    EXPECT_TRUE(aliveAfterBox);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(start); })) << "destroyed once back in the loop";
    EXPECT_TRUE(IsWindow(t.ui.window(Window::Download)));
}

TEST(Win32WindowsTest, OpeningAnOpenWindowActivatesItWithoutASecondCreation) {
    Recorder t;
    t.ui.open(Window::Start);
    t.ui.open(Window::Download);
    HWND download = t.ui.window(Window::Download);
    ShowWindow(download, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(download));
    t.ui.open(Window::Download);
    EXPECT_EQ(t.ui.window(Window::Download), download);
    EXPECT_FALSE(IsIconic(download));
    EXPECT_EQ(t.count({Window::Download, "", Event::Created}), 1u);
    // Reopened after closing: a new window, created again.
    t.ui.close(Window::Download);
    PumpUntil([&] { return !IsWindow(download); });
    t.ui.open(Window::Download);
    EXPECT_EQ(t.count({Window::Download, "", Event::Created}), 2u);
}

TEST(Win32WindowsTest, TheLoopEndsWhenTheLastWindowIsDestroyed) {
    static Recorder* t = nullptr;
    Recorder recorder;
    t = &recorder;
    t->ui.open(Window::Start);
    t->ui.open(Window::Download);
    static bool quitEarly = false;
    // The close box of StartWindow first; DownloadWindow is still open, so the loop goes on.
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageW(t->ui.window(Window::Start), WM_CLOSE, 0, 0);
        SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            quitEarly = t->ui.isOpen(Window::Start) || !t->ui.isOpen(Window::Download);
            t->ui.close(Window::Download);
        });
    });
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(2); });
    EXPECT_EQ(t->ui.run(), 0);
    KillTimer(nullptr, guard);
    EXPECT_FALSE(quitEarly);
    EXPECT_FALSE(t->ui.isOpen(Window::Download));
    EXPECT_FALSE(t->ui.isOpen(Window::Start));
}

}  // namespace
}  // namespace zonvex
