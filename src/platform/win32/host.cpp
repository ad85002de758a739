// The program on Windows: the system's own services and the Win32 window system.
#include "platform/host.h"

#include <objbase.h>
#include <ole2.h>

#include "platform/win32/win32_window_system.h"
#include "platform/windows/windows_platform.h"

namespace zonvex {

using namespace windows_platform;

namespace {

// Set up before anything else: pixels as the display has them (the layouts are scaled to
// its DPI rather than stretched by the system), COM for the folder dialog and the voice,
// and the program's own folder as the current one, where relative folders are taken from.
struct ThreadSetUp {
    ThreadSetUp() {
        SetProcessDPIAware();
        initialised = SUCCEEDED(OleInitialize(nullptr));
        EnterProgramDirectory();
    }
    ~ThreadSetUp() {
        if (initialised) OleUninitialize();
    }
    bool initialised = false;
};

}  // namespace

struct Host::Impl {
    Impl(std::span<const WindowLayout> layouts, Dispatcher dispatch)
        : platform{files, registry, processes, http, shell, launcher, voice, skin}, ui(layouts, std::move(dispatch)) {}

    ThreadSetUp setUp;
    Files files;
    CurrentUserRegistry registry;
    ToolhelpProcesses processes;
    WinHttpReader http;
    ShellOpen shell;
    ProcessLauncher launcher;
    SapiVoice voice;
    DllSkinLoader skin;
    Platform platform;
    win32::Win32WindowSystem ui;
};

Host::Host(int&, char**, std::span<const WindowLayout> layouts, Dispatcher dispatch)
    : impl_(std::make_unique<Impl>(layouts, std::move(dispatch))) {}
Host::~Host() = default;
Platform& Host::platform() { return impl_->platform; }
WindowSystem& Host::ui() { return impl_->ui; }
int Host::run() { return impl_->ui.run(); }

}  // namespace zonvex
