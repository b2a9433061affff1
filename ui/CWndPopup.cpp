#include "ui/CWndPopup.h"

#include <algorithm>

#include "platform/Resources.h"
#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kTextInset = 2;

struct KindMessage {
    int kind;
    UINT message;
};
constexpr KindMessage kDeactivationMessages[] = {
    {0, PopupMessage::ComboDeactivated},
    {1, PopupMessage::ProfileDeactivated},
    {2, PopupMessage::DpiDeactivated},
    {3, PopupMessage::MultimediaDeactivated},
    {7, PopupMessage::ComboProfileDeactivated},
    {8, PopupMessage::ComboPollingRateDeactivated},
    {9, PopupMessage::ComboLightingDeactivated},
    {10, PopupMessage::DpiLockDeactivated},
    {11, PopupMessage::WindowsManageDeactivated},
    {12, PopupMessage::OfficeDeactivated},
    {13, PopupMessage::ProfileRKeyDeactivated},
    {14, PopupMessage::ComboActionInsertDeactivated},
    {15, PopupMessage::MacroListDeactivated},
};
}  // namespace

UINT CWndPopup::DeactivationMessage(int kind) {
    for (const auto& entry : kDeactivationMessages) {
        if (entry.kind == kind) return entry.message;
    }
    return 0;
}

CWndPopup::CWndPopup(int popupKind) : font(MakeUiFont()), kind(popupKind) {}

BOOL CWndPopup::Create(HWND parentWindow, const RECT& rect, UINT message, int param) {
    left = rect.left;
    top = rect.top;
    reportMessage = message;
    ownerParam = param;
    owner_ = parentWindow;
    const RECT start{rect.left, rect.top, rect.left + 1, rect.top + 1};
    return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, start, parentWindow, {}, CS_DBLCLKS) ? TRUE : FALSE;
}

void CWndPopup::Draw(Canvas&, const RECT&) {}
void CWndPopup::DrawIcons(Canvas&, const RECT&) {}
void CWndPopup::InitItems() {}
BOOL CWndPopup::OnMouseMove(int, int) { return FALSE; }
BOOL CWndPopup::OnLButtonDown(int, int) { return FALSE; }
BOOL CWndPopup::OnLButtonUp(int, int) { return FALSE; }
BOOL CWndPopup::OnRButtonUp(int, int) { return FALSE; }

void CWndPopup::PostNcDestroy() { delete this; }

LRESULT CWndPopup::SendToOwner(UINT message, WPARAM wParam, LPARAM lParam) {
    return zavrin::SendMessage(owner_, message, wParam, lParam);
}

PointerTarget* CWndPopup::SweepMove(WPARAM keyFlags, POINT p) {
    const bool inside = PtInRect(GetClientRect(), p);
    // Inside, the router repaints the menu as its new hovered target.
    if (target_.OnMouseMove(keyFlags, p) && !inside) Render();
    return inside ? &target_ : nullptr;
}

void CWndPopup::Repaint(const RECT&, bool) {
    // A choice's handler may have closed the menu already.
    if (IsWindow(GetSafeHwnd())) Render();
}

void CWndPopup::Render() {
    const RECT client = GetClientRect();
    Graphics* graphics = GetGraphics();
    if (graphics == nullptr || IsRectEmpty(client)) return;
    Image picture(client.right, client.bottom);
    {
        auto dc = graphics->CreateCanvas(picture);
        dc->FillRect(client, UiColor::Black);
        dc->FillRect(InflateRect(client, -1, -1), UiColor::Black);
        Draw(*dc, client);
        dc->Flush();
    }
    SetWindowExStyle(GetSafeHwnd(), GetWindowExStyle(GetSafeHwnd()) | WS_EX_LAYERED);
    UpdateLayeredWindow(GetSafeHwnd(), picture);
}

LRESULT CWndPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const PointerRouter::Routed routed = pointer_.Route(message, wParam, lParam); routed.taken) {
        // A press that changed the menu's look is the menu's alone.
        if (routed.finished || (message == WM_LBUTTONDOWN && routed.outcome.changed)) return 0;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    switch (message) {
        case WM_CREATE:
            InitItems();
            Render();
            SetWindowPos(HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
            return 0;
        case WM_NCACTIVATE:
            if (!wParam) SendToOwner(DeactivationMessage(kind), static_cast<WPARAM>(ownerParam), kind);
            return TRUE;
        case WM_CLOSE:
            SendToOwner(PopupMessage::Closed, 0, 0);
            return CWnd::WindowProc(message, wParam, lParam);
        case WM_NCHITTEST:
            return static_cast<LRESULT>(HTCLIENT);
        case WM_ERASEBKGND:
            return TRUE;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}

PopupPictures LoadStandardPopupPictures() {
    PopupPictures p;
    p.row = LoadImageFile(SkinPath("skins\\menu_nr.png"));
    p.rowHover = LoadImageFile(SkinPath("skins\\menu_ov.png"));
    p.submenuRow = LoadImageFile(SkinPath("skins\\menusub_nr.png"));
    p.submenuRowHover = LoadImageFile(SkinPath("skins\\menusub_ov.png"));
    return p;
}

CItemPopup::CItemPopup(int popupKind, PopupLayoutFamily layoutFamily, PopupPictures rowPictures)
    : CWndPopup(popupKind), pictures(std::move(rowPictures)), family(layoutFamily) {}

void CItemPopup::AddItem(std::string itemText, int id, bool hasSubmenu, bool separator) {
    PopupItem item;
    item.separator = separator ? 1 : 0;
    item.id = id;
    item.text = std::move(itemText);
    item.hasSubmenu = hasSubmenu ? 1 : 0;
    items.push_back(std::move(item));
    Layout();
}

void CItemPopup::AddItems(std::span<const PopupTableRow> tableRows) {
    rows_ = tableRows;
    for (const PopupTableRow& entry : tableRows) {
        AddItem(entry.textEntry >= 0 ? languageText(entry.textEntry) : std::string(entry.literal), entry.id,
                entry.hasSubmenu);
    }
}

const PopupTableRow* CItemPopup::TableRowOf(int id) const {
    for (const PopupTableRow& entry : rows_) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}

void CItemPopup::Layout() {
    const double s = uiScale;
    const int rowLeft = fullWidthRows ? 0 : static_cast<int>(s);
    const int rowRight = static_cast<int>((fullWidthRows ? family.width : family.width - 1) * s);
    double y = s;
    for (PopupItem& item : items) {
        if (item.separator) {
            item.itemRect = RECT{rowLeft, static_cast<int>(y + 2 * s), rowRight, static_cast<int>(y + 3 * s)};
            y += 4 * s;
        } else {
            item.itemRect = RECT{rowLeft, static_cast<int>(y), rowRight, static_cast<int>(y + family.rowHeight * s)};
            y += family.rowHeight * s;
        }
    }
    if (GetSafeHwnd()) {
        SetWindowPos(HWND_TOP, 0, 0, static_cast<int>(family.width * s), static_cast<int>(y + s),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int CItemPopup::RowAt(POINT p) const {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].separator && PtInRect(items[i].itemRect, p)) return static_cast<int>(i);
    }
    return -1;
}

BOOL CItemPopup::OnMouseMove(int x, int y) {
    const POINT p{x, y};
    if (hoverIndex >= 0 && PtInRect(items[static_cast<std::size_t>(hoverIndex)].itemRect, p)) return FALSE;
    const int old = hoverIndex;
    hoverIndex = RowAt(p);
    if (hoverIndex == old) return FALSE;
    OnHoverChanged(hoverIndex);
    return TRUE;
}

void CItemPopup::OnHoverChanged(int) {}

BOOL CItemPopup::OnLButtonDown(int x, int y) {
    if (hoverIndex >= 0 && !PtInRect(items[static_cast<std::size_t>(hoverIndex)].itemRect, POINT{x, y})) {
        hoverIndex = -1;
    }
    return FALSE;
}

BOOL CItemPopup::OnLButtonUp(int x, int y) {
    if (hoverIndex < 0) return FALSE;
    const PopupItem& item = items[static_cast<std::size_t>(hoverIndex)];
    if (!PtInRect(item.itemRect, POINT{x, y})) {
        hoverIndex = -1;
        return TRUE;
    }
    // The owner may post WM_CLOSE from its handler; the window stays valid
    // until this handler returns.
    const PopupItem chosen = item;
    OnItemChosen(chosen);
    return FALSE;
}

void CItemPopup::OnItemChosen(const PopupItem& item) {
    result.name = item.text;
    result.action = KeyAction{static_cast<std::uint8_t>(item.id - 1), 0, 0};
    SendResult();
}

void CItemPopup::SendResult() {
    SendToOwner(reportMessage, static_cast<WPARAM>(ownerParam), reinterpret_cast<LPARAM>(&result));
}

void CItemPopup::Draw(Canvas& dc, const RECT&) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PopupItem& item = items[i];
        if (item.separator) {
            dc.FillRect(item.itemRect, UiColor::Accent);
            continue;
        }
        const bool hovered = static_cast<int>(i) == hoverIndex;
        const Picture& picture = item.hasSubmenu ? (hovered ? pictures.submenuRowHover : pictures.submenuRow)
                                                 : (hovered ? pictures.rowHover : pictures.row);
        if (picture) dc.DrawImage(*picture, item.itemRect);
        const RECT textRect{item.itemRect.left + kTextInset, item.itemRect.top, item.itemRect.right - kTextInset,
                            item.itemRect.bottom};
        dc.DrawText(item.text, textRect, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font,
                    hovered ? UiColor::White : UiColor::TextNormal);
    }
}

}  // namespace zavrin
