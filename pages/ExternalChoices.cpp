#include "pages/ExternalChoices.h"

#include "macros/CMacroSelectDlg.h"
#include "model/ProfileRecord.h"
#include "pages/CQuickLaunchDlg.h"
#include "pages/CShortcutDlg.h"
#include "pages/PageHost.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kMacroNamePrefixText = 190;
}  // namespace

bool ChooseMacroForKey(PageHost& window, int keyIndex) {
    CMacroSelectDlg dialog(window.model().library, window.GetSafeHwnd());
    if (dialog.DoModal() != IDOK || dialog.chosen() == nullptr) return false;
    const MacroLibraryItem& item = *dialog.chosen();
    // The button keeps a copy: later edits of the library item leave its label alone.
    assignKey(window.model().store.currentProfile(), keyIndex,
              languageText(kMacroNamePrefixText) + item.name, "",
              KeyAction{ActionType::Macro, 0, 0}, &*item.macro);
    return true;
}

bool ChooseShortcutForKey(PageHost& window, int keyIndex) {
    CShortcutDlg dialog(window.services(), window.GetSafeHwnd());
    if (dialog.DoModal() != IDOK || !dialog.result()) return false;
    assignKey(window.model().store.currentProfile(), keyIndex, dialog.result()->name, "",
              dialog.result()->action, nullptr);
    return true;
}

bool ChooseLaunchForKey(PageHost& window, int keyIndex) {
    CQuickLaunchDlg dialog(window.services(), window.GetSafeHwnd());
    if (dialog.DoModal() != IDOK) return false;
    assignKey(window.model().store.currentProfile(), keyIndex, dialog.result().name,
              dialog.programPath(), dialog.result().action, nullptr);
    return true;
}

}  // namespace zavrin
