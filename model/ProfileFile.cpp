#include "model/ProfileFile.h"

#include <cstdio>

#include "model/TextFields.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

constexpr std::string_view kHeader = "[Setting]";

std::string hexRun(const std::uint8_t* values, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        appendHexByte(out, values[i]);
        if (i + 1 < count) out.push_back('|');
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

// Takes the lines of a profile file one by one in their fixed order. Each
// reading call consumes one line and fails on a missing or malformed one; the
// fields are cut at fixed places after the first "=".
class ProfileLineReader {
public:
    explicit ProfileLineReader(const std::vector<std::string>& lines) : cursor_(lines) {}

    bool header() {
        const std::string* line = cursor_.next();
        return line != nullptr && *line == kHeader;
    }

    bool pair(ProfileSetting& out) {
        const std::string* line = cursor_.next();
        const auto kv = line ? splitAtEquals(*line) : std::nullopt;
        if (!kv) return false;
        out = {std::string(kv->key), std::string(kv->value)};
        return true;
    }

    bool text(std::string& out, std::size_t minKeyLength = 1) {
        const auto v = value(minKeyLength, false);
        if (v) out = std::string(*v);
        return v.has_value();
    }

    bool byte(std::uint8_t& out) {
        const auto v = value();
        if (v) out = hexByteAt(*v, 0);
        return v.has_value();
    }

    bool hex16(std::uint16_t& out) {
        const auto v = value();
        if (v) out = static_cast<std::uint16_t>(parseHex(v->substr(0, 4)) & 0xFFFF);
        return v.has_value();
    }

    bool triple(std::array<std::uint8_t, 3>& out) {
        const auto v = value();
        if (v) out = {hexByteAt(*v, 0), hexByteAt(*v, 2), hexByteAt(*v, 4)};
        return v.has_value();
    }

    bool color(std::uint32_t& out) {
        const auto v = value();
        if (v) out = colorFromRgbAt(*v, 0);
        return v.has_value();
    }

    // Two-digit values separated by one character.
    bool byteRun(std::uint8_t* out, std::size_t count) {
        const auto v = value();
        if (!v) return false;
        for (std::size_t k = 0; k < count; ++k) out[k] = hexByteAt(*v, 3 * k);
        return true;
    }

    // A decimal number that must have at least one character after the "=".
    bool number(unsigned long& out) {
        const auto v = value(0, true);
        if (v) out = parseUnsignedDecimal(*v);
        return v.has_value();
    }

    std::optional<std::string_view> value(std::size_t minKeyLength = 1, bool valueRequired = false) {
        const std::string* line = cursor_.next();
        if (line == nullptr) return std::nullopt;
        const auto kv = splitAtEquals(*line, minKeyLength, valueRequired);
        if (!kv) return std::nullopt;
        return kv->value;
    }

private:
    LineCursor cursor_;
};

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

bool readActions(ProfileLineReader& in, MacroRecord& macro) {
    const auto all = in.value(0);
    return all && actionsFromHex(*all, macro);
}

bool readKey(ProfileLineReader& in, KeyAssignment& key) {
    std::array<std::uint8_t, 3> action{};
    unsigned long index = 0;
    unsigned long count = 0;
    if (!in.text(key.name) || !in.text(key.url) || !in.triple(action) || !in.number(index) ||
        !in.text(key.macro.name, 0) || !in.number(count)) {
        return false;
    }
    // A count beyond the array would make every later use of the macro read past
    // its actions; such a file is damaged.
    if (count > kMacroActionCapacity || !readActions(in, key.macro)) return false;
    key.action = {action[0], action[1], action[2]};
    key.macroKeyIndex = static_cast<std::uint32_t>(index);
    key.macro.actionNum = static_cast<std::uint32_t>(count);
    deriveMacroFields(key);
    return true;
}

bool readDpiAndPolling(ProfileLineReader& in, ProfileRecord& r) {
    if (!in.byte(r.dpiOffOnFlag)) return false;
    for (auto& step : r.xySetting) {
        if (!in.hex16(step)) return false;
    }
    if (!in.byte(r.currentDpiLevel)) return false;
    for (auto& color : r.dpiLevelIndication) {
        if (!in.color(color)) return false;
    }
    return in.byte(r.angleSnapValue) && in.byte(r.liftDetectionValue) && in.text(r.pollingRateName) &&
           in.triple(r.pollingRateValue);
}

bool readLighting1(ProfileLineReader& in, Lighting1Settings& l) {
    if (!in.text(l.name) || !in.triple(l.modeValue) || !in.byte(l.offOn) ||
        !in.byteRun(l.speed.data(), kLightingModeCount) || !in.byteRun(l.brightness.data(), kLightingModeCount)) {
        return false;
    }
    const auto selected = in.value();
    const auto fixed = selected ? in.value() : std::nullopt;
    if (!fixed) return false;
    for (std::size_t m = 0; m < kLightingModeCount; ++m) {
        for (std::size_t j = 0; j < kLightingColorCount; ++j) {
            const std::size_t k = m * kLightingColorCount + j;
            l.colorSelected[m][j] = hexByteAt(*selected, 3 * k);
            l.fixedColor[m][j] = colorFromRgbAt(*fixed, 7 * k);
        }
    }
    return in.byteRun(l.direction.data(), kLightingModeCount);
}

bool readLighting2(ProfileLineReader& in, Lighting2Settings& l) {
    return in.text(l.name) && in.triple(l.modeValue) && in.byte(l.offOn) && in.byte(l.speed) &&
           in.byte(l.brightness) && in.color(l.fixedColor);
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
        std::string all = "\t\tAllAction=";
        appendActionsHex(all, k.macro);
        lines.push_back(std::move(all));
    }
    return lines;
}

bool writeProfileRecord(const ProfileRecord& record, const std::filesystem::path& path) {
    return !writeProfileData(record, path);
}

FileProblem writeProfileData(const ProfileRecord& record, const std::filesystem::path& path) {
    return writeDataFile(path, profileFileLines(record));
}

std::optional<ProfileRecord> parseProfileLines(const std::vector<std::string>& lines) {
    ProfileLineReader in(lines);
    if (!in.header()) return std::nullopt;
    ProfileRecord r;
    for (ProfileSetting& s : r.settings) {
        if (!in.pair(s)) return std::nullopt;
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
    return readProfileRecord(record, path).ok();
}

FileRead readProfileRecord(ProfileRecord& record, const std::filesystem::path& path) {
    const TextFileRead text = readDataFile(path);
    if (!text.read.ok()) return text.read;
    auto parsed = parseProfileLines(text.lines);
    if (!parsed) return FileRead{ReadStatus::Damaged, {}};
    record = std::move(*parsed);
    return {};
}

}  // namespace zavrin
