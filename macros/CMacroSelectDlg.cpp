#include "macros/CMacroSelectDlg.h"

#include "device/MacroTransfer.h"
#include "dialogs/CAttentionDlg.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
constexpr int kWarningTitle = 150;
constexpr int kNoMacroText = 234;
}  // namespace

CMacroSelectDlg::CMacroSelectDlg(MacroLibrary& library, HWND owner)
    : CMacroTreeDlg(library, owner, RECT{25, 54, 488, 323}, RECT{489, 53, 507, 324}) {}

void CMacroSelectDlg::BuildExtras() {
    AddImageButton(ControlId::DialogOk, RECT{232, 333, 297, 356}, languageText(kOkText));
}

void CMacroSelectDlg::OnConfirm() {
    const MacroLibraryItem* item = library().itemAt(selection());
    int refusal = 0;
    if (item == nullptr || !item->macro) {
        refusal = kNoMacroText;
    } else if (!macroFitsDevice(*item->macro)) {
        refusal = kTooLongText;
    }
    if (refusal != 0) {
        CAttentionDlg warning(languageText(kWarningTitle), languageText(refusal), GetSafeHwnd());
        warning.DoModal();
        return;
    }
    chosen_ = item;
    ReleaseControlImages();
    EndDialog(IDOK);
}

void CMacroSelectDlg::OnCloseButton() {
    chosen_ = nullptr;
    ReleaseControlImages();
    EndDialog(IDCANCEL);
}

LRESULT CMacroSelectDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ControlId::DialogOk) {
        if (lParam == ControlNotify::Click) OnConfirm();
        return 0;
    }
    return CMacroTreeDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
