#include "ui/OpenDialogs.h"

#include <algorithm>

namespace zavrin {

bool RegisterOpenDialog(HWND hwnd) {
    if (!hwnd) return false;
    for (HWND& entry : openDialogs) {
        if (!entry) {
            entry = hwnd;
            return true;
        }
    }
    return false;
}

void UnregisterOpenDialog(HWND hwnd) {
    if (!hwnd) return;
    auto it = std::find(openDialogs.begin(), openDialogs.end(), hwnd);
    if (it == openDialogs.end()) return;
    std::move(it + 1, openDialogs.end(), it);
    openDialogs.back() = HWND{};
}

void CloseOpenDialogs() {
    // Closing a dialog changes the table, so work from a copy; the newest dialog
    // closes first, as nested modal dialogs must.
    const auto snapshot = openDialogs;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (*it && IsWindow(*it)) SendMessage(*it, WM_CLOSE, 0, 0);
    }
}

}  // namespace zavrin
