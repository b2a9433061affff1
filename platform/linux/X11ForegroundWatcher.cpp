#include "platform/linux/X11ForegroundWatcher.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace zavrin::linuxdesktop {

struct X11ForegroundWatcher::Connection {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t activeWindow = XCB_ATOM_NONE;
    xcb_atom_t wmPid = XCB_ATOM_NONE;

    ~Connection() {
        if (c != nullptr) xcb_disconnect(c);
    }

    xcb_atom_t atom(const char* name) const {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r != nullptr ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }

    // The bytes of a window property; empty when the window or property is gone.
    std::string property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 256), nullptr);
        std::string bytes;
        if (r != nullptr && r->type != XCB_ATOM_NONE) {
            bytes.assign(static_cast<const char*>(xcb_get_property_value(r)),
                         static_cast<std::size_t>(xcb_get_property_value_length(r)));
        }
        std::free(r);
        return bytes;
    }

    std::uint32_t cardinal(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const {
        const std::string bytes = property(window, name, type);
        std::uint32_t value = 0;
        if (bytes.size() >= sizeof value) std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }

    ForegroundProgram front() const {
        const xcb_window_t window = cardinal(root, activeWindow, XCB_ATOM_WINDOW);
        if (window == 0) return {};  // the desktop itself
        const std::uint32_t pid = cardinal(window, wmPid, XCB_ATOM_CARDINAL);
        if (pid != 0 && static_cast<pid_t>(pid) == ::getpid()) return {};
        if (pid != 0) {
            char path[4096];
            const std::string link = "/proc/" + std::to_string(pid) + "/exe";
            const ssize_t n = ::readlink(link.c_str(), path, sizeof path - 1);
            if (n > 0) {
                std::string full(path, static_cast<std::size_t>(n));
                const std::size_t cut = full.find_last_of('/');
                return ForegroundProgram{full, full.substr(cut + 1)};
            }
        }
        // WM_CLASS: "instance\0class\0"; the instance is the program's name.
        const std::string wmClass = property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
        return ForegroundProgram{"", wmClass.substr(0, wmClass.find('\0'))};
    }
};

X11ForegroundWatcher::X11ForegroundWatcher(std::unique_ptr<Connection> connection) : x_(std::move(connection)) {
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    wayland_ = (session != nullptr && std::strcmp(session, "wayland") == 0) || (wayland != nullptr && *wayland != 0);
}

std::unique_ptr<X11ForegroundWatcher> X11ForegroundWatcher::Open() {
    auto x = std::make_unique<Connection>();
    int screenNumber = 0;
    x->c = xcb_connect(nullptr, &screenNumber);
    if (x->c == nullptr || xcb_connection_has_error(x->c) != 0) return nullptr;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x->c));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb_screen_next(&it);
    if (it.rem == 0) return nullptr;
    x->root = it.data->root;
    x->activeWindow = x->atom("_NET_ACTIVE_WINDOW");
    x->wmPid = x->atom("_NET_WM_PID");
    return std::unique_ptr<X11ForegroundWatcher>(new X11ForegroundWatcher(std::move(x)));
}

X11ForegroundWatcher::~X11ForegroundWatcher() { Stop(); }

bool X11ForegroundWatcher::Start(HWND target, UINT message) {
    if (thread_.joinable()) return true;
    ForegroundWatcherBase::Start(target, message);
    if (::pipe2(stopPipe_, O_CLOEXEC) != 0) return false;
    // Property changes of the root window reach this connection only; the
    // program's windows keep their own connection and event masks.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x_->c, x_->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x_->c);
    thread_ = std::thread([this] { run(); });
    return true;
}

void X11ForegroundWatcher::Stop() {
    if (thread_.joinable()) {
        const char stop = 'x';
        while (::write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    for (int& fd : stopPipe_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    ForegroundWatcherBase::Stop();
}

void X11ForegroundWatcher::run() {
    publish(x_->front());
    const int fd = xcb_get_file_descriptor(x_->c);
    for (;;) {
        // Events first: reading the front program's properties waits for
        // replies, and events that came meanwhile sit in XCB's queue, not on
        // the socket, where poll() would never see them.
        bool changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(x_->c)) {
            if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
                reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == x_->activeWindow)
                changed = true;
            std::free(event);
        }
        // The server went away: nothing more will come.
        if (xcb_connection_has_error(x_->c) != 0) return;
        if (changed) {
            publish(x_->front());
            continue;
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
    }
}

}  // namespace zavrin::linuxdesktop
