#include "model/LanguageTable.h"

#include "model/DataPaths.h"
#include "model/TextFields.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

constexpr std::string_view kLanguageHeader = "[ChangeLanguage]";
constexpr std::string_view kTableHeader = "[Setting]";
constexpr std::string_view kEnglishCode = "EN";

const std::string kEmpty;

}  // namespace

LanguageSetting readLanguageSetting(const std::filesystem::path& dataFolder) {
    const TextFileRead file = readDataFile(dataPath(dataFolder, kLanguageSettingFile));
    LanguageSetting setting{file.read, {}};
    const std::vector<std::string>& lines = file.lines;
    if (!file.read.ok() || lines.empty()) return setting;
    if (lines[0] != kLanguageHeader) {
        setting.code = lines[0];
    } else if (lines.size() >= 2) {
        const std::string& second = lines[1];
        const auto kv = splitAtEquals(second, 1, true);
        setting.code = kv ? std::string(kv->value) : second;
    }
    return setting;
}

std::string readLanguageCode(const std::filesystem::path& dataFolder) {
    return readLanguageSetting(dataFolder).code;
}

bool isEnglishCode(const std::string& code) { return code == kEnglishCode; }

FileRead LanguageTable::loadFile(const std::filesystem::path& file, float uiScale) {
    const TextFileRead text = readDataFile(file);
    if (!text.read.ok()) return text.read;
    return FileRead{loadLines(text.lines, uiScale) ? ReadStatus::Ok : ReadStatus::Damaged, {}};
}

bool LanguageTable::loadLanguage(const std::filesystem::path& dataFolder, float uiScale) {
    const std::string_view file =
        readLanguageCode(dataFolder) == kEnglishCode ? kEnglishLanguageFile : kOtherLanguageFile;
    const auto lines = readTextFile(dataPath(dataFolder, file));
    return lines && loadLines(*lines, uiScale);
}

bool LanguageTable::loadLines(const std::vector<std::string>& lines, float uiScale) {
    if (lines.empty() || lines[0] != kTableHeader) return false;

    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto kv = splitAtEquals(lines[i], 1, true);
        if (!kv) return false;
        const long n = parseDecimal(kv->key);
        // Numbers outside the table are skipped rather than ending the file, so a
        // newer language file with more entries still loads.
        if (n < 0 || n >= kSize) continue;
        languageTexts[static_cast<std::size_t>(n)] = std::string(kv->value);
    }

    if (languageTexts[0] == kChineseMarker) {
        uiFontFace = "宋体";
        uiFontHeight = static_cast<int>(12 * uiScale);
        uiFontCharset = 134;
    } else {
        uiFontFace = "Tahoma";
        uiFontHeight = static_cast<int>(16 * uiScale);
        uiFontCharset = 1;
    }
    return true;
}

const std::string& LanguageTable::languageText(int n) const {
    return n >= 0 && n < kSize ? languageTexts[static_cast<std::size_t>(n)] : kEmpty;
}

void LanguageTable::setText(int n, std::string text) {
    if (n >= 0 && n < kSize) languageTexts[static_cast<std::size_t>(n)] = std::move(text);
}

}  // namespace zavrin
