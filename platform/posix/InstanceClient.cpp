#include "platform/posix/InstanceClient.h"

#include <chrono>
#include <cstring>
#include <string_view>

#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/InstanceProtocol.h"

namespace zavrin::posix {

namespace {

namespace fs = std::filesystem;
using namespace instance;

// The first copy binds its socket right after taking the lock: a caller that
// finds the lock held but nobody listening gives it this long.
constexpr auto kBindWait = std::chrono::seconds(2);
constexpr useconds_t kRetryMicroseconds = 20 * 1000;

// One attempt to hand a request over. 1: answered; 0: nobody listens (yet);
// -1: connected but no answer.
int TryRequest(const fs::path& socketFile, std::string_view request) {
    sockaddr_un addr{};
    if (!makeAddress(socketFile, addr)) return 0;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    int result = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
        result = -1;
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size()) &&
            waitReadable(fd, 2000)) {
            char buf[8] = {};
            const ssize_t n = ::recv(fd, buf, sizeof buf - 1, 0);
            if (n > 0 && std::string_view(buf, static_cast<std::size_t>(n)).starts_with(kAnswer)) result = 1;
        }
    }
    ::close(fd);
    return result;
}

}  // namespace

bool signalFirstCopy(const fs::path& dataFolder) {
    const fs::path base = basePath(dataFolder);
    if (base.empty()) return false;
    // The first copy may hold the lock but not listen yet: retry while the
    // lock is held, for a while.
    const auto deadline = std::chrono::steady_clock::now() + kBindWait;
    for (;;) {
        const int r = TryRequest(socketPath(base), kShowRequest);
        if (r == 1) return true;
        if (r == -1) return false;
        if (!lockHeld(lockPath(base))) return false;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::usleep(kRetryMicroseconds);
    }
}

bool signalReloadAppProfiles(const fs::path& dataFolder) {
    const fs::path base = basePath(dataFolder);
    // One try: a copy that is only starting reads the rules itself.
    return !base.empty() && TryRequest(socketPath(base), kReloadRequest) == 1;
}

std::optional<std::string> sendControlRequest(const fs::path& dataFolder, const std::string& request,
                                              std::chrono::milliseconds timeout) {
    const fs::path base = basePath(dataFolder);
    if (base.empty()) return std::nullopt;
    if (!lockHeld(lockPath(base))) return std::nullopt;
    sockaddr_un addr{};
    if (!makeAddress(socketPath(base), addr)) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + kBindWait;
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return std::string();
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
            std::string answer;
            const bool answered = sendAll(fd, std::string(kControlPrefix) + request + "\n") &&
                                  readLine(fd, answer, static_cast<int>(timeout.count()), kMaxRequestLine);
            ::close(fd);
            return answered ? answer : std::string();
        }
        ::close(fd);
        if (!lockHeld(lockPath(base))) return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) return std::string();
        ::usleep(kRetryMicroseconds);
    }
}

}  // namespace zavrin::posix
