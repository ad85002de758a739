// The floor for start-up and memory on Windows: a Win32 program that shows one window with
// one Chinese label and ends, the same way the probe does.
#include <windows.h>

int main() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"ZonvexMinimalWindow";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"ZonvexMinimalWindow", L"Zonvex", WS_OVERLAPPEDWINDOW, 50, 50, 475, 207,
                                  nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, L"STATIC", L"呐呢？客户端地址是什么？", WS_CHILD | WS_VISIBLE, 88, 48, 296, 24, window, nullptr,
                    instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PostQuitMessage(0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
