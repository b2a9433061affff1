#include "pages/CQuickLaunchDlg.h"

#include "model/DataPaths.h"
#include "model/KeyAction.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kTitleText = 289;
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr std::uint32_t kTitleId = 2014;
}  // namespace

CQuickLaunchDlg::CQuickLaunchDlg(PlatformServices& services, HWND parent)
    : CSmallDlg(parent, SIZE{429, 140}, "skins\\Frame_launch.bmp", true), services_(services) {}

void CQuickLaunchDlg::BuildExtras() {
    AddText(kTitleId, RECT{10, 4, 280, 24}, UiColor::White, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
            languageText(kTitleText));
    AddCloseButton();
    auto* browse =
        AddControl(kCommonList, std::make_unique<CImageButton>(GetSafeHwnd(), kBrowseButton,
                                                               Scaled(370, 50, 400, 80), "",
                                                               DT_CENTER, TRUE, TRUE, FALSE));
    browse->LoadLooks("skins\\Launch");
    AddText(kFileNameText, RECT{30, 50, 360, 80}, UiColor::TextNormal,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, "");
    AddButton(ControlId::DialogOk, RECT{132, 106, 197, 129}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{232, 106, 297, 129}, languageText(kCancelText));
}

void CQuickLaunchDlg::OnBrowse() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.owner = GetSafeHwnd();
    request.title = languageText(kTitleText);
    // Programs carry no extension outside Windows, so every file may be chosen too.
    request.filters = {FileFilter{"exe file(*.exe)", "*.exe"}, FileFilter{"All files", "*"}};
    request.defaultExtension = "exe";
    request.initialName = "ab.exe";
    const auto chosen = services_.AskForFile(request);
    // A cancelled dialog keeps the file chosen before.
    if (!chosen) return;
    path_ = pathToUtf8(*chosen);
    choice_.name = pathToUtf8(chosen->filename());
    if (auto* text = dynamic_cast<CStaticText*>(FindControl(kFileNameText))) {
        text->ShowText(choice_.name);
    }
}

void CQuickLaunchDlg::OnOkButton() {
    choice_.action = KeyAction{ActionType::Special, SpecialFunction::QuickLaunch, 0};
    CSmallDlg::OnOkButton();
}

LRESULT CQuickLaunchDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kBrowseButton) {
        if (lParam == ControlNotify::Click) OnBrowse();
        return 0;
    }
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
