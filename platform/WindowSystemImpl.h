#pragma once

// Internal to the window layer: the state behind WindowSystem and the functions
// of Window.h. Not for use outside platform/.

#include <array>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Backend.h"
#include "platform/Canvas.h"
#include "platform/WindowSystem.h"
#include "platform/Image.h"
#include "platform/Window.h"

namespace zavrin {

struct WindowRecord {
    HWND hwnd;
    CWnd* object = nullptr;
    HWND owner;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t classStyle = 0;
    RECT rect;
    std::string title;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool maximized = false;
    std::uint8_t opacity = 255;
    Image surface;
    RECT update;  // bounding box of the invalid part; empty when valid
    bool erase = false;
    bool beganPaint = false;  // BeginPaint ran during the current WM_PAINT
    std::unique_ptr<Canvas> paintCanvas;
    int dispatchDepth = 0;
    bool destroying = false;
    bool destroyed = false;
};

struct Timer {
    HWND hwnd;
    std::uintptr_t id = 0;
    Clock::Duration period{0};
    Clock::Duration deadline{0};
    std::uint64_t sequence = 0;
};

class WindowSystemImpl {
public:
    WindowSystemImpl(Backend& backend, Graphics* graphics);
    ~WindowSystemImpl();
    // Destroys every window that is left.
    void destroyAll();

    Backend& backend;
    Graphics* graphics;
    IdleSource* idleSource = nullptr;
    std::deque<InputEvent> injected;
    // Keys held down, by virtual-key code (GetKeyState).
    std::array<bool, 256> keysDown{};
    void noteKey(std::uint32_t key, bool down);

    // ---- windows ----
    WindowRecord* live(HWND h);
    const WindowRecord* live(HWND h) const;
    HWND create(CWnd* object, std::uint32_t exStyle, std::uint32_t style, const RECT& rect, HWND owner,
                std::string_view title, std::uint32_t classStyle);
    bool destroy(HWND h);
    void detachObject(CWnd* object);

    LRESULT send(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
    bool post(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
    void postQuit(int code);

    // ---- activation and stacking ----
    HWND activate(HWND h, WPARAM how);
    void bringToFront(HWND h);
    void activateNextAfter(HWND leaving);
    bool enable(HWND h, bool enable);
    bool show(HWND h, int command);
    bool setPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags);
    HWND windowFromPoint(POINT screen) const;
    std::vector<HWND> zorder;  // top to bottom

    // ---- timers ----
    std::uintptr_t setTimer(HWND h, std::uintptr_t id, std::uint32_t ms);
    bool killTimer(HWND h, std::uintptr_t id);
    std::optional<Clock::Duration> nextDeadline() const;

    // ---- mouse ----
    HWND setCapture(HWND h);
    bool releaseCapture();
    bool trackMouse(const TRACKMOUSEEVENT& request);
    void startMove(HWND h);

    // ---- painting ----
    bool invalidate(HWND h, const RECT* rect, bool erase);
    bool validate(HWND h, const RECT* rect);
    bool updateWindow(HWND h);
    Canvas* beginPaint(HWND h, PAINTSTRUCT& ps);
    void endPaint(HWND h, const PAINTSTRUCT& ps);
    bool updateLayered(HWND h, const Image& picture);

    // ---- loop ----
    bool processOne();
    bool pumpPending();
    bool pumpOrWait();
    bool runUntil(const std::function<bool()>& done);

    HWND capture;
    HWND active;
    // Written on the UI thread only, under queueMutex_, because post() reads it
    // from any thread; UI-thread reads need no lock.
    POINT cursor;
    WPARAM buttons = 0;
    bool quit = false;
    int quitCode = 0;

private:
    bool processPosted();
    bool processInput();
    bool processPaint();
    bool processTimer();
    bool processHover();
    void handleInput(const InputEvent& e);
    void handleMouse(const InputEvent& e);
    // The steps of handleMouse: the cursor and button state (returning the
    // message's key flags); a window dragged by its background (true when the
    // event was used for it); the activation a press brings (false for a press
    // on the bare desktop); the button message of a press or release.
    WPARAM noteMouseButtons(const InputEvent& e);
    bool followWindowMove(const InputEvent& e);
    bool activateOnPress(HWND target);
    static UINT buttonMessage(const InputEvent& e, const WindowRecord& rec);
    void dispatchQueued(MSG msg);
    void updateTracking(POINT screen);
    void finishDestroy(WindowRecord* rec);
    void sendPaint(HWND h);

    std::unordered_map<std::uint64_t, std::unique_ptr<WindowRecord>> windows_;
    std::uint64_t nextHandle_ = 0x10;

    // Posted messages and the handles they may go to; shared with other threads.
    mutable std::mutex queueMutex_;
    std::deque<MSG> posted_;
    std::unordered_set<std::uint64_t> postable_;

    std::vector<Timer> timers_;
    std::uint64_t timerSequence_ = 0;

    // Hover and leave tracking of one window at a time.
    HWND trackWindow_;
    bool trackLeave_ = false;
    bool trackHover_ = false;
    std::uint32_t hoverTime_ = 400;
    Clock::Duration hoverDeadline_{0};
    POINT hoverAnchor_;

    // A window being dragged by its background.
    HWND moving_;
    POINT moveGrab_;
};

WindowSystemImpl* CurrentImpl();

}  // namespace zavrin
