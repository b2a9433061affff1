#pragma once

#include <string>

#include "dialogs/CSmallDlg.h"

namespace zavrin {

// The short progress animation after every write to the mouse. The bar grows
// by 2 % every 10 ms, driven by a dialog timer on the UI thread (windows are
// drawn on the UI thread only); 20 ms after the last step it closes itself.
// The user cannot close it. Not registered among the open dialogs.
class CProgressBarDlg : public CSmallDlg {
public:
    static constexpr int kStepTimer = 1;
    static constexpr int kCloseTimer = 2;
    static constexpr std::uint32_t kStepMs = 10;
    static constexpr std::uint32_t kCloseDelayMs = 20;
    static constexpr COLORREF kCaptionColor = 0xBEBEBE;

    CProgressBarDlg(std::string caption, std::string secondText, HWND owner);

    BOOL OnInitDialog() override;
    int progress() const { return progress_; }
    // The last step drawn (the bar's width is this share of 429 units).
    int drawnProgress() const { return drawnProgress_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void BuildExtras() override;
    void DrawExtras(Canvas& dc) override;
    BOOL PreTranslateMessage(MSG& msg) override;

private:
    void Step();

    std::string caption_;
    std::string secondText_;
    std::shared_ptr<const Image> bar_;
    int progress_ = 0;
    int drawnProgress_ = -1;
};

}  // namespace zavrin
