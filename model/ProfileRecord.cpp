#include "model/ProfileRecord.h"

#include <algorithm>

#include "model/LanguageTable.h"
#include "model/TextFields.h"

namespace zavrin {
namespace {

struct SettingDefault {
    const char* key;
    const char* value;
};

// Setting 0's default is the profile's name and is filled in by resetProfile.
constexpr SettingDefault kSettingDefaults[kProfileSettingCount] = {
    {"ProfileName", ""},         {"GameFile0", ""},
    {"GameFile1", ""},           {"GameFile2", ""},
    {"DoubleClickSpeed", "6"},   {"PointerSpeed", "5"},
    {"AccelerationEnable", "1"}, {"ScrollWheelSpeed", "2"},
    {"ScrollWheelPageEnable", "0"}, {"TiltSpeed", "2"},
    {"Sensitivity_X", "4"},      {"Sensitivity_Y", "4"},
    {"XYSynchronous", "1"},      {"X_DPI", "1"},
    {"Y_DPI", "1"},              {"MoveLightingOnOffMode", "0"},
    {"PowerDownTime", "1"},      {"LiftDetectionHeight", "2"},
    {"KeyDebounce", "2"},        {"MotionWakeup", "1"},
    {"AngleSnap", "0"},          {"MotionSync", "1"},
    {"RippleControl", "0"},
};

struct KeyDefault {
    int nameText;
    KeyAction action;
};

constexpr KeyDefault kKeyDefaults[kKeyCount] = {
    {20, {ActionType::MouseButton, MouseButtonMask::Left, 0}},
    {21, {ActionType::MouseButton, MouseButtonMask::Right, 0}},
    {22, {ActionType::MouseButton, MouseButtonMask::Middle, 0}},
    {23, {ActionType::MouseButton, MouseButtonMask::Forward, 0}},
    {24, {ActionType::MouseButton, MouseButtonMask::Back, 0}},
    {42, {ActionType::DpiSwitch, 0x01, 0}},
};

constexpr int kFirstProfileNameText = 85;
constexpr int kLeftClickText = 20;

// Language text of each lighting effect code.
constexpr int kEffectNameTexts[kLightingModeCount] = {109, 100, 101, 102, 103, 110, 105, 108, 106, 111};

struct SensorDpiDefaults {
    std::uint16_t sensorId;
    std::array<std::uint16_t, kDpiLevelCount> xySetting;
};

constexpr SensorDpiDefaults kSensorDpiDefaults[] = {
    {0x3104, {4, 15, 23, 31, 39, 41, 58, 50}},
    {0x3212, {6, 10, 14, 22, 33, 12, 12, 12}},
    {0x3311, {3, 7, 15, 23, 35, 47, 119, 119}},
    {0x3325, {6, 14, 22, 30, 51, 58, 58, 50}},
    {0x3327, {2, 6, 14, 30, 48, 58, 58, 58}},
    {0x3335, {11, 23, 31, 63, 99, 159, 59, 59}},
    {0x3360, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3389, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3370, {7, 15, 31, 63, 99, 119, 119, 119}},
    {0x3395, {7, 15, 31, 63, 127, 519, 519, 519}},
    {0x3399, {7, 15, 31, 63, 99, 99, 99, 99}},
};

// Red, blue, green, yellow, cyan, magenta, white, white (0x00BBGGRR).
constexpr std::array<std::uint32_t, kDpiLevelCount> kDpiLevelColors = {
    0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0xFFFFFF, 0xFFFFFF};

void resetLighting1(Lighting1Settings& l, const LanguageTable& language) {
    l = Lighting1Settings{};
    l.offOn = 1;
    l.name = language.languageText(kEffectNameTexts[0]);
    l.speed.fill(1);
    l.brightness.fill(3);
    l.direction[1] = 1;
    const auto setColors = [&l](int mode, std::initializer_list<std::uint32_t> colors) {
        std::size_t j = 0;
        for (std::uint32_t c : colors) {
            l.colorSelected[static_cast<std::size_t>(mode)][j] = 1;
            l.fixedColor[static_cast<std::size_t>(mode)][j] = c;
            ++j;
        }
    };
    setColors(2, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF});
    setColors(3, {0xFF00FF});
    setColors(6, {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFA00FA, 0xFFFFFF, 0xFF46FA});
    setColors(8, {0x00FF00, 0x6A00FA});
}

bool validSetting(int i) { return i >= 0 && i < kProfileSettingCount; }

}  // namespace

int effectNameText(int code) {
    return code >= 0 && code < kLightingModeCount ? kEffectNameTexts[code] : 0;
}

void resetProfile(ProfileRecord& record, int index, const LanguageTable& language, std::uint16_t sensorId) {
    for (int i = 0; i < kProfileSettingCount; ++i) {
        record.settings[static_cast<std::size_t>(i)] = {kSettingDefaults[i].key, kSettingDefaults[i].value};
    }
    record.settings[Setting::ProfileName].value =
        index >= 0 && index < kProfileCount ? language.languageText(kFirstProfileNameText + index)
                                            : "Profile" + decimal(static_cast<unsigned>(index) + 1U);

    for (int k = 0; k < kKeyCount; ++k) {
        KeyAssignment& key = record.keys[static_cast<std::size_t>(k)];
        key.name = language.languageText(kKeyDefaults[k].nameText);
        key.url.clear();
        key.action = kKeyDefaults[k].action;
        key.macroKeyIndex = 0;
        key.macro.makeEmpty();
    }

    record.pollingRateName = "1000HZ";
    record.pollingRateValue = {3, 0, 0};

    resetLighting1(record.lighting1, language);
    record.lighting2 = Lighting2Settings{};
    record.lighting2.name = language.languageText(kEffectNameTexts[1]);
    record.lighting2.modeValue = {1, 0, 0};

    record.angleSnapValue = 0;
    record.liftDetectionValue = 1;
    applySensorDpiDefaults(record, sensorId);
}

void applySensorDpiDefaults(ProfileRecord& record, std::uint16_t sensorId) {
    record.dpiOffOnFlag = 0x3F;
    record.currentDpiLevel = 2;
    record.dpiLevelIndication = kDpiLevelColors;
    for (const SensorDpiDefaults& d : kSensorDpiDefaults) {
        if (d.sensorId == sensorId) record.xySetting = d.xySetting;
    }
}

std::string getSetting(const ProfileRecord& record, int i, int which) {
    if (!validSetting(i)) return {};
    const ProfileSetting& s = record.settings[static_cast<std::size_t>(i)];
    return which == kSettingKey ? s.key : s.value;
}

void setSettingInt(ProfileRecord& record, int i, int n) {
    if (validSetting(i)) record.settings[static_cast<std::size_t>(i)].value = decimal(n);
}

int getSettingInt(const ProfileRecord& record, int i) {
    return validSetting(i) ? static_cast<int>(parseDecimal(record.settings[static_cast<std::size_t>(i)].value)) : 0;
}

void assignKey(ProfileRecord& current, int keyIndex, const std::string& name, const std::string& url,
               KeyAction action, const MacroRecord* macro) {
    if (keyIndex < 0 || keyIndex >= kKeyCount) return;
    KeyAssignment& key = current.keys[static_cast<std::size_t>(keyIndex)];
    key.name = name;
    key.url = url;
    key.action = action;

    if (macro == nullptr) {
        // The button keeps its macro's name and id for the next time it is
        // chosen, but no longer carries any actions.
        key.macro.actionNum = 0;
        key.macro.actions.fill(MacroAction{});
        return;
    }
    key.macro.copyFrom(*macro);
    key.macroKeyIndex = macro->macroKeyIndex;
}

bool enforceLeftClick(ProfileRecord& current, int changedKeyIndex, const LanguageTable& language) {
    const bool hasLeftClick = std::any_of(current.keys.begin(), current.keys.end(), [](const KeyAssignment& k) {
        return k.action.type == ActionType::MouseButton && k.action.value1 == MouseButtonMask::Left;
    });
    if (hasLeftClick) return false;
    assignKey(current, changedKeyIndex, language.languageText(kLeftClickText), "", kLeftClick, nullptr);
    return true;
}

}  // namespace zavrin
