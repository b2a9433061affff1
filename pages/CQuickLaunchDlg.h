#pragma once

#include <string>

#include "dialogs/CSmallDlg.h"
#include "platform/PlatformServices.h"
#include "ui/ButtonChoice.h"

namespace zavrin {

// A program for a mouse button to start: a browse button with the system's
// file dialog and the chosen file's name. OK always yields a launch choice
// (0x60 0x05 0x00), even before anything was chosen. DoModal: IDOK with
// `result()` and `programPath()`, IDCANCEL when closed. UI thread only.
class CQuickLaunchDlg : public CSmallDlg {
public:
    static constexpr std::uint32_t kBrowseButton = 2012;
    static constexpr std::uint32_t kFileNameText = 2013;

    CQuickLaunchDlg(PlatformServices& services, HWND parent);

    const ButtonChoice& result() const { return choice_; }
    const std::string& programPath() const { return path_; }

protected:
    void BuildExtras() override;
    void OnOkButton() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnBrowse();

    PlatformServices& services_;
    ButtonChoice choice_;
    std::string path_;
};

}  // namespace zavrin
