#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>


#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

bool SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
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
        execvp(args[0], args.data());
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
    std::string host = HostPath(path, prefix_);
    // Only a regular file can be started; a named pipe in its place would hold the reading
    // of its first bytes up for good.
    int fd = OpenRegularFile(host);
    if (fd < 0) return;
    char magic[2] = {};
    bool windowsExecutable = ::read(fd, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    ::close(fd);
    if (windowsExecutable) SpawnDetached({"wine", host});
    else SpawnDetached({host});
}

}  // namespace zonvex::linux_platform
