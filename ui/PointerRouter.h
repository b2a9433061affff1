#pragma once

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace zavrin {

// Something the pointer can be over inside a skinned window: a windowless
// control of a dialog, or a pop-up menu as a whole. Every operation returns
// whether the target's look changed, so that its window repaints it.
class PointerTarget {
public:
    virtual ~PointerTarget() = default;

    // The part of the window's client area the target covers.
    virtual RECT PointerArea() const = 0;
    // A press that changes this target's look repaints the whole window.
    virtual bool RepaintsWholeWindow() const { return false; }

    virtual BOOL OnMouseMove(WPARAM keyFlags, POINT p) = 0;
    virtual BOOL OnLButtonDown(WPARAM keyFlags, POINT p) = 0;
    virtual BOOL OnLButtonUp(WPARAM keyFlags, POINT p) = 0;
    virtual BOOL OnRButtonUp(WPARAM keyFlags, POINT p) = 0;
    virtual BOOL OnLButtonDblClk(WPARAM keyFlags, POINT p) = 0;
    // Told that a press it had went elsewhere.
    virtual BOOL OnFocus(BOOL focused) = 0;
};

// What a window tells its router about itself: where the targets are and how
// to repaint them. The router keeps the state; the host keeps the targets.
class PointerHost {
public:
    virtual ~PointerHost() = default;

    virtual HWND PointerWindow() const = 0;
    // Every target that takes part hears the move at `p`; returns the one
    // under `p` that becomes the hovered target (the last in z-order), or null.
    virtual PointerTarget* SweepMove(WPARAM keyFlags, POINT p) = 0;
    // The target a press at `p` goes to, given the hovered one; null for the
    // background.
    virtual PointerTarget* PressTarget(PointerTarget* hovered, POINT p) = 0;
    // The target a double click goes to and the area it remembers as pressed.
    virtual PointerTarget* DoubleClickTarget(PointerTarget* hovered, POINT p, RECT& pressedArea) = 0;
    // The target a right-button release goes to.
    virtual PointerTarget* RightClickTarget(PointerTarget* hovered, POINT p) = 0;
    // The point the hovered target hears when the mouse leaves the window.
    virtual POINT LeavePoint(const PointerTarget& hovered, POINT cursor) const = 0;
    // Repaints the area a target covered (or the whole window).
    virtual void Repaint(const RECT& area, bool wholeWindow) = 0;
    // A press landed on a target (the dialog moves the keyboard focus there).
    virtual void TargetPressed(PointerTarget&) {}
};

// How a window's pointer rules differ from the dialog's.
struct PointerRules {
    // How long the mouse rests before the window hears a hover report.
    std::uint32_t hoverTimeMs = 1;
    // While the left button is held, the pressed target still hears moves
    // inside its area (dialogs: a slider thumb follows), or nobody does (menus).
    bool heldTargetHearsMoves = true;
    // A hover report repaints the hovered target (dialogs) or hands it a move
    // at the cursor (menus, which pick their row from it).
    bool hoverReportMoves = false;
};

// The pointer state of one skinned window: whether hover and leave reports are
// asked for, which target is hovered and which took the last press, whether the
// left button is held and the window holds the capture. Both the dialogs and
// the pop-up menus route their mouse messages through one of these, so the
// rules live here once:
//
// | message       | rule                                                             |
// |---------------|------------------------------------------------------------------|
// | move          | ask for hover and leave reports when none are pending. The       |
// |               | hovered target hears a move inside its area (while the button is |
// |               | held only if `heldTargetHearsMoves`, and only while reports are  |
// |               | coming). Otherwise, unless the button is held: with reports      |
// |               | coming every target hears it (SweepMove) and the one under the   |
// |               | point becomes hovered, without them none is; the old and the new |
// |               | hovered target are repainted.                                    |
// | leave         | reports stop. While the button is held nothing else changes;     |
// |               | else the hovered target hears the leave point, is repainted and  |
// |               | stops being hovered.                                             |
// | hover report  | the hovered target under the cursor is repainted, or hears a     |
// |               | move at the cursor (`hoverReportMoves`).                         |
// | left down     | a pressed target other than the hovered one is told it lost the  |
// |               | press. On a target (PressTarget): the button is held, the target |
// |               | becomes hovered and pressed, its area is remembered, it hears    |
// |               | the press, and the window takes the capture unless it still      |
// |               | holds it (a press whose release was lost is complete as it is).  |
// |               | On the background: no target; the host decides (window drag).    |
// | left up       | the capture is let go, the button is no longer held. The hovered |
// |               | target hears the release and is repainted (or the whole window)  |
// |               | when its look changed and it is still hovered; it stays hovered  |
// |               | only when the release is inside its area or the pressed area.    |
// | double click  | DoubleClickTarget hears it; the pressed area is what the host    |
// |               | named.                                                           |
// | right up      | RightClickTarget hears it and is repainted when its look changed |
// |               | and it is still hovered.                                         |
// | capture lost  | another window took the mouse: the capture is no longer held, so |
// |               | the next press takes it back.                                    |
//
// UI thread only. A target's handlers may run other window code (a dialog's
// notification handler) that calls Forget or LosePress on this router.
class PointerRouter {
public:
    PointerRouter(PointerHost& host, PointerRules rules) : host_(host), rules_(rules) {}

    PointerRouter(const PointerRouter&) = delete;
    PointerRouter& operator=(const PointerRouter&) = delete;

    // The outcome of a press, a double click or a right release.
    struct Outcome {
        bool onTarget = false;  // a target heard it
        bool changed = false;   // and its look changed
    };

    void Move(WPARAM keyFlags, POINT p);
    void Leave();
    void HoverReport();
    Outcome LeftDown(WPARAM keyFlags, POINT p);
    Outcome LeftUp(WPARAM keyFlags, POINT p);
    Outcome DoubleClick(WPARAM keyFlags, POINT p);
    Outcome RightUp(WPARAM keyFlags, POINT p);
    // WM_CAPTURECHANGED: `newOwner` now has the mouse.
    void CaptureChanged(HWND newOwner);

    // What Route did with a window message.
    struct Routed {
        bool taken = false;     // a mouse message, handed to the call above
        bool finished = false;  // a move, leave or hover report: nothing more to do
        Outcome outcome;        // of a press, a double click or a release
    };
    // Hands a window's mouse message (moves, leave and hover reports, the
    // left and right buttons, a capture change) to the matching call above,
    // so that the windows that route their pointer share one translation.
    // The window then decides what else a press or a release does.
    Routed Route(UINT message, WPARAM wParam, LPARAM lParam);

    // A press that went elsewhere (a menu closing, say): the pressed target,
    // when it is not the hovered one, is told and forgotten.
    void LosePress();
    // The target is going away: the router forgets it wherever it holds it.
    void Forget(const PointerTarget* target);

    PointerTarget* hovered() const { return hovered_; }
    PointerTarget* pressed() const { return pressed_; }
    // The last point handed to targets; (-1, -1) after the mouse left.
    POINT lastPoint() const { return lastPoint_; }
    bool buttonHeld() const { return buttonHeld_; }
    bool capturing() const { return capturing_; }
    bool reportsPending() const { return tracking_; }

private:
    POINT CursorInClient() const;

    PointerHost& host_;
    PointerRules rules_;
    bool tracking_ = false;
    bool buttonHeld_ = false;
    bool capturing_ = false;
    PointerTarget* hovered_ = nullptr;
    PointerTarget* pressed_ = nullptr;
    RECT pressedArea_{-1, -1, -1, -1};
    POINT lastPoint_{-1, -1};
};

}  // namespace zavrin
