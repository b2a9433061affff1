#include "platform/linux/Spawn.h"

#include <cerrno>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zavrin::linuxdesktop {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
    std::vector<char*> out;
    out.reserve(argv.size() + 1);
    for (const std::string& a : argv) out.push_back(const_cast<char*>(a.c_str()));
    out.push_back(nullptr);
    return out;
}

// Children start with default signal handling and an empty signal mask, not
// with whatever SDL or GLib set up in this process.
class SpawnAttributes {
public:
    SpawnAttributes() {
        posix_spawnattr_init(&attr_);
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr_, 0);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attr_); }
    const posix_spawnattr_t* get() const { return &attr_; }

private:
    posix_spawnattr_t attr_;
};

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string{};
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t at = 0;
    while (at <= dirs.size()) {
        std::size_t end = dirs.find(':', at);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = end > at ? dirs.substr(at, end - at) : ".";
        const std::string candidate = dir + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        at = end + 1;
    }
    return {};
}

bool SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    const std::string program = FindProgram(argv[0]);
    if (program.empty()) return false;
    std::vector<char*> args = ArgvOf(argv);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    SpawnAttributes attr;
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, attr.get(), args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

std::optional<std::string> RunForOutput(const std::vector<std::string>& argv) {
    if (argv.empty()) return std::nullopt;
    const std::string program = FindProgram(argv[0]);
    if (program.empty()) return std::nullopt;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
    std::vector<char*> args = ArgvOf(argv);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    SpawnAttributes attr;
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, attr.get(), args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        return std::nullopt;
    }
    std::string text;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n > 0) {
            text.append(buf, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

}  // namespace zavrin::linuxdesktop
