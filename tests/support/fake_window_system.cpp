#include "support/fake_window_system.h"

#include <stdexcept>

namespace zonvex::testing {

void FakeWindowSystem::runEvent(const std::function<void()>& event) {
    ++depth_;
    event();
    --depth_;
    // Closing takes effect once the outermost handler has returned to the event loop.
    if (depth_ == 0) {
        auto closes = std::move(pendingCloses_);
        pendingCloses_.clear();
        for (Window w : closes) {
            windows_.erase(w);
            std::erase_if(timers_, [w](const auto& t) { return t.first.first == w; });
        }
    }
}

void FakeWindowSystem::open(Window w) {
    started_ = true;
    if (windows_.contains(w)) {
        ++activations;
        return;
    }
    auto& controls = windows_[w];
    for (const auto& layout : layouts_)
        if (layout.window == w)
            for (const auto& c : layout.controls) controls[std::string(c.name)] = Text(c.caption);
    created.push_back(w);
    if (log) log("open " + std::to_string(static_cast<int>(w)));
    runEvent([&] { dispatch_(w, {}, Event::Created); });
}

Text FakeWindowSystem::text(Window w, std::string_view control) const {
    auto win = windows_.find(w);
    if (win == windows_.end()) return {};
    auto c = win->second.find(control);
    return c == win->second.end() ? Text() : c->second;
}

void FakeWindowSystem::setText(Window w, std::string_view control, const Text& text) {
    auto win = windows_.find(w);
    if (win == windows_.end()) return;
    auto c = win->second.find(control);
    if (c == win->second.end()) return;
    c->second = text;
    for (const auto& layout : layouts_)
        if (layout.window == w)
            if (const auto* l = layout.control(control); l && l->kind == ControlKind::EditBox)
                runEvent([&] { dispatch_(w, control, Event::TextChanged); });
}

void FakeWindowSystem::setTimerPeriod(Window w, std::string_view timer, int ms) {
    if (windows_.contains(w)) timers_[{w, std::string(timer)}] = ms > 0 ? ms : 0;
}

int FakeWindowSystem::timerPeriod(Window w, std::string_view timer) const {
    auto it = timers_.find({w, std::string(timer)});
    return it == timers_.end() ? 0 : it->second;
}

void FakeWindowSystem::message(const Text& text) {
    messages.push_back(text);
    if (log) log("message " + text);
    if (whileMessageShown) whileMessageShown(text);
}

std::optional<Text> FakeWindowSystem::browseFolder(const Text& prompt) {
    browsePrompts.push_back(prompt);
    if (browseAnswers.empty()) return std::nullopt;
    auto answer = browseAnswers.front();
    browseAnswers.erase(browseAnswers.begin());
    return answer;
}

void FakeWindowSystem::fatal(const Text& text) { throw std::runtime_error("fatal: " + text); }

void FakeWindowSystem::type(Window w, std::string_view control, const Text& text) {
    runEvent([&] { setText(w, control, text); });
}

void FakeWindowSystem::fire(Window w, std::string_view control, Event e) {
    if (!windows_.contains(w)) return;
    if (e == Event::Tick && timerPeriod(w, control) == 0) return;  // a stopped timer does not tick
    runEvent([&] { dispatch_(w, control, e); });
}

void FakeWindowSystem::closeBox(Window w) {
    runEvent([&] { close(w); });
}

}  // namespace zonvex::testing
