#pragma once
// The platform the program really runs on: its services, its window system and its event
// loop, set up for this process. One implementation per system (Linux with Qt, Windows with
// Win32); tests use fakes instead.
#include <memory>
#include <span>

#include "platform/platform.h"
#include "platform/window_system.h"

namespace zonvex {

class Host {
public:
    // Sets up the window system (and COM on Windows) for this thread and makes the
    // program's own folder the current one; windows are built from `layouts` and report
    // their events to `dispatch`.
    Host(int& argc, char** argv, std::span<const WindowLayout> layouts, Dispatcher dispatch);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    Platform& platform();
    WindowSystem& ui();
    // Runs the event loop until the last window of the program is gone; the exit status.
    int run();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zonvex
