// The real Windows program, stopped at a chosen point so that its start-up time and memory
// can be measured from outside under Wine (bench/run.py):
//   zonvex_startup_probe start          ends once StartWindow is shown (skin attached)
//   zonvex_startup_probe main FOLDER    opens MainWindow on the installation, closes the
//                                       announcement, runs the first tick, then ends
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "app/bindings.h"
#include "app/run.h"

using namespace zonvex;

int main(int argc, char** argv) {
    const bool toMain = argc == 3 && std::strcmp(argv[1], "main") == 0;
    const Text folder = toMain ? Text(argv[2]) : Text();
    std::atomic<bool> done = false;
    // Message boxes are answered as soon as they appear, as a user pressing OK at once.
    std::thread boxes([&done] {
        while (!done) {
            if (HWND box = FindWindowW(L"#32770", L"信息：")) PostMessageW(box, WM_COMMAND, IDOK, 0);
            Sleep(1);
        }
    });
    const int status = RunZonvex(1, argv, [&](Program& p) {
        if (toMain) {
            p.ui.setText(Window::Start, "编辑框1", folder);
            Dispatch(p, Window::Main, "时钟1", Event::Tick);
        }
        PostQuitMessage(0);
    });
    done = true;
    boxes.join();
    return status;
}
