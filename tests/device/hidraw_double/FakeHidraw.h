#pragma once

// A test double of the Linux hidraw interface, loaded ahead of the C library
// (linked into a test, or with LD_PRELOAD) so that the real hidraw backend runs
// unchanged against fake devices:
//
// - /sys/class/hidraw is redirected to a tree the double writes under its root,
//   laid out as the kernel's (the HID device under sys/devices with its uevent
//   and report_descriptor, the hidraw node below it with uevent, dev and
//   subsystem, the class entry a link to it); /dev is listed and watched through
//   the root's dev folder, where each node has a marker file while it exists;
// - open("/dev/hidrawN") gives a descriptor the double answers as the kernel's
//   hidraw driver does (Documentation/hid/hidraw.rst): HIDIOCGRDESCSIZE,
//   HIDIOCGRDESC (refused above 4095 bytes), HIDIOCGRAWINFO, HIDIOCSFEATURE and
//   HIDIOCGFEATURE with the report number in byte 0 and lengths that include
//   it; read() gives one input report per call, each open descriptor its own
//   queue of the reports that arrived after it was opened; when the device goes,
//   queued reports are still read first, then read() fails with EIO, poll()
//   reports POLLHUP | POLLERR and every ioctl fails with ENODEV.
//
// The devices behind the nodes are given by the test as callbacks, in the same
// process, or in a host process that serves them (fake_hidraw_serve) to
// clients: processes started with the double preloaded and FAKE_HIDRAW_HOST
// (the host's socket) and FAKE_HIDRAW_ROOT (its root) set. A client has the
// root's sys folder mounted over /sys (libraries such as libudev resolve and
// check sysfs paths themselves), opens nodes over two connections to the host
// (input reports, and the ioctls it carries out) and sees the same rules.

#include <cstddef>
#include <cstdint>

extern "C" {

struct FakeHidrawDevice {
    void* context;
    // Both return the number of bytes transferred, or a negative errno.
    int (*setFeature)(void* context, const std::uint8_t* report, std::size_t length);
    int (*getFeature)(void* context, std::uint8_t* buffer, std::size_t length);
};

// Starts the double with `root` as the folder of its fake sysfs and dev trees.
void fake_hidraw_start(const char* root);
// Serves the nodes to client processes on the Unix socket `socketPath`.
bool fake_hidraw_serve(const char* socketPath);
// Whether the double is loaded ahead of the C library (false: the functions
// below are those of a copy that intercepts nothing).
bool fake_hidraw_active();

// Adds node hidraw`number` with the given identity and report descriptor.
void fake_hidraw_add(int number, std::uint16_t bus, std::uint16_t vendor, std::uint16_t product,
                     const std::uint8_t* descriptor, std::size_t descriptorLength, FakeHidrawDevice device);
// The device is gone: the node's marker and sysfs entry disappear, open
// descriptors see the rules above.
void fake_hidraw_remove(int number);
// An input report from the device, given to every descriptor open on the node.
void fake_hidraw_input(int number, const std::uint8_t* report, std::size_t length);
// Waits until at least `count` descriptors are open on the node.
bool fake_hidraw_wait_open(int number, int count, int timeoutMs);
// Calls the kernel would have refused with EINVAL (a descriptor request above
// its limit, a feature transfer without a report number).
int fake_hidraw_refused_calls();
}
