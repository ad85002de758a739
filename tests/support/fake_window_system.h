#pragma once
// A window system that keeps windows and control texts in memory, built from the same
// layout tables as the real one. Tests drive it like a user: type, click, press, tick.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace zonvex::testing {

class FakeWindowSystem final : public WindowSystem {
public:
    FakeWindowSystem(std::span<const WindowLayout> layouts, Dispatcher dispatch)
        : layouts_(layouts), dispatch_(std::move(dispatch)) {}

    void open(Window w) override;
    void close(Window w) override { pendingCloses_.push_back(w); }
    bool isOpen(Window w) const override { return windows_.contains(w); }
    Text text(Window w, std::string_view control) const override;
    void setText(Window w, std::string_view control, const Text& text) override;
    void setTimerPeriod(Window w, std::string_view timer, int ms) override;
    void message(const Text& text) override;
    std::optional<Text> browseFolder(const Text& prompt) override;
    [[noreturn]] void fatal(const Text& text) override;

    // What a user does; each runs as one event of the event loop.
    void type(Window w, std::string_view control, const Text& text);
    void click(Window w, std::string_view control) { fire(w, control, Event::Clicked); }
    void press(Window w, std::string_view control) { fire(w, control, Event::Pressed); }
    void tick(Window w, std::string_view timer) { fire(w, timer, Event::Tick); }
    void closeBox(Window w);

    int timerPeriod(Window w, std::string_view timer) const;
    bool ended() const { return started_ && windows_.empty(); }

    // Records of what happened.
    std::vector<Text> messages;
    std::vector<Text> browsePrompts;
    std::vector<Window> created;  // every window created, in order
    int activations = 0;
    // What the next folder dialogs answer; an empty list means cancelled.
    std::vector<std::optional<Text>> browseAnswers;
    // Runs while a message box is open (the event loop keeps running in it).
    std::function<void(const Text&)> whileMessageShown;
    // Called for every message, dialog and creation, for checking the order of effects.
    std::function<void(const std::string&)> log;

private:
    void fire(Window w, std::string_view control, Event e);
    void runEvent(const std::function<void()>& event);

    std::span<const WindowLayout> layouts_;
    Dispatcher dispatch_;
    std::map<Window, std::map<std::string, Text, std::less<>>> windows_;
    std::map<std::pair<Window, std::string>, int> timers_;
    std::vector<Window> pendingCloses_;
    int depth_ = 0;
    bool started_ = false;
};

}  // namespace zonvex::testing
