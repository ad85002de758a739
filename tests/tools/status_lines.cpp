// Prints the two status lines MainWindow would show for an installation, in UTF-8:
//   zonvex_status_lines FOLDER      (FOLDER as the program takes it; WINEPREFIX applies)
// The demo prints them after each step it walks through.
#include <cstdio>

#include "client_config/detection.h"
#include "platform/linux/linux_platform.h"
#include "support/fake_platform.h"

using namespace zonvex;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    testing::FakeServices services;  // all but the files, which detection alone uses
    linux_platform::Files files(linux_platform::WinePrefix());
    Platform real = services.with(files);
    testing::FakeWindowSystem ui(Layouts(), [](Window, std::string_view, Event) {});  // windows without handlers
    Program program{ui, real, {}, {}};
    program.state.ClientDir = Utf8ToGbk(argv[1]);
    ui.open(Window::Main);
    DetectLocalClient(program);
    for (const char* line : {"透明标签1", "透明标签2"})
        std::printf("%s\n", GbkToUtf8(ui.text(Window::Main, line)).c_str());
    return 0;
}
