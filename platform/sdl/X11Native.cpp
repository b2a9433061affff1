#include "platform/sdl/X11Native.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zavrin::x11 {

namespace {
Display* Dpy(void* display) { return static_cast<Display*>(display); }
}  // namespace

bool Handles(SDL_Window* window, void*& display, unsigned long& xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    display = info.info.x11.display;
    xwindow = info.info.x11.window;
    return true;
}

bool QueryPointer(void* display, int& x, int& y) {
    if (display == nullptr) return false;
    ::Window root = 0, child = 0;
    int wx = 0, wy = 0;
    unsigned int mask = 0;
    return XQueryPointer(Dpy(display), DefaultRootWindow(Dpy(display)), &root, &child, &x, &y, &wx, &wy, &mask) !=
           0;
}

void MoveWindow(void* display, unsigned long xwindow, int x, int y) {
    if (display == nullptr || xwindow == 0) return;
    XMoveWindow(Dpy(display), xwindow, x, y);
    XFlush(Dpy(display));
}

unsigned long FocusWindow(void* display) {
    if (display == nullptr) return 0;
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(Dpy(display), &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

void SetFocus(void* display, unsigned long xwindow) {
    if (display == nullptr) return;
    if (xwindow != 0)
        XSetInputFocus(Dpy(display), xwindow, RevertToParent, CurrentTime);
    else
        XSetInputFocus(Dpy(display), PointerRoot, RevertToPointerRoot, CurrentTime);
    XFlush(Dpy(display));
}

void Raise(void* display, unsigned long xwindow) {
    if (display == nullptr || xwindow == 0) return;
    XRaiseWindow(Dpy(display), xwindow);
    XFlush(Dpy(display));
}

void SetNoInput(void* display, unsigned long xwindow) {
    if (display == nullptr || xwindow == 0) return;
    XWMHints* hints = XGetWMHints(Dpy(display), xwindow);
    XWMHints fresh{};
    XWMHints* h = hints != nullptr ? hints : &fresh;
    h->flags |= InputHint;
    h->input = False;
    XSetWMHints(Dpy(display), xwindow, h);
    if (hints != nullptr) XFree(hints);
}

namespace {
std::atomic<unsigned long> errorCount{0};
constexpr unsigned long kErrorsLoggedInFull = 20;

int LogAndCarryOn(Display* display, XErrorEvent* error) {
    const unsigned long seen = ++errorCount;
    if (seen <= kErrorsLoggedInFull) {
        char text[160] = {0};
        XGetErrorText(display, error->error_code, text, sizeof text - 1);
        std::fprintf(stderr, "zavrin: X error %s (request %u.%u, resource 0x%lx); carrying on\n", text,
                     static_cast<unsigned>(error->request_code), static_cast<unsigned>(error->minor_code),
                     error->resourceid);
    } else if (seen == kErrorsLoggedInFull + 1) {
        std::fprintf(stderr, "zavrin: further X errors are not logged\n");
    }
    return 0;
}
}  // namespace

void InstallErrorHandler() { XSetErrorHandler(LogAndCarryOn); }

unsigned long ErrorCount() { return errorCount.load(); }

void Sync(void* display) {
    if (display != nullptr) XSync(Dpy(display), False);
}

void SetUndecorated(void* display, unsigned long xwindow) {
    if (display == nullptr || xwindow == 0) return;
    // Interned even when no window manager made the atom yet: one started
    // later reads the property when it adopts the window.
    const Atom hintsAtom = XInternAtom(Dpy(display), "_MOTIF_WM_HINTS", False);
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints = {2 /* decorations */, 0, 0 /* none */, 0, 0};
    XChangeProperty(Dpy(display), xwindow, hintsAtom, hintsAtom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

unsigned long DestroyedWindow(const void* message) {
    const auto* msg = static_cast<const SDL_SysWMmsg*>(message);
    if (msg == nullptr || msg->subsystem != SDL_SYSWM_X11) return 0;
    const XEvent& event = msg->msg.x11.event;
    return event.type == DestroyNotify ? event.xdestroywindow.window : 0;
}

int XftDpi(void* display) {
    if (display == nullptr) return 0;
    const char* resources = XResourceManagerString(Dpy(display));
    if (resources == nullptr) return 0;
    // One resource a line: "Xft.dpi:\t96".
    const std::string text(resources);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        if (line.rfind("Xft.dpi:", 0) == 0) {
            const double dpi = std::strtod(line.c_str() + 8, nullptr);
            if (dpi >= 48 && dpi <= 960) return static_cast<int>(dpi + 0.5);
        }
        at = end + 1;
    }
    return 0;
}

}  // namespace zavrin::x11
