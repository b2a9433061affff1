#pragma once

#include <cstdint>

namespace zavrin {

// The three-byte function of a mouse button as the device takes it.
struct KeyAction {
    std::uint8_t type = 0;
    std::uint8_t value1 = 0;
    std::uint8_t value2 = 0;

    bool operator==(const KeyAction&) const = default;
};

// KeyAction::type values.
namespace ActionType {
inline constexpr std::uint8_t None = 0x00;
inline constexpr std::uint8_t MouseButton = 0x10;  // value1: button mask
inline constexpr std::uint8_t FireKey = 0x30;      // value1 5..255, value2 0..255
inline constexpr std::uint8_t DpiSwitch = 0x40;    // value1 1, 2 or 3
inline constexpr std::uint8_t DpiLock = 0x50;      // value1 n: (n+1)*100 DPI
inline constexpr std::uint8_t Special = 0x60;      // value1 SpecialFunction
inline constexpr std::uint8_t Keyboard = 0x70;     // value1 modifiers, value2 HID usage
inline constexpr std::uint8_t Consumer = 0x80;     // usage low byte, high byte
inline constexpr std::uint8_t Macro = 0x90;        // (loopType << 4) | slot, loopNum
}  // namespace ActionType

// Button masks of ActionType::MouseButton.
namespace MouseButtonMask {
inline constexpr std::uint8_t Left = 0x01;
inline constexpr std::uint8_t Right = 0x02;
inline constexpr std::uint8_t Middle = 0x04;
inline constexpr std::uint8_t Back = 0x08;     // button 4
inline constexpr std::uint8_t Forward = 0x10;  // button 5
}  // namespace MouseButtonMask

// value1 of ActionType::Special.
namespace SpecialFunction {
inline constexpr std::uint8_t DeviceFunction = 0x04;  // carried out by the device itself
inline constexpr std::uint8_t QuickLaunch = 0x05;     // the program opens the key's url
}  // namespace SpecialFunction

// Modifier bits of ActionType::Keyboard.
namespace KeyModifier {
inline constexpr std::uint8_t Ctrl = 0x01;
inline constexpr std::uint8_t Shift = 0x02;
inline constexpr std::uint8_t Alt = 0x04;
inline constexpr std::uint8_t Win = 0x08;
}  // namespace KeyModifier

inline constexpr KeyAction kLeftClick{ActionType::MouseButton, MouseButtonMask::Left, 0};

}  // namespace zavrin
