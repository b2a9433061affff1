#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Image.h"
#include "platform/PixelRunsImage.h"
#include "ui/CControlBase.h"
#include "ui/PointerRouter.h"

namespace zavrin {

class CWndPopup;

// The base of every skinned window: the main window and the small modal
// dialogs. The dialog owns its windowless controls in nine ordered lists (list
// 0 the always-present common list, lists 1..8 sections a subclass shows and
// hides as groups), paints its whole client area off screen, and turns the
// window's mouse messages into calls on the control under the mouse. List order
// is z-order: lists 0..8, each front to back, for painting and hit testing
// alike, so the last control that contains a point gets the mouse.
//
// Which control is hovered and which took the press is the dialog's pointer
// router's business (ui/PointerRouter.h); the dialog answers its questions:
// every displayed mouse-active control hears a move, presses go to the hovered
// control, right clicks only to the common list, double clicks to the hovered
// control when any control lies under the point.
//
// Controls report with SendMessage(dialog, control id, wParam, code); a
// subclass handles those in WindowProc and passes the rest to
// CDlgBase::WindowProc. UI thread only.
class CDlgBase : public CDialog, private PointerHost {
public:
    static constexpr int kListCount = 9;
    static constexpr int kCommonList = 0;
    static constexpr int kPopupSlotCount = 11;
    static constexpr COLORREF kInitialBackground = 0xEFE2BA;
    static constexpr const char* kWindowTitle = "Zavrin ZR2";

    explicit CDlgBase(HWND owner = {});
    ~CDlgBase() override;

    // Draws the whole client area: background, frame, the window's own parts,
    // and finally the controls through DrawControls.
    virtual void DrawWindow(Canvas& dc, const RECT& client) = 0;
    // Draws every shown and visible control that meets `clip`, in list order.
    virtual void DrawControls(Canvas& dc, const RECT& clip);
    // Creates the controls and appends them to the lists; called once from
    // OnInitDialog with the client rectangle.
    virtual void BuildControls(const RECT& client) = 0;

    BOOL OnInitDialog() override;

    // Appends a control to a list; the dialog owns it from then on. Returns it.
    template <class Control>
    Control* AddControl(int list, std::unique_ptr<Control> control) {
        Control* raw = control.get();
        controlLists_[static_cast<std::size_t>(list)].push_back(std::move(control));
        return raw;
    }

    // The first control with the id in list order, or null.
    CControlBase* FindControl(std::uint32_t id) const;
    // Drops every control's pictures; every close path calls it before ending.
    void ReleaseControlImages();

    // Builds the frame cache from a BMP or PNG file (a missing file leaves the
    // window without a frame), or takes the frame ready-made beside it at the
    // scale it was made for. The last file loaded stays prepared at the UI
    // scale, so the dialog opened again takes it as it is.
    bool LoadFrameBitmap(const std::filesystem::path& path);
    // Builds the frame cache: the picture scaled by the UI scale, and the
    // background colour from the picture's average colour.
    void SetFrameBitmap(std::shared_ptr<const Image> bitmap);
    // The same from a picture kept as pixel runs. At scale 1 an opaque one is
    // drawn straight from its runs and never held decoded; otherwise it is
    // decoded and scaled as SetFrameBitmap does.
    void SetFrameRuns(std::shared_ptr<const PixelRunsImage> runs);
    // A frame already at the UI scale (ReadyMadeFrames.h), drawn straight from
    // its runs as an opaque frame is at scale 1: nothing decoded, nothing
    // scaled, no cache. False, changing nothing, when the UI scale is not the
    // one frames are made for or `ready` is missing or not opaque.
    bool SetReadyMadeFrame(std::shared_ptr<const PixelRunsImage> ready);
    // The frame compiled in as bitmap `id`: ready-made where there is one for
    // the UI scale, else from its runs (or its PNG) as SetFrameRuns draws them;
    // for those the caller sets `frameSize` first.
    void LoadFrameResource(int id);
    // Fills with `backgroundColor` and copies the frame cache to the top-left
    // corner: the usual start of a DrawWindow.
    void DrawFrame(Canvas& dc, const RECT& client) const;

    // Pop-up slots: a menu the dialog opened, by kind of slot.
    // Creates `menu` with its top-left corner at the screen point `at`,
    // reporting `reportMessage` with `ownerParam`, and keeps it in `slot`. A
    // menu whose window cannot be made is deleted and the slot left as it was.
    // Returns the menu (from now on deleting itself with its window) or null.
    CWndPopup* OpenPopup(int slot, std::unique_ptr<CWndPopup> menu, POINT at, UINT reportMessage, int ownerParam);
    void SetPopup(int slot, CWndPopup* popup);
    // The menu in the slot while its window exists; null otherwise.
    CWndPopup* GetPopup(int slot) const;
    // Gives up a press that went elsewhere, asks the slot's menu (if its window
    // still exists) to close, and clears the slot.
    void ClosePopup(int slot);

    // The control that gets the keyboard first (an edit box), or null. Keys it
    // does not use go on to the dialog's own handling.
    void SetKeyboardFocus(CControlBase* control);
    CControlBase* GetKeyboardFocus() const { return focusControl_; }

    // Records the dialog in `openDialogs`; small dialogs call it in their
    // initialisation. The destructor takes it out again.
    bool RegisterInOpenDialogs();

    // The window's size in pixels, fixed by a subclass before OnInitDialog.
    int WindowWidth() const { return windowWidth; }
    int WindowHeight() const { return windowHeight; }
    // The frame picture's size in design units, for SetFrameBitmap (a loaded
    // file sets it itself).
    void SetFrameSize(SIZE size) { frameSize = size; }
    // What fills the window beyond the frame: the frame's average colour.
    COLORREF BackgroundColor() const { return backgroundColor; }
    // The frame at the UI scale, opaque. At scale 1 an opaque picture is its
    // own cache, shared rather than copied. Null while the frame is drawn from
    // runs (FrameRuns).
    const std::shared_ptr<const Image>& FrameCache() const { return frameCache; }
    // The frame's runs when it is drawn straight from them, else null.
    const std::shared_ptr<const PixelRunsImage>& FrameRuns() const { return frameRuns; }

    using ControlList = std::vector<std::unique_ptr<CControlBase>>;
    // The nine lists in z-order, to walk (the script and soak drivers, the
    // tests, a subclass showing a section). Only AddControl adds to them.
    const std::array<ControlList, kListCount>& ControlLists() const { return controlLists_; }

    // The pointer state, to look at: the hovered and the pressed control, the
    // held button and the capture.
    const PointerRouter& Pointer() const { return pointer_; }
    CControlBase* HoverControl() const { return static_cast<CControlBase*>(pointer_.hovered()); }
    CControlBase* PressedControl() const { return static_cast<CControlBase*>(pointer_.pressed()); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int windowWidth = 2254;
    int windowHeight = 1480;
    SIZE frameSize{100, 100};

private:
    // What a press, a double click or a release routed to the controls
    // leaves for the window to do.
    LRESULT AfterPointerMessage(UINT message, WPARAM wParam, LPARAM lParam, PointerRouter::Outcome outcome);

    struct PopupSlot {
        CWndPopup* popup = nullptr;
        HWND hwnd;
    };

    void OnPaint();

    // What the pointer router asks of the dialog.
    HWND PointerWindow() const override { return GetSafeHwnd(); }
    PointerTarget* SweepMove(WPARAM keyFlags, POINT p) override;
    PointerTarget* PressTarget(PointerTarget* hovered, POINT p) override;
    PointerTarget* DoubleClickTarget(PointerTarget* hovered, POINT p, RECT& pressedArea) override;
    PointerTarget* RightClickTarget(PointerTarget* hovered, POINT p) override;
    POINT LeavePoint(const PointerTarget& hovered, POINT cursor) const override;
    void Repaint(const RECT& area, bool wholeWindow) override;
    void TargetPressed(PointerTarget& target) override;

    // Controls are built once, however often the dialog is initialised.
    bool uiBuilt = false;
    // Hover reports come almost at once, so controls light up without delay.
    PointerRouter pointer_{*this, PointerRules{.hoverTimeMs = 1, .heldTargetHearsMoves = true,
                                               .hoverReportMoves = false}};
    std::array<PopupSlot, kPopupSlotCount> popupSlots_{};
    HWND registeredHandle_;
    // The part being repainted during WM_PAINT, so DrawControls can skip the rest.
    RECT paintClip_{};
    bool painting_ = false;
    CControlBase* focusControl_ = nullptr;
    std::array<ControlList, kListCount> controlLists_;
    std::shared_ptr<const Image> icon;
    COLORREF backgroundColor = kInitialBackground;
    std::shared_ptr<const Image> frameCache;
    // Instead of the cache: the frame drawn from its runs (see SetFrameRuns).
    std::shared_ptr<const PixelRunsImage> frameRuns;
};

}  // namespace zavrin
