// Writes a picture (BMP) of each window of the Windows build, and of the first message box
// met on the way, into the folder given as the first argument. Runs under Wine with a
// sample installation on fake services and the skin library the build made, in skin 8.
// Wine draws the windows' frames itself only when they are not left to a window manager
// (HKCU\Software\Wine\X11 Driver, Managed = N); otherwise the frames come out black.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/win32/win32_window_system.h"
#include "skin/skin.h"
#include "support/fake_platform.h"
#include "windows/win32_test_helpers.h"

using namespace zonvex;
using namespace zonvex::testing;

namespace {

// A host path as Wine reaches it (drive Z:), or a Windows path as it is.
std::wstring WindowsPath(const std::string& path) {
    std::wstring wide;
    for (char c : path) wide += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide.starts_with(L"\\") ? L"Z:" + wide : wide;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(std::filesystem::path(WindowsPath(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The window as it stands on the screen, frame included, as a 24-bit BMP.
bool SaveWindow(HWND hwnd, const std::wstring& file) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom row first, as BMP files keep it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
    std::ofstream out(std::filesystem::path(file), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), header.biSizeImage);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return static_cast<bool>(out);
}

// The first message box of this process that shows up is saved, then each is dismissed.
class BoxSaver {
public:
    explicit BoxSaver(std::wstring file) : file_(std::move(file)) {
        thread_ = std::thread([this] {
            while (!stop_) {
                Sleep(20);
                HWND box = nullptr;
                EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
                    DWORD process = 0;
                    GetWindowThreadProcessId(hwnd, &process);
                    if (process != GetCurrentProcessId() || ClassName(hwnd) != L"#32770" || !IsWindowVisible(hwnd))
                        return TRUE;
                    *reinterpret_cast<HWND*>(p) = hwnd;
                    return FALSE;
                }, reinterpret_cast<LPARAM>(&box));
                if (!box) continue;
                Sleep(300);  // let it paint
                if (saved_ == 0) SaveWindow(box, file_);
                ++saved_;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                while (!stop_ && IsWindow(box)) Sleep(10);
            }
        });
    }
    ~BoxSaver() {
        stop_ = true;
        thread_.join();
    }
    int boxes() const { return saved_; }

private:
    std::wstring file_;
    std::atomic<bool> stop_{false};
    std::atomic<int> saved_{0};
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    SetProcessDPIAware();
    const std::wstring folder = WindowsPath(argv[1]);
    CreateDirectoryW(folder.c_str(), nullptr);

    FakeServices services;
    Program* program = nullptr;
    win32::Win32WindowSystem ui(Layouts(), [&](Window w, std::string_view c, Event e) { Dispatch(*program, w, c, e); });
    Program instance{ui, services.platform, {kVersionsPage, kBulletinPage}, {}};
    program = &instance;
    services.files.addFile("C:\\游戏\\穿越火线\\crossfire.exe");
    services.files.addDirectory("C:\\游戏\\穿越火线\\RUDE\\config");
    services.http.pages[kVersionsPage] = ReadWhole(ZONVEX_SAMPLE_PAGES "/versions.html");
    services.http.pages[kBulletinPage] = ReadWhole(ZONVEX_SAMPLE_PAGES "/bulletin.html");

    // The windows in the skin the program attaches, drawn by the skin library the build made.
    HMODULE library = LoadLibraryW(WindowsPath(ZONVEX_SKIN_LIBRARY).c_str());
    auto attach = library ? reinterpret_cast<int(__stdcall*)(const unsigned char*, int, const char*, int, int, int)>(
                                reinterpret_cast<void*>(GetProcAddress(library, "SkinH_AttachRes")))
                          : nullptr;
    if (!attach) {
        std::fprintf(stderr, "cannot load %s\n", ZONVEX_SKIN_LIBRARY);
        return 1;
    }
    std::span<const unsigned char> skin = BuiltInSkin(kStartWindowSkin);
    attach(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0);

    BoxSaver boxes(folder + L"\\message.bmp");
    int windows = 0;
    auto save = [&](Window w, const wchar_t* name) {
        HWND hwnd = ui.window(w);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Pump(300);  // let painting settle
        windows += SaveWindow(hwnd, folder + L"\\" + name + L".bmp");
    };
    ui.open(Window::Start);
    save(Window::Start, L"start");
    ui.setText(Window::Start, "编辑框1", "C:\\游戏\\穿越火线");  // the announcement box comes first
    Pump(100);
    Dispatch(instance, Window::Main, "时钟1", Event::Tick);  // the recommendations of the first tick
    save(Window::Main, L"main");
    ui.open(Window::Download);
    save(Window::Download, L"download");
    std::printf("wrote %d windows and %d message box to %s\n", windows, boxes.boxes() > 0 ? 1 : 0, argv[1]);
    return windows == 3 && boxes.boxes() > 0 ? 0 : 1;
}
