#include "platform/sdl/SdlBackend.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <SDL.h>

#include "model/Utf8.h"
#include "platform/BenchMarks.h"
#include "platform/Messages.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "platform/sdl/ComposeCache.h"
#include "platform/sdl/X11Native.h"
#include "platform/sdl/X11SharedImage.h"

namespace zavrin {

struct SdlBackend::Window {
    NativeWindowParams params;
    SDL_Window* sdl = nullptr;
    std::uint32_t sdlId = 0;
    RECT layerRect;   // where the window layer has it
    RECT nativeRect;  // where it is on the screen (brought back when off every screen)
    bool shown = false;
    bool minimized = false;
    bool presented = false;  // the window surface holds a frame
    bool everPresented = false;
    void* xDisplay = nullptr;
    unsigned long xWindow = 0;
    // The surface the layer paints into, when the X server reads it directly.
    std::unique_ptr<x11::SharedImage> shared;

    // Screen position (layer coordinates) of a point given in native screen coordinates.
    POINT toLayer(POINT native) const {
        return POINT{native.x + layerRect.left - nativeRect.left, native.y + layerRect.top - nativeRect.top};
    }
};

namespace {

std::atomic<bool> gWakePending{false};

// Windows virtual-key codes by SDL scancode (US positions for the punctuation).
struct KeyPair {
    int scancode;
    std::uint32_t vk;
};
constexpr KeyPair kKeys[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},     {SDL_SCANCODE_ESCAPE, VK_ESCAPE},      {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},        {SDL_SCANCODE_SPACE, VK_SPACE},       {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xBB},     {SDL_SCANCODE_LEFTBRACKET, 0xDB}, {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_BACKSLASH, 0xDC},  {SDL_SCANCODE_NONUSHASH, 0xDC},   {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE}, {SDL_SCANCODE_GRAVE, 0xC0},       {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},     {SDL_SCANCODE_SLASH, 0xBF},       {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_SCROLLLOCK, 0x91}, {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},     {SDL_SCANCODE_HOME, 0x24},        {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, VK_DELETE},     {SDL_SCANCODE_END, 0x23},         {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},      {SDL_SCANCODE_LEFT, VK_LEFT},        {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},         {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A}, {SDL_SCANCODE_KP_MINUS, 0x6D},   {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},   {SDL_SCANCODE_KP_0, 0x60},        {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, {SDL_SCANCODE_APPLICATION, 0x5D}, {SDL_SCANCODE_MENU, 0x5D},
    {SDL_SCANCODE_MUTE, 0xAD},       {SDL_SCANCODE_VOLUMEUP, 0xAF},    {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
    {SDL_SCANCODE_AUDIONEXT, 0xB0},  {SDL_SCANCODE_AUDIOPREV, 0xB1},   {SDL_SCANCODE_AUDIOSTOP, 0xB2},
    {SDL_SCANCODE_AUDIOPLAY, 0xB3},  {SDL_SCANCODE_LCTRL, VK_LCONTROL},       {SDL_SCANCODE_LSHIFT, VK_LSHIFT},
    {SDL_SCANCODE_LALT, VK_LMENU},       {SDL_SCANCODE_LGUI, 0x5B},        {SDL_SCANCODE_RCTRL, VK_RCONTROL},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT},     {SDL_SCANCODE_RALT, VK_RMENU},        {SDL_SCANCODE_RGUI, 0x5C},
};

// The characters of a text-input event. SDL hands over UTF-8; a malformed
// byte (which the shared decoder turns into U+FFFD, one byte long) is skipped.
std::u32string TypedCodePoints(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t cp = decodeUtf8(text, i);
        if (cp == U'\uFFFD' && i - start == 1) continue;
        out.push_back(cp);
    }
    return out;
}

RECT FromSdl(const SDL_Rect& r) { return RECT{r.x, r.y, r.x + r.w, r.y + r.h}; }

}  // namespace

std::uint32_t SdlBackend::VirtualKeyFromScancode(int sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + static_cast<std::uint32_t>(sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + static_cast<std::uint32_t>(sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 0x70 + static_cast<std::uint32_t>(sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return 0x7C + static_cast<std::uint32_t>(sc - SDL_SCANCODE_F13);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 0x61 + static_cast<std::uint32_t>(sc - SDL_SCANCODE_KP_1);
    for (const KeyPair& k : kKeys)
        if (k.scancode == sc) return k.vk;
    return 0;
}

SdlBackend::SdlBackend() = default;

std::unique_ptr<SdlBackend> SdlBackend::Open(std::string& error) {
    // The program places its own windows, which a Wayland compositor does not
    // allow: through XWayland, where there is one, it can.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    const bool haveWayland = wayland != nullptr && *wayland != 0;
    const bool haveX11 = x11 != nullptr && *x11 != 0;
    if (!haveWayland && !haveX11) {
        error = "no display to open (neither DISPLAY nor WAYLAND_DISPLAY is set); use --headless to run without one";
        return nullptr;
    }
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) SDL_SetHint(SDL_HINT_VIDEODRIVER, haveX11 ? "x11" : "wayland");
    // Software frames straight to the window (XShm on X11), no OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Closing a window is the program's decision, not SDL's.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The first click on an inactive window also reaches it, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A double click is two presses within the standard 4-pixel square.
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_APP_NAME, "Zavrin ZR2");
    // The window class the desktop file names (StartupWMClass).
    setenv("SDL_VIDEO_X11_WMCLASS", "zavrin", 0);

    int initialised = 0;
    {
        const ComposeCacheScope composeCache;
        initialised = SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    if (initialised != 0) {
        error = std::string("cannot open the display (") + SDL_GetError() + "); use --headless to run without one";
        return nullptr;
    }
    if (SDL_GetNumVideoDisplays() < 1) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        error = "the display has no screen; use --headless to run without one";
        return nullptr;
    }
    std::unique_ptr<SdlBackend> backend(new SdlBackend);
    backend->wakeEvent_ = SDL_RegisterEvents(1);
    // A hidden window of our own from the start: SDL waits for events without
    // polling only while a window exists, and the desktop's settings (Xft.dpi)
    // are read through its connection.
    backend->helper_ = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS |
                                                           SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_TOOLTIP);
    unsigned long helperX = 0;
    if (backend->helper_ != nullptr) x11::Handles(backend->helper_, backend->xDisplay_, helperX);
    if (backend->xDisplay_ != nullptr) {
        x11::InstallErrorHandler();
        // The raw X events too: a window destroyed by another client is told
        // only there.
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
    SDL_StartTextInput();
    const char* trace = std::getenv("ZAVRIN_SDL_TRACE");
    backend->traceEvents_ = trace != nullptr && *trace != 0 && *trace != '0';
    return backend;
}

SdlBackend::~SdlBackend() {
    for (auto& [id, w] : windows_)
        if (w->sdl != nullptr) SDL_DestroyWindow(w->sdl);
    windows_.clear();
    spareSurfaceMemory_.reset();
    if (helper_ != nullptr) SDL_DestroyWindow(helper_);
    if (xDisplay_ != nullptr) {
        // The backend lives as long as the process. Closing SDL's X
        // connections would put Xlib's default error handler back first, and
        // an error still in flight on them (a wake-up sent by another thread
        // to a window just destroyed, ours or by another client) would end
        // the process with status 1 after its settings were saved. The
        // server frees everything when the process ends.
        x11::Sync(xDisplay_);
        return;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SdlBackend::Window* SdlBackend::find(NativeWindowId id) {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.get();
}

const SdlBackend::Window* SdlBackend::find(NativeWindowId id) const {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.get();
}

std::pair<NativeWindowId, SdlBackend::Window*> SdlBackend::fromXWindow(unsigned long xWindow) {
    if (xWindow == 0) return {0, nullptr};
    for (auto& [id, w] : windows_) {
        if (w->xWindow == xWindow) return {id, w.get()};
    }
    return {0, nullptr};
}

SdlBackend::Window* SdlBackend::fromSdlId(std::uint32_t windowId) {
    auto it = bySdlId_.find(windowId);
    return it == bySdlId_.end() ? nullptr : find(it->second);
}

SDL_Window* SdlBackend::sdlWindow(NativeWindowId id) const {
    const Window* w = find(id);
    return w != nullptr ? w->sdl : nullptr;
}

std::string SdlBackend::videoDriver() const {
    const char* d = SDL_GetCurrentVideoDriver();
    return d != nullptr ? d : "";
}

// ---- Placement ----------------------------------------------------------------

RECT SdlBackend::placeOnScreen(const RECT& r) const {
    // Reachable: the top strip of the window (where it is dragged) shows on
    // some screen over a useful width.
    const int stripHeight = std::min(r.height(), 23);
    const int needWidth = std::min(r.width(), 48);
    const int displays = SDL_GetNumVideoDisplays();
    for (int i = 0; i < displays; ++i) {
        SDL_Rect u;
        if (SDL_GetDisplayUsableBounds(i, &u) != 0) continue;
        const RECT strip = IntersectRect(RECT{r.left, r.top, r.right, r.top + stripHeight}, FromSdl(u));
        if (strip.width() >= needWidth && strip.height() >= stripHeight) return r;
    }
    SDL_Rect u{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &u) != 0 || u.w <= 0) return r;
    const int x = std::max(u.x, std::min(r.left, u.x + u.w - r.width()));
    const int y = std::max(u.y, std::min(r.top, u.y + u.h - r.height()));
    return RECT{x, y, x + r.width(), y + r.height()};
}

void SdlBackend::applyPlacement(Window& w) {
    const RECT target = placeOnScreen(w.layerRect);
    const bool moved = target.left != w.nativeRect.left || target.top != w.nativeRect.top;
    const bool sized = target.width() != w.nativeRect.width() || target.height() != w.nativeRect.height();
    w.nativeRect = target;
    if (sized) {
        SDL_SetWindowSize(w.sdl, std::max(1, target.width()), std::max(1, target.height()));
        w.presented = false;
    }
    if (moved) {
        if (w.xDisplay != nullptr)
            x11::MoveWindow(w.xDisplay, w.xWindow, target.left, target.top);
        else
            SDL_SetWindowPosition(w.sdl, target.left, target.top);
    }
}

// ---- Windows ------------------------------------------------------------------

void SdlBackend::CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) {
    auto w = std::make_unique<Window>();
    w->params = params;
    w->layerRect = params.rect;
    w->nativeRect = placeOnScreen(params.rect);

    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    const bool osd = params.noActivate || params.layered;
    const bool menu = !osd && params.toolWindow && params.topmost;
    if (osd) {
        // Never focused, never managed: it shows over everything and takes nothing.
        flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    } else if (menu) {
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    } else {
        if (params.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        // Only the main window and unowned windows have a taskbar entry.
        if (!params.appWindow && (params.owner != 0 || params.toolWindow)) flags |= SDL_WINDOW_SKIP_TASKBAR;
    }
    const RECT& r = w->nativeRect;
    w->sdl = SDL_CreateWindow(params.title.empty() ? "Zavrin ZR2" : params.title.c_str(), r.left, r.top,
                              std::max(1, r.width()), std::max(1, r.height()), flags);
    if (w->sdl == nullptr) {
        SDL_Log("cannot create a window: %s", SDL_GetError());
        return;
    }
    w->sdlId = SDL_GetWindowID(w->sdl);
    if (x11::Handles(w->sdl, w->xDisplay, w->xWindow)) {
        if (osd) x11::SetNoInput(w->xDisplay, w->xWindow);
        x11::SetUndecorated(w->xDisplay, w->xWindow);
    }
    // A dialog stays above the window that owns it.
    if (!osd && !menu && params.owner != 0) {
        if (Window* owner = find(params.owner); owner != nullptr && owner->sdl != nullptr)
            SDL_SetWindowModalFor(w->sdl, owner->sdl);
    }
    if (params.appWindow) {
        appWindow_ = id;
        // The program's icon for the taskbar and the window switcher.
        if (std::shared_ptr<const Image> icon = LoadResourceImage(ResourceType::Icon, 128); icon && !icon->empty()) {
            SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(icon->data()), icon->width(),
                                                                icon->height(), 32, icon->strideBytes(),
                                                                SDL_PIXELFORMAT_ARGB8888);
            if (s != nullptr) {
                SDL_SetWindowIcon(w->sdl, s);
                SDL_FreeSurface(s);
            }
        }
    }
    bySdlId_[w->sdlId] = id;
    windows_[id] = std::move(w);
}

void SdlBackend::DestroyNativeWindow(NativeWindowId id) {
    auto it = windows_.find(id);
    if (it == windows_.end()) return;
    takeAllocation(id);
    retireSurface(*it->second);
    if (it->second->sdl != nullptr) {
        bySdlId_.erase(it->second->sdlId);
        SDL_DestroyWindow(it->second->sdl);
    }
    windows_.erase(it);
    if (appWindow_ == id) appWindow_ = 0;
    if (nativeFocus_ == id) nativeFocus_ = 0;
    // The layer already moved its activation elsewhere.
    if (reportedFocus_ == id) reportedFocus_ = 0;
}

void SdlBackend::MoveNativeWindow(NativeWindowId id, const RECT& screenRect) {
    Window* w = find(id);
    if (w == nullptr || w->sdl == nullptr) return;
    w->layerRect = screenRect;
    if (captured_) movedWhileCaptured_ = true;
    applyPlacement(*w);
}

void SdlBackend::ShowNativeWindow(NativeWindowId id, bool shown) {
    Window* w = find(id);
    if (w == nullptr || w->sdl == nullptr || w->shown == shown) return;
    w->shown = shown;
    if (!shown) {
        SDL_HideWindow(w->sdl);
        return;
    }
    const unsigned long focusBefore = w->xDisplay != nullptr ? x11::FocusWindow(w->xDisplay) : 0;
    SDL_ShowWindow(w->sdl);
    // Without a window manager SDL gives every window it maps the focus. Showing
    // is not activating: the focus goes back, and comes again through
    // ActivateNativeWindow when the layer activates the window.
    if (w->xDisplay != nullptr && x11::FocusWindow(w->xDisplay) == w->xWindow && focusBefore != w->xWindow)
        x11::SetFocus(w->xDisplay, focusBefore);
    uploadAll(*w);
    startAllocation(id, *w);
}

void SdlBackend::startAllocation(NativeWindowId id, const Window& w) {
    // A window is shown at its size before its controls are built and it is
    // first painted. Fresh pages are what a first frame costs most (about
    // 11 us each on some machines, 3 300 of them for the main window at
    // scale 2): the second core writes them meanwhile. Only for a window that
    // has no surface yet, is large enough for it to matter and finds no spare
    // piece that fits; one at a time.
    constexpr std::size_t kWorthAllocating = 512 * 1024;
    if (w.xDisplay == nullptr || w.shared || sharingRefused_ || allocation_.valid()) return;
    const int width = w.layerRect.width();
    const int height = w.layerRect.height();
    if (width <= 0 || height <= 0 ||
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4 < kWorthAllocating)
        return;
    if (x11::SharedImage::Serves(spareSurfaceMemory_, w.xDisplay, width, height)) return;
    allocationFor_ = id;
    allocation_ = std::async(std::launch::async, [width, height] { return x11::SharedImage::Allocate(width, height); });
}

std::shared_ptr<x11::SharedMemory> SdlBackend::takeAllocation(NativeWindowId id) {
    if (!allocation_.valid() || allocationFor_ != id) return nullptr;
    allocationFor_ = 0;
    return allocation_.get();
}

void SdlBackend::MinimizeNativeWindow(NativeWindowId id, bool minimized) {
    Window* w = find(id);
    // The state the desktop reported is already the state asked for: no echo.
    if (w == nullptr || w->sdl == nullptr || w->minimized == minimized) return;
    w->minimized = minimized;
    if (minimized)
        SDL_MinimizeWindow(w->sdl);
    else
        SDL_RestoreWindow(w->sdl);
}

void SdlBackend::SetNativeTopmost(NativeWindowId id, bool topmost) {
    Window* w = find(id);
    if (w == nullptr || w->sdl == nullptr) return;
    SDL_SetWindowAlwaysOnTop(w->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) {
    Window* w = find(id);
    if (w == nullptr || w->sdl == nullptr) return;
    // Without a compositor the desktop shows the window opaque.
    SDL_SetWindowOpacity(w->sdl, static_cast<float>(alpha) / 255.0f);
}

void SdlBackend::ActivateNativeWindow(NativeWindowId id) {
    Window* w = find(id);
    if (w == nullptr || w->sdl == nullptr) return;
    if (w->params.noActivate || w->params.layered) {
        x11::Raise(w->xDisplay, w->xWindow);
        return;
    }
    const long long now = std::chrono::steady_clock::now().time_since_epoch().count();
    const bool mayTakeFocus = nativeFocus_ != 0 || !everFocused_ || now < foregroundAllowedUntil_.load();
    if (!mayTakeFocus) {
        // In the background: the layer's activation stays inside the program,
        // and the taskbar entry asks for attention instead.
        SDL_FlashWindow(w->sdl, SDL_FLASH_UNTIL_FOCUSED);
        return;
    }
    foregroundAllowedUntil_ = 0;
    SDL_RaiseWindow(w->sdl);
    if (w->shown) SDL_SetWindowInputFocus(w->sdl);
}

void SdlBackend::allowForeground() {
    foregroundAllowedUntil_ =
        (std::chrono::steady_clock::now() + std::chrono::seconds(2)).time_since_epoch().count();
}

void SdlBackend::uploadAll(Window& w) {
    if (!w.presented || !w.shown) return;
    if (w.shared)
        w.shared->put(0, 0, w.shared->width(), w.shared->height());
    else
        SDL_UpdateWindowSurface(w.sdl);
}

void SdlBackend::retireSurface(Window& w) {
    if (!w.shared) return;
    // One piece is kept for the next window, the larger: dialogs and menus
    // open and close one after the other, and the largest fits them all.
    const std::shared_ptr<x11::SharedMemory>& memory = w.shared->memory();
    if (!spareSurfaceMemory_ ||
        x11::SharedImage::Size(*memory) >= x11::SharedImage::Size(*spareSurfaceMemory_))
        spareSurfaceMemory_ = memory;
    w.shared.reset();
}

Image SdlBackend::CreateSurface(NativeWindowId id, int width, int height) {
    Window* w = find(id);
    if (w == nullptr) return Image(width, height);
    retireSurface(*w);
    w->presented = false;
    if (!sharingRefused_)
        w->shared = x11::SharedImage::Create(w->xDisplay, w->xWindow, width, height, spareSurfaceMemory_,
                                             takeAllocation(id));
    if (!w->shared) {
        sharingRefused_ = sharingRefused_ || w->xDisplay != nullptr;
        return Image(width, height);
    }
    return Image::Over(width, height, w->shared->pixels(), w->shared->keeper());
}

void SdlBackend::ReserveSurface(int width, int height) {
    reservedWidth_ = width;
    reservedHeight_ = height;
}

bool SdlBackend::prepareWhileIdle() {
    // Only once the program has shown its first frame: the work must not
    // delay it.
    if (presentCount_ == 0 || xDisplay_ == nullptr) return false;
    for (auto& [id, w] : windows_) {
        if (w->shared && w->presented && w->shown && w->shared->warm()) return true;
    }
    // Where the server cannot share memory, there is nothing to make ready.
    if (reservedWidth_ <= 0 || reservedHeight_ <= 0 || sharingRefused_) return false;
    if (!x11::SharedImage::Holds(spareSurfaceMemory_, reservedWidth_, reservedHeight_)) {
        if (auto memory = x11::SharedImage::Prepare(xDisplay_, reservedWidth_, reservedHeight_))
            spareSurfaceMemory_ = std::move(memory);
    }
    reservedWidth_ = reservedHeight_ = 0;
    return true;
}

void SdlBackend::Present(NativeWindowId id, const Image& surface, const RECT& dirty) {
    Window* w = find(id);
    if (w == nullptr || w->sdl == nullptr || surface.empty()) return;
    // The whole frame the first time, else the part that changed.
    const RECT part = w->presented ? IntersectRect(dirty, surface.bounds()) : surface.bounds();
    if (IsRectEmpty(part)) return;
    if (w->shared && surface.data() == w->shared->pixels()) {
        // Painted in place: the server reads the frame where it was drawn.
        if (w->shown) w->shared->put(part.left, part.top, part.width(), part.height());
    } else if (!copyToWindowSurface(*w, surface, part)) {
        return;
    }
    w->presented = true;
    ++presentCount_;
    reportFirstFrame(*w);
}

bool SdlBackend::copyToWindowSurface(Window& w, const Image& surface, RECT part) {
    SDL_Surface* target = SDL_GetWindowSurface(w.sdl);
    if (target == nullptr) return false;
    part = IntersectRect(part, RECT{0, 0, target->w, target->h});
    if (IsRectEmpty(part)) return false;
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    const auto* src = reinterpret_cast<const std::uint8_t*>(surface.data()) +
                      static_cast<std::size_t>(part.top) * surface.strideBytes() + part.left * 4;
    auto* dst = static_cast<std::uint8_t*>(target->pixels) + static_cast<std::size_t>(part.top) * target->pitch +
                part.left * target->format->BytesPerPixel;
    // Premultiplied ARGB: opaque pixels are plain XRGB; transparent ones show
    // black. The usual 32-bit window surface takes the rows as they are.
    const Uint32 format = target->format->format;
    if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
        const std::size_t rowBytes = static_cast<std::size_t>(part.width()) * 4;
        for (int y = 0; y < part.height(); ++y)
            std::memcpy(dst + static_cast<std::size_t>(y) * target->pitch,
                        src + static_cast<std::size_t>(y) * surface.strideBytes(), rowBytes);
    } else {
        SDL_ConvertPixels(part.width(), part.height(), SDL_PIXELFORMAT_ARGB8888, src, surface.strideBytes(), format,
                          dst, target->pitch);
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    const SDL_Rect rect{part.left, part.top, part.width(), part.height()};
    SDL_UpdateWindowSurfaceRects(w.sdl, &rect, 1);
    return true;
}

void SdlBackend::reportFirstFrame(Window& w) {
    // For the benchmarks: the program's first frame, and each window's first
    // one after it (a dialog opening).
    if (w.everPresented) return;
    w.everPresented = true;
    if (!BenchMarksWanted()) return;
    if (presentCount_ == 1) {
        ReportBenchMark("first frame presented");
        return;
    }
    ReportBenchMark("window " + std::to_string(w.nativeRect.width()) + "x" + std::to_string(w.nativeRect.height()) +
                    " first frame presented");
}

// ---- Input --------------------------------------------------------------------

POINT SdlBackend::globalPointer(POINT fallback) const {
    int x = 0, y = 0;
    if (x11::QueryPointer(xDisplay_, x, y)) return POINT{x, y};
    if (SDL_GetGlobalMouseState(&x, &y) != 0 || x != 0 || y != 0) return POINT{x, y};
    return fallback;
}

void SdlBackend::pushMove(POINT screen) {
    InputEvent e;
    e.kind = InputEvent::Kind::MouseMove;
    e.screen = screen;
    pending_.push_back(e);
}

void SdlBackend::queueFocusChange() {
    if (nativeFocus_ == reportedFocus_) return;
    InputEvent e;
    if (nativeFocus_ == 0) {
        e.kind = InputEvent::Kind::FocusLost;
        e.window = reportedFocus_;
    } else {
        e.kind = InputEvent::Kind::FocusGained;
        e.window = nativeFocus_;
    }
    reportedFocus_ = nativeFocus_;
    pending_.push_back(e);
}

void SdlBackend::takeFocusOnPress(std::uint32_t sdlWindowId) {
    // A press on one of our windows is the user turning to the program, as a
    // click activates a window on Windows. A window manager gives the focus
    // itself; without one nobody does, and a dialog the click opens could
    // then never take the keyboard from the program that last had it.
    allowForeground();
    Window* w = fromSdlId(sdlWindowId);
    if (w == nullptr || nativeFocus_ != 0 || w->params.noActivate || w->params.layered) return;
    if (w->params.toolWindow && w->params.topmost) return;  // a menu: the layer keeps its owner active
    SDL_SetWindowInputFocus(w->sdl);
}

void SdlBackend::settleFocus() {
    // SDL hands on X focus changes about 200 ms late, each window's last one
    // only, and the layer hears of them later still, after the events before
    // them. By then our own quick changes may be undone (a window shown takes
    // the focus and gives it back until it is activated) or a dialog may have
    // opened: a stale gain would activate the window behind the dialog and
    // take the keyboard from it. The X server says where the focus is now.
    if (xDisplay_ != nullptr) {
        const auto [id, w] = fromXWindow(x11::FocusWindow(xDisplay_));
        const bool ours = w != nullptr;
        const NativeWindowId owner = ours && !w->params.noActivate && !w->params.layered ? id : 0;
        // A window that takes no activation leaves the focus where it was.
        if (!ours || owner != 0) nativeFocus_ = owner;
        if (nativeFocus_ != 0) everFocused_ = true;
    }
    queueFocusChange();
}

void SdlBackend::noteNativeEvent(const SDL_Event& ev) {
    const auto [id, w] = fromXWindow(x11::DestroyedWindow(ev.syswm.msg));
    if (w == nullptr) return;
    // Another client destroyed one of our windows (xdotool windowclose): SDL's
    // side of it goes (a window without an SDL window is skipped by every
    // operation), and the layer closes it the way its close button does, so
    // the main window's end saves first.
    bySdlId_.erase(w->sdlId);
    if (w->sdl != nullptr) SDL_DestroyWindow(w->sdl);
    w->sdl = nullptr;
    w->xWindow = 0;
    w->xDisplay = nullptr;
    InputEvent e;
    e.kind = InputEvent::Kind::CloseRequested;
    e.window = id;
    pending_.push_back(e);
}

InputEvent SdlBackend::baseEvent(InputEvent::Kind kind) const {
    const SDL_Keymod mods = SDL_GetModState();
    InputEvent e;
    e.kind = kind;
    e.shift = (mods & KMOD_SHIFT) != 0;
    e.control = (mods & KMOD_CTRL) != 0;
    return e;
}

std::optional<POINT> SdlBackend::eventPoint(std::uint32_t windowId, int x, int y) {
    Window* w = fromSdlId(windowId);
    if (w == nullptr) return std::nullopt;
    // A window dragged by the mouse moves under it: a position relative to
    // the window may have been taken before the last move, so the server's
    // position of the pointer is the one to trust then.
    if (captured_ && movedWhileCaptured_) return w->toLayer(globalPointer(POINT{w->nativeRect.left + x, w->nativeRect.top + y}));
    return POINT{w->layerRect.left + x, w->layerRect.top + y};
}

void SdlBackend::translate(const SDL_Event& ev) {
    if (ev.type == wakeEvent_) {
        gWakePending = false;
        return;
    }
    switch (ev.type) {
        case SDL_MOUSEMOTION:
            translateMotion(ev.motion);
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            translateButton(ev.button);
            return;
        case SDL_MOUSEWHEEL:
            translateWheel(ev.wheel);
            return;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            translateKey(ev.key);
            return;
        case SDL_TEXTINPUT:
            translateText(ev.text);
            return;
        case SDL_QUIT:
            translateQuit();
            return;
        case SDL_SYSWMEVENT:
            noteNativeEvent(ev);
            return;
        case SDL_WINDOWEVENT:
            translateWindowEvent(ev.window);
            return;
        default:
            return;
    }
}

void SdlBackend::translateMotion(const SDL_MouseMotionEvent& motion) {
    const auto p = eventPoint(motion.windowID, motion.x, motion.y);
    if (!p) return;
    InputEvent e = baseEvent(InputEvent::Kind::MouseMove);
    e.screen = *p;
    pending_.push_back(e);
}

void SdlBackend::translateButton(const SDL_MouseButtonEvent& button) {
    const auto p = eventPoint(button.windowID, button.x, button.y);
    if (!p) return;
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    InputEvent e = baseEvent(down ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp);
    switch (button.button) {
        case SDL_BUTTON_LEFT: e.button = MouseButton::Left; break;
        case SDL_BUTTON_RIGHT: e.button = MouseButton::Right; break;
        case SDL_BUTTON_MIDDLE: e.button = MouseButton::Middle; break;
        default: return;
    }
    e.screen = *p;
    // Every second press in quick succession is a double click; the
    // third starts over, as on Windows.
    e.clickCount = down && button.clicks >= 2 && button.clicks % 2 == 0 ? 2 : 1;
    if (down) takeFocusOnPress(button.windowID);
    // A release in the same batch as the last motion of a drag would come
    // before the pointer is asked for: the window goes where the drag ended
    // first, as the motion SDL dropped would have taken it.
    if (!down) followDraggedWindow();
    pending_.push_back(e);
}

void SdlBackend::translateWheel(const SDL_MouseWheelEvent& wheel) {
    Window* w = fromSdlId(wheel.windowID);
    if (w == nullptr) return;
    float dy = wheel.preciseY;
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) dy = -dy;
    // One notch is WHEEL_DELTA (120), as Windows reports it.
    const int delta = static_cast<int>(std::lround(dy * 120.0f));
    if (delta == 0) return;
    InputEvent e = baseEvent(InputEvent::Kind::Wheel);
    e.wheelDelta = delta;
    e.screen = w->toLayer(globalPointer(POINT{w->nativeRect.left, w->nativeRect.top}));
    pending_.push_back(e);
}

void SdlBackend::translateKey(const SDL_KeyboardEvent& key) {
    if (fromSdlId(key.windowID) == nullptr) return;
    const std::uint32_t vk = VirtualKeyFromScancode(key.keysym.scancode);
    if (vk == 0) return;
    const bool down = key.type == SDL_KEYDOWN;
    if (keyObserver_) keyObserver_(vk, down, key.timestamp);
    InputEvent e = baseEvent(down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp);
    e.key = vk;
    pending_.push_back(e);
}

void SdlBackend::translateText(const SDL_TextInputEvent& text) {
    if (fromSdlId(text.windowID) == nullptr) return;
    for (const char32_t cp : TypedCodePoints(text.text)) {
        InputEvent e = baseEvent(InputEvent::Kind::Char);
        e.key = static_cast<std::uint32_t>(cp);
        pending_.push_back(e);
    }
}

void SdlBackend::translateQuit() {
    // SIGINT or SIGTERM: the first goes the way of the close button, so
    // the program saves and ends as usual; a second one ends the loops.
    if (++quitRequests_ == 1 && appWindow_ != 0) {
        InputEvent e = baseEvent(InputEvent::Kind::CloseRequested);
        e.window = appWindow_;
        pending_.push_back(e);
    } else {
        PostQuitMessage(0);
    }
}

void SdlBackend::translateWindowEvent(const SDL_WindowEvent& event) {
    Window* w = fromSdlId(event.windowID);
    if (w == nullptr) return;
    const NativeWindowId id = bySdlId_[event.windowID];
    const bool noFocus = w->params.noActivate || w->params.layered;
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
            uploadAll(*w);
            return;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED: {
            // The desktop's own minimise and restore (the taskbar entry).
            const bool minimized = event.event == SDL_WINDOWEVENT_MINIMIZED;
            if (!minimized) uploadAll(*w);
            if (w->minimized == minimized) return;
            w->minimized = minimized;
            InputEvent e = baseEvent(minimized ? InputEvent::Kind::Minimized : InputEvent::Kind::Restored);
            e.window = id;
            pending_.push_back(e);
            return;
        }
        case SDL_WINDOWEVENT_LEAVE:
            // The layer sends the leave when the pointer is seen over no window
            // of its own (or over another one).
            pushMove(w->toLayer(globalPointer(POINT{-1, -1})));
            return;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (!noFocus) {
                nativeFocus_ = id;
                everFocused_ = true;
                focusDirty_ = true;
            }
            return;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (nativeFocus_ == id) {
                nativeFocus_ = 0;
                focusDirty_ = true;
            }
            return;
        case SDL_WINDOWEVENT_CLOSE: {
            InputEvent e = baseEvent(InputEvent::Kind::CloseRequested);
            e.window = id;
            pending_.push_back(e);
            return;
        }
        default:
            return;
    }
}

bool SdlBackend::PollEvent(InputEvent& event) {
    while (pending_.empty()) {
        SDL_Event ev;
        if (SDL_PollEvent(&ev) == 0) {
            // The batch is done: now the focus has settled.
            if (focusDirty_) {
                focusDirty_ = false;
                settleFocus();
            }
            followDraggedWindow();
            break;
        }
        if (traceEvents_) {
            if (ev.type == SDL_MOUSEMOTION)
                SDL_Log("sdl motion win=%u %d,%d", ev.motion.windowID, ev.motion.x, ev.motion.y);
            else if (ev.type == SDL_WINDOWEVENT)
                SDL_Log("sdl window win=%u event=%d", ev.window.windowID, ev.window.event);
            else
                SDL_Log("sdl event 0x%x", ev.type);
        }
        translate(ev);
    }
    if (pending_.empty()) return false;
    event = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlBackend::followDraggedWindow() {
    // A window that follows the mouse stays at the same place under it, and SDL
    // drops mouse motion that does not change the position in the window: the
    // pointer is asked for instead, on every pass of the loop while it lasts.
    if (!captured_ || !movedWhileCaptured_) return;
    const Window* w = find(captureWindow_);
    if (w == nullptr) return;
    const POINT now = globalPointer(lastDragPointer_);
    if (now == lastDragPointer_) return;
    lastDragPointer_ = now;
    pushMove(w->toLayer(now));
}

WaitResult SdlBackend::WaitForEvent(Clock::Duration timeout) {
    if (!pending_.empty()) return WaitResult::Event;
    // Idle: before sleeping, one piece of preparation, unless something is
    // due soon (an animation must not stutter for it) or input is waiting.
    constexpr Clock::Duration kIdleWork = std::chrono::milliseconds(100);
    if ((timeout < Clock::Duration::zero() || timeout >= kIdleWork) && !captured_) {
        SDL_PumpEvents();
        if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) && prepareWhileIdle()) return WaitResult::Timeout;
    }
    // While a window is dragged, the loop comes round often enough to follow
    // the pointer (see followDraggedWindow).
    if (captured_ && movedWhileCaptured_) {
        constexpr Clock::Duration kDragPoll = std::chrono::milliseconds(8);
        if (timeout < Clock::Duration::zero() || timeout > kDragPoll) timeout = kDragPoll;
    }
    int ms = -1;
    if (timeout >= Clock::Duration::zero()) {
        // Rounded up, so a wait for a deadline never wakes just before it.
        const auto whole = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
        ms = static_cast<int>(std::min<long long>(whole, INT_MAX));
    }
    const int r = ms < 0 ? SDL_WaitEvent(nullptr) : SDL_WaitEventTimeout(nullptr, ms);
    return r != 0 ? WaitResult::Event : WaitResult::Timeout;
}

void SdlBackend::Wake() {
    // One wake event in the queue is enough, however many threads post.
    if (gWakePending.exchange(true)) return;
    SDL_Event e{};
    e.type = wakeEvent_;
    if (SDL_PushEvent(&e) <= 0) gWakePending = false;
}

void SdlBackend::SetNativeCapture(NativeWindowId id, bool captured) {
    // SDL captures for the window with the keyboard focus; positions are
    // translated into the layer's coordinates whichever window that is.
    captured_ = captured;
    captureWindow_ = captured ? id : 0;
    movedWhileCaptured_ = false;
    lastDragPointer_ = globalPointer(POINT{});
    SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

ScreenMetrics SdlBackend::GetScreenMetrics() {
    ScreenMetrics m;
    SDL_Rect b{0, 0, 0, 0};
    SDL_Rect u{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(0, &b) == 0 && b.w > 0) m.screen = SIZE{b.w, b.h};
    if (SDL_GetDisplayUsableBounds(0, &u) == 0 && u.w > 0)
        m.workArea = FromSdl(u);
    else
        m.workArea = RECT{0, 0, m.screen.cx, m.screen.cy};
    // Windows' full-screen client size: the work area less a caption bar.
    m.fullScreenClient = SIZE{m.workArea.width(), std::max(0, m.workArea.height() - 23)};
    if (dpi_ == 0) {
        // The desktop's own font scaling first; a monitor's physical density is
        // only a guess at the user's wish, so it is taken in Windows' steps of
        // 25 %; without either, 96.
        dpi_ = x11::XftDpi(xDisplay_);
        float hdpi = 0;
        if (dpi_ == 0 && SDL_GetDisplayDPI(0, nullptr, &hdpi, nullptr) == 0 && hdpi >= 48 && hdpi <= 960)
            dpi_ = std::max(96, static_cast<int>(std::lround(hdpi / 24.0f)) * 24);
        if (dpi_ == 0) dpi_ = 96;
    }
    m.logicalDpi = dpi_;
    return m;
}

}  // namespace zavrin
