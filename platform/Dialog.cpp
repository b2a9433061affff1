#include "platform/Dialog.h"

#include "platform/WindowSystemImpl.h"

namespace zavrin {

CDialog::CDialog(HWND owner) : owner_(owner) {}

bool CDialog::CreateAndInitialise(HWND owner) {
    owner_ = owner;
    endRequested_ = false;
    result_ = -1;
    if (!CreateEx(dialogExStyle, dialogStyle & ~WS_VISIBLE, dialogRect, owner, dialogTitle)) return false;
    SendMessage(WM_INITDIALOG, 0, 0);
    return IsWindow(GetSafeHwnd());
}

int CDialog::DoModal() {
    WindowSystemImpl* impl = CurrentImpl();
    if (impl == nullptr) return -1;
    const HWND owner = IsWindow(owner_) ? owner_ : HWND{};
    // The owner takes no input while the dialog runs; it is enabled again before
    // the dialog goes, so that the activation can return to it.
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);

    modalRunning_ = true;
    if (CreateAndInitialise(owner)) {
        const HWND self = GetSafeHwnd();
        if (!endRequested_) ShowWindow(showAfterInit);
        impl->loop().runUntil([&] { return endRequested_ || !IsWindow(self); });
        if (!endRequested_) result_ = -1;
    }
    modalRunning_ = false;

    const HWND self = GetSafeHwnd();
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (IsWindow(self)) {
        ShowWindow(SW_HIDE);
        if (owner && IsWindowVisible(owner) && GetActiveWindow() != owner) SetActiveWindow(owner);
    }
    const int result = result_;
    if (IsWindow(self)) zavrin::DestroyWindow(self);
    return result;
}

bool CDialog::Create(HWND owner) {
    if (!CreateAndInitialise(owner)) return false;
    if (!endRequested_) ShowWindow(showAfterInit);
    return true;
}

void CDialog::EndDialog(int result) {
    result_ = result;
    endRequested_ = true;
    if (!modalRunning_) ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() { return TRUE; }
void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_CLOSE:
            OnCancel();
            return 0;
        case WM_KEYDOWN:
            // The standard dialog keys: Enter is OK and Escape is cancel, unless a
            // dialog filters them first (PreTranslateMessage).
            if (wParam == VK_RETURN) {
                OnOK();
                return 0;
            }
            if (wParam == VK_ESCAPE) {
                OnCancel();
                return 0;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}

}  // namespace zavrin
