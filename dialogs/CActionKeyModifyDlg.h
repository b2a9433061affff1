#pragma once

#include <cstdint>

#include "dialogs/CKeyCaptureDlg.h"
#include "model/MacroRecord.h"

namespace zavrin {

// Replaces the key of one macro key action by the last key the user presses.
// DoModal: IDOK after byte 0 of the action was written, IDCANCEL (action
// unchanged) otherwise.
class CActionKeyModifyDlg : public CKeyCaptureDlg {
public:
    CActionKeyModifyDlg(MacroAction* action, PlatformServices& services, HWND parent);

    std::uint8_t capturedKey() const { return capturedKey_; }

protected:
    void BuildExtras() override;
    void OnOkButton() override;
    void OnCapturedKey(std::uint8_t virtualKey) override;

private:
    MacroAction* action_;
    std::uint8_t capturedKey_;
};

}  // namespace zavrin
