#pragma once

#include <string>

#include "platform/Window.h"

namespace zavrin {

// A dialog window: a top-level popup window run modally (DoModal) or modelessly
// (Create). Subclasses set the creation values below in their constructor,
// override OnInitDialog (calling the base first) and handle their messages in
// WindowProc, passing the rest to CDialog::WindowProc. UI thread only.
class CDialog : public CWnd {
public:
    explicit CDialog(HWND owner = {});

    // Creates the window (hidden), sends WM_INITDIALOG (OnInitDialog), shows and
    // activates it, disables the owner and runs a nested message loop until
    // EndDialog. Then the owner is enabled and activated again, and the window is
    // destroyed. Returns the value given to EndDialog; -1 when the window could
    // not be created or a WM_QUIT ended the loop. A handler may call EndDialog
    // (even from within OnInitDialog) and may open further modal dialogs.
    int DoModal();

    // Modeless: creates, initialises and shows the window and returns at once.
    bool Create(HWND owner = {});

    // Ends a modal run with `result` once the running handler has returned; on a
    // modeless dialog it only hides the window.
    void EndDialog(int result);
    bool IsModalRunning() const { return modalRunning_; }

    // Called for WM_INITDIALOG; returns TRUE. The window exists but is not shown yet.
    virtual BOOL OnInitDialog();
    // The default OK and cancel endings: EndDialog(IDOK) / EndDialog(IDCANCEL).
    virtual void OnOK();
    virtual void OnCancel();

    HWND GetOwner() const { return owner_; }

protected:
    // WM_INITDIALOG calls OnInitDialog; WM_CLOSE calls OnCancel; the rest goes
    // to CWnd::WindowProc.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creation values, read when the window is created.
    std::uint32_t dialogStyle = WS_POPUP;
    std::uint32_t dialogExStyle = 0;
    RECT dialogRect{0, 0, 320, 200};  // screen position and size before OnInitDialog moves it
    std::string dialogTitle;
    // How the window is shown once initialised; OnInitDialog may change it (a
    // window that starts hidden in the tray, or minimised).
    int showAfterInit = SW_SHOW;

private:
    bool CreateAndInitialise(HWND owner);

    HWND owner_;
    bool modalRunning_ = false;
    bool endRequested_ = false;
    int result_ = -1;
};

}  // namespace zavrin
