#pragma once

#include "platform/Messages.h"
#include "platform/PlatformServices.h"

namespace zavrin {

// Messages of the main window beside the control notifications.
namespace MainMessage {
inline constexpr UINT TrayCallback = 0x420;              // (iconId, mouse message)
inline constexpr UINT ShowOnScreenDisplay = 0x42B;       // wParam 1; 2: with the profile's name
inline constexpr UINT ShowRequest = ShowRequestMessage;  // a second copy asks us to show
inline constexpr UINT DeviceEvents = WM_APP + 1;         // the device queue has news
inline constexpr UINT Screenshot = WM_APP + 2;           // write the --screenshot picture
}  // namespace MainMessage

// Tray menu commands beside the show (2075) and exit (2076) ones.
namespace TrayCommand {
inline constexpr UINT StartWithDesktop = 2370;  // check item: start at login
}  // namespace TrayCommand

// Window timers of the main window; the device link's own (30, 70, 80, 110)
// are in SyncView.h.
namespace MainTimer {
inline constexpr int FirstColourSlot = 1;     // 1..8: deferred colour-slot toggles
inline constexpr int LeftClickWarning = 20;   // the 100 ms warning of the left-click rule
inline constexpr int OnScreenDisplay = 50;    // display countdown, every 300 ms
inline constexpr int ProfileSlotAction = 60;  // deferred profile-slot operation
inline constexpr int RunFor = 9001;           // --run-for: end through the close path
}  // namespace MainTimer

}  // namespace zavrin
