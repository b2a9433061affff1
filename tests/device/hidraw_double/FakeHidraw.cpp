#include "FakeHidraw.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// The kernel copies at most this much of a report descriptor (HIDIOCGRDESC
// refuses a larger request).
constexpr std::uint32_t kLargestDescriptorRequest = HID_MAX_DESCRIPTOR_SIZE - 1;
constexpr std::string_view kSysPrefix = "/sys/class/hidraw";
constexpr std::string_view kDevPrefix = "/dev/hidraw";
// The character device major the kernel gave hidraw on this fake machine.
constexpr int kHidrawMajor = 241;

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
    std::string name;  // HID_NAME, as HIDIOCGRAWNAME gives it
    std::string phys;  // HID_PHYS
    bool gone = false;
    std::vector<int> opens;  // descriptors the program holds
};

struct OpenFile {
    int node = -1;
    int peer = -1;      // the double's end of the pair; input reports are sent here
    int control = -1;   // in a client: the connection the node's ioctls go over
    bool hosted = false;  // in the host: a client's connection, shut down (not closed) when the node goes
};

struct Double {
    Double() {
        // A client of a host in another process (see fake_hidraw_serve): the
        // process was started with the double preloaded and these two set.
        const char* host = std::getenv("FAKE_HIDRAW_HOST");
        const char* root = std::getenv("FAKE_HIDRAW_ROOT");
        if (host != nullptr && root != nullptr) {
            hostSocket = host;
            this->root = root;
        }
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::string root;
    std::string hostSocket;  // set in a client only
    std::mutex clientCalls;  // one ioctl at a time per client process
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

// Whether the nodes are answered by a host process (the sysfs tree is then
// mounted over /sys, as the libraries that check for sysfs need it).
bool isClient() { return !fake().hostSocket.empty(); }

// The fake tree's path for a path of the real sysfs class folder, or the path itself.
std::string redirected(const char* path) {
    if (path == nullptr) return {};
    const std::string_view p(path);
    if (p.rfind(kSysPrefix, 0) != 0 || !started() || isClient()) return std::string(p);
    std::lock_guard lock(fake().mutex);
    return fake().root + "/sys/class/hidraw" + std::string(p.substr(kSysPrefix.size()));
}

// The fake tree's dev folder for "/dev", or the path itself.
std::string redirectedDev(const char* path) {
    if (std::string_view(path) != "/dev" || !started()) return path;
    std::lock_guard lock(fake().mutex);
    return fake().root + "/dev";
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

int fail(int error) {
    errno = error;
    return -1;
}

// A connection to the host of the nodes, announced with `kind` ('D' the
// node's input reports, 'C' its ioctls) and the node number; -1 with errno
// set if the host refuses it (no such node).
int connectHost(char kind, int number, int flags) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", fake().hostSocket.c_str());
    const int cloexec = (flags & O_CLOEXEC) ? SOCK_CLOEXEC : 0;
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | cloexec, 0);
    if (fd < 0) return -1;
    char hello[16];
    const int n = std::snprintf(hello, sizeof hello, "%c%d", kind, number);
    char answer = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 ||
        ::send(fd, hello, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n || ::recv(fd, &answer, 1, 0) != 1 ||
        answer != 'y') {
        libc().close(fd);
        return fail(ENOENT);
    }
    return fd;
}

int openRemoteNode(int number, int flags) {
    const int data = connectHost('D', number, flags);
    if (data < 0) return -1;
    const int control = connectHost('C', number, flags);
    if (control < 0) {
        libc().close(data);
        return -1;
    }
    if (flags & O_NONBLOCK) ::fcntl(data, F_SETFL, O_NONBLOCK);
    std::lock_guard lock(fake().mutex);
    fake().files[data] = OpenFile{number, -1, control, false};
    return data;
}

int openNode(int number, int flags) {
    if (isClient()) return openRemoteNode(number, flags);
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

// Copies a string property as the kernel does: at most `length` bytes with
// its terminating zero, returning the number copied.
int copyString(const std::string& text, std::size_t length, void* arg) {
    const std::size_t n = std::min(length, text.size() + 1);
    std::memcpy(arg, text.c_str(), n);
    return static_cast<int>(n);
}

int nodeIoctl(int number, unsigned long request, void* arg) {
    Double& d = fake();
    std::unique_lock lock(d.mutex);
    auto it = d.nodes.find(number);
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
    case 0x04:  // HIDIOCGRAWNAME(len)
        return copyString(node.name, _IOC_SIZE(request), arg);
    case 0x05:  // HIDIOCGRAWPHYS(len)
        return copyString(node.phys, _IOC_SIZE(request), arg);
    case 0x08:  // HIDIOCGRAWUNIQ(len)
        return copyString("", _IOC_SIZE(request), arg);
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

// Whether `fd` is a node whose device went away; `revents` is what poll saw.
bool nodeGone(int fd, short revents) {
    Double& d = fake();
    std::lock_guard lock(d.mutex);
    auto file = d.files.find(fd);
    if (file == d.files.end()) return false;
    // A client learns it from the host's hang-up of the node's connection.
    if (file->second.control >= 0) return (revents & POLLHUP) != 0;
    auto node = d.nodes.find(file->second.node);
    return node == d.nodes.end() || node->second.gone;
}

// The largest ioctl argument a client forwards: a report descriptor request.
constexpr std::size_t kLargestArgument = sizeof(hidraw_report_descriptor);

// A call message: the request, then its argument (_IOC_SIZE bytes). The answer:
// the result, errno, then the argument as the call left it.
struct CallHeader {
    std::uint64_t request;
};
struct AnswerHeader {
    std::int32_t result;
    std::int32_t error;
};

// An ioctl of a client's node, carried out by the host.
int remoteIoctl(int control, unsigned long request, void* arg) {
    const std::size_t size = _IOC_SIZE(request);
    if (_IOC_TYPE(request) != 'H') return fail(ENOTTY);
    if (size > kLargestArgument) return fail(EINVAL);
    std::vector<char> message(sizeof(CallHeader) + size);
    const CallHeader call{request};
    std::memcpy(message.data(), &call, sizeof call);
    if (size > 0) std::memcpy(message.data() + sizeof call, arg, size);
    std::vector<char> answer(sizeof(AnswerHeader) + size);
    std::lock_guard lock(fake().clientCalls);
    if (::send(control, message.data(), message.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(message.size()) ||
        ::recv(control, answer.data(), answer.size(), 0) != static_cast<ssize_t>(answer.size())) {
        return fail(ENODEV);  // the host is gone, and the device with it
    }
    AnswerHeader header{};
    std::memcpy(&header, answer.data(), sizeof header);
    if (size > 0) std::memcpy(arg, answer.data() + sizeof header, size);
    return header.result < 0 ? fail(header.error) : header.result;
}

// ---- The host's side of a client's connections -------------------------------------

// Carries out the ioctls of one client's node until the client closes.
void answerCalls(int connection, int number) {
    std::vector<char> message(sizeof(CallHeader) + kLargestArgument);
    for (;;) {
        const ssize_t n = ::recv(connection, message.data(), message.size(), 0);
        if (n < static_cast<ssize_t>(sizeof(CallHeader))) break;
        CallHeader call{};
        std::memcpy(&call, message.data(), sizeof call);
        const std::size_t size = std::min<std::size_t>(_IOC_SIZE(call.request), n - sizeof call);
        std::vector<char> answer(sizeof(AnswerHeader) + _IOC_SIZE(call.request));
        std::memcpy(answer.data() + sizeof(AnswerHeader), message.data() + sizeof call, size);
        errno = 0;
        const int result = nodeIoctl(number, call.request, answer.data() + sizeof(AnswerHeader));
        const AnswerHeader header{result, result < 0 ? errno : 0};
        std::memcpy(answer.data(), &header, sizeof header);
        if (::send(connection, answer.data(), answer.size(), MSG_NOSIGNAL) < 0) break;
    }
    libc().close(connection);
}

// Registers a client's connection as an open descriptor of the node, so that
// input reports go to it, and waits until the client closes it.
void carryReports(int connection, int number) {
    Double& d = fake();
    {
        std::lock_guard lock(d.mutex);
        auto it = d.nodes.find(number);
        const bool open = it != d.nodes.end() && !it->second.gone;
        // The answer goes before any report, under the lock that sending reports takes.
        if (::send(connection, open ? "y" : "n", 1, MSG_NOSIGNAL) != 1 || !open) {
            libc().close(connection);
            return;
        }
        d.files[connection] = OpenFile{number, connection, -1, true};
        it->second.opens.push_back(connection);
        d.changed.notify_all();
    }
    char byte = 0;
    while (::recv(connection, &byte, 1, 0) > 0) {
    }
    {
        std::lock_guard lock(d.mutex);
        auto node = d.nodes.find(number);
        if (node != d.nodes.end()) std::erase(node->second.opens, connection);
        d.files.erase(connection);
        d.changed.notify_all();
    }
    libc().close(connection);
}

void serveConnection(int connection) {
    char hello[16] = {};
    const ssize_t n = ::recv(connection, hello, sizeof hello - 1, 0);
    const int number = n > 1 ? std::atoi(hello + 1) : -1;
    if (n > 1 && hello[0] == 'D') {
        carryReports(connection, number);
    } else if (n > 1 && hello[0] == 'C') {
        bool known = false;
        {
            std::lock_guard lock(fake().mutex);
            known = fake().nodes.count(number) != 0;
        }
        if (::send(connection, known ? "y" : "n", 1, MSG_NOSIGNAL) == 1 && known) {
            answerCalls(connection, number);
            return;
        }
        libc().close(connection);
    } else {
        libc().close(connection);
    }
}

// Takes node `number`'s dev marker and sysfs entries away.
void removeTree(const std::string& root, int number) {
    namespace fs = std::filesystem;
    const std::string name = "hidraw" + std::to_string(number);
    std::error_code ec;
    fs::remove(fs::path(root) / "dev" / name, ec);
    const fs::path entry = fs::path(root) / "sys" / "class" / "hidraw" / name;
    const fs::path hid = fs::weakly_canonical(entry / "device", ec);
    fs::remove(entry, ec);
    if (!ec && hid.filename().string().find('.') != std::string::npos) fs::remove_all(hid, ec);
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
DIR* opendir(const char* path) {
    if (std::string_view(path) == "/dev") return libc().opendir(redirectedDev(path).c_str());
    return libc().opendir(redirected(path).c_str());
}

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
            if (file->second.peer >= 0 && !file->second.hosted) libc().close(file->second.peer);
            if (file->second.control >= 0) libc().close(file->second.control);
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
        if (fds[i].revents == 0 || !nodeGone(fds[i].fd, fds[i].revents)) continue;
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
    int control = -1;
    int number = -1;
    {
        std::lock_guard lock(fake().mutex);
        auto file = fake().files.find(fd);
        if (file != fake().files.end()) {
            control = file->second.control;
            number = file->second.node;
        }
    }
    if (control >= 0) return remoteIoctl(control, request, arg);
    if (number >= 0) return nodeIoctl(number, request, arg);
    return libc().ioctl(fd, request, arg);
}

// ---- The test's side ---------------------------------------------------------------

void fake_hidraw_start(const char* root) {
    std::filesystem::create_directories(std::filesystem::path(root) / "sys" / "class" / "hidraw");
    std::filesystem::create_directories(std::filesystem::path(root) / "dev");
    std::lock_guard lock(fake().mutex);
    fake().root = root;
}

bool fake_hidraw_serve(const char* socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::strlen(socketPath) >= sizeof address.sun_path) return false;
    std::strcpy(address.sun_path, socketPath);
    ::unlink(socketPath);
    const int listening = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (listening < 0 || ::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 ||
        ::listen(listening, 16) < 0) {
        return false;
    }
    std::thread([listening] {
        for (;;) {
            const int connection = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) {
                if (errno == EINTR) continue;
                return;
            }
            std::thread(serveConnection, connection).detach();
        }
    }).detach();
    return true;
}

bool fake_hidraw_active() {
    return dlsym(RTLD_DEFAULT, "ioctl") == reinterpret_cast<void*>(&ioctl);
}

void fake_hidraw_add(int number, std::uint16_t bus, std::uint16_t vendor, std::uint16_t product,
                     const std::uint8_t* descriptor, std::size_t descriptorLength, FakeHidrawDevice device) {
    namespace fs = std::filesystem;
    const std::string name = "hidraw" + std::to_string(number);
    char hidName[64];
    std::snprintf(hidName, sizeof hidName, "Fake %04X:%04X", vendor, product);
    // Each node its own USB interface, numbered by the node.
    const std::string phys = "usb-fake-1/input" + std::to_string(number % 10);
    std::string root;
    {
        std::lock_guard lock(fake().mutex);
        root = fake().root;
    }
    removeTree(root, number);  // a number given again replaces its device
    {
        std::lock_guard lock(fake().mutex);
        Node& node = fake().nodes[number];
        node = Node{};
        node.bus = bus;
        node.vendor = vendor;
        node.product = product;
        node.descriptor.assign(descriptor, descriptor + descriptorLength);
        node.device = device;
        node.name = hidName;
        node.phys = phys;
    }
    // The kernel's layout: the HID device under /sys/devices with its uevent and
    // report descriptor, its hidraw node below it, and the class entry a link to
    // that node. Links are relative, so the tree also works mounted over /sys.
    const fs::path sys = fs::path(root) / "sys";
    char hidDevice[32];
    std::snprintf(hidDevice, sizeof hidDevice, "%04X:%04X:%04X.%04X", bus, vendor, product, number);
    const fs::path hid = sys / "devices" / "virtual" / "fakehid" / hidDevice;
    const fs::path node = hid / "hidraw" / name;
    std::error_code ec;
    fs::create_directories(node);
    fs::create_directories(sys / "bus" / "hid");
    fs::create_directories(sys / "class" / "hidraw");
    char uevent[256];
    int n = std::snprintf(uevent, sizeof uevent,
                          "DRIVER=hid-generic\nHID_ID=%04X:%08X:%08X\nHID_NAME=%s\nHID_PHYS=%s\nHID_UNIQ=\n"
                          "MODALIAS=hid:b%04Xg0001v%08Xp%08X\n",
                          bus, vendor, product, hidName, phys.c_str(), bus, vendor, product);
    writeFile(hid / "uevent", uevent, static_cast<std::size_t>(n));
    writeFile(hid / "report_descriptor", descriptor, descriptorLength);
    fs::create_directory_symlink(fs::relative(sys / "bus" / "hid", hid), hid / "subsystem", ec);
    n = std::snprintf(uevent, sizeof uevent, "MAJOR=%d\nMINOR=%d\nDEVNAME=%s\n", kHidrawMajor, number, name.c_str());
    writeFile(node / "uevent", uevent, static_cast<std::size_t>(n));
    n = std::snprintf(uevent, sizeof uevent, "%d:%d\n", kHidrawMajor, number);
    writeFile(node / "dev", uevent, static_cast<std::size_t>(n));
    fs::create_directory_symlink(fs::relative(sys / "class" / "hidraw", node), node / "subsystem", ec);
    fs::create_directory_symlink(fs::relative(hid, node), node / "device", ec);
    fs::create_directory_symlink(fs::relative(node, sys / "class" / "hidraw"), sys / "class" / "hidraw" / name, ec);
    // The node appears last, as udev makes it usable after the kernel announced it.
    writeFile(fs::path(root) / "dev" / name, "", 0);
}

void fake_hidraw_remove(int number) {
    namespace fs = std::filesystem;
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
            // A client's connection stays open until its thread has seen the
            // hang-up, so that its number is not reused meanwhile.
            if (file.hosted && file.peer >= 0) ::shutdown(file.peer, SHUT_RDWR);
            else if (file.peer >= 0) libc().close(file.peer);
            file.peer = -1;
        }
    }
    removeTree(root, number);
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
