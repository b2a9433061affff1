#include "platform/posix/InstanceProtocol.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zavrin::posix::instance {

namespace {

namespace fs = std::filesystem;

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

}  // namespace

fs::path basePath(const fs::path& dataFolder) {
    const fs::path runtime = RuntimeFolder();
    if (runtime.empty()) return {};
    char name[32];
    std::snprintf(name, sizeof name, "zavrin-%016llx",
                  static_cast<unsigned long long>(Fnv1a64(CanonicalFolder(dataFolder).string())));
    return runtime / name;
}

bool lockHeld(const fs::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool held = false;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        held = (errno == EWOULDBLOCK);
    else
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return held;
}

bool makeAddress(const fs::path& socketFile, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    const std::string s = socketFile.string();
    if (s.empty() || s.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, s.c_str(), s.size() + 1);
    return true;
}

bool waitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        return r > 0;
    }
}

bool readLine(int fd, std::string& line, int waitMs, std::size_t limit) {
    line.clear();
    char buf[4096];
    while (waitReadable(fd, waitMs)) {
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

bool sendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace zavrin::posix::instance
