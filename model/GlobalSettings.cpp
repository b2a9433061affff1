#include "model/GlobalSettings.h"

#include <algorithm>
#include <cstdio>

#include "model/DataPaths.h"
#include "model/TextFields.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

constexpr std::string_view kHeader = "[Setting]";

constexpr const char* kKeys[GlobalSettings::kPairCount] = {
    "Sensor",           "PreST",           "Mac_ID",           "DataChange",
    "CurrentProfile",   "ProfileShowCount", "ProfileShowList0", "ProfileShowList1",
    "ProfileShowList2", "ProfileShowList3", "ProfileShowList4", "ProfileSlot0URL",
    "ProfileSlot1URL",  "ProfileSlot2URL",  "ProfileSlot3URL",  "ProfileSlot4URL",
};

constexpr const char* kValues[GlobalSettings::kPairCount - kProfileCount] = {
    "0x3311", "0xCCEE", "0xFFFFFFFF", "0x1234", "0", "3", "0", "1", "2", "3", "4",
};

bool validPair(int i) { return i >= 0 && i < GlobalSettings::kPairCount; }

}  // namespace

void GlobalSettings::resetGlobalSettings(const std::filesystem::path& dataFolder) {
    for (int i = 0; i < kPairCount; ++i) {
        ProfileSetting& pair = pairs[static_cast<std::size_t>(i)];
        pair.key = kKeys[i];
        pair.value = i < GlobalPair::ProfileSlot0URL
                         ? kValues[i]
                         : pathToUtf8(defaultProfilePath(dataFolder, i - GlobalPair::ProfileSlot0URL));
    }
}

std::string GlobalSettings::getPair(int i, int which) const {
    if (!validPair(i)) return {};
    const ProfileSetting& pair = pairs[static_cast<std::size_t>(i)];
    return which == kSettingKey ? pair.key : pair.value;
}

void GlobalSettings::setValue(int i, std::string value) {
    if (validPair(i)) pairs[static_cast<std::size_t>(i)].value = std::move(value);
}

FileRead GlobalSettings::read(const std::filesystem::path& file) {
    const TextFileRead text = readDataFile(file);
    if (!text.read.ok()) return text.read;
    return FileRead{readLines(text.lines), {}};
}

ReadStatus GlobalSettings::readLines(const std::vector<std::string>& lines) {
    if (lines.empty() || lines[0] != kHeader) return ReadStatus::Damaged;
    if (lines.size() - 1 > static_cast<std::size_t>(kPairCount)) return ReadStatus::Damaged;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const auto kv = splitAtEquals(lines[k], 1, true);
        if (!kv) return ReadStatus::Damaged;
        pairs[k - 1] = {std::string(kv->key), std::string(kv->value)};
    }
    return ReadStatus::Ok;
}

FileProblem GlobalSettings::writeFile(const std::filesystem::path& file) const { return writeDataFile(file, fileLines()); }

std::vector<std::string> GlobalSettings::fileLines() const {
    std::vector<std::string> lines;
    lines.reserve(kPairCount + 1);
    lines.emplace_back(kHeader);
    for (const ProfileSetting& pair : pairs) lines.push_back(pair.key + "=" + pair.value);
    return lines;
}

int GlobalSettings::currentProfile() const {
    const long n = parseDecimal(pairs[GlobalPair::CurrentProfile].value);
    return static_cast<int>(std::clamp<long>(n, 0, kProfileCount - 1));
}

void GlobalSettings::setCurrentProfile(int index) { pairs[GlobalPair::CurrentProfile].value = decimal(index); }

int GlobalSettings::profileShowCount() const {
    return static_cast<int>(parseDecimal(pairs[GlobalPair::ProfileShowCount].value));
}

void GlobalSettings::setProfileShowCount(int count) { pairs[GlobalPair::ProfileShowCount].value = decimal(count); }

int GlobalSettings::profileShowList(int position) const {
    if (position < 0 || position >= kProfileCount) return 0;
    return static_cast<int>(
        parseDecimal(pairs[static_cast<std::size_t>(GlobalPair::ProfileShowList0 + position)].value));
}

void GlobalSettings::setProfileShowList(int position, int profileIndex) {
    if (position < 0 || position >= kProfileCount) return;
    pairs[static_cast<std::size_t>(GlobalPair::ProfileShowList0 + position)].value = decimal(profileIndex);
}

std::uint16_t GlobalSettings::sensor() const {
    return static_cast<std::uint16_t>(parseHex(pairs[GlobalPair::Sensor].value) & 0xFFFF);
}

std::uint16_t GlobalSettings::preST() const {
    return static_cast<std::uint16_t>(parseHex(pairs[GlobalPair::PreST].value) & 0xFFFF);
}

void GlobalSettings::setPreST(std::uint16_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%4X", static_cast<unsigned>(value));
    pairs[GlobalPair::PreST].value = text;
}

std::filesystem::path GlobalSettings::profileSlotPath(int i) const {
    if (i < 0 || i >= kProfileCount) return {};
    return pathFromUtf8(pairs[static_cast<std::size_t>(GlobalPair::ProfileSlot0URL + i)].value);
}

}  // namespace zavrin
