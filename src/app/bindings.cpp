#include "app/bindings.h"

#include "app/layouts.h"
#include "app/window_flow.h"
#include "client_location/client_directory.h"

namespace zonvex {

namespace {

constexpr Binding kBindings[] = {
    {Window::Start, {}, Event::Created, OnStartWindowCreated},
    {Window::Start, "编辑框1", Event::TextChanged, OnClientDirChanged},
    {Window::Start, "按钮1", Event::Clicked, OnBrowseForClientDir},
    {Window::Start, "超级链接框1", Event::Pressed, OnRegistryLookup},
    {Window::Start, "超级链接框2", Event::Pressed, OnLauncherSearch},
    {Window::Start, "超级链接框5", Event::Pressed, OnDownloadFromStart},

    {Window::Main, {}, Event::Created, OnMainWindowCreated},
    {Window::Main, "超级链接框5", Event::Pressed, OnDownloadFromMain},
    {Window::Main, "超级链接框6", Event::Pressed, OnBackToStart},

    {Window::Download, {}, Event::Created, OnDownloadWindowCreated},
};

}  // namespace

std::span<const Binding> Bindings() { return kBindings; }

void Dispatch(Program& p, Window window, std::string_view control, Event event) {
    for (const Binding& b : kBindings) {
        if (b.window == window && b.control == control && b.event == event) {
            b.handler(p);
            return;
        }
    }
    if (event != Event::Pressed) return;
    if (const ControlLayout* c = LayoutOf(window).control(control); c && !c->address.empty())
        p.platform.shell.open(Text(c->address));
}

}  // namespace zonvex
