#pragma once

#include <cstdint>

#include "platform/Messages.h"

namespace zavrin {

// Messages between the automatic-profiles page, the profile selector and the
// platform's watchers and channels.
namespace AutoProfileMessage {
inline constexpr UINT FrontChanged = WM_APP + 50;   // posted by the front-program watcher
inline constexpr UINT ReloadRules = WM_APP + 51;    // posted when zavrinctl changed the rules file
inline constexpr UINT HandChosen = WM_APP + 52;     // (slot, 0): the user chose a profile by hand
inline constexpr UINT MakeCurrent = WM_APP + 53;    // (slot, 0): make it current as the profile menu does
inline constexpr UINT OpenDialog = WM_APP + 54;     // open the automatic-profiles dialog
}  // namespace AutoProfileMessage

namespace AutoProfileId {
inline constexpr int SettleTimer = 61;                       // one-shot, only while a change settles
inline constexpr std::uint32_t PauseCommand = 2077;          // tray menu check item
inline constexpr std::uint32_t CurrentProfileText = 3524;    // beside the profile selector
inline constexpr std::uint32_t ChosenByText = 3525;          // "by rule" / "by hand"
}  // namespace AutoProfileId

}  // namespace zavrin
