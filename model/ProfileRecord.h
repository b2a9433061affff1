#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/KeyAction.h"
#include "model/MacroRecord.h"

namespace zavrin {

class LanguageTable;

inline constexpr int kProfileCount = 5;
inline constexpr int kProfileSettingCount = 23;
inline constexpr int kKeyCount = 6;
inline constexpr int kDpiLevelCount = 8;
inline constexpr int kLightingModeCount = 10;
inline constexpr int kLightingColorCount = 10;

// A key/value pair of text, as the settings files store them.
struct ProfileSetting {
    std::string key;
    std::string value;

    bool operator==(const ProfileSetting&) const = default;
};

// Positions of the per-profile settings.
namespace Setting {
inline constexpr int ProfileName = 0;
inline constexpr int GameFile0 = 1;
inline constexpr int GameFile1 = 2;
inline constexpr int GameFile2 = 3;
inline constexpr int DoubleClickSpeed = 4;
inline constexpr int PointerSpeed = 5;
inline constexpr int AccelerationEnable = 6;
inline constexpr int ScrollWheelSpeed = 7;
inline constexpr int ScrollWheelPageEnable = 8;
inline constexpr int TiltSpeed = 9;
inline constexpr int SensitivityX = 10;
inline constexpr int SensitivityY = 11;
inline constexpr int XYSynchronous = 12;
inline constexpr int XDpi = 13;
inline constexpr int YDpi = 14;
inline constexpr int MoveLightingOnOffMode = 15;
inline constexpr int PowerDownTime = 16;
inline constexpr int LiftDetectionHeight = 17;
inline constexpr int KeyDebounce = 18;
inline constexpr int MotionWakeup = 19;
inline constexpr int AngleSnap = 20;
inline constexpr int MotionSync = 21;
inline constexpr int RippleControl = 22;
}  // namespace Setting

// Which half of a settings pair an accessor returns.
inline constexpr int kSettingKey = 0;
inline constexpr int kSettingValue = 1;

// One of the six buttons. Key index to button with the defaults: 0 left, 1 right,
// 2 middle, 3 forward (button 5), 4 back (button 4), 5 the DPI button.
struct KeyAssignment {
    std::string name;
    std::string url;  // program or web address of a quick-launch action
    KeyAction action;
    std::uint32_t macroKeyIndex = 0;  // library id of the macro last assigned
    MacroRecord macro;                // copy of that macro

    bool operator==(const KeyAssignment&) const = default;
};

struct Lighting1Settings {
    std::uint8_t offOn = 0;
    std::string name;
    std::array<std::uint8_t, 3> modeValue{};  // byte 0: effect code 0..9
    std::array<std::uint8_t, kLightingModeCount> speed{};
    std::array<std::uint8_t, kLightingModeCount> brightness{};  // 0..3
    std::array<std::array<std::uint8_t, kLightingColorCount>, kLightingModeCount> colorSelected{};
    std::array<std::array<std::uint32_t, kLightingColorCount>, kLightingModeCount> fixedColor{};
    std::array<std::uint8_t, kLightingModeCount> direction{};

    bool operator==(const Lighting1Settings&) const = default;
};

// A second lighting block that is kept and saved but never sent to the device.
struct Lighting2Settings {
    std::uint8_t offOn = 0;
    std::string name;
    std::array<std::uint8_t, 3> modeValue{};
    std::uint8_t speed = 0;
    std::uint8_t brightness = 0;
    std::uint32_t fixedColor = 0;

    bool operator==(const Lighting2Settings&) const = default;
};

// The program's copy of one on-board profile. Colours are 0x00BBGGRR.
struct ProfileRecord {
    std::array<ProfileSetting, kProfileSettingCount> settings;
    std::array<KeyAssignment, kKeyCount> keys;
    std::string pollingRateName;
    std::array<std::uint8_t, 3> pollingRateValue{};  // byte 0: rate code 0..6
    Lighting1Settings lighting1;
    Lighting2Settings lighting2;
    std::uint8_t dpiOffOnFlag = 0;  // bit i: DPI level i enabled
    std::array<std::uint16_t, kDpiLevelCount> xySetting{};  // step index per level
    std::uint8_t currentDpiLevel = 0;
    std::array<std::uint32_t, kDpiLevelCount> dpiLevelIndication{};
    std::uint8_t angleSnapValue = 0;
    std::uint8_t liftDetectionValue = 0;

    bool operator==(const ProfileRecord&) const = default;
};

// Sets every field to its default; `index` only chooses the default name (texts
// 85..89 for profiles 0..4, "Profile<index+1>" otherwise).
void resetProfile(ProfileRecord& record, int index, const LanguageTable& language,
                  std::uint16_t sensorId);

// Sets the DPI levels, colours and current level to the defaults of `sensorId`; a
// sensor without a table keeps its step indexes.
void applySensorDpiDefaults(ProfileRecord& record, std::uint16_t sensorId);

// Key (which = kSettingKey) or value (kSettingValue) of setting i; empty for i
// outside 0..22.
std::string getSetting(const ProfileRecord& record, int i, int which);
// Value of setting i := n in decimal; ignored for i outside 0..22.
void setSettingInt(ProfileRecord& record, int i, int n);
// Value of setting i parsed as decimal (0 when it holds no number).
int getSettingInt(const ProfileRecord& record, int i);

// Gives key `keyIndex` of `current` a new name, url and action. With a macro,
// the key takes a copy of it and its id; without, the key's macro loses its
// actions and keeps its other fields.
void assignKey(ProfileRecord& current, int keyIndex, const std::string& name,
               const std::string& url, KeyAction action, const MacroRecord* macro);

// One button must keep the plain left click. When no key of `current` holds
// (0x10, 0x01), the key just changed gets it back (text 20, empty url, no macro)
// and the result is true: the caller warns the user. False means the assignment
// stands and the buttons may be written to the device.
bool enforceLeftClick(ProfileRecord& current, int changedKeyIndex, const LanguageTable& language);

// Language text that names lighting effect `code` (0..9); 0 for other codes.
int effectNameText(int code);

}  // namespace zavrin
