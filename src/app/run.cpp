#include "app/run.h"

#include "app/bindings.h"
#include "app/layouts.h"
#include "platform/host.h"

namespace zonvex {

int RunZonvex(int argc, char** argv, const std::function<void(Program&)>& started) {
    Program* program = nullptr;
    Host host(argc, argv, Layouts(), [&program](Window w, std::string_view control, Event e) {
        Dispatch(*program, w, control, e);
    });
    Program instance{host.ui(), host.platform(), {ZONVEX_VERSIONS_PAGE_URL, ZONVEX_BULLETIN_PAGE_URL}, {}};
    program = &instance;

    host.ui().open(Window::Start);
    if (started) started(instance);
    int status = host.run();
    instance.state.Release();
    return status;
}

}  // namespace zonvex
