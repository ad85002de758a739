// The program on Linux: the Wine-convention services and the Qt window system.
#include "platform/host.h"

#include "client_location/install_paths.h"
#include "platform/linux/espeak_voice.h"
#include "platform/linux/linux_platform.h"
#include "platform/qt/qt_window_system.h"

namespace zonvex {

using namespace linux_platform;

struct Host::Impl {
    Impl(int& argc, char** argv, std::span<const WindowLayout> layouts, Dispatcher dispatch)
        : application(argc, argv),
          // Relative folders typed by the user are taken from the program's own folder.
          environment((EnterProgramDirectory(), Environment::Current())),
          prefix(environment.ownPrefix()),
          files(prefix),
          // Of the values the player's prefixes hold, the one that names an installation.
          registry(environment,
                   [this](const Text& value) {
                       return files.exists(RemoveAllIgnoringAsciiCase(value, kRunningLauncherSuffix) +
                                           Text(kMainExecutableSuffix));
                   }),
          processes(prefix),
          launcher(environment),
          skin(prefix, ProgramDirectory(), UserCacheDirectory()),
          platform{files, registry, processes, http, shell, launcher, voice, skin},
          ui(layouts, std::move(dispatch)) {}

    qt::Application application;
    const Environment environment;
    const std::string prefix;
    Files files;
    WineRegistry registry;
    ProcProcesses processes;
    CurlHttp http;
    XdgShell shell;
    DetachedLauncher launcher;
    EspeakVoice voice;
    DlSkinLoader skin;
    Platform platform;
    qt::QtWindowSystem ui;
};

Host::Host(int& argc, char** argv, std::span<const WindowLayout> layouts, Dispatcher dispatch)
    : impl_(std::make_unique<Impl>(argc, argv, layouts, std::move(dispatch))) {}
Host::~Host() = default;
Platform& Host::platform() { return impl_->platform; }
WindowSystem& Host::ui() { return impl_->ui; }
int Host::run() { return impl_->application.run(); }

}  // namespace zonvex
