#pragma once

#include <string>

#include "dialogs/CSmallDlg.h"

namespace zavrin {

// The program's only message box: one message with OK and close. Modal
// (DoModal: IDOK for OK or Enter, IDCANCEL for close or Escape), or a
// modeless notice made with ShowNotice, which frees itself when it ends so
// that repeated notices never pile up hidden windows.
class CAttentionDlg : public CSmallDlg {
public:
    static constexpr COLORREF kTitleColor = 0xFE9252;

    // `title` is accepted for the callers' sake and never shown.
    CAttentionDlg(std::string title, std::string message, HWND parent);

    // A modeless, topmost notice owned by nobody; returns its window. It
    // destroys and deletes itself when OK or close ends it.
    static HWND ShowNotice(const std::string& message);

    const std::string& message() const { return message_; }

protected:
    void BuildExtras() override;
    void OnOK() override;
    void OnCancel() override;
    void OnOkButton() override;
    void OnCloseButton() override;
    void PostNcDestroy() override;

private:
    void Finish(int result, bool releaseImages);

    std::string message_;
    bool selfOwned_ = false;
};

}  // namespace zavrin
