#include "model/NameTables.h"

#include <array>
#include <string_view>

namespace zavrin {
namespace {

using Names = std::array<std::string_view, 256>;

// Codes without a name of their own read "Undefined".
constexpr Names buildKeyNames() {
    Names n{};
    for (auto& name : n) name = "Undefined";
    n[0x01] = "LBUTTON"; n[0x02] = "RBUTTON"; n[0x03] = "CANCEL"; n[0x04] = "MBUTTON";
    n[0x05] = "XBUTTON1"; n[0x06] = "XBUTTON2";
    n[0x08] = "Backspace"; n[0x09] = "Tab"; n[0x0C] = "Clear"; n[0x0D] = "Enter";
    n[0x10] = "Shift"; n[0x11] = "Ctrl"; n[0x12] = "Alt"; n[0x13] = "Pause"; n[0x14] = "CapsLock";
    n[0x15] = "Kana"; n[0x17] = "junja"; n[0x18] = "Final"; n[0x19] = "Hanja"; n[0x1B] = "Esc";
    n[0x1C] = "Convert"; n[0x1D] = "Nonconvert"; n[0x1E] = "Accept"; n[0x1F] = "ModeChange";
    n[0x20] = "Space"; n[0x21] = "Page Up"; n[0x22] = "Page Down"; n[0x23] = "End"; n[0x24] = "Home";
    n[0x25] = "Left Arrow"; n[0x26] = "Up Arrow"; n[0x27] = "Right Arrow"; n[0x28] = "Down Arrow";
    n[0x29] = "Select"; n[0x2A] = "Print"; n[0x2B] = "Execute"; n[0x2C] = "Print Screen";
    n[0x2D] = "Ins"; n[0x2E] = "Del"; n[0x2F] = "Help";
    constexpr std::string_view digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 10; ++i) n[0x30 + i] = digits[i];
    constexpr std::string_view letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                            "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                            "S", "T", "U", "V", "W", "X", "Y", "Z"};
    for (int i = 0; i < 26; ++i) n[0x41 + i] = letters[i];
    n[0x5B] = "Win_L"; n[0x5C] = "Win_R"; n[0x5D] = "App"; n[0x5F] = "Sleep";
    constexpr std::string_view numpad[] = {"Num0", "Num1", "Num2", "Num3", "Num4",
                                           "Num5", "Num6", "Num7", "Num8", "Num9"};
    for (int i = 0; i < 10; ++i) n[0x60 + i] = numpad[i];
    n[0x6A] = "Multiply"; n[0x6B] = "Add"; n[0x6C] = "Separator"; n[0x6D] = "Subtract";
    n[0x6E] = "Decimal"; n[0x6F] = "Divide";
    constexpr std::string_view functionKeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                                 "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                                 "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    for (int i = 0; i < 24; ++i) n[0x70 + i] = functionKeys[i];
    n[0x90] = "Num Lock"; n[0x91] = "Scroll Lock";
    n[0xA0] = "Shift_L"; n[0xA1] = "Shift_R"; n[0xA2] = "Ctrl_L"; n[0xA3] = "Ctrl_R";
    n[0xA4] = "Alt_L"; n[0xA5] = "Alt_R";
    n[0xBA] = ";"; n[0xBB] = "="; n[0xBC] = ","; n[0xBD] = "-"; n[0xBE] = "."; n[0xBF] = "/";
    n[0xC0] = "~"; n[0xDB] = "["; n[0xDC] = "\\"; n[0xDD] = "]"; n[0xDE] = "'";
    // Mouse pseudo-keys of macros.
    n[0xE0] = "L Key"; n[0xE1] = "R Key"; n[0xE2] = "M Key"; n[0xE3] = "K4"; n[0xE4] = "K5";
    n[0xE5] = "Mouse X"; n[0xE6] = "Mouse Y"; n[0xE7] = "Mouse Wheel";
    return n;
}

constexpr Names kKeyNames = buildKeyNames();

constexpr std::array<std::string_view, 7> kPollingRateNames = {"125Hz",  "250Hz",  "500Hz", "1000Hz",
                                                               "2000Hz", "4000Hz", "8000Hz"};
constexpr std::array<std::string_view, 11> kDpiLockNames = {"200", "300", "400", "500",  "600", "700",
                                                            "800", "900", "1000", "1100", "1200"};
constexpr std::array<std::string_view, 4> kBrightnessNames = {"25%", "50%", "75%", "100%"};

}  // namespace

std::string_view keyName(std::uint8_t code) { return kKeyNames[code]; }

std::string_view pollingRateName(int code) {
    return code >= 0 && code < kPollingRateCount ? kPollingRateNames[static_cast<std::size_t>(code)] : "";
}

std::string_view dpiLockName(int n) {
    return n >= 1 && n <= kDpiLockCount ? kDpiLockNames[static_cast<std::size_t>(n - 1)] : "";
}

std::string_view brightnessName(int b) {
    const int index = ((b % 4) + 4) % 4;
    return kBrightnessNames[static_cast<std::size_t>(index)];
}

}  // namespace zavrin
