#pragma once

// Internal to the window layer: the parts behind WindowSystem and the functions
// of Window.h. Not for use outside platform/.

#include <string_view>

#include "platform/MessageLoop.h"
#include "platform/WindowSystem.h"

namespace zavrin {

// Holds the parts of the layer, each with one job (see their headers), and
// does what concerns them all: a window's creation and destruction, and
// posting with the cursor's position. UI thread only, except `post`.
class WindowSystemImpl {
public:
    WindowSystemImpl(Backend& backend, Graphics* graphics);
    ~WindowSystemImpl();
    WindowSystemImpl(const WindowSystemImpl&) = delete;
    WindowSystemImpl& operator=(const WindowSystemImpl&) = delete;

    // Destroys every window that is left.
    void destroyAll();

    HWND create(CWnd* object, std::uint32_t exStyle, std::uint32_t style, const RECT& rect, HWND owner,
                std::string_view title, std::uint32_t classStyle);
    // Destroys the window and those it owns; false when it was gone already.
    bool destroy(HWND h);
    // PostMessage: safe from any thread.
    bool post(HWND h, UINT message, WPARAM wParam, LPARAM lParam);

    Backend& backend() { return backend_; }
    WindowTable& table() { return table_; }
    const ZOrder& zorder() const { return zorder_; }
    Activation& activation() { return activation_; }
    Placement& placement() { return placement_; }
    MouseCapture& capture() { return capture_; }
    PaintQueue& paint() { return paint_; }
    TimerQueue& timers() { return timers_; }
    HoverTracker& hover() { return hover_; }
    InputRouter& input() { return input_; }
    MessageLoop& loop() { return loop_; }
    const MessageLoop& loop() const { return loop_; }
    const PointerState& pointer() const { return pointer_; }
    const KeyState& keys() const { return keys_; }

private:
    Backend& backend_;
    WindowTable table_;
    ZOrder zorder_{table_};
    PostedQueue queue_{backend_};
    PointerState pointer_;
    KeyState keys_;
    TimerQueue timers_;
    MouseCapture capture_{table_, backend_};
    Activation activation_{table_, zorder_, backend_};
    PaintQueue paint_;
    Placement placement_{table_, zorder_, activation_, capture_, paint_, backend_};
    HoverTracker hover_{table_, zorder_, pointer_, queue_, backend_.clock()};
    InputRouter input_{InputParts{table_, zorder_, activation_, placement_, capture_, hover_, pointer_, keys_, queue_,
                                  backend_}};
    MessageLoop loop_{LoopParts{table_, queue_, input_, paint_, timers_, hover_, pointer_, backend_}};
};

WindowSystemImpl* CurrentImpl();

}  // namespace zavrin
