#include "ctl/SettingKeys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <functional>
#include <vector>

#include "device/KeyCodeTable.h"
#include "device/MacroTransfer.h"
#include "model/NameTables.h"
#include "model/SettingRanges.h"
#include "ui/PopupCatalog.h"

namespace zavrin {

namespace {

using Refusal = std::optional<std::string>;
const Refusal kTaken = std::nullopt;
Refusal refused(std::string why = {}) { return why; }

// ---- Small parsers ---------------------------------------------------------------

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool sameWords(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += separator;
        out += part;
    }
    return out;
}

// ---- Polling rate: the rates the rate class puts on screen -----------------------------


int ratesOffered(int capability) {
    if (capability == RateClass::UpTo8000) return 7;
    if (capability == RateClass::UpTo4000) return 6;
    return 4;
}

std::string rateAllowed(const SettingContext& c) {
    std::vector<std::string> rates;
    for (int i = 0; i < ratesOffered(c.rateCapability); ++i) rates.push_back(std::to_string(kPollingRateHz[static_cast<std::size_t>(i)]));
    return joined(rates, ", ") + " (Hz)";
}

std::string rateGet(const ProfileRecord& p, const SettingContext&) {
    const int index = std::min<int>(p.pollingRateValue[0], kPollingRateCount - 1);
    return std::to_string(kPollingRateHz[static_cast<std::size_t>(index)]);
}

Refusal rateSet(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    std::string_view digits = value;
    if (digits.size() > 2 && sameWords(digits.substr(digits.size() - 2), "hz")) digits.remove_suffix(2);
    const auto hz = wholeNumber(digits);
    const auto* found = hz ? std::find(kPollingRateHz.begin(), kPollingRateHz.end(), *hz) : kPollingRateHz.end();
    if (found == kPollingRateHz.end()) return refused();
    const auto index = static_cast<int>(found - kPollingRateHz.begin());
    if (index >= ratesOffered(c.rateCapability)) return refused("the connection does not offer it");
    p.pollingRateName = kPollingRateProfileNames[static_cast<std::size_t>(index)];
    p.pollingRateValue = {static_cast<std::uint8_t>(index), 0, 0};
    return kTaken;
}

// ---- DPI -------------------------------------------------------------------------------

constexpr int kShownDpiLevels = 6;

bool levelEnabled(const ProfileRecord& p, int level) { return (p.dpiOffOnFlag & (1u << level)) != 0; }

// The sensor's DPI values as runs: "100-12000 step 100, 24000".
std::string describeSteps(const SensorTable& sensor) {
    std::vector<std::string> runs;
    std::size_t i = 0;
    while (i < sensor.size()) {
        const int first = *sensor.dpiOfStep(i);
        std::size_t j = i;
        int step = 0;
        if (i + 1 < sensor.size()) step = *sensor.dpiOfStep(i + 1) - first;
        while (j + 1 < sensor.size() && *sensor.dpiOfStep(j + 1) - *sensor.dpiOfStep(j) == step) ++j;
        if (j - i >= 2) {
            runs.push_back(std::to_string(first) + "-" + std::to_string(*sensor.dpiOfStep(j)) + " step " +
                           std::to_string(step));
            i = j + 1;
        } else {
            runs.push_back(std::to_string(first));
            ++i;
        }
    }
    return runs.empty() ? "none (unknown sensor)" : joined(runs, ", ");
}

std::optional<std::uint16_t> stepOfDpi(const SensorTable& sensor, std::string_view text) {
    const auto dpi = wholeNumber(text);
    if (!dpi) return std::nullopt;
    for (std::size_t s = 0; s < sensor.size(); ++s) {
        if (sensor.dpiOfStep(s) == *dpi) return static_cast<std::uint16_t>(s);
    }
    return std::nullopt;
}

int enabledShownCount(const ProfileRecord& p) {
    int n = 0;
    for (int k = 0; k < kShownDpiLevels; ++k) n += levelEnabled(p, k) ? 1 : 0;
    return n;
}

std::string dpiLevelsAllowed(const SettingContext& c) {
    return "one DPI value per enabled level, comma-separated; each of " + describeSteps(c.sensor);
}

std::string dpiLevelsGet(const ProfileRecord& p, const SettingContext& c) {
    std::vector<std::string> values;
    for (int k = 0; k < kShownDpiLevels; ++k) {
        if (!levelEnabled(p, k)) continue;
        values.push_back(std::to_string(c.sensor.dpiOfStep(p.xySetting[static_cast<std::size_t>(k)]).value_or(0)));
    }
    return joined(values, ",");
}

Refusal dpiLevelsSet(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    const auto parts = splitAt(value, ',');
    if (static_cast<int>(parts.size()) != enabledShownCount(p)) {
        return refused(std::to_string(enabledShownCount(p)) + " levels are enabled");
    }
    ProfileRecord edited = p;
    std::size_t next = 0;
    for (int k = 0; k < kShownDpiLevels; ++k) {
        if (!levelEnabled(p, k)) continue;
        const auto step = stepOfDpi(c.sensor, parts[next++]);
        if (!step) return refused();
        edited.xySetting[static_cast<std::size_t>(k)] = *step;
    }
    p = edited;
    return kTaken;
}

std::string dpiEnabledAllowed(const SettingContext&) {
    return "comma-separated level numbers 1-6, at least one";
}

std::string dpiEnabledGet(const ProfileRecord& p, const SettingContext&) {
    std::vector<std::string> levels;
    for (int k = 0; k < kShownDpiLevels; ++k) {
        if (levelEnabled(p, k)) levels.push_back(std::to_string(k + 1));
    }
    return joined(levels, ",");
}

Refusal dpiEnabledSet(ProfileRecord& p, std::string_view value, const SettingContext&) {
    // The hidden levels 7 and 8 keep their flags, as the window leaves them.
    std::uint8_t mask = p.dpiOffOnFlag & static_cast<std::uint8_t>(~0x3Fu);
    bool any = false;
    for (std::string_view part : splitAt(value, ',')) {
        const auto level = wholeNumber(part);
        if (!level || *level < 1 || *level > kShownDpiLevels) return refused();
        mask = static_cast<std::uint8_t>(mask | (1u << (*level - 1)));
        any = true;
    }
    if (!any) return refused("the last enabled level cannot be switched off");
    // A level switched off that was current hands over to the next enabled one,
    // searching forward and around as the window does.
    int current = p.currentDpiLevel;
    if ((mask & (1u << current)) == 0) {
        for (int i = 0; i < kDpiLevelCount; ++i) {
            current = (current + 1) % kDpiLevelCount;
            if ((mask & (1u << current)) != 0) break;
        }
    }
    p.dpiOffOnFlag = mask;
    p.currentDpiLevel = static_cast<std::uint8_t>(current);
    return kTaken;
}

std::string dpiCurrentAllowed(const SettingContext&) { return "an enabled level, 1-6"; }

std::string dpiCurrentGet(const ProfileRecord& p, const SettingContext&) {
    return std::to_string(static_cast<int>(p.currentDpiLevel) + 1);
}

Refusal dpiCurrentSet(ProfileRecord& p, std::string_view value, const SettingContext&) {
    const auto level = wholeNumber(value);
    if (!level || *level < 1 || *level > kShownDpiLevels) return refused();
    // The value button of a level that is off takes no click.
    if (!levelEnabled(p, *level - 1)) return refused("level " + std::to_string(*level) + " is not enabled");
    p.currentDpiLevel = static_cast<std::uint8_t>(*level - 1);
    return kTaken;
}

std::string colourText(std::uint32_t bgr) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift : {0, 8, 16}) {
        const auto byte = (bgr >> shift) & 0xFF;
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

std::optional<std::uint32_t> parseColour(std::string_view text) {
    if (text.starts_with('#')) text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    std::uint32_t rgb = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + 6, rgb, 16);
    if (ec != std::errc() || end != text.data() + 6) return std::nullopt;
    // The profile keeps 0x00BBGGRR.
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::string dpiColoursAllowed(const SettingContext&) {
    return "six colours #RRGGBB, comma-separated, for levels 1-6";
}

std::string dpiColoursGet(const ProfileRecord& p, const SettingContext&) {
    std::vector<std::string> colours;
    for (int k = 0; k < kShownDpiLevels; ++k) colours.push_back(colourText(p.dpiLevelIndication[static_cast<std::size_t>(k)]));
    return joined(colours, ",");
}

Refusal dpiColoursSet(ProfileRecord& p, std::string_view value, const SettingContext&) {
    const auto parts = splitAt(value, ',');
    if (parts.size() != kShownDpiLevels) return refused();
    std::array<std::uint32_t, kShownDpiLevels> colours{};
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const auto colour = parseColour(parts[k]);
        if (!colour) return refused();
        colours[k] = *colour;
    }
    std::copy(colours.begin(), colours.end(), p.dpiLevelIndication.begin());
    return kTaken;
}

// ---- Buttons: the function menu's entries, shortcuts, fire keys and macros ---------------

constexpr int kLeftClickText = 20;
constexpr int kFireKeyText = 26;
constexpr int kDpiLockText = 36;
constexpr int kMacroPrefixText = 190;
constexpr int kMinFireInterval = 5;

struct MenuFunction {
    std::string english;
    std::string shown;
    KeyAction action;
};

// Every entry of the function menu and its sub-menus that chooses a function
// directly, with the label it gives the button.
std::vector<MenuFunction> menuFunctions(const SettingContext& c) {
    std::vector<MenuFunction> functions;
    const auto add = [&](std::span<const PopupTableRow> rows) {
        for (const PopupTableRow& row : rows) {
            if (row.effect != PopupRowEffect::Action) continue;
            if (row.textEntry >= 0) {
                functions.push_back({c.english->languageText(row.textEntry), c.shown->languageText(row.textEntry),
                                     row.action});
            } else {
                // The DPI-lock values: the button is named "<DPI Lock>-<value>".
                functions.push_back({c.english->languageText(kDpiLockText) + "-" + row.literal,
                                     c.shown->languageText(kDpiLockText) + "-" + row.literal, row.action});
            }
        }
    };
    add(comboPopupItems());
    add(dpiPopupItems());
    add(multimediaPopupItems());
    add(officePopupItems());
    add(windowsManagePopupItems());
    add(dpiLockPopupItems());
    return functions;
}

struct ModifierName {
    const char* name;
    std::uint8_t bit;
};
// In the order the shortcut dialog joins them into the button's label.
constexpr std::array<ModifierName, 4> kModifiers{
    {{"Ctrl", KeyModifier::Ctrl}, {"Shift", KeyModifier::Shift}, {"Alt", KeyModifier::Alt}, {"Win", KeyModifier::Win}}};

bool isModifierKey(int vk) { return vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5) || (vk >= 0x10 && vk <= 0x12); }

// The virtual key named `name` that the shortcut dialog could capture.
std::optional<std::uint8_t> shortcutKey(std::string_view name) {
    for (int vk = 1; vk < 0xE0; ++vk) {
        const auto code = static_cast<std::uint8_t>(vk);
        if (isModifierKey(vk) || deviceKeyCode(code) == 0) continue;
        if (sameWords(keyName(code), name)) return code;
    }
    return std::nullopt;
}

std::optional<std::uint8_t> keyOfUsage(std::uint8_t usage) {
    for (int vk = 1; vk < 0xE0; ++vk) {
        const auto code = static_cast<std::uint8_t>(vk);
        if (!isModifierKey(vk) && deviceKeyCode(code) == usage) return code;
    }
    return std::nullopt;
}

const MacroLibraryItem* macroNamed(const std::vector<MacroLibraryItem>& list, std::string_view name) {
    for (const MacroLibraryItem& item : list) {
        if (!item.isFolder && item.macro && item.name == name) return &item;
    }
    for (const MacroLibraryItem& item : list) {
        if (const MacroLibraryItem* found = macroNamed(item.children, name)) return found;
    }
    return nullptr;
}

std::string buttonAllowed(const SettingContext& c) {
    return "a function by its menu name (" + joined(buttonFunctionNames(*c.english), ", ") +
           "), key:[Ctrl+][Shift+][Alt+][Win+]KEY, fire:INTERVAL,COUNT (5-255, 0-255) or macro:NAME";
}

std::string buttonGet(const ProfileRecord& p, int key, const SettingContext& c) {
    const KeyAssignment& k = p.keys[static_cast<std::size_t>(key)];
    if (k.action.type == ActionType::Macro) return "macro:" + k.macro.name;
    for (const MenuFunction& f : menuFunctions(c)) {
        if (f.action == k.action) return f.english;
    }
    if (k.action.type == ActionType::Keyboard) {
        std::string text = "key:";
        for (const ModifierName& m : kModifiers) {
            if (k.action.value1 & m.bit) text += std::string(m.name) + "+";
        }
        const auto vk = keyOfUsage(k.action.value2);
        return text + (vk ? std::string(keyName(*vk)) : "0x" + std::to_string(k.action.value2));
    }
    if (k.action.type == ActionType::FireKey) {
        return "fire:" + std::to_string(k.action.value1) + "," + std::to_string(k.action.value2);
    }
    if (k.action.type == ActionType::Special && k.action.value1 == SpecialFunction::QuickLaunch) {
        return "launch:" + k.url;
    }
    return k.name;
}

struct ButtonValue {
    std::string name;
    KeyAction action;
    const MacroRecord* macro = nullptr;
};

std::optional<ButtonValue> parseButtonValue(std::string_view value, const SettingContext& c, std::string& why) {
    if (value.starts_with("key:")) {
        const auto parts = splitAt(value.substr(4), '+');
        ButtonValue out;
        out.action = KeyAction{ActionType::Keyboard, 0, 0};
        std::uint8_t modifiers = 0;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            const auto* m = std::find_if(kModifiers.begin(), kModifiers.end(),
                                         [&](const ModifierName& n) { return sameWords(n.name, parts[i]); });
            if (m == kModifiers.end()) {
                why = "unknown modifier " + std::string(parts[i]);
                return std::nullopt;
            }
            modifiers = static_cast<std::uint8_t>(modifiers | m->bit);
        }
        const auto vk = shortcutKey(parts.back());
        if (!vk) {
            why = "unknown key " + std::string(parts.back());
            return std::nullopt;
        }
        for (const ModifierName& m : kModifiers) {
            if (modifiers & m.bit) out.name += std::string(m.name) + "+";
        }
        out.name += keyName(*vk);
        out.action = KeyAction{ActionType::Keyboard, modifiers, deviceKeyCode(*vk)};
        return out;
    }
    if (value.starts_with("fire:")) {
        const auto parts = splitAt(value.substr(5), ',');
        const auto interval = parts.size() == 2 ? wholeNumber(parts[0]) : std::nullopt;
        const auto count = parts.size() == 2 ? wholeNumber(parts[1]) : std::nullopt;
        if (!interval || !count || *interval < kMinFireInterval || *interval > 255 || *count < 0 || *count > 255) {
            return std::nullopt;
        }
        return ButtonValue{c.shown->languageText(kFireKeyText),
                           KeyAction{ActionType::FireKey, static_cast<std::uint8_t>(*interval),
                                     static_cast<std::uint8_t>(*count)}};
    }
    if (value.starts_with("macro:")) {
        const std::string_view name = value.substr(6);
        const MacroLibraryItem* item = c.library ? macroNamed(c.library->topLevel(), name) : nullptr;
        if (item == nullptr) {
            why = "no macro named \"" + std::string(name) + "\" in the library";
            return std::nullopt;
        }
        if (!macroFitsDevice(*item->macro)) {
            why = "the macro has more than " + std::to_string(kMaxDeviceMacroEvents) + " events";
            return std::nullopt;
        }
        return ButtonValue{c.shown->languageText(kMacroPrefixText) + item->name, KeyAction{ActionType::Macro, 0, 0},
                           &*item->macro};
    }
    for (const MenuFunction& f : menuFunctions(c)) {
        if (sameWords(f.english, value)) return ButtonValue{f.shown, f.action};
    }
    return std::nullopt;
}

Refusal buttonSet(ProfileRecord& p, int key, std::string_view value, const SettingContext& c) {
    std::string why;
    const auto choice = parseButtonValue(value, c, why);
    if (!choice) return refused(why);
    ProfileRecord edited = p;
    assignKey(edited, key, choice->name, "", choice->action, choice->macro);
    if (enforceLeftClick(edited, key, *c.shown)) {
        return refused("one button must keep " + c.english->languageText(kLeftClickText));
    }
    p = edited;
    return kTaken;
}

template <int Key>
std::string buttonGetN(const ProfileRecord& p, const SettingContext& c) {
    return buttonGet(p, Key, c);
}
template <int Key>
Refusal buttonSetN(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    return buttonSet(p, Key, value, c);
}

// ---- Lighting --------------------------------------------------------------------------

int effectOf(const ProfileRecord& p) { return std::min<int>(p.lighting1.modeValue[0], kLightingModeCount - 1); }
bool effectHasSpeed(int m) { return m != 0 && m != 3 && m != 6; }
bool effectHasBrightness(int m) { return m == 3 || m == 6; }

std::string effectAllowed(const SettingContext& c) {
    std::vector<std::string> names;
    for (const PopupTableRow& row : lightingPopupItems()) names.push_back(c.english->languageText(row.textEntry));
    return joined(names, ", ");
}

std::string effectGet(const ProfileRecord& p, const SettingContext& c) {
    const int text = effectNameText(effectOf(p));
    return text != 0 ? c.english->languageText(text) : std::to_string(effectOf(p));
}

Refusal effectSet(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    for (const PopupTableRow& row : lightingPopupItems()) {
        if (!sameWords(c.english->languageText(row.textEntry), value)) continue;
        p.lighting1.name = c.shown->languageText(row.textEntry);
        p.lighting1.modeValue = {lightingModeOfId(row.id), 0, 0};
        return kTaken;
    }
    return refused();
}

std::string speedAllowed(const SettingContext&) { return "1, 2, 3 (effects with a speed)"; }

std::string speedGet(const ProfileRecord& p, const SettingContext&) {
    return std::to_string(p.lighting1.speed[static_cast<std::size_t>(effectOf(p))] + 1);
}

Refusal speedSet(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    const auto speed = wholeNumber(value);
    if (!speed || *speed < 1 || *speed > 3) return refused();
    if (!effectHasSpeed(effectOf(p))) return refused("the effect " + effectGet(p, c) + " has no speed");
    p.lighting1.speed[static_cast<std::size_t>(effectOf(p))] = static_cast<std::uint8_t>(*speed - 1);
    return kTaken;
}

std::string brightnessAllowed(const SettingContext&) { return "25%, 50%, 75%, 100% (effects with a brightness)"; }

std::string brightnessGet(const ProfileRecord& p, const SettingContext&) {
    return std::string(brightnessName(p.lighting1.brightness[static_cast<std::size_t>(effectOf(p))]));
}

Refusal brightnessSet(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    for (int b = 0; b < 4; ++b) {
        const std::string_view name = brightnessName(b);
        if (value != name && value != name.substr(0, name.size() - 1)) continue;
        if (!effectHasBrightness(effectOf(p))) return refused("the effect " + effectGet(p, c) + " has no brightness");
        p.lighting1.brightness[static_cast<std::size_t>(effectOf(p))] = static_cast<std::uint8_t>(b);
        return kTaken;
    }
    return refused();
}

// ---- Performance and power ---------------------------------------------------------------

constexpr int kLowText = 270;
constexpr int kHighText = 271;

std::string liftAllowed(const SettingContext& c) {
    return lower(c.english->languageText(kLowText)) + ", " + lower(c.english->languageText(kHighText));
}

std::string liftGet(const ProfileRecord& p, const SettingContext& c) {
    return lower(c.english->languageText(getSettingInt(p, Setting::LiftDetectionHeight) == 1 ? kLowText : kHighText));
}

Refusal liftSet(ProfileRecord& p, std::string_view value, const SettingContext& c) {
    if (sameWords(value, c.english->languageText(kLowText))) {
        setSettingInt(p, Setting::LiftDetectionHeight, 1);
    } else if (sameWords(value, c.english->languageText(kHighText))) {
        setSettingInt(p, Setting::LiftDetectionHeight, 2);
    } else {
        return refused();
    }
    return kTaken;
}

// A setting held as a whole number between two limits (the slider's or dial's stops).
template <int Index, int Low, int High>
Refusal rangeSet(ProfileRecord& p, std::string_view value, const SettingContext&) {
    std::string_view digits = value;
    if (Index == Setting::KeyDebounce && digits.ends_with("ms")) digits.remove_suffix(2);
    const auto n = wholeNumber(digits);
    if (!n || *n < Low || *n > High) return refused();
    setSettingInt(p, Index, *n);
    return kTaken;
}
template <int Index>
std::string intGet(const ProfileRecord& p, const SettingContext&) {
    return std::to_string(getSettingInt(p, Index));
}

std::string onOffAllowed(const SettingContext&) { return "on, off"; }
template <int Index>
std::string onOffGet(const ProfileRecord& p, const SettingContext&) {
    return getSettingInt(p, Index) == 1 ? "on" : "off";
}
template <int Index>
Refusal onOffSet(ProfileRecord& p, std::string_view value, const SettingContext&) {
    if (sameWords(value, "on") || value == "1") {
        setSettingInt(p, Index, 1);
    } else if (sameWords(value, "off") || value == "0") {
        setSettingInt(p, Index, 0);
    } else {
        return refused();
    }
    return kTaken;
}

std::string debounceAllowed(const SettingContext&) {
    return std::to_string(kMinDebounceMs) + "-" + std::to_string(kMaxDebounceMs) + " (ms)";
}
std::string sleepAllowed(const SettingContext&) {
    return std::to_string(kFirstSleepPosition) + "-" + std::to_string(kLastSleepPosition) +
           " (the power-saving dial's positions)";
}

const std::array kKeys{
    SettingKey{"rate", "polling rate in Hz", ProfileField::PollingRate, rateAllowed, rateGet, rateSet},
    SettingKey{"dpi.levels", "DPI value of each enabled level", ProfileField::DpiLevels, dpiLevelsAllowed,
               dpiLevelsGet, dpiLevelsSet},
    SettingKey{"dpi.enabled", "which DPI levels are enabled", ProfileField::DpiLevels, dpiEnabledAllowed,
               dpiEnabledGet, dpiEnabledSet},
    SettingKey{"dpi.current", "the current DPI level", ProfileField::DpiLevels, dpiCurrentAllowed, dpiCurrentGet,
               dpiCurrentSet},
    SettingKey{"dpi.colours", "indicator colour of each DPI level", ProfileField::DpiColours, dpiColoursAllowed,
               dpiColoursGet, dpiColoursSet},
    SettingKey{"button.1", "function of button 1 (left)", ProfileField::KeyAssignments, buttonAllowed,
               buttonGetN<0>, buttonSetN<0>},
    SettingKey{"button.2", "function of button 2 (right)", ProfileField::KeyAssignments, buttonAllowed,
               buttonGetN<1>, buttonSetN<1>},
    SettingKey{"button.3", "function of button 3 (middle)", ProfileField::KeyAssignments, buttonAllowed,
               buttonGetN<2>, buttonSetN<2>},
    SettingKey{"button.4", "function of button 4 (forward)", ProfileField::KeyAssignments, buttonAllowed,
               buttonGetN<3>, buttonSetN<3>},
    SettingKey{"button.5", "function of button 5 (back)", ProfileField::KeyAssignments, buttonAllowed,
               buttonGetN<4>, buttonSetN<4>},
    SettingKey{"button.6", "function of button 6 (DPI)", ProfileField::KeyAssignments, buttonAllowed,
               buttonGetN<5>, buttonSetN<5>},
    SettingKey{"lighting.effect", "lighting effect", ProfileField::Lighting, effectAllowed, effectGet, effectSet},
    SettingKey{"lighting.speed", "speed of the lighting effect", ProfileField::Lighting, speedAllowed, speedGet,
               speedSet},
    SettingKey{"lighting.brightness", "brightness of the lighting effect", ProfileField::Lighting,
               brightnessAllowed, brightnessGet, brightnessSet},
    SettingKey{"liftoff", "lift-off distance", ProfileField::LiftOff, liftAllowed, liftGet, liftSet},
    SettingKey{"debounce", "key debounce time in ms", ProfileField::Debounce, debounceAllowed,
               intGet<Setting::KeyDebounce>, rangeSet<Setting::KeyDebounce, kMinDebounceMs, kMaxDebounceMs>},
    SettingKey{"sleep", "power saving: sleep delay position", ProfileField::PowerSaving, sleepAllowed,
               intGet<Setting::PowerDownTime>, rangeSet<Setting::PowerDownTime, kFirstSleepPosition, kLastSleepPosition>},
    SettingKey{"angle-snap", "angle snapping", ProfileField::AngleSnap, onOffAllowed, onOffGet<Setting::AngleSnap>,
               onOffSet<Setting::AngleSnap>},
    SettingKey{"motion-sync", "motion sync", ProfileField::MotionSync, onOffAllowed, onOffGet<Setting::MotionSync>,
               onOffSet<Setting::MotionSync>},
    SettingKey{"ripple-control", "ripple control", ProfileField::RippleControl, onOffAllowed,
               onOffGet<Setting::RippleControl>, onOffSet<Setting::RippleControl>},
};

}  // namespace

std::span<const SettingKey> settingKeys() { return kKeys; }

const SettingKey* findSettingKey(std::string_view name) {
    for (const SettingKey& key : kKeys) {
        if (key.name == name) return &key;
    }
    return nullptr;
}

std::string refusalLine(const SettingKey& key, std::string_view value, const std::string& why,
                        const SettingContext& context) {
    std::string line = std::string(key.name) + ": cannot take \"" + std::string(value) + "\"";
    if (!why.empty()) line += " (" + why + ")";
    return line + "; allowed: " + key.allowed(context);
}

std::vector<std::string> buttonFunctionNames(const LanguageTable& english) {
    SettingContext c;
    c.english = &english;
    c.shown = &english;
    std::vector<std::string> names;
    for (const MenuFunction& f : menuFunctions(c)) names.push_back(f.english);
    return names;
}

}  // namespace zavrin
