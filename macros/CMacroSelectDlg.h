#pragma once

#include "macros/CMacroTreeDlg.h"

namespace zavrin {

// Picks a macro of the library for a mouse button: the library tree,
// read-only but for opening and closing folders, and a confirm button. A
// macro the mouse cannot play (more than 125 key events) is refused with a
// message rather than assigned. DoModal: IDOK with `chosen()` set, IDCANCEL
// when closed without a choice. UI thread only.
class CMacroSelectDlg : public CMacroTreeDlg {
public:
    static constexpr int kTooLongText = 320;

    CMacroSelectDlg(MacroLibrary& library, HWND owner);

    // The confirmed macro's item (valid until the library changes).
    const MacroLibraryItem* chosen() const { return chosen_; }

protected:
    void BuildExtras() override;
    void OnCloseButton() override;
    void OnOK() override {}
    void OnCancel() override { OnCloseButton(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnConfirm();

    const MacroLibraryItem* chosen_ = nullptr;
};

}  // namespace zavrin
