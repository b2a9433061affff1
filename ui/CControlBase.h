#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/Image.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "ui/Looks.h"
#include "ui/PointerRouter.h"
#include "ui/UiMessages.h"

namespace zavrin {

// Mouse state every control keeps: 0 normal, 1 hover, 2 pressed.
inline constexpr int kStateNormal = 0;
inline constexpr int kStateHover = 1;
inline constexpr int kStatePressed = 2;


// The font every control starts with, made from the language's UI font.
Font MakeUiFont();

// Where skin pictures are read from: the program's folder, set by the
// application at start-up (the tests point it at the build's bin folder).
inline std::filesystem::path skinFolder;
// The full path of a relative name such as "skins\\combo2_nr.png".
std::filesystem::path SkinPath(std::string_view relative);

// Base of every windowless control of a skinned dialog. A control is a rectangle
// of its dialog's client area: the dialog paints it into its off-screen surface
// and hands it the mouse; the control keeps its own look and reports what the
// user did by sending the dialog message `id` (wParam a value, lParam one of
// ControlNotify) with SendMessage, so the dialog's handler runs before the
// control's mouse operation returns.
//
// Its state is its own: other code reads it and changes it through the
// setters, which do what a change needs (disabling repaints and drops the hover
// and pressed look).
//
// UI thread only. A handler that a notification runs may end the dialog but must
// not delete the notifying control.
class CControlBase : public PointerTarget {
public:
    CControlBase(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                 BOOL visible, BOOL disabled, BOOL mouseActive);
    ~CControlBase() override;

    CControlBase(const CControlBase&) = delete;
    CControlBase& operator=(const CControlBase&) = delete;

    // Paints the control into the dialog's off-screen surface; `clip` is the
    // part being repainted.
    virtual void Draw(Canvas& dc, const RECT& clip) = 0;

    // Told by the dialog that a press it had went elsewhere; nothing by default.
    BOOL OnFocus(BOOL focused) override;

    // Neither SetRect, SetShown nor SetVisible repaints: the caller does.
    virtual void SetRect(int left, int top, int right, int bottom);
    virtual RECT* GetRect(RECT* out) const;
    // Stores a different text and repaints the control; the same text does nothing.
    virtual void SetText(const std::string& newText);
    virtual std::string GetText() const;
    virtual void SetShown(BOOL value);
    virtual void SetVisible(BOOL value);

    // Mouse operations in dialog client coordinates; each returns TRUE when the
    // control's look changed, and the dialog then repaints the control.
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnRButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDblClk(WPARAM keyFlags, POINT p) override;

    // Keyboard input while the control has the dialog's keyboard focus (only
    // controls that take the focus get it). TRUE: the key was used and the
    // dialog does nothing more with it.
    virtual BOOL OnKeyDown(WPARAM virtualKey);
    virtual BOOL OnChar(std::uint32_t codePoint);
    // Told when the keyboard focus arrives or leaves.
    virtual void OnKeyboardFocus(BOOL focused);
    // Whether a click makes the control the dialog's keyboard focus.
    virtual bool TakesKeyboardFocus() const { return false; }

    // The pictures of the control's looks (the button family draws them):
    // from one skin base name, or one picture for some looks, or a strip.
    bool LoadLooks(std::string_view skinBase) { return looks.Load(skinBase); }
    bool LoadLook(std::initializer_list<Look> which, const std::filesystem::path& path) {
        return looks.Set(which, path);
    }
    bool LoadStrip(const std::filesystem::path& path) { return looks.LoadStrip(path); }

    // Drops every picture the control holds; the dialog calls it on close.
    virtual void ReleaseImages();

    // Replaces the control's font (the UI character set is kept).
    void SetFont(int height, const std::string& face);
    void SetFontWeight(int weight) { font.weight = weight; }

    // A disabled control ignores the mouse and draws its disabled look, so a
    // change repaints it and drops any hover or pressed look it had.
    void SetDisabled(bool value);
    bool IsDisabled() const { return disabled != FALSE; }
    bool IsShown() const { return shown != FALSE; }
    bool IsVisible() const { return visible != FALSE; }
    // Painted and hit-tested only when both flags are set.
    bool IsDisplayed() const { return shown && visible; }
    // A control that is not mouse-active is painted but never hovered.
    bool IsMouseActive() const { return mouseActive != FALSE; }
    // The mouse look: kStateNormal, kStateHover or kStatePressed.
    int MouseLook() const { return state; }
    const RECT& Rect() const { return rect; }
    HWND Parent() const { return parent; }

    RECT PointerArea() const override { return rect; }
    bool RepaintsWholeWindow() const override { return repaintsWholeWindow_; }
    // A click that changes this control's look repaints the whole window, not
    // just the control: tabs and section headers change what else is shown.
    void SetRepaintsWholeWindow(bool value) { repaintsWholeWindow_ = value; }

    const std::uint32_t id;

protected:
    RECT rect;
    BOOL shown;
    BOOL visible;
    BOOL disabled;
    std::string text;
    HWND parent;
    Font font;
    int state = kStateNormal;

    // Sends a message to the dialog and returns its answer.
    LRESULT Notify(UINT message, WPARAM wParam, LPARAM code) const;
    // Sends the control's own notification: message `id` with `code`.
    LRESULT NotifyCode(LPARAM code, WPARAM wParam = 0) const { return Notify(id, wParam, code); }
    // Asks the dialog to repaint the control's rectangle.
    void Invalidate() const;
    // Sets one piece of the control's state, repainting only when it changed:
    // the setters' shared rule, so that callers never repaint by hand.
    template <class T, class U>
    void Change(T& field, U&& value) {
        if (field == value) return;
        field = std::forward<U>(value);
        Invalidate();
    }

    bool Contains(POINT p) const { return PtInRect(rect, p); }

    // The standard behaviour the classes share, each returning whether `state`
    // changed:
    // hover follows the point unless disabled or pressed;
    BOOL StandardMouseMove(POINT p);
    // a press inside turns pressed and reports ControlNotify::Press;
    BOOL StandardLButtonDown(POINT p);
    // a release inside turns hover, lets the class take its new value
    // (`onClick`), then reports ControlNotify::Click with `clickParam`; a release
    // outside turns normal and reports nothing.
    template <class OnClick>
    BOOL StandardLButtonUp(POINT p, WPARAM clickParam, OnClick&& onClick) {
        if (disabled) return FALSE;
        const int old = state;
        if (Contains(p)) {
            state = kStateHover;
            onClick();
            const BOOL changed = state != old;
            NotifyCode(ControlNotify::Click, clickParam);
            return changed;
        }
        state = kStateNormal;
        return state != old;
    }
    BOOL StandardLButtonUp(POINT p) {
        return StandardLButtonUp(p, 0, [] {});
    }
    // a double click inside turns hover and reports ControlNotify::DoubleClick; outside it
    // turns normal and reports nothing.
    BOOL StandardLButtonDblClk(POINT p);

    // The caption rule of every class: one line, centred vertically, cut with an
    // ellipsis, in the rectangle narrowed by the insets.
    void DrawCaption(Canvas& dc, std::string_view caption, COLORREF color, std::uint32_t format,
                     int insetLeft, int insetRight) const;

    // Draws the control's look: frame `frame` of its strip of `frameCount`
    // frames when it has a strip, else the picture of `look` (nothing when
    // that is missing).
    void DrawLook(Canvas& dc, int frame, int frameCount, Look look) const;

    // Loads a picture into a slot and records its size as the control's picture
    // size; false (slot emptied, size unchanged) for a missing file.
    bool LoadInto(Picture& slot, const std::filesystem::path& path);

    int imageWidth = 0;
    int imageHeight = 0;
    Looks looks;

private:
    BOOL mouseActive;
    bool repaintsWholeWindow_ = false;
};

// Stretches a whole picture over `dst`; nothing for a missing picture.
void DrawPicture(Canvas& dc, const Picture& picture, const RECT& dst);
// Draws frame `index` of a strip of `frameWidth`-wide frames over `dst`.
void DrawStripFrame(Canvas& dc, const Picture& strip, int frameWidth, int index, const RECT& dst);

// The text colours of the three looks.
COLORREF TextColorOfFrame(int frame);

}  // namespace zavrin
