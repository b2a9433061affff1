#include "pages/ExternalChoices.h"

namespace zavrin {

// FIXME: the macro, shortcut and launch dialogs do not exist yet; their menu
// entries change nothing.
bool ChooseMacroForKey(CVelmorDlg&, int) {
    return false;
}
bool ChooseShortcutForKey(CVelmorDlg&, int) {
    return false;
}
bool ChooseLaunchForKey(CVelmorDlg&, int) {
    return false;
}

}  // namespace zavrin
