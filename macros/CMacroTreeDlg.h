#pragma once

#include "ui/ListScroll.h"
#include "model/MacroLibrary.h"
#include "ui/CDlgBase.h"
#include "ui/CEditShowList.h"
#include "ui/CImageButton.h"

namespace zavrin {

// What the macro manager and the macro select dialog share: the 528 x 365
// frame, the close button, and the library tree (list 2015 with scroll bar
// 2021 under caption 2025). The tree list keeps the selection; a click
// changes it. Enter and Escape do not close.
// UI thread only.
class CMacroTreeDlg : public CDlgBase {
public:
    static constexpr int kDesignWidth = 528;
    static constexpr int kDesignHeight = 365;
    // The window's size at the UI scale.
    static SIZE WindowSize();
    static constexpr std::uint32_t kTreeList = 2015;
    static constexpr std::uint32_t kTreeScrollBar = 2021;
    static constexpr std::uint32_t kTreeCaption = 2025;

    BOOL OnInitDialog() override;
    void BuildControls(const RECT& client) override;
    void DrawWindow(Canvas& dc, const RECT& client) override;
    BOOL PreTranslateMessage(MSG& msg) override;

    // A design-unit rectangle at the UI scale.
    static RECT Scaled(int left, int top, int right, int bottom);

    CEditShowList* tree() const { return tree_; }
    // The library location selected in the tree; kNoLocation for none.
    MacroLocation selection() const { return tree_ != nullptr ? tree_->SelectedLocation() : kNoLocation; }
    MacroLibrary& library() { return library_; }

protected:
    CMacroTreeDlg(MacroLibrary& library, HWND owner, RECT treeRect, RECT treeBarRect);

    // The window's own controls, after the shared ones.
    virtual void BuildExtras() = 0;
    // The tree's selection changed by a click (or a double click).
    virtual void OnTreeSelection() {}
    virtual void OnTreeRightClick(POINT client) { (void)client; }
    // Close button 2004.
    virtual void OnCloseButton() = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // After a change of the library or of the selection: the list's selected
    // row, the rows shown and the scroll bar.
    void RefreshTree();
    // Selects `location` in the tree and scrolls it into view.
    void SelectInTree(const MacroLocation& location);

    CImageButton* AddImageButton(std::uint32_t id, const RECT& designRect, const std::string& text);
    void AddCaption(std::uint32_t id, const RECT& designRect, const std::string& text);
    // Scrolls the list under the screen point by the wheel; true when one was there.
    virtual bool OnWheel(POINT client, int rows);

private:
    MacroLibrary& library_;
    RECT treeRect_;
    RECT treeBarRect_;
    CEditShowList* tree_ = nullptr;
    ListScroll treeScroll_;
};

}  // namespace zavrin
