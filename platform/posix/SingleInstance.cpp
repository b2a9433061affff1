#include "platform/posix/SingleInstance.h"

#include <cerrno>
#include <chrono>
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

#include "platform/posix/InstanceClient.h"
#include "platform/posix/InstanceProtocol.h"

namespace zavrin::posix {

namespace {

namespace fs = std::filesystem;
using namespace instance;

constexpr std::chrono::seconds kControlStartWait{10};

// Whether the process at the other end of `fd` runs as this user.
bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer &&
           peer.uid == ::getuid();
}

}  // namespace

fs::path SingleInstance::basePath(const fs::path& dataFolder) { return instance::basePath(dataFolder); }

bool SingleInstance::claim(const fs::path& dataFolder) {
    if (lockFd_ >= 0) return true;
    const fs::path base = basePath(dataFolder);
    // Without a private runtime folder nothing can be shared safely: the program
    // runs, alone or not, rather than not at all.
    if (base.empty()) return true;

    lockPath_ = lockPath(base);
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
    socketPath_ = socketPath(base);
    sockaddr_un addr{};
    if (!makeAddress(socketPath_, addr)) {
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
    if (!readLine(client, line, 1000, kMaxRequestLine)) {
        // Older copies send the show request without waiting for a line end.
        if (line + "\n" != kShowRequest) return;
    }
    if (line + "\n" == kShowRequest || line + "\n" == kReloadRequest) {
        requests_.deliver(line + "\n" == kShowRequest ? ShowRequestRelay::kShow : ShowRequestRelay::kReloadAppProfiles);
        sendAll(client, kAnswer);
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
    sendAll(client, answer + "\n");
}

void SingleInstance::setControlHandler(ControlHandler handler) {
    std::lock_guard lock(controlMutex_);
    control_ = std::move(handler);
    controlSet_.notify_all();
}

std::optional<std::string> SingleInstance::sendControlRequest(const fs::path& dataFolder, const std::string& request,
                                                              std::chrono::milliseconds timeout) {
    return posix::sendControlRequest(dataFolder, request, timeout);
}

void SingleInstance::setTarget(HWND target, UINT message) { requests_.setTarget(target, message); }

void SingleInstance::setHandler(std::function<void()> handler) { requests_.setHandler(std::move(handler)); }

void SingleInstance::setRequestHandler(std::function<void(WPARAM)> handler) {
    requests_.setRequestHandler(std::move(handler));
}

bool SingleInstance::signalReloadAppProfiles(const fs::path& dataFolder) {
    return posix::signalReloadAppProfiles(dataFolder);
}

bool SingleInstance::signalFirst(const fs::path& dataFolder) { return signalFirstCopy(dataFolder); }

}  // namespace zavrin::posix
