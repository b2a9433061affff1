#pragma once

#include <cstdint>
#include <string>

#include "dialogs/CKeyboardHook.h"
#include "dialogs/CSmallDlg.h"

namespace zavrin {

// A small dialog that captures keys while it is open: the keyboard capture
// starts with the dialog and ends with it, and every captured press reaches
// OnCapturedKey (releases are dropped). Enter and Escape are keys to capture
// here, never dialog commands. UI thread only.
class CKeyCaptureDlg : public CSmallDlg {
public:
    ~CKeyCaptureDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG& msg) override;
    bool hookRunning() const { return hook_.running(); }

protected:
    CKeyCaptureDlg(HWND parent, SIZE designSize, std::string framePicture,
                   PlatformServices& services);

    virtual void OnCapturedKey(std::uint8_t virtualKey) = 0;
    // Both end the capture before the dialog ends.
    void OnOkButton() override;
    void OnCloseButton() override;
    void StopCapture() { hook_.StopHook(); }
    // Puts `text` on the static text `id` and repaints it.
    void ShowText(std::uint32_t id, const std::string& text);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CKeyboardHook hook_;
};

}  // namespace zavrin
