#pragma once
// What handlers may do to windows, and the data a window is built from. Layouts and event
// bindings are tables; a backend (Qt, or the fake one of the tests) builds windows from
// them and reports events through one dispatcher.
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "text/text.h"

namespace zonvex {

enum class Window { Start, Main, Download };
enum class ControlKind { EditBox, Button, TransparentLabel, GroupBox, Hyperlink, PictureButton, Timer };
enum class Pointer { Custom, Hand, Default };
enum class Event {
    Created,      // the window and its controls exist; the window's creation handler
    TextChanged,  // an edit box's text changed, typed or written by the program
    Clicked,      // a button or picture button was clicked
    Pressed,      // the left mouse button went down on a hyperlink
    Tick,         // a timer's period elapsed
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    int left, top, width, height;  // relative to the window's client area, or to `group`
    std::string_view group = {};   // the group box the control stands in, if any
    Pointer pointer = Pointer::Custom;
    std::string_view address = {};  // a hyperlink's own web address, opened on press
};

struct WindowLayout {
    Window window;
    std::string_view title;
    int left, top, width, height;  // outer rectangle, frame included
    std::span<const ControlLayout> controls;

    const ControlLayout* control(std::string_view name) const {
        for (const auto& c : controls)
            if (c.name == name) return &c;
        return nullptr;
    }
};

// Called by the backend for every event; `control` is empty for Created.
using Dispatcher = std::function<void(Window, std::string_view control, Event)>;

class WindowSystem {
public:
    // Creates the window from its layout, runs its creation handler and returns; if the
    // window is already open, activates it (restored if minimised) and runs nothing.
    virtual void open(Window) = 0;
    // Destroys the window once the running handler has returned to the event loop. When
    // no window of the program is left, the program ends.
    virtual void close(Window) = 0;
    virtual bool isOpen(Window) const = 0;
    virtual Text text(Window, std::string_view control) const = 0;
    // Replaces a caption or an edit box's text; for an edit box this raises TextChanged
    // just as typing does.
    virtual void setText(Window, std::string_view control, const Text&) = 0;
    // A positive period (ms) runs the timer, 0 or less stops it; the same period again
    // changes nothing.
    virtual void setTimerPeriod(Window, std::string_view timer, int ms) = 0;
    // Title "信息：", the text, an OK button only, no icon, no owner, modal for the
    // program's windows; returns when dismissed. Timers keep ticking meanwhile.
    virtual void message(const Text&) = 0;
    // The folder chosen in a folder dialog, as a path text; nothing when cancelled.
    virtual std::optional<Text> browseFolder(const Text& prompt) = 0;
    // Shows the text and ends the process at once, releasing nothing.
    [[noreturn]] virtual void fatal(const Text&) = 0;
    virtual ~WindowSystem() = default;
};

}  // namespace zonvex
