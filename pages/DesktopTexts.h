#pragma once

#include <string>

namespace zavrin {

// The language texts of the program's dealings with the desktop: the tray
// menu's start-at-login item and the battery notifications.
enum class DesktopTextId {
    StartWithDesktop = 370,
    BatteryLowTitle = 371,
    BatteryLow = 372,        // "%d" is the charge in percent
    BatteryCritical = 373,   // likewise
};

// The text of the loaded language. A language file copied into the data
// folder by an older version lacks these entries (the program never
// overwrites the user's copy), so an empty entry falls back to English.
std::string DesktopText(DesktopTextId id);

// The text with its "%d" replaced by `value`.
std::string DesktopText(DesktopTextId id, int value);

}  // namespace zavrin
