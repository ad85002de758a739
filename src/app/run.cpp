#include "app/run.h"

#include "app/bindings.h"
#include "app/layouts.h"
#include "platform/linux/espeak_voice.h"
#include "platform/linux/linux_platform.h"
#include "platform/qt/qt_window_system.h"

namespace zonvex {

int RunZonvex(int argc, char** argv, const std::function<void(Program&)>& started) {
    qt::Application application(argc, argv);
    // Relative folders typed by the user are taken from the program's own folder.
    linux_platform::EnterProgramDirectory();

    const std::string prefix = linux_platform::WinePrefix();
    linux_platform::Files files(prefix);
    linux_platform::WineRegistry registry(prefix + "/user.reg");
    linux_platform::ProcProcesses processes;
    linux_platform::CurlHttp http;
    linux_platform::XdgShell shell;
    linux_platform::DetachedLauncher launcher(prefix);
    linux_platform::EspeakVoice voice;
    linux_platform::DlSkinLoader skin(prefix, linux_platform::ProgramDirectory(), linux_platform::UserCacheDirectory());
    Platform platform{files, registry, processes, http, shell, launcher, voice, skin};

    Program* program = nullptr;
    qt::QtWindowSystem ui(Layouts(), [&program](Window w, std::string_view control, Event e) {
        Dispatch(*program, w, control, e);
    });
    Program instance{ui, platform, {ZONVEX_VERSIONS_PAGE_URL, ZONVEX_BULLETIN_PAGE_URL}, {}};
    program = &instance;

    ui.open(Window::Start);
    if (started) started(instance);
    int status = application.run();
    instance.state.Release();
    return status;
}

}  // namespace zonvex
