#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/CKeyCaptureDlg.h"
#include "ui/ButtonChoice.h"

namespace zavrin {

// A keyboard shortcut for a mouse button: modifier boxes and one key captured
// from the keyboard (modifier keys themselves are ignored: the boxes choose
// them). DoModal: IDOK with `result()` set
// when something was chosen, IDCANCEL otherwise. UI thread only.
class CShortcutDlg : public CKeyCaptureDlg {
public:
    static constexpr std::uint32_t kNoModifierBox = 2005;
    static constexpr std::uint32_t kCtrlBox = 2006;
    static constexpr std::uint32_t kAltBox = 2007;
    static constexpr std::uint32_t kShiftBox = 2008;
    static constexpr std::uint32_t kWinBox = 2009;

    CShortcutDlg(PlatformServices& services, HWND parent);

    const std::optional<ButtonChoice>& result() const { return result_; }
    const std::string& keyNameShown() const { return keyName_; }

protected:
    void BuildExtras() override;
    void OnOkButton() override;
    void OnCapturedKey(std::uint8_t virtualKey) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnShortcutOk();
    void EnableModifierBoxes(bool enabled);
    bool Checked(std::uint32_t id) const;

    std::string keyName_;
    std::uint8_t usage_ = 0;
    std::optional<ButtonChoice> result_;
};

}  // namespace zavrin
