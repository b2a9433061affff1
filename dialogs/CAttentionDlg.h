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

    // Design units a notice grows by to hold a long message (a file's path and
    // the reason it could not be saved); its frame picture is made that tall.
    static constexpr int kLongMessageHeight = 70;

    // `title` is accepted for the callers' sake and never shown. `extraHeight`
    // design units make the message area taller.
    CAttentionDlg(std::string title, std::string message, HWND parent, int extraHeight = 0);

    // A modeless, topmost notice owned by nobody; returns its window. It
    // destroys and deletes itself when OK or close ends it.
    static HWND ShowNotice(const std::string& message, int extraHeight = 0);

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
