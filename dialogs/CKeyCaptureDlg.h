#pragma once

#include <cstdint>
#include <string>

#include "dialogs/CKeyboardHook.h"
#include "dialogs/CSmallDlg.h"

namespace zavrin {

// A small dialog that captures keys while it is open: the keyboard capture
// starts with the dialog and ends with it, and every captured press reaches
// OnCapturedKey (releases are dropped). Enter and Escape are keys to capture
// here, never dialog commands. The captured key's name is shown in a white box
// (static text kKeyNameText). UI thread only.
class CKeyCaptureDlg : public CSmallDlg {
public:
    static constexpr std::uint32_t kKeyNameText = 2012;

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
    // Adds the key-name box at the design rectangle: a white ground with the
    // name centred in black Tahoma. A subclass adds it once, in BuildExtras.
    void AddKeyNameBox(const RECT& designRect, const std::string& name);
    // Shows `name` in the key-name box and repaints it.
    void ShowKeyName(const std::string& name);
    void DrawExtras(Canvas& dc) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CKeyboardHook hook_;
    CStaticText* keyNameText_ = nullptr;
    RECT keyNameBox_{};
};

}  // namespace zavrin
