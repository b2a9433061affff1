// Starts a program under an X server and measures it from outside, the same
// way for any program (ours and the peers' in scripts/peers-bench.sh): the time
// from the start to its first mapped top-level window, the CPU it used until
// then, its resident memory a few seconds later, and then, while nobody touches
// it, its CPU time and its wake-ups (voluntary context switches of all its
// threads) per second. Prints one line of key=value figures and ends the
// program (its whole process group).
//
//   window_watch [--settle S] [--idle S] [--timeout S] -- COMMAND [ARGS...]

#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Usage {
    double cpuMs = 0;           // all threads, user and system
    long long wakeups = 0;      // voluntary context switches, all threads
};

// Summed over the threads alive now (threads that ended are lost; they are
// rare once a program idles).
Usage ReadUsage(pid_t pid) {
    Usage u;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream sched(task.path() / "schedstat");
        long long onCpuNs = 0;
        if (sched >> onCpuNs) u.cpuMs += static_cast<double>(onCpuNs) / 1e6;
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) u.wakeups += std::atoll(line.c_str() + 24);
        }
    }
    return u;
}

double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return static_cast<double>(std::atoll(line.c_str() + 6)) / 1024.0;
    }
    return 0;
}

void Stop(pid_t pid) {
    ::kill(-pid, SIGTERM);
    for (int i = 0; i < 40; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(-pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    double settle = 3;
    double idle = 30;
    double timeout = 30;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string a = argv[first];
        if (a == "--") {
            ++first;
            break;
        }
        if (first + 1 >= argc) break;
        if (a == "--settle") settle = std::atof(argv[++first]);
        else if (a == "--idle") idle = std::atof(argv[++first]);
        else if (a == "--timeout") timeout = std::atof(argv[++first]);
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: window_watch [--settle S] [--idle S] [--timeout S] -- COMMAND [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "window_watch: cannot open the display\n");
        return 1;
    }
    // Without a window manager every top-level window is a child of the root:
    // its MapNotify reaches whoever listens to the root's substructure.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::close(ConnectionNumber(display));
        ::execvp(argv[first], argv + first);
        std::perror("window_watch: exec");
        ::_exit(127);
    }
    ::setpgid(pid, pid);

    double mappedMs = -1;
    Usage atMap;
    while (mappedMs < 0) {
        const double waited = std::chrono::duration<double>(Clock::now() - start).count();
        if (waited > timeout) break;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "window_watch: %s ended before it showed a window\n", argv[first]);
            return 1;
        }
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect && mappedMs < 0) {
                mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                atMap = ReadUsage(pid);
            }
        }
        if (mappedMs >= 0) break;
        pollfd p{ConnectionNumber(display), POLLIN, 0};
        ::poll(&p, 1, 20);
    }
    XCloseDisplay(display);
    if (mappedMs < 0) {
        std::fprintf(stderr, "window_watch: no window within %.0f s\n", timeout);
        Stop(pid);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(settle));
    const double rss = ResidentMb(pid);
    const Usage before = ReadUsage(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(idle));
    const Usage after = ReadUsage(pid);
    Stop(pid);
    std::printf("mapped_ms=%.1f cpu_at_map_ms=%.1f rss_mb=%.1f idle_cpu_ms_per_s=%.2f idle_wakeups_per_s=%.2f\n",
                mappedMs, atMap.cpuMs, rss, idle > 0 ? (after.cpuMs - before.cpuMs) / idle : 0.0,
                idle > 0 ? static_cast<double>(after.wakeups - before.wakeups) / idle : 0.0);
    return 0;
}
