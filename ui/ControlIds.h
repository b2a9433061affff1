#pragma once

#include <cstdint>

namespace zavrin {

// Control ids. A control's id is also the message it sends to its dialog, so
// these are message numbers too. The small dialogs share the first block.
namespace ControlId {
// Shared by the small dialogs.
inline constexpr std::uint32_t DialogClose = 2004;
inline constexpr std::uint32_t DialogOk = 2010;
inline constexpr std::uint32_t DialogCancel = 2011;
inline constexpr std::uint32_t DialogCaption = 2012;
inline constexpr std::uint32_t DialogMessage = 2013;
inline constexpr std::uint32_t EditBox = 2017;
inline constexpr std::uint32_t DialogText = 3001;

// The main window's frame.
inline constexpr std::uint32_t Close = 2001;
inline constexpr std::uint32_t Minimise = 2002;
inline constexpr std::uint32_t FirstAssignmentBox = 2013;  // boxes 2013..2021, rows 1..9
inline constexpr int AssignmentBoxCount = 9;
inline constexpr std::uint32_t FactoryReset = 2045;
inline constexpr std::uint32_t ApplyAndHide = 2046;
inline constexpr std::uint32_t ImmediateApply = 2047;
inline constexpr std::uint32_t Pairing = 2054;
inline constexpr std::uint32_t MacroManager = 2062;
inline constexpr std::uint32_t ShowWindowCommand = 2075;
inline constexpr std::uint32_t ExitCommand = 2076;

// Section headers, in the order of the right-hand column's table.
inline constexpr std::uint32_t DpiHeader = 3001;
inline constexpr std::uint32_t LightingHeader = 3002;
inline constexpr std::uint32_t PointerHeader = 3003;
inline constexpr std::uint32_t PollingRateHeader = 3004;
inline constexpr std::uint32_t ButtonListTitle = 3007;
inline constexpr std::uint32_t BatteryTitle = 3007;
inline constexpr std::uint32_t AssignmentTitle = 3008;
inline constexpr std::uint32_t HiddenTitle = 3009;
inline constexpr std::uint32_t PowerTitle = 3010;
inline constexpr std::uint32_t LiftOffHeader = 3011;
inline constexpr std::uint32_t DebounceHeader = 3012;
inline constexpr std::uint32_t PairingHeader = 3013;
inline constexpr std::uint32_t SensorOptionsHeader = 3014;

inline constexpr std::uint32_t VersionText = 3021;
inline constexpr std::uint32_t NotLinkedText = 3024;
inline constexpr std::uint32_t PointerSettings = 3330;
inline constexpr std::uint32_t StaticImage = 3400;
inline constexpr std::uint32_t BatteryLegendDot = 3401;
inline constexpr std::uint32_t BatteryLegendText = 3402;
inline constexpr std::uint32_t BatteryText = 3405;
inline constexpr std::uint32_t BatteryGauge = 3406;
inline constexpr std::uint32_t PowerCaption = 3407;
inline constexpr std::uint32_t StatusBluetooth = 3408;
inline constexpr std::uint32_t StatusWired = 3409;
inline constexpr std::uint32_t StatusWireless = 3410;
inline constexpr std::uint32_t PowerSelector = 3500;
inline constexpr std::uint32_t ProfileSelector = 3502;
inline constexpr std::uint32_t MakerLink = 3503;
}  // namespace ControlId

}  // namespace zavrin
