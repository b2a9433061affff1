#pragma once

#include <cstdint>

namespace zavrin {

// Codes a windowless control puts in lParam when it notifies its dialog. A
// control with id N sends message N; a combo button sends its own notify
// message instead, with its id in wParam.
namespace ControlNotify {
inline constexpr std::intptr_t Press = 1;        // wParam 0; scroll bar: the ScrollPart hit
inline constexpr std::intptr_t Click = 2;        // wParam 0; image button: its id
inline constexpr std::intptr_t Value = 3;        // wParam the new value; scroll bar: 0
inline constexpr std::intptr_t Hover = 4;        // link button 0; combo button: its id
inline constexpr std::intptr_t Leave = 5;        // as Hover
inline constexpr std::intptr_t DoubleClick = 10; // wParam 0
inline constexpr std::intptr_t RightClick = 11;  // tree list: address of the click point; tab: its id
inline constexpr std::intptr_t Help = 12;        // wParam 0; only the help button 3502
}  // namespace ControlNotify

// Messages a pop-up menu sends to its owner. They lie between 0x401 and 0x492,
// below every control id, so that a dialog can tell them from notifications.
namespace PopupMessage {
// Sent as (Closed, 0, 0) when the menu receives WM_CLOSE, before it is destroyed.
inline constexpr std::uint32_t Closed = 0x401;

// Deactivation messages, one per kind: (message, ownerParam, kind).
inline constexpr std::uint32_t ComboDeactivated = 0x405;
inline constexpr std::uint32_t ProfileDeactivated = 0x408;
inline constexpr std::uint32_t DpiDeactivated = 0x412;
inline constexpr std::uint32_t MultimediaDeactivated = 0x415;
inline constexpr std::uint32_t ComboProfileDeactivated = 0x466;
inline constexpr std::uint32_t ComboPollingRateDeactivated = 0x470;
inline constexpr std::uint32_t ComboLightingDeactivated = 0x47A;
inline constexpr std::uint32_t DpiLockDeactivated = 0x484;
inline constexpr std::uint32_t WindowsManageDeactivated = 0x487;
inline constexpr std::uint32_t OfficeDeactivated = 0x48A;
inline constexpr std::uint32_t ProfileRKeyDeactivated = 0x48D;
inline constexpr std::uint32_t ComboActionInsertDeactivated = 0x490;
inline constexpr std::uint32_t MacroListDeactivated = 0x492;

// Requests of the button-assignment menu, sent as (message, ownerParam, 0):
// the owner closes the menu and opens the dialog named.
inline constexpr std::uint32_t OpenFireKeyDialog = 0x426;
inline constexpr std::uint32_t OpenMacroSelectDialog = 0x429;
inline constexpr std::uint32_t OpenShortcutDialog = 0x40B;
inline constexpr std::uint32_t OpenQuickLaunchDialog = 0x40D;

// Sub-menu requests of the button-assignment menu, sent as (message,
// ownerParam, row id) whenever the hovered row changes.
inline constexpr std::uint32_t OpenDpiSubmenu = 0x410;
inline constexpr std::uint32_t OpenMultimediaSubmenu = 0x413;
inline constexpr std::uint32_t OpenOfficeSubmenu = 0x488;
inline constexpr std::uint32_t OpenWindowsManageSubmenu = 0x485;
inline constexpr std::uint32_t OpenDpiLockSubmenu = 0x482;
inline constexpr std::uint32_t CloseSubmenus = 0x409;
}  // namespace PopupMessage

// Messages under which combo buttons report (wParam = the combo's id).
namespace ComboNotify {
inline constexpr std::uint32_t ButtonAssignment = 0x404;  // boxes 2013..2021
inline constexpr std::uint32_t ProfileCombo = 0x464;      // combo 3100
inline constexpr std::uint32_t PollingRate = 0x46E;       // combo 3110
inline constexpr std::uint32_t LightingEffect = 0x478;    // combo 3120
inline constexpr std::uint32_t MacroManager = 0x48E;      // combo 2035
}  // namespace ComboNotify

// Colours of the skinned look, as 0x00BBGGRR values.
namespace UiColor {
inline constexpr std::uint32_t TextNormal = 0xB4B4B4;
inline constexpr std::uint32_t TextHover = 0xFFFFFF;
inline constexpr std::uint32_t TextPressed = 0x00FFFF;
inline constexpr std::uint32_t Accent = 0xDEA035;
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t White = 0xFFFFFF;
}  // namespace UiColor

}  // namespace zavrin
