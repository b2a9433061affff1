#include "ui/PopupCatalog.h"

#include <array>

namespace zavrin {

namespace {

using E = PopupRowEffect;

constexpr PopupTableRow act(int id, int entry, KeyAction a) {
    return PopupTableRow{id, entry, "", false, E::Action, a, 0};
}
constexpr PopupTableRow msg(int id, int entry, std::uint32_t message) {
    return PopupTableRow{id, entry, "", false, E::OwnerMessage, {}, message};
}
constexpr PopupTableRow sub(int id, int entry, std::uint32_t hoverMessage) {
    return PopupTableRow{id, entry, "", true, E::Nothing, {}, hoverMessage};
}
constexpr PopupTableRow word(int id, const char* text) {
    return PopupTableRow{id, -1, text, false, E::Action, {}, 0};
}
constexpr PopupTableRow entry(int id, int e) { return PopupTableRow{id, e, "", false, E::Action, {}, 0}; }

constexpr KeyAction consumer(std::uint16_t usage) {
    return KeyAction{ActionType::Consumer, static_cast<std::uint8_t>(usage & 0xFF),
                     static_cast<std::uint8_t>(usage >> 8)};
}
constexpr KeyAction keys(std::uint8_t modifiers, std::uint8_t usage) {
    return KeyAction{ActionType::Keyboard, modifiers, usage};
}

// HID consumer-page usages.
constexpr std::uint16_t kMediaPlayer = 0x0183, kPreviousTrack = 0x00B6, kNextTrack = 0x00B5,
                        kStop = 0x00B7, kPlayPause = 0x00CD, kMute = 0x00E2, kVolumeUp = 0x00E9,
                        kVolumeDown = 0x00EA, kMail = 0x018A, kCalculator = 0x0192, kLocalBrowser = 0x0194;
// HID keyboard-page usages.
constexpr std::uint8_t kKeyA = 0x04, kKeyC = 0x06, kKeyD = 0x07, kKeyE = 0x08, kKeyN = 0x11, kKeyP = 0x13,
                       kKeyR = 0x15, kKeyS = 0x16, kKeyV = 0x19, kKeyX = 0x1B, kKeyZ = 0x1D, kKeyF4 = 0x3D,
                       kDownArrow = 0x51, kUpArrow = 0x52;
constexpr std::uint8_t kCtrl = KeyModifier::Ctrl, kAlt = KeyModifier::Alt, kWin = KeyModifier::Win;

constexpr std::array kComboItems{
    act(1, 20, {ActionType::MouseButton, MouseButtonMask::Left, 0}),
    act(2, 21, {ActionType::MouseButton, MouseButtonMask::Right, 0}),
    act(3, 22, {ActionType::MouseButton, MouseButtonMask::Middle, 0}),
    act(4, 23, {ActionType::MouseButton, MouseButtonMask::Forward, 0}),
    act(5, 24, {ActionType::MouseButton, MouseButtonMask::Back, 0}),
    sub(6, 25, PopupMessage::OpenDpiSubmenu),
    msg(7, 26, PopupMessage::OpenFireKeyDialog),
    act(8, 27, {ActionType::FireKey, 50, 3}),
    msg(9, 28, PopupMessage::OpenMacroSelectDialog),
    msg(10, 29, PopupMessage::OpenShortcutDialog),
    sub(11, 30, PopupMessage::OpenMultimediaSubmenu),
    sub(12, 31, PopupMessage::OpenOfficeSubmenu),
    sub(13, 32, PopupMessage::OpenWindowsManageSubmenu),
    act(14, 33, {ActionType::Special, SpecialFunction::DeviceFunction, 0}),
    sub(15, 36, PopupMessage::OpenDpiLockSubmenu),
    msg(16, 39, PopupMessage::OpenQuickLaunchDialog),
    act(17, 34, {ActionType::None, 0, 0}),
};

constexpr std::array kDpiItems{
    act(1, 40, {ActionType::DpiSwitch, 2, 0}),
    act(2, 41, {ActionType::DpiSwitch, 3, 0}),
    act(3, 42, {ActionType::DpiSwitch, 1, 0}),
};

constexpr std::array kMultimediaItems{
    act(1, 45, consumer(kMediaPlayer)), act(2, 46, consumer(kPreviousTrack)),
    act(3, 47, consumer(kNextTrack)),   act(4, 48, consumer(kStop)),
    act(5, 49, consumer(kPlayPause)),   act(6, 50, consumer(kMute)),
    act(7, 51, consumer(kVolumeUp)),    act(8, 52, consumer(kVolumeDown)),
    act(9, 53, consumer(kMail)),        act(10, 54, consumer(kCalculator)),
};

constexpr std::array kOfficeItems{
    act(1, 60, keys(kCtrl, kKeyC)), act(2, 61, keys(kCtrl, kKeyV)), act(3, 62, keys(kCtrl, kKeyX)),
    act(4, 63, keys(kCtrl, kKeyA)), act(5, 64, keys(kCtrl, kKeyN)), act(6, 65, keys(kCtrl, kKeyS)),
    act(7, 66, keys(kCtrl, kKeyP)), act(8, 67, keys(kWin, kKeyE)),  act(9, 68, keys(kCtrl, kKeyZ)),
};

constexpr std::array kWindowsManageItems{
    act(1, 75, consumer(kLocalBrowser)), act(2, 76, keys(kAlt, kKeyF4)),
    act(3, 77, keys(kWin, kKeyD)),       act(4, 78, keys(kWin, kKeyR)),
    act(5, 79, keys(kWin, kDownArrow)),  act(6, 80, keys(kWin, kUpArrow)),
};

constexpr PopupTableRow lock(int id, const char* text) {
    return PopupTableRow{id, -1, text, false, E::Action,
                         KeyAction{ActionType::DpiLock, static_cast<std::uint8_t>(id), 0}, 0};
}
constexpr std::array kDpiLockItems{
    lock(1, "200"), lock(2, "300"), lock(3, "400"), lock(4, "500"),   lock(5, "600"),   lock(6, "700"),
    lock(7, "800"), lock(8, "900"), lock(9, "1000"), lock(10, "1100"), lock(11, "1200"),
};

constexpr std::array kPollingRateItems{word(1, "125Hz"), word(2, "250Hz"), word(3, "500Hz"), word(4, "1000Hz")};
constexpr std::array kLightingItems{entry(2, 101), entry(3, 102), entry(10, 109)};
constexpr std::array kProfileItems{word(18, "Profile Cycle"), word(19, "Profile Up"), word(20, "Profile Down")};
constexpr std::array kProfileRKeyItems{entry(1, 90), entry(2, 91), entry(3, 92), entry(4, 93)};
constexpr std::array kActionInsertItems{
    entry(1, 20),  entry(2, 21),  entry(3, 22),  entry(4, 205), entry(5, 206),
    entry(6, 207), entry(7, 208), entry(8, 209), entry(9, 210),
};
constexpr std::array kMacroListItems{
    entry(1, 245), entry(2, 246), entry(3, 247), entry(4, 248),
    entry(5, 249), entry(6, 250), entry(7, 251), entry(8, 252),
};

}  // namespace

std::span<const PopupTableRow> comboPopupItems() { return kComboItems; }
std::span<const PopupTableRow> dpiPopupItems() { return kDpiItems; }
std::span<const PopupTableRow> multimediaPopupItems() { return kMultimediaItems; }
std::span<const PopupTableRow> officePopupItems() { return kOfficeItems; }
std::span<const PopupTableRow> windowsManagePopupItems() { return kWindowsManageItems; }
std::span<const PopupTableRow> dpiLockPopupItems() { return kDpiLockItems; }
std::span<const PopupTableRow> pollingRatePopupItems() { return kPollingRateItems; }
std::span<const PopupTableRow> lightingPopupItems() { return kLightingItems; }
std::span<const PopupTableRow> profilePopupItems() { return kProfileItems; }
std::span<const PopupTableRow> profileRKeyPopupItems() { return kProfileRKeyItems; }
std::span<const PopupTableRow> actionInsertPopupItems() { return kActionInsertItems; }
std::span<const PopupTableRow> macroListPopupItems() { return kMacroListItems; }

bool macroListModeShows(int mode, int id) {
    switch (mode) {
        case 0: return id == 1 || id == 2 || id == 4 || id == 7 || id == 8;
        case 2: return id != 3;
        default: return id >= 1 && id <= 8;
    }
}

std::uint8_t lightingModeOfId(int id) {
    // Ids follow the order of the menu's texts; the device numbers the modes
    // differently for the last four.
    static constexpr std::array<std::uint8_t, 11> kModeOfId{0, 1, 2, 3, 4, 5, 6, 8, 9, 7, 0};
    if (id < 1 || id > 10) return 0;
    return kModeOfId[static_cast<std::size_t>(id)];
}

}  // namespace zavrin
