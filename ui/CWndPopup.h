#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Window.h"
#include "ui/ButtonChoice.h"
#include "ui/CControlBase.h"
#include "ui/PointerRouter.h"
#include "ui/PopupCatalog.h"

namespace zavrin {

// The base of the pop-up menus: a small top-level window, owned by the dialog
// that opened it, that draws itself completely (off screen, shown as a layered
// window) and reports to its owner with SendMessage:
// - the choice: (reportMessage, ownerParam, address of a ButtonChoice) for most
//   menus (the address is valid only while the message is handled);
// - losing activation: (the kind's deactivation message, ownerParam, kind);
// - WM_CLOSE arriving: (PopupMessage::Closed, 0, 0), before the window goes.
// The menu never closes itself: its owner posts WM_CLOSE after a result or a
// deactivation. Once the window is destroyed the object deletes itself, so an
// owner keeps its handle and checks IsWindow before touching the object.
//
// The pointer goes through a PointerRouter with the menu's rules: the whole
// menu is one target, moves are ignored while the button is held, and a hover
// report hands the menu a move at the cursor.
//
// Menus are created with new and Create; UI thread only.
class CWndPopup : public CWnd, private PointerHost {
public:
    explicit CWndPopup(int kind);

    // Creates and shows the menu with its top-left corner at rect's top-left
    // (screen coordinates); the menu sizes itself. False when the window could
    // not be made: the owner then deletes the object.
    BOOL Create(HWND parentWindow, const RECT& rect, UINT reportMessage, int ownerParam);

    virtual void Draw(Canvas& dc, const RECT& client);
    virtual void DrawIcons(Canvas& dc, const RECT& client);
    virtual void InitItems();
    virtual BOOL OnMouseMove(int x, int y);
    virtual BOOL OnLButtonDown(int x, int y);
    virtual BOOL OnLButtonUp(int x, int y);
    virtual BOOL OnRButtonUp(int x, int y);

    // The deactivation message of a kind; 0 for an unknown kind.
    static UINT DeactivationMessage(int kind);

    // The pointer state, to look at.
    const PointerRouter& Pointer() const { return pointer_; }
    // The kind given at construction (PopupKind).
    int Kind() const { return kind; }

protected:
    Font font;
    int left = 0;
    int top = 0;
    UINT reportMessage = 0;
    int ownerParam = 0;
    const int kind;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    // Draws the menu off screen and hands the picture to the window.
    void Render();
    LRESULT SendToOwner(UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;

private:
    // The menu as the router's one target: its mouse operations in the
    // menu's own (x, y) form.
    class MenuTarget : public PointerTarget {
    public:
        explicit MenuTarget(CWndPopup& menu) : menu_(menu) {}
        RECT PointerArea() const override { return menu_.GetClientRect(); }
        BOOL OnMouseMove(WPARAM, POINT p) override { return menu_.OnMouseMove(p.x, p.y); }
        BOOL OnLButtonDown(WPARAM, POINT p) override { return menu_.OnLButtonDown(p.x, p.y); }
        BOOL OnLButtonUp(WPARAM, POINT p) override { return menu_.OnLButtonUp(p.x, p.y); }
        BOOL OnRButtonUp(WPARAM, POINT p) override { return menu_.OnRButtonUp(p.x, p.y); }
        BOOL OnLButtonDblClk(WPARAM, POINT) override { return FALSE; }
        BOOL OnFocus(BOOL) override { return FALSE; }

    private:
        CWndPopup& menu_;
    };

    HWND PointerWindow() const override { return GetSafeHwnd(); }
    PointerTarget* SweepMove(WPARAM keyFlags, POINT p) override;
    PointerTarget* PressTarget(PointerTarget*, POINT) override { return &target_; }
    PointerTarget* DoubleClickTarget(PointerTarget*, POINT, RECT&) override { return nullptr; }
    PointerTarget* RightClickTarget(PointerTarget*, POINT) override { return &target_; }
    POINT LeavePoint(const PointerTarget&, POINT cursor) const override { return cursor; }
    void Repaint(const RECT& area, bool wholeWindow) override;

    MenuTarget target_{*this};
    // Menus report hover after a short rest, like a native menu.
    PointerRouter pointer_{*this, PointerRules{.hoverTimeMs = 50, .heldTargetHearsMoves = false,
                                               .hoverReportMoves = true}};
};

// One row of a menu.
struct PopupItem {
    int separator = 0;  // a thin line; never hovered
    int id = 0;
    Picture icon;       // no menu fills it
    std::string text;
    RECT itemRect{};
    int hasSubmenu = 0;
};

// The four row pictures of the picture-style menus.
struct PopupPictures {
    Picture row;
    Picture rowHover;
    Picture submenuRow;
    Picture submenuRowHover;
};
// "skins\menu_nr.png", "skins\menu_ov.png", "skins\menusub_nr.png", "skins\menusub_ov.png".
PopupPictures LoadStandardPopupPictures();

// A menu of rows: the item list, the hovered row, the layout of a family and
// the standard item logic (hover follows the first row under the mouse; a
// release on the row that is hovered picks it). Draws in the picture style;
// menus with a look of their own override Draw.
class CItemPopup : public CWndPopup {
public:
    CItemPopup(int kind, PopupLayoutFamily family, PopupPictures pictures);

    // Appends a row and lays every row out again, resizing the window.
    void AddItem(std::string text, int id, bool hasSubmenu = false, bool separator = false);
    // Appends the rows of a table, with their language texts.
    void AddItems(std::span<const PopupTableRow> tableRows);

    void Draw(Canvas& dc, const RECT& client) override;
    BOOL OnMouseMove(int x, int y) override;
    BOOL OnLButtonDown(int x, int y) override;
    BOOL OnLButtonUp(int x, int y) override;

    // The row index under a point, separators excluded; -1 for none.
    int RowAt(POINT p) const;
    // The rows as laid out, in the menu's client coordinates.
    const std::vector<PopupItem>& Items() const { return items; }
    // The hovered row, -1 for none.
    int HoverIndex() const { return hoverIndex; }

protected:
    std::vector<PopupItem> items;
    int hoverIndex = -1;
    ButtonChoice result;
    PopupPictures pictures;
    PopupLayoutFamily family;

    // Called with the hovered item on a release that picks it.
    virtual void OnItemChosen(const PopupItem& item);
    // Called when the hovered row changed to `index` (-1: none).
    virtual void OnHoverChanged(int index);
    // Sends `result` to the owner.
    void SendResult();
    // The table row of an item id, if the menu was built from a table.
    const PopupTableRow* TableRowOf(int id) const;
    // Rows start at x = s; the profile list spans the whole width.
    bool fullWidthRows = false;

    std::span<const PopupTableRow> rows_;

private:
    void Layout();
};

}  // namespace zavrin
