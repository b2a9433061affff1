#pragma once

namespace zavrin {

class PageHost;

// The function menu's entries that open dialogs of their own. Each runs its
// dialog modally over the main window and, when the user confirmed, stores
// the choice in key `keyIndex` (0..5) of the current profile and returns true;
// the caller then checks the left-click rule, marks the buttons dirty and arms
// the apply pass. False: nothing changed.
bool ChooseMacroForKey(PageHost& window, int keyIndex);
bool ChooseShortcutForKey(PageHost& window, int keyIndex);
bool ChooseLaunchForKey(PageHost& window, int keyIndex);

}  // namespace zavrin
