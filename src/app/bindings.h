#pragma once
// Which handler answers which event of which control: a table, like the layouts.
#include <span>
#include <string_view>

#include "program/program.h"

namespace zonvex {

struct Binding {
    Window window;
    std::string_view control;  // empty for the window's own Created event
    Event event;
    void (*handler)(Program&);
};

std::span<const Binding> Bindings();

// Runs the handler bound to the event. A hyperlink with no handler of its own opens the
// web address its layout gives it.
void Dispatch(Program& p, Window window, std::string_view control, Event event);

}  // namespace zonvex
