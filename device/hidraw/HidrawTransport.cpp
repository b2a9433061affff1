#include "device/hidraw/HidrawTransport.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "device/ReportDescriptor.h"

namespace zavrin {

namespace {

constexpr std::string_view kNodePrefix = "hidraw";

// The number of a "hidrawN" name, or -1.
int nodeNumber(const std::string& name) {
    if (name.rfind(kNodePrefix, 0) != 0 || name.size() == kNodePrefix.size()) return -1;
    int n = 0;
    for (std::size_t i = kNodePrefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        n = n * 10 + (name[i] - '0');
        if (n > 1000000) return -1;
    }
    return n;
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<HidInterfaceInfo> interfacesOf(const std::string& path, std::uint16_t vendor, std::uint16_t product,
                                           std::span<const std::uint8_t> descriptor) {
    std::vector<HidInterfaceInfo> list;
    const std::vector<CollectionCaps> collections = parseReportDescriptor(descriptor);
    for (std::size_t c = 0; c < collections.size(); ++c) {
        HidInterfaceInfo info;
        info.path = path;
        info.collection = static_cast<int>(c);
        info.vendorId = vendor;
        info.productId = product;
        info.usagePage = collections[c].usagePage;
        info.inputReportLength = collections[c].inputReportLength;
        info.featureReportLength = collections[c].featureReportLength;
        list.push_back(info);
    }
    return list;
}

class HidrawHandle final : public HidHandle {
public:
    HidrawHandle(int fd, int wakeFd, HidInterfaceInfo info) : fd_(fd), wakeFd_(wakeFd), info_(std::move(info)) {}
    ~HidrawHandle() override {
        ::close(fd_);
        ::close(wakeFd_);
    }

    const HidInterfaceInfo& info() const override { return info_; }

    bool setFeature(std::span<const std::uint8_t> report) override {
        std::vector<std::uint8_t> copy(report.begin(), report.end());
        return ::ioctl(fd_, HIDIOCSFEATURE(copy.size()), copy.data()) >= 0;
    }

    bool getFeature(std::span<std::uint8_t> buffer) override {
        return ::ioctl(fd_, HIDIOCGFEATURE(buffer.size()), buffer.data()) >= 0;
    }

    std::optional<std::size_t> readInput(std::span<std::uint8_t> buffer) override {
        for (;;) {
            std::array<pollfd, 2> fds{pollfd{fd_, POLLIN, 0}, pollfd{wakeFd_, POLLIN, 0}};
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                return std::nullopt;
            }
            if (fds[1].revents != 0) return std::nullopt;  // interrupted
            // A device that went away still hands out the reports it queued
            // before (POLLIN beside POLLHUP); only a hang-up alone ends the reader.
            if (!(fds[0].revents & POLLIN)) {
                if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return std::nullopt;  // device gone
                continue;
            }
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return std::nullopt;
            return static_cast<std::size_t>(n);
        }
    }

    void interruptRead() override {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    }

private:
    int fd_;
    int wakeFd_;
    HidInterfaceInfo info_;
};

}  // namespace

bool parseHidId(std::string_view uevent, std::uint16_t& vendorId, std::uint16_t& productId) {
    constexpr std::string_view key = "HID_ID=";
    const std::size_t at = uevent.find(key);
    if (at == std::string_view::npos) return false;
    unsigned bus = 0;
    unsigned long vendor = 0;
    unsigned long product = 0;
    const std::string line(uevent.substr(at + key.size(), uevent.find('\n', at) - at - key.size()));
    if (std::sscanf(line.c_str(), "%x:%lx:%lx", &bus, &vendor, &product) != 3) return false;
    vendorId = static_cast<std::uint16_t>(vendor & 0xFFFF);
    productId = static_cast<std::uint16_t>(product & 0xFFFF);
    return true;
}

HidrawTransport::HidrawTransport(std::filesystem::path devFolder, std::filesystem::path sysClassFolder)
    : devFolder_(std::move(devFolder)), sysFolder_(std::move(sysClassFolder)) {}

HidrawTransport::~HidrawTransport() { stopWatching(); }

std::vector<HidInterfaceInfo> HidrawTransport::enumerate() {
    std::vector<std::pair<int, std::string>> nodes;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(sysFolder_, ec)) {
        const std::string name = entry.path().filename().string();
        const int n = nodeNumber(name);
        if (n >= 0) nodes.emplace_back(n, name);
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<HidInterfaceInfo> list;
    for (const auto& [n, name] : nodes) {
        const std::filesystem::path device = sysFolder_ / name / "device";
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
        if (!parseHidId(readWholeFile(device / "uevent"), vendor, product)) continue;
        const std::string descriptor = readWholeFile(device / "report_descriptor");
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(descriptor.data()),
                                                  descriptor.size());
        for (HidInterfaceInfo& info : interfacesOf((devFolder_ / name).string(), vendor, product, bytes)) {
            list.push_back(std::move(info));
        }
    }
    return list;
}

std::unique_ptr<HidHandle> HidrawTransport::open(const HidInterfaceInfo& where) {
    const int fd = ::open(where.path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    hidraw_devinfo devinfo{};
    int descriptorSize = 0;
    hidraw_report_descriptor descriptor{};
    // HIDIOCGRDESC refuses to copy more than HID_MAX_DESCRIPTOR_SIZE - 1 bytes, so a
    // longer descriptor cannot be read whole; such a device is refused here.
    if (::ioctl(fd, HIDIOCGRAWINFO, &devinfo) < 0 || ::ioctl(fd, HIDIOCGRDESCSIZE, &descriptorSize) < 0 ||
        descriptorSize < 0 || descriptorSize > HID_MAX_DESCRIPTOR_SIZE - 1) {
        ::close(fd);
        return nullptr;
    }
    descriptor.size = static_cast<std::uint32_t>(descriptorSize);
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) < 0) {
        ::close(fd);
        return nullptr;
    }
    // Identity and capabilities come from the node itself, so a node that changed
    // hands since the enumeration is recognised as a different device.
    const auto interfaces =
        interfacesOf(where.path, static_cast<std::uint16_t>(devinfo.vendor), static_cast<std::uint16_t>(devinfo.product),
                     std::span<const std::uint8_t>(descriptor.value, descriptor.size));
    HidInterfaceInfo info;
    info.path = where.path;
    info.vendorId = static_cast<std::uint16_t>(devinfo.vendor);
    info.productId = static_cast<std::uint16_t>(devinfo.product);
    if (where.collection >= 0 && where.collection < static_cast<int>(interfaces.size())) {
        info = interfaces[static_cast<std::size_t>(where.collection)];
    }
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<HidrawHandle>(fd, wake, info);
}

void HidrawTransport::watchDeviceChanges(DeviceEventSink* sink) {
    stopWatching();
    if (!sink) return;
    const int inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotify < 0) return;
    if (::inotify_add_watch(inotify, devFolder_.c_str(), IN_CREATE | IN_DELETE | IN_ATTRIB) < 0) {
        ::close(inotify);
        return;
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int wake = wakeFd_;
    watcher_ = std::thread([inotify, wake, sink] {
        alignas(inotify_event) std::array<char, 4096> buffer{};
        for (;;) {
            std::array<pollfd, 2> fds{pollfd{inotify, POLLIN, 0}, pollfd{wake, POLLIN, 0}};
            if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
            if (fds[1].revents != 0) break;
            const ssize_t n = ::read(inotify, buffer.data(), buffer.size());
            for (ssize_t at = 0; n > 0 && at < n;) {
                inotify_event event{};
                std::memcpy(&event, buffer.data() + at, sizeof event);
                const std::string name = event.len > 0 ? std::string(buffer.data() + at + sizeof event) : std::string();
                at += static_cast<ssize_t>(sizeof event + event.len);
                if (nodeNumber(name) < 0) continue;
                // A new node becomes usable when udev has set its rights, hence IN_ATTRIB.
                sink->postDeviceChange((event.mask & IN_DELETE) ? DeviceChange::Removal : DeviceChange::Arrival);
            }
        }
        ::close(inotify);
    });
}

void HidrawTransport::stopWatching() {
    if (!watcher_.joinable()) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    watcher_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
}

}  // namespace zavrin
