#include "FakeHidraw.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

// The kernel copies at most this much of a report descriptor (HIDIOCGRDESC
// refuses a larger request).
constexpr std::uint32_t kLargestDescriptorRequest = HID_MAX_DESCRIPTOR_SIZE - 1;
constexpr std::string_view kSysPrefix = "/sys/class/hidraw";
constexpr std::string_view kDevPrefix = "/dev/hidraw";

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct Real {
    using Open = int (*)(const char*, int, ...);
    using OpenAt = int (*)(int, const char*, int, ...);
    using FOpen = FILE* (*)(const char*, const char*);
    using OpenDir = DIR* (*)(const char*);
    using Close = int (*)(int);
    using Read = ssize_t (*)(int, void*, size_t);
    using Poll = int (*)(pollfd*, nfds_t, int);
    using Ioctl = int (*)(int, unsigned long, ...);
    using AddWatch = int (*)(int, const char*, std::uint32_t);

    Open open = real<Open>("open");
    Open open64 = real<Open>("open64");
    OpenAt openat = real<OpenAt>("openat");
    FOpen fopen = real<FOpen>("fopen");
    FOpen fopen64 = real<FOpen>("fopen64");
    OpenDir opendir = real<OpenDir>("opendir");
    Close close = real<Close>("close");
    Read read = real<Read>("read");
    Poll poll = real<Poll>("poll");
    Ioctl ioctl = real<Ioctl>("ioctl");
    AddWatch addWatch = real<AddWatch>("inotify_add_watch");
};

const Real& libc() {
    static const Real functions;
    return functions;
}

struct Node {
    std::uint16_t bus = 0;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::vector<std::uint8_t> descriptor;
    FakeHidrawDevice device{};
    bool gone = false;
    std::vector<int> opens;  // descriptors the program holds
};

struct OpenFile {
    int node = -1;
    int peer = -1;  // the double's end of the pair; input reports are sent here
};

struct Double {
    std::mutex mutex;
    std::condition_variable changed;
    std::string root;
    std::map<int, Node> nodes;
    std::map<int, OpenFile> files;
    int refused = 0;
};

Double& fake() {
    static Double d;
    return d;
}

bool started() {
    std::lock_guard lock(fake().mutex);
    return !fake().root.empty();
}

// The fake tree's path for a path of the real sysfs class folder, or the path itself.
std::string redirected(const char* path) {
    if (path == nullptr) return {};
    const std::string_view p(path);
    if (p.rfind(kSysPrefix, 0) != 0 || !started()) return std::string(p);
    std::lock_guard lock(fake().mutex);
    return fake().root + "/sys/class/hidraw" + std::string(p.substr(kSysPrefix.size()));
}

// The node number of "/dev/hidrawN", or -1.
int devNode(const char* path) {
    if (path == nullptr || !started()) return -1;
    const std::string_view p(path);
    if (p.rfind(kDevPrefix, 0) != 0 || p.size() == kDevPrefix.size()) return -1;
    int n = 0;
    for (char c : p.substr(kDevPrefix.size())) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

int openNode(int number, int flags) {
    Double& d = fake();
    std::lock_guard lock(d.mutex);
    auto it = d.nodes.find(number);
    if (it == d.nodes.end() || it->second.gone) {
        errno = ENOENT;
        return -1;
    }
    int pair[2];
    const int cloexec = (flags & O_CLOEXEC) ? SOCK_CLOEXEC : 0;
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | cloexec, 0, pair) < 0) return -1;
    d.files[pair[0]] = OpenFile{number, pair[1]};
    it->second.opens.push_back(pair[0]);
    d.changed.notify_all();
    return pair[0];
}

// Whether a report waits on the program's end of the pair.
bool reportQueued(int fd) {
    char byte = 0;
    return ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

int fail(int error) {
    errno = error;
    return -1;
}

int nodeIoctl(int fd, unsigned long request, void* arg) {
    Double& d = fake();
    std::unique_lock lock(d.mutex);
    const OpenFile file = d.files[fd];
    auto it = d.nodes.find(file.node);
    if (it == d.nodes.end() || it->second.gone) return fail(ENODEV);
    Node& node = it->second;
    if (_IOC_TYPE(request) != 'H') return fail(ENOTTY);
    switch (_IOC_NR(request)) {
    case _IOC_NR(HIDIOCGRDESCSIZE):
        *static_cast<int*>(arg) = static_cast<int>(node.descriptor.size());
        return 0;
    case _IOC_NR(HIDIOCGRDESC): {
        auto* request = static_cast<hidraw_report_descriptor*>(arg);
        if (request->size > kLargestDescriptorRequest) {
            ++d.refused;
            return fail(EINVAL);
        }
        const std::size_t n = std::min<std::size_t>(request->size, node.descriptor.size());
        std::memcpy(request->value, node.descriptor.data(), n);
        return 0;
    }
    case _IOC_NR(HIDIOCGRAWINFO): {
        auto* info = static_cast<hidraw_devinfo*>(arg);
        info->bustype = node.bus;
        info->vendor = static_cast<std::int16_t>(node.vendor);
        info->product = static_cast<std::int16_t>(node.product);
        return 0;
    }
    case 0x06:    // HIDIOCSFEATURE(len)
    case 0x07: {  // HIDIOCGFEATURE(len)
        const std::size_t length = _IOC_SIZE(request);
        // The report number is byte 0 and counts towards the length, so a
        // transfer of fewer than two bytes carries no report at all.
        if (length < 2) {
            ++d.refused;
            return fail(EINVAL);
        }
        const FakeHidrawDevice device = node.device;
        lock.unlock();  // the device may remove its node while answering
        const int result = _IOC_NR(request) == 0x06
                               ? device.setFeature(device.context, static_cast<const std::uint8_t*>(arg), length)
                               : device.getFeature(device.context, static_cast<std::uint8_t*>(arg), length);
        return result < 0 ? fail(-result) : result;
    }
    default:
        return fail(EINVAL);
    }
}

bool isNodeFile(int fd) {
    std::lock_guard lock(fake().mutex);
    return fake().files.count(fd) != 0;
}

bool nodeGone(int fd) {
    Double& d = fake();
    std::lock_guard lock(d.mutex);
    auto file = d.files.find(fd);
    if (file == d.files.end()) return false;
    auto node = d.nodes.find(file->second.node);
    return node == d.nodes.end() || node->second.gone;
}

void writeFile(const std::filesystem::path& path, const void* data, std::size_t length) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(length));
}

}  // namespace

extern "C" {

// ---- The interposed C library functions ------------------------------------------

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (const int n = devNode(path); n >= 0) return openNode(n, flags);
    return libc().open(redirected(path).c_str(), flags, mode);
}

int open64(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (const int n = devNode(path); n >= 0) return openNode(n, flags);
    return libc().open64(redirected(path).c_str(), flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (const int n = devNode(path); n >= 0) return openNode(n, flags);
    return libc().openat(dir, redirected(path).c_str(), flags, mode);
}

FILE* fopen(const char* path, const char* mode) { return libc().fopen(redirected(path).c_str(), mode); }
FILE* fopen64(const char* path, const char* mode) { return libc().fopen64(redirected(path).c_str(), mode); }
DIR* opendir(const char* path) { return libc().opendir(redirected(path).c_str()); }

int inotify_add_watch(int fd, const char* path, std::uint32_t mask) {
    if (path != nullptr && std::string_view(path) == "/dev" && started()) {
        std::string dev;
        {
            std::lock_guard lock(fake().mutex);
            dev = fake().root + "/dev";
        }
        return libc().addWatch(fd, dev.c_str(), mask);
    }
    return libc().addWatch(fd, path, mask);
}

int close(int fd) {
    {
        Double& d = fake();
        std::lock_guard lock(d.mutex);
        auto file = d.files.find(fd);
        if (file != d.files.end()) {
            if (file->second.peer >= 0) libc().close(file->second.peer);
            auto node = d.nodes.find(file->second.node);
            if (node != d.nodes.end()) std::erase(node->second.opens, fd);
            d.files.erase(file);
        }
    }
    return libc().close(fd);
}

ssize_t read(int fd, void* buffer, size_t length) {
    const ssize_t n = libc().read(fd, buffer, length);
    // The pair's end of file is the device gone with nothing left to read.
    if (n == 0 && isNodeFile(fd)) return fail(EIO);
    return n;
}

int poll(pollfd* fds, nfds_t count, int timeout) {
    const int ready = libc().poll(fds, count, timeout);
    if (ready <= 0) return ready;
    for (nfds_t i = 0; i < count; ++i) {
        if (fds[i].revents == 0 || !nodeGone(fds[i].fd)) continue;
        // A vanished hidraw device: hang-up and error, readable only while
        // reports are still queued.
        fds[i].revents = static_cast<short>(POLLHUP | POLLERR | (reportQueued(fds[i].fd) ? POLLIN : 0));
    }
    return ready;
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if (isNodeFile(fd)) return nodeIoctl(fd, request, arg);
    return libc().ioctl(fd, request, arg);
}

// ---- The test's side ---------------------------------------------------------------

void fake_hidraw_start(const char* root) {
    std::filesystem::create_directories(std::filesystem::path(root) / "sys" / "class" / "hidraw");
    std::filesystem::create_directories(std::filesystem::path(root) / "dev");
    std::lock_guard lock(fake().mutex);
    fake().root = root;
}

bool fake_hidraw_active() {
    return dlsym(RTLD_DEFAULT, "ioctl") == reinterpret_cast<void*>(&ioctl);
}

void fake_hidraw_add(int number, std::uint16_t bus, std::uint16_t vendor, std::uint16_t product,
                     const std::uint8_t* descriptor, std::size_t descriptorLength, FakeHidrawDevice device) {
    std::string root;
    {
        std::lock_guard lock(fake().mutex);
        root = fake().root;
        Node& node = fake().nodes[number];
        node = Node{};
        node.bus = bus;
        node.vendor = vendor;
        node.product = product;
        node.descriptor.assign(descriptor, descriptor + descriptorLength);
        node.device = device;
    }
    const std::string name = "hidraw" + std::to_string(number);
    const auto sys = std::filesystem::path(root) / "sys" / "class" / "hidraw" / name / "device";
    std::filesystem::create_directories(sys);
    char uevent[128];
    const int n = std::snprintf(uevent, sizeof uevent, "DRIVER=hid-generic\nHID_ID=%04X:%08X:%08X\nHID_NAME=fake\n",
                                bus, vendor, product);
    writeFile(sys / "uevent", uevent, static_cast<std::size_t>(n));
    writeFile(sys / "report_descriptor", descriptor, descriptorLength);
    // The node appears last, as udev makes it usable after the kernel announced it.
    writeFile(std::filesystem::path(root) / "dev" / name, "", 0);
}

void fake_hidraw_remove(int number) {
    std::string root;
    {
        Double& d = fake();
        std::lock_guard lock(d.mutex);
        auto it = d.nodes.find(number);
        if (it == d.nodes.end() || it->second.gone) return;
        it->second.gone = true;
        root = d.root;
        // Closing the double's ends wakes every blocked poll and read; what is
        // queued stays readable.
        for (int fd : it->second.opens) {
            OpenFile& file = d.files[fd];
            if (file.peer >= 0) libc().close(file.peer);
            file.peer = -1;
        }
    }
    const std::string name = "hidraw" + std::to_string(number);
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(root) / "dev" / name, ec);
    std::filesystem::remove_all(std::filesystem::path(root) / "sys" / "class" / "hidraw" / name, ec);
}

void fake_hidraw_input(int number, const std::uint8_t* report, std::size_t length) {
    Double& d = fake();
    std::lock_guard lock(d.mutex);
    auto it = d.nodes.find(number);
    if (it == d.nodes.end() || it->second.gone) return;
    for (int fd : it->second.opens) {
        const int peer = d.files[fd].peer;
        if (peer >= 0) ::send(peer, report, length, MSG_DONTWAIT | MSG_NOSIGNAL);
    }
}

bool fake_hidraw_wait_open(int number, int count, int timeoutMs) {
    Double& d = fake();
    std::unique_lock lock(d.mutex);
    return d.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        auto it = d.nodes.find(number);
        return it != d.nodes.end() && static_cast<int>(it->second.opens.size()) >= count;
    });
}

int fake_hidraw_refused_calls() {
    std::lock_guard lock(fake().mutex);
    return fake().refused;
}

}  // extern "C"
