#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

bool SpawnDetached(const std::vector<std::string>& argv, const std::vector<std::string>& setEnvironment) {
    if (argv.empty()) return false;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The child's environment is made here: between fork and exec only async-signal-safe
    // calls are allowed, and setenv is none.
    std::vector<char*> variables;
    for (const auto& v : setEnvironment) variables.push_back(const_cast<char*>(v.c_str()));
    for (char** v = environ; *v; ++v) {
        std::string_view name(*v, std::strcspn(*v, "="));
        bool replaced = std::any_of(setEnvironment.begin(), setEnvironment.end(), [&](const std::string& set) {
            return set.size() > name.size() && set.starts_with(name) && set[name.size()] == '=';
        });
        if (!replaced) variables.push_back(*v);
    }
    variables.push_back(nullptr);
    // Fork twice so the program is adopted by init and reaped there; report whether the
    // exec succeeded through a close-on-exec pipe.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    pid_t child = fork();
    if (child < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
        execvpe(args[0], args.data(), variables.data());
        char failed = 1;
        (void)!write(pipeFds[1], &failed, 1);
        _exit(127);
    }
    close(pipeFds[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    char failed = 0;
    ssize_t n;
    while ((n = read(pipeFds[0], &failed, 1)) < 0 && errno == EINTR) {
    }
    close(pipeFds[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

void XdgShell::open(const Text& target) {
    // Only web addresses are handed on: a page that changes its links must not make the
    // desktop open a local program or file.
    auto scheme = target.substr(0, target.find(':'));
    if (target.find(':') == Text::npos || !(EqualsIgnoringAsciiCase(scheme, "http") || EqualsIgnoringAsciiCase(scheme, "https")))
        return;
    SpawnDetached({"xdg-open", GbkToUtf8(target)});
}

void DetachedLauncher::start(const Text& path) {
    const std::string ownPrefix = environment_.ownPrefix();
    std::string host = HostPath(path, ownPrefix);
    char magic[2] = {};
    std::ifstream in(host, std::ios::binary);
    bool windowsExecutable = in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
    if (!windowsExecutable) {
        SpawnDetached({host});
        return;
    }
    // The program runs in its own prefix, with the Wine that prefix is used with.
    std::string prefix = PrefixHolding(host);
    if (prefix.empty()) prefix = Canonical(ownPrefix);
    std::string wine = environment_.wine;
    if (wine.empty()) {
        for (const WinePrefixEntry& known : KnownWinePrefixes(environment_)) {
            if (Canonical(known.path) != prefix) continue;
            if (!known.wine.empty() && access(known.wine.c_str(), X_OK) == 0) wine = known.wine;
            break;
        }
    }
    SpawnDetached({wine.empty() ? "wine" : wine, host}, {"WINEPREFIX=" + prefix});
}

}  // namespace zonvex::linux_platform
