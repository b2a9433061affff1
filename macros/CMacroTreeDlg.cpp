#include "macros/CMacroTreeDlg.h"

#include "ui/CImageButton.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kTreeCaptionText = 191;

int ScaleUnit(int v) {
    return static_cast<int>(static_cast<float>(v) * uiScale);
}
}  // namespace

CMacroTreeDlg::CMacroTreeDlg(MacroLibrary& library, HWND owner, RECT treeRect, RECT treeBarRect)
    : CDlgBase(owner), library_(library), treeRect_(treeRect), treeBarRect_(treeBarRect) {
    const SIZE size = WindowSize();
    windowWidth = size.cx;
    windowHeight = size.cy;
}

SIZE CMacroTreeDlg::WindowSize() { return SIZE{ScaleUnit(kDesignWidth), ScaleUnit(kDesignHeight)}; }

RECT CMacroTreeDlg::Scaled(int left, int top, int right, int bottom) {
    return RECT{ScaleUnit(left), ScaleUnit(top), ScaleUnit(right), ScaleUnit(bottom)};
}

BOOL CMacroTreeDlg::OnInitDialog() {
    LoadFrameBitmap(SkinPath("skins\\Frame_Macro_Manager.bmp"));
    // The tree opens with every folder closed and nothing selected.
    library_.collapseAll();
    CDlgBase::OnInitDialog();
    RegisterInOpenDialogs();
    RefreshTree();
    return TRUE;
}

void CMacroTreeDlg::AddCaption(std::uint32_t id, const RECT& r, const std::string& text) {
    auto* caption = AddControl(
        kCommonList,
        std::make_unique<CStaticText>(GetSafeHwnd(), id, Scaled(r.left, r.top, r.right, r.bottom),
                                      UiColor::TextNormal, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                                      text, TRUE, TRUE, FALSE));
    caption->ShowCaption();
}

CImageButton* CMacroTreeDlg::AddImageButton(std::uint32_t id, const RECT& r,
                                            const std::string& text) {
    auto* button = AddControl(kCommonList,
                              std::make_unique<CImageButton>(
                                  GetSafeHwnd(), id, Scaled(r.left, r.top, r.right, r.bottom), text,
                                  DT_CENTER | DT_VCENTER | DT_SINGLELINE, TRUE, TRUE, FALSE));
    button->LoadLooks("skins\\button2");
    return button;
}

void CMacroTreeDlg::BuildControls(const RECT&) {
    AddCaption(kTreeCaption, RECT{24, 35, 124, 52}, languageText(kTreeCaptionText));
    auto* close = AddControl(
        kCommonList,
        std::make_unique<CImageButton>(GetSafeHwnd(), ControlId::DialogClose,
                                       Scaled(505, 3, 520, 18), "", DT_CENTER, TRUE, TRUE, FALSE));
    close->LoadLooks("skins\\exit");
    const RECT& t = treeRect_;
    tree_ = AddControl(kCommonList,
                       std::make_unique<CEditShowList>(GetSafeHwnd(), kTreeList,
                                                       Scaled(t.left, t.top, t.right, t.bottom), "",
                                                       TRUE, TRUE, FALSE));
    tree_->SetLibrary(&library_);
    tree_->LoadOpenFolderIcon(SkinPath("skins\\foldr_open.png"));
    tree_->LoadClosedFolderIcon(SkinPath("skins\\foldr_close.png"));
    const RECT& b = treeBarRect_;
    auto* bar = AddControl(
        kCommonList, std::make_unique<CVScrollBar>(GetSafeHwnd(), kTreeScrollBar,
                                                   Scaled(b.left, b.top, b.right, b.bottom), "",
                                                   TRUE, TRUE, FALSE));
    bar->LoadArrows();
    treeScroll_ = ListScroll(bar, tree_, tree_->RowsVisible());
    BuildExtras();
}

void CMacroTreeDlg::DrawWindow(Canvas& dc, const RECT& client) {
    DrawFrame(dc, client);
    DrawControls(dc, client);
}

BOOL CMacroTreeDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd() &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return TRUE;
    return CDlgBase::PreTranslateMessage(msg);
}

void CMacroTreeDlg::RefreshTree() {
    if (tree_ == nullptr) return;
    const int rows = library_.visibleRowCount();
    // Rows move when folders open, close or change: the row follows the item.
    tree_->SelectLocation(tree_->SelectedLocation());
    treeScroll_.sync(rows);
}

void CMacroTreeDlg::SelectInTree(const MacroLocation& location) {
    if (tree_ != nullptr) tree_->SelectLocation(location);
    RefreshTree();
    if (tree_ != nullptr) treeScroll_.reveal(tree_->SelectedRow(), library_.visibleRowCount());
}

bool CMacroTreeDlg::OnWheel(POINT client, int rows) {
    if (tree_ == nullptr || !PtInRect(tree_->Rect(), client)) return false;
    treeScroll_.scrollBy(rows, library_.visibleRowCount());
    return true;
}

LRESULT CMacroTreeDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kTreeList:
            if (lParam == ControlNotify::Click || lParam == ControlNotify::DoubleClick) {
                // A click may also have opened or closed a folder.
                RefreshTree();
                OnTreeSelection();
            } else if (lParam == ControlNotify::RightClick) {
                RefreshTree();
                OnTreeSelection();
                OnTreeRightClick(*reinterpret_cast<const POINT*>(wParam));
            }
            return 0;
        case kTreeScrollBar:
            treeScroll_.onBar(lParam, wParam, library_.visibleRowCount());
            return 0;
        case ControlId::DialogClose:
            if (lParam == ControlNotify::Click) OnCloseButton();
            return 0;
        case WM_MOUSEWHEEL: {
            // One row per notch, whatever the notch's size.
            const auto delta = static_cast<std::int16_t>(HIWORD(wParam));
            if (delta != 0)
                OnWheel(ScreenToClient(GetSafeHwnd(), PointFromLParam(lParam)), delta > 0 ? -1 : 1);
            return 0;
        }
        default:
            return CDlgBase::WindowProc(message, wParam, lParam);
    }
}

}  // namespace zavrin
