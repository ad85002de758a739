#pragma once
// Helpers for tests of the real Win32 windows under Wine: running the message loop for a
// while, and a helper thread that finds the program's message box, records what it shows
// and dismisses it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zonvex::testing {

// Runs the thread's messages until the condition holds or the time is up; a quit message
// met on the way is taken out of the queue (and reported), so it cannot end a later loop.
inline bool PumpUntil(const std::function<bool()>& condition, int ms = 3000, bool* quit = nullptr) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (quit) *quit = true;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void Pump(int ms) { PumpUntil([] { return false; }, ms); }

inline std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

struct SeenBox {
    std::wstring title, text;
    std::vector<std::wstring> buttons;
    bool hasIcon = false;
    HWND owner = nullptr;
    bool programDisabled = false;  // every window of the program was disabled meanwhile
};

// Watches for message boxes of this process from another thread and dismisses each one
// (once dismissWhen holds), recording what it showed.
class BoxDismisser {
public:
    explicit BoxDismisser(std::vector<HWND> programWindows = {}) : windows_(std::move(programWindows)) {
        thread_ = std::thread([this] { watch(); });
    }
    ~BoxDismisser() {
        stop_ = true;
        thread_.join();
    }
    std::vector<SeenBox> seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }
    std::function<bool()> dismissWhen;  // called on the watching thread

private:
    void watch() {
        while (!stop_) {
            Sleep(10);
            HWND box = FindBox();
            if (!box || !IsWindowVisible(box) || (dismissWhen && !dismissWhen())) continue;
            SeenBox s;
            s.title = WindowText(box);
            s.text = WindowText(GetDlgItem(box, 0xFFFF));
            s.owner = GetWindow(box, GW_OWNER);
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (!IsWindowVisible(child)) continue;
                if (ClassName(child) == L"Button") s.buttons.push_back(WindowText(child));
                if (ClassName(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                    SendMessageW(child, STM_GETICON, 0, 0))
                    s.hasIcon = true;
            }
            s.programDisabled = !windows_.empty();
            for (HWND w : windows_) s.programDisabled = s.programDisabled && !IsWindowEnabled(w);
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(s);
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            while (!stop_ && IsWindow(box)) Sleep(5);
        }
    }
    static HWND FindBox() {
        struct Search {
            HWND found = nullptr;
        } search;
        EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process != GetCurrentProcessId() || ClassName(hwnd) != L"#32770") return TRUE;
            reinterpret_cast<Search*>(p)->found = hwnd;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    std::vector<HWND> windows_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

}  // namespace zonvex::testing
