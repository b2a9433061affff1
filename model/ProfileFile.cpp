#include "model/ProfileFile.h"

#include <cstdio>

#include "model/TextFields.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

constexpr std::string_view kHeader = "[Setting]";
constexpr std::size_t kAllActionDigits = kMacroActionCapacity * 8;

std::string hexRun(const std::uint8_t* values, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        appendHexByte(out, values[i]);
        if (i + 1 < count) out.push_back('|');
    }
    return out;
}

std::string allActionText(const MacroRecord& macro) {
    std::string out;
    out.reserve(kAllActionDigits);
    for (const MacroAction& a : macro.actions) {
        appendHexByte(out, a.b0);
        appendHexByte(out, a.b1);
        appendHexByte(out, a.b2);
        appendHexByte(out, a.b3);
    }
    return out;
}

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%.4X", static_cast<unsigned>(value));
    return text;
}

std::string hexBytes(std::initializer_list<std::uint8_t> bytes) {
    std::string out;
    for (std::uint8_t b : bytes) appendHexByte(out, b);
    return out;
}

std::string rgb(std::uint32_t color) {
    std::string out;
    appendColorRgb(out, color);
    return out;
}

// Takes the lines of a profile file one by one in their fixed order.
class ProfileLineReader {
public:
    explicit ProfileLineReader(const std::vector<std::string>& lines) : cursor_(lines) {}

    // The value of the next line, split at its first "=" standing at
    // `minKeyLength` or later; nullopt for a missing or malformed line.
    std::optional<std::string_view> value(std::size_t minKeyLength = 1, bool valueRequired = false) {
        const std::string* line = cursor_.next();
        if (line == nullptr) return std::nullopt;
        const auto kv = splitAtEquals(*line, minKeyLength, valueRequired);
        if (!kv) return std::nullopt;
        return kv->value;
    }

    std::optional<KeyValue> pair() {
        const std::string* line = cursor_.next();
        if (line == nullptr) return std::nullopt;
        return splitAtEquals(*line, 1, false);
    }

    const std::string* rawLine() { return cursor_.next(); }

private:
    LineCursor cursor_;
};

void readByteRun(std::string_view v, std::uint8_t* out, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) out[k] = hexByteAt(v, 3 * k);
}

std::uint16_t hex4At(std::string_view v) {
    return static_cast<std::uint16_t>(parseHex(v.substr(0, std::min<std::size_t>(4, v.size()))) & 0xFFFF);
}

// The key's macro copy carries no id, loop fields or event count in the file:
// they follow from the key itself, so that an apply pass after a restart sends
// the macro the button really holds.
void deriveMacroFields(KeyAssignment& key) {
    MacroRecord& macro = key.macro;
    macro.macroKeyIndex = key.macroKeyIndex;
    macro.commandActionNum = macro.countCommandActions();
    if (key.action.type != ActionType::Macro) return;
    const std::uint8_t loopType = key.action.value1 >> 4;
    if (loopType == 0) return;
    macro.loopType = loopType;
    if (loopType == kLoopTypeCount && key.action.value2 != 0) macro.loopNum = key.action.value2;
}

bool readKey(ProfileLineReader& in, KeyAssignment& key) {
    const auto name = in.value();
    if (!name) return false;
    key.name = std::string(*name);
    const auto url = in.value();
    if (!url) return false;
    key.url = std::string(*url);
    const auto action = in.value();
    if (!action) return false;
    key.action = {hexByteAt(*action, 0), hexByteAt(*action, 2), hexByteAt(*action, 4)};

    const auto index = in.value(0, true);
    if (!index) return false;
    key.macroKeyIndex = static_cast<std::uint32_t>(parseUnsignedDecimal(*index));
    const auto macroName = in.value(0);
    if (!macroName) return false;
    key.macro.name = std::string(*macroName);
    const auto actionNum = in.value(0, true);
    if (!actionNum) return false;
    const unsigned long count = parseUnsignedDecimal(*actionNum);
    // A count beyond the array would make every later use of the macro read past
    // its actions; such a file is damaged.
    if (count > kMacroActionCapacity) return false;
    key.macro.actionNum = static_cast<std::uint32_t>(count);
    const auto all = in.value(0);
    if (!all || all->size() != kAllActionDigits) return false;
    for (std::size_t i = 0; i < kMacroActionCapacity; ++i) {
        key.macro.actions[i] = {hexByteAt(*all, 8 * i), hexByteAt(*all, 8 * i + 2), hexByteAt(*all, 8 * i + 4),
                                hexByteAt(*all, 8 * i + 6)};
    }
    deriveMacroFields(key);
    return true;
}

bool readLighting1(ProfileLineReader& in, Lighting1Settings& l) {
    const auto name = in.value();
    if (!name) return false;
    l.name = std::string(*name);
    const auto mode = in.value();
    if (!mode) return false;
    l.modeValue = {hexByteAt(*mode, 0), hexByteAt(*mode, 2), hexByteAt(*mode, 4)};
    const auto offOn = in.value();
    if (!offOn) return false;
    l.offOn = hexByteAt(*offOn, 0);
    const auto speed = in.value();
    if (!speed) return false;
    readByteRun(*speed, l.speed.data(), kLightingModeCount);
    const auto brightness = in.value();
    if (!brightness) return false;
    readByteRun(*brightness, l.brightness.data(), kLightingModeCount);
    const auto selected = in.value();
    if (!selected) return false;
    const auto fixed = in.value();
    if (!fixed) return false;
    for (std::size_t m = 0; m < kLightingModeCount; ++m) {
        for (std::size_t j = 0; j < kLightingColorCount; ++j) {
            const std::size_t k = m * kLightingColorCount + j;
            l.colorSelected[m][j] = hexByteAt(*selected, 3 * k);
            l.fixedColor[m][j] = colorFromRgbAt(*fixed, 7 * k);
        }
    }
    const auto direction = in.value();
    if (!direction) return false;
    readByteRun(*direction, l.direction.data(), kLightingModeCount);
    return true;
}

bool readLighting2(ProfileLineReader& in, Lighting2Settings& l) {
    const auto name = in.value();
    if (!name) return false;
    l.name = std::string(*name);
    const auto mode = in.value();
    if (!mode) return false;
    l.modeValue = {hexByteAt(*mode, 0), hexByteAt(*mode, 2), hexByteAt(*mode, 4)};
    const auto offOn = in.value();
    const auto speed = offOn ? in.value() : std::nullopt;
    const auto brightness = speed ? in.value() : std::nullopt;
    const auto color = brightness ? in.value() : std::nullopt;
    if (!color) return false;
    l.offOn = hexByteAt(*offOn, 0);
    l.speed = hexByteAt(*speed, 0);
    l.brightness = hexByteAt(*brightness, 0);
    l.fixedColor = colorFromRgbAt(*color, 0);
    return true;
}

bool readDpiAndPolling(ProfileLineReader& in, ProfileRecord& r) {
    const auto flag = in.value();
    if (!flag) return false;
    r.dpiOffOnFlag = hexByteAt(*flag, 0);
    for (auto& step : r.xySetting) {
        const auto v = in.value();
        if (!v) return false;
        step = hex4At(*v);
    }
    const auto level = in.value();
    if (!level) return false;
    r.currentDpiLevel = hexByteAt(*level, 0);
    for (auto& color : r.dpiLevelIndication) {
        const auto v = in.value();
        if (!v) return false;
        color = colorFromRgbAt(*v, 0);
    }
    const auto angle = in.value();
    if (!angle) return false;
    r.angleSnapValue = hexByteAt(*angle, 0);
    const auto lift = in.value();
    if (!lift) return false;
    r.liftDetectionValue = hexByteAt(*lift, 0);
    const auto rateName = in.value();
    if (!rateName) return false;
    r.pollingRateName = std::string(*rateName);
    const auto rate = in.value();
    if (!rate) return false;
    r.pollingRateValue = {hexByteAt(*rate, 0), hexByteAt(*rate, 2), hexByteAt(*rate, 4)};
    return true;
}

}  // namespace

std::vector<std::string> profileFileLines(const ProfileRecord& r) {
    std::vector<std::string> lines;
    lines.reserve(102);
    lines.emplace_back(kHeader);
    for (const ProfileSetting& s : r.settings) lines.push_back(s.key + "=" + s.value);

    lines.push_back("DPIOffOnFlagValue=" + hexBytes({r.dpiOffOnFlag}));
    for (std::size_t d = 0; d < kDpiLevelCount; ++d) {
        lines.push_back("\tXYSetting" + decimal(static_cast<long long>(d) + 1) + "Value=" + hex4(r.xySetting[d]));
    }
    lines.push_back("\tCurrentDPILevelValue=" + hexBytes({r.currentDpiLevel}));
    for (std::size_t d = 0; d < kDpiLevelCount; ++d) {
        lines.push_back("\tDPILevelIndication" + decimal(static_cast<long long>(d)) +
                        "Valuer=" + rgb(r.dpiLevelIndication[d]));
    }
    lines.push_back("\tAngleSnapValue=" + hexBytes({r.angleSnapValue}));
    lines.push_back("\tLiftDetectionValue=" + hexBytes({r.liftDetectionValue}));
    lines.push_back("PollingRateName=" + r.pollingRateName);
    lines.push_back("\tPollingRateValue=" +
                    hexBytes({r.pollingRateValue[0], r.pollingRateValue[1], r.pollingRateValue[2]}));

    const Lighting1Settings& l1 = r.lighting1;
    lines.push_back("Lighting1Name=" + l1.name);
    lines.push_back("\tLighting1ModeValue=" + hexBytes({l1.modeValue[0], l1.modeValue[1], l1.modeValue[2]}));
    lines.push_back("\tLighting1OffOn=" + hexBytes({l1.offOn}));
    lines.push_back("\tLighting1Speed=" + hexRun(l1.speed.data(), kLightingModeCount));
    lines.push_back("\tLighting1Brightness=" + hexRun(l1.brightness.data(), kLightingModeCount));
    std::string selected = "\tLighting1ColorSelected=";
    std::string fixed = "\tLighting1FixedColor=";
    for (std::size_t m = 0; m < kLightingModeCount; ++m) {
        for (std::size_t j = 0; j < kLightingColorCount; ++j) {
            const char separator = j + 1 < kLightingColorCount ? '|' : ';';
            appendHexByte(selected, l1.colorSelected[m][j]);
            selected.push_back(separator);
            appendColorRgb(fixed, l1.fixedColor[m][j]);
            fixed.push_back(separator);
        }
    }
    lines.push_back(selected);
    lines.push_back(fixed);
    lines.push_back("\tLighting1Direction=" + hexRun(l1.direction.data(), kLightingModeCount));

    const Lighting2Settings& l2 = r.lighting2;
    lines.push_back("Lighting2Name=" + l2.name);
    lines.push_back("\tLighting2ModeValue=" + hexBytes({l2.modeValue[0], l2.modeValue[1], l2.modeValue[2]}));
    lines.push_back("\tLighting2OffOn=" + hexBytes({l2.offOn}));
    lines.push_back("\tLighting2Speed=" + hexBytes({l2.speed}));
    lines.push_back("\tLighting2Brightness=" + hexBytes({l2.brightness}));
    lines.push_back("\tLighting2FixedColor=" + rgb(l2.fixedColor));

    for (std::size_t u = 0; u < kKeyCount; ++u) {
        const KeyAssignment& k = r.keys[u];
        const std::string n = decimal(static_cast<long long>(u));
        lines.push_back("Key" + n + "Name=" + k.name);
        lines.push_back("\tKey" + n + "URL=" + k.url);
        lines.push_back("\tKey" + n + "Value=" + hexBytes({k.action.type, k.action.value1, k.action.value2}));
        lines.push_back("\tMacroKeyIndex=" + decimal(k.macroKeyIndex));
        lines.push_back("\tMacroKey" + n + "Name=" + k.macro.name);
        lines.push_back("\t\tMacroActionNum=" + decimal(k.macro.actionNum));
        lines.push_back("\t\tAllAction=" + allActionText(k.macro));
    }
    return lines;
}

bool writeProfileRecord(const ProfileRecord& record, const std::filesystem::path& path) {
    return writeTextFile(path, profileFileLines(record));
}

std::optional<ProfileRecord> parseProfileLines(const std::vector<std::string>& lines) {
    ProfileLineReader in(lines);
    const std::string* header = in.rawLine();
    if (header == nullptr || *header != kHeader) return std::nullopt;

    ProfileRecord r;
    for (ProfileSetting& s : r.settings) {
        const auto kv = in.pair();
        if (!kv) return std::nullopt;
        s = {std::string(kv->key), std::string(kv->value)};
    }
    if (!readDpiAndPolling(in, r) || !readLighting1(in, r.lighting1) || !readLighting2(in, r.lighting2)) {
        return std::nullopt;
    }
    for (KeyAssignment& key : r.keys) {
        if (!readKey(in, key)) return std::nullopt;
    }
    return r;
}

std::optional<ProfileRecord> parseProfileFile(const std::filesystem::path& path) {
    const auto lines = readTextFile(path);
    if (!lines) return std::nullopt;
    return parseProfileLines(*lines);
}

bool readProfileInto(ProfileRecord& record, const std::filesystem::path& path) {
    auto parsed = parseProfileFile(path);
    if (!parsed) return false;
    record = std::move(*parsed);
    return true;
}

}  // namespace zavrin
