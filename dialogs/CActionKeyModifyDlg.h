#pragma once

#include <cstdint>

#include "dialogs/CKeyboardHook.h"
#include "dialogs/CSmallDlg.h"
#include "model/MacroRecord.h"

namespace zavrin {

// Replaces the key of one macro key action by the last key the user presses.
// Keys come only through the keyboard capture, so Enter and Escape can be
// chosen like any other key instead of ending the dialog. DoModal: IDOK after
// byte 0 of the action was written, IDCANCEL (action unchanged) otherwise.
class CActionKeyModifyDlg : public CSmallDlg {
public:
    static constexpr std::uint32_t kKeyNameText = 2012;

    CActionKeyModifyDlg(MacroAction* action, PlatformServices& services, HWND parent);
    ~CActionKeyModifyDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG& msg) override;

    std::uint8_t capturedKey() const { return capturedKey_; }
    bool hookRunning() const { return hook_.running(); }

protected:
    void BuildExtras() override;
    void DrawExtras(Canvas& dc) override;
    void OnOkButton() override;
    void OnCloseButton() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnHookKey(WPARAM virtualKey, LPARAM lParam);

    MacroAction* action_;
    CKeyboardHook hook_;
    std::uint8_t capturedKey_;
};

}  // namespace zavrin
