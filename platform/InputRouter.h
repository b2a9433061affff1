#pragma once

// Internal to the window layer. Not for use outside platform/.

#include "platform/HoverTracker.h"
#include "platform/KeyState.h"
#include "platform/Placement.h"
#include "platform/WindowDrag.h"

namespace zavrin {

// The parts of the layer that input reaches.
struct InputParts {
    WindowTable& table;
    const ZOrder& zorder;
    Activation& activation;
    Placement& placement;
    MouseCapture& capture;
    HoverTracker& hover;
    PointerState& pointer;
    KeyState& keys;
    PostedQueue& queue;
    Backend& backend;
};

// Turns the backend's input events into window messages: mouse messages to
// the capturing window or the one under the pointer (activating it on a
// press), keys to the active window, and the desktop's window requests (close,
// focus, minimise) into the layer's own. Also drags a window by its background.
// UI thread only.
class InputRouter {
public:
    explicit InputRouter(const InputParts& parts) : parts_(parts) {}

    void handle(const InputEvent& e);
    // Starts dragging `h` with the mouse, if the left button is down.
    void startMove(HWND h);
    // The window is going; a drag of it ends.
    void forget(HWND h) { drag_.forget(h); }

private:
    void handleMouse(const InputEvent& e);
    void handleKey(const InputEvent& e);
    void handleDesktopRequest(const InputEvent& e);
    // The steps of handleMouse: a window dragged by its background (true when
    // the event was used for it); the activation a press brings (false for a
    // press on the bare desktop); the button message of a press or release.
    bool followWindowMove(const InputEvent& e);
    bool activateOnPress(HWND target);
    static UINT buttonMessage(const InputEvent& e, const WindowRecord& rec);

    InputParts parts_;
    WindowDrag drag_;
};

}  // namespace zavrin
