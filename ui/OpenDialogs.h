#pragma once

#include <array>

#include "platform/Window.h"

namespace zavrin {

// The program-wide table of open skinned dialogs, so that the main window can
// close them all when it closes. Used entries stay at the front; UI thread only.
inline constexpr std::size_t kOpenDialogCapacity = 10;
inline std::array<HWND, kOpenDialogCapacity> openDialogs{};

// Stores the handle in the first free entry; false (nothing stored) when all
// ten entries are taken or the handle is null.
bool RegisterOpenDialog(HWND hwnd);
// Clears the handle's entry and moves the later entries one place forward; a
// handle that is not in the table changes nothing.
void UnregisterOpenDialog(HWND hwnd);
// Sends WM_CLOSE to every registered dialog, the most recent first.
void CloseOpenDialogs();

}  // namespace zavrin
