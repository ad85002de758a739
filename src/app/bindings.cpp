#include "app/bindings.h"

#include "app/layouts.h"
#include "app/window_flow.h"
#include "bulletins/bulletins.h"
#include "client_config/switch_zone.h"
#include "client_location/client_directory.h"

namespace zonvex {

namespace {

// DownloadWindow's hyperlinks, one for each entry of kDownloadLinks.
template <size_t I>
constexpr Binding DownloadLinkBinding() {
    return {Window::Download, kDownloadLinks[I].control, Event::Pressed,
            [](Program& p) { OnDownloadLinkPressed(p, I); }};
}

constexpr Binding kBindings[] = {
    {Window::Start, {}, Event::Created, OnStartWindowCreated},
    {Window::Start, "编辑框1", Event::TextChanged, OnClientDirChanged},
    {Window::Start, "按钮1", Event::Clicked, OnBrowseForClientDir},
    {Window::Start, "超级链接框1", Event::Pressed, OnRegistryLookup},
    {Window::Start, "超级链接框2", Event::Pressed, OnLauncherSearch},
    {Window::Start, "超级链接框5", Event::Pressed, OnDownloadFromStart},

    {Window::Main, {}, Event::Created, OnMainWindowCreated},
    {Window::Main, "按钮2", Event::Clicked, [](Program& p) { SwitchZone(p, ZoneProfile::TestZone1); }},
    {Window::Main, "按钮3", Event::Clicked, [](Program& p) { SwitchZone(p, ZoneProfile::TestZone2); }},
    {Window::Main, "按钮4", Event::Clicked, [](Program& p) { SwitchZone(p, ZoneProfile::TestZone3); }},
    {Window::Main, "按钮5", Event::Clicked, [](Program& p) { SwitchZone(p, ZoneProfile::LiveServers); }},
    {Window::Main, "超级链接框5", Event::Pressed, OnDownloadFromMain},
    {Window::Main, "超级链接框6", Event::Pressed, OnBackToStart},
    {Window::Main, kRefreshTimer, Event::Tick, OnRecommendationTick},
    {Window::Main, "超级链接框2", Event::Pressed, OnPatchLinkPressed},
    {Window::Main, "图形按钮1", Event::Clicked, OnGroupJoinClicked},

    {Window::Download, {}, Event::Created, OnDownloadWindowCreated},
    DownloadLinkBinding<0>(), DownloadLinkBinding<1>(), DownloadLinkBinding<2>(),
    DownloadLinkBinding<3>(), DownloadLinkBinding<4>(), DownloadLinkBinding<5>(),
    DownloadLinkBinding<6>(), DownloadLinkBinding<7>(), DownloadLinkBinding<8>(),
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
