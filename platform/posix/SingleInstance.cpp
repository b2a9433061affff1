#include "platform/posix/SingleInstance.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zavrin::posix {

namespace {

namespace fs = std::filesystem;

constexpr char kRequest[] = "zavrin show\n";
constexpr char kReloadRequest[] = "zavrin reload-app-profiles\n";
constexpr char kAnswer[] = "ok\n";
// A control request: this prefix, the request text, a line end.
constexpr std::string_view kControlPrefix = "zavrin request ";
// The longest request line taken; zavrinctl's are a few hundred bytes.
constexpr std::size_t kMaxRequestLine = 64 * 1024;
constexpr std::chrono::seconds kControlStartWait{10};

std::uint64_t Fnv1a64(const std::string& text) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// The data folder as one spelling: absolute, symbolic links resolved as far as
// the folder exists, no trailing separator.
fs::path CanonicalFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path p = fs::absolute(folder, ec);
    if (ec) p = folder;
    fs::path c = fs::weakly_canonical(p, ec);
    if (ec) c = p.lexically_normal();
    while (!c.has_filename() && c.has_relative_path()) c = c.parent_path();
    return c;
}

// $XDG_RUNTIME_DIR when it names a directory; else /tmp/zavrin-<uid>, made
// private to the user. Empty when no safe folder can be had.
fs::path RuntimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && xdg[0] == '/') {
        struct stat st{};
        if (::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode)) return xdg;
    }
    const uid_t uid = ::getuid();
    const std::string dir = "/tmp/zavrin-" + std::to_string(uid);
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
    struct stat st{};
    // Not followed through a link, ours, and nobody else's to write into.
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
        (st.st_mode & 077) != 0)
        return {};
    return dir;
}

bool MakeAddress(const fs::path& socketPath, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    const std::string s = socketPath.string();
    if (s.empty() || s.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, s.c_str(), s.size() + 1);
    return true;
}

bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        return r > 0;
    }
}

// Reads up to the first line end (not included), waiting at most `waitMs` for
// each piece; false when the peer stops short or says too much.
bool ReadLine(int fd, std::string& line, int waitMs, std::size_t limit) {
    line.clear();
    char buf[4096];
    while (WaitReadable(fd, waitMs)) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        line.append(buf, static_cast<std::size_t>(n));
        const std::size_t end = line.find('\n');
        if (end != std::string::npos) {
            line.resize(end);
            return true;
        }
        if (line.size() > limit) return false;
    }
    return false;
}

bool SendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Whether the process at the other end of `fd` runs as this user.
bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer &&
           peer.uid == ::getuid();
}

// One attempt to hand the request over. 1: answered; 0: nobody listens (yet);
// -1: connected but no answer.
int TryRequest(const fs::path& socketPath, std::string_view request = kRequest) {
    sockaddr_un addr{};
    if (!MakeAddress(socketPath, addr)) return 0;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    int result = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
        result = -1;
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size()) &&
            WaitReadable(fd, 2000)) {
            char buf[8] = {};
            const ssize_t n = ::recv(fd, buf, sizeof buf - 1, 0);
            if (n > 0 && std::strncmp(buf, kAnswer, sizeof kAnswer - 1) == 0) result = 1;
        }
    }
    ::close(fd);
    return result;
}

// Whether a live process holds the folder's lock now.
bool LockHeld(const fs::path& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool held = false;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        held = (errno == EWOULDBLOCK);
    else
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return held;
}

}  // namespace

fs::path SingleInstance::basePath(const fs::path& dataFolder) {
    const fs::path runtime = RuntimeFolder();
    if (runtime.empty()) return {};
    char name[32];
    std::snprintf(name, sizeof name, "zavrin-%016llx",
                  static_cast<unsigned long long>(Fnv1a64(CanonicalFolder(dataFolder).string())));
    return runtime / name;
}

bool SingleInstance::claim(const fs::path& dataFolder) {
    if (lockFd_ >= 0) return true;
    const fs::path base = basePath(dataFolder);
    // Without a private runtime folder nothing can be shared safely: the program
    // runs, alone or not, rather than not at all.
    if (base.empty()) return true;

    lockPath_ = base.string() + ".lock";
    // The lock file is removed by the copy that held it, so a copy may lock a
    // file that was just unlinked: it holds the lock only if the name still
    // leads to the file it locked.
    for (int attempt = 0; attempt < 16 && lockFd_ < 0; ++attempt) {
        const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) break;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool busy = (errno == EWOULDBLOCK);
            ::close(fd);
            if (busy) {
                lockPath_.clear();
                return false;
            }
            break;
        }
        struct stat held{}, named{};
        if (::fstat(fd, &held) == 0 && ::stat(lockPath_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            lockFd_ = fd;
        } else {
            ::close(fd);
        }
    }
    if (lockFd_ < 0) {
        lockPath_.clear();
        return true;  // no lock to be had: run rather than not at all
    }

    // The lock is ours, so any socket file left is a dead copy's: replace it.
    socketPath_ = base.string() + ".sock";
    sockaddr_un addr{};
    if (!MakeAddress(socketPath_, addr)) {
        socketPath_.clear();
        return true;
    }
    ::unlink(socketPath_.c_str());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 8) != 0 || ::pipe2(stopPipe_, O_CLOEXEC) != 0) {
        if (listenFd_ >= 0) ::close(listenFd_);
        listenFd_ = -1;
        ::unlink(socketPath_.c_str());
        socketPath_.clear();
        return true;  // first copy, without hand-over
    }
    // Returns only once the listener runs: a process that forks right after
    // claiming (a test's second copy, a launcher) must not copy a thread that
    // is still starting, with the allocator's locks it may hold.
    std::promise<void> started;
    std::future<void> running = started.get_future();
    listener_ = std::thread([this, &started] {
        started.set_value();
        listen();
    });
    running.wait();
    return true;
}

SingleInstance::~SingleInstance() {
    {
        std::lock_guard lock(controlMutex_);
        stopping_ = true;
        controlSet_.notify_all();
    }
    if (listener_.joinable()) {
        const char stop = 'x';
        while (::write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
        }
        listener_.join();
    }
    for (int& fd : stopPipe_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    if (listenFd_ >= 0) ::close(listenFd_);
    // Still holding the lock, so the socket file is ours to remove.
    if (!socketPath_.empty()) ::unlink(socketPath_.c_str());
    if (lockFd_ >= 0) {
        // Removed while still held, so a copy that opened it meanwhile finds
        // the name gone when it checks, and tries again with a fresh file.
        ::unlink(lockPath_.c_str());
        ::close(lockFd_);  // releases the lock
    }
}

void SingleInstance::listen() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        serve(client);
        ::close(client);
    }
}

void SingleInstance::serve(int client) {
    // Another user's process may reach the socket where the runtime folder is
    // shared; it gets no answer at all.
    if (!PeerIsUs(client)) return;
    std::string line;
    // A short read window: a client that says nothing cannot hold up the next.
    if (!ReadLine(client, line, 1000, kMaxRequestLine)) {
        // Older copies send the show request without waiting for a line end.
        if (line + "\n" != kRequest) return;
    }
    if (line + "\n" == kRequest || line + "\n" == kReloadRequest) {
        requests_.deliver(line + "\n" == kRequest ? ShowRequestRelay::kShow : ShowRequestRelay::kReloadAppProfiles);
        SendAll(client, kAnswer);
        return;
    }
    if (!line.starts_with(kControlPrefix)) return;
    ControlHandler handler;
    {
        // A request that comes while the program is still starting waits for
        // it a little rather than being turned away.
        std::unique_lock lock(controlMutex_);
        controlSet_.wait_for(lock, kControlStartWait, [this] { return control_ || stopping_; });
        handler = control_;
    }
    const std::string answer = handler ? handler(line.substr(kControlPrefix.size())) : std::string();
    SendAll(client, answer + "\n");
}

void SingleInstance::setControlHandler(ControlHandler handler) {
    std::lock_guard lock(controlMutex_);
    control_ = std::move(handler);
    controlSet_.notify_all();
}

std::optional<std::string> SingleInstance::sendControlRequest(const fs::path& dataFolder, const std::string& request,
                                                              std::chrono::milliseconds timeout) {
    const fs::path base = basePath(dataFolder);
    if (base.empty()) return std::nullopt;
    const fs::path socketPath = base.string() + ".sock";
    const fs::path lockPath = base.string() + ".lock";
    if (!LockHeld(lockPath)) return std::nullopt;
    sockaddr_un addr{};
    if (!MakeAddress(socketPath, addr)) return std::nullopt;
    // The first copy binds its socket right after taking the lock: give it a
    // moment, as a second copy does.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return std::string();
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
            std::string answer;
            const bool answered = SendAll(fd, std::string(kControlPrefix) + request + "\n") &&
                                  ReadLine(fd, answer, static_cast<int>(timeout.count()), kMaxRequestLine);
            ::close(fd);
            return answered ? answer : std::string();
        }
        ::close(fd);
        if (!LockHeld(lockPath)) return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) return std::string();
        ::usleep(20 * 1000);
    }
}

void SingleInstance::setTarget(HWND target, UINT message) { requests_.setTarget(target, message); }

void SingleInstance::setHandler(std::function<void()> handler) { requests_.setHandler(std::move(handler)); }

void SingleInstance::setRequestHandler(std::function<void(WPARAM)> handler) {
    requests_.setRequestHandler(std::move(handler));
}

bool SingleInstance::signalReloadAppProfiles(const fs::path& dataFolder) {
    const fs::path base = basePath(dataFolder);
    // One try: a copy that is only starting reads the rules itself.
    return !base.empty() && TryRequest(base.string() + ".sock", kReloadRequest) == 1;
}

bool SingleInstance::signalFirst(const fs::path& dataFolder) {
    const fs::path base = basePath(dataFolder);
    if (base.empty()) return false;
    const fs::path socketPath = base.string() + ".sock";
    const fs::path lockPath = base.string() + ".lock";
    // The first copy may hold the lock but not listen yet (it binds right after
    // taking the lock): retry while the lock is held, for up to two seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        const int r = TryRequest(socketPath);
        if (r == 1) return true;
        if (r == -1) return false;
        if (!LockHeld(lockPath)) return false;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::usleep(20 * 1000);
    }
}

}  // namespace zavrin::posix
