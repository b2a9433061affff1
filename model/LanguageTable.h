#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "model/FileResult.h"

namespace zavrin {

// The numbered UI texts, filled once at start-up from the language file that
// "config\\LanSetting.ini" chooses, and the UI font that goes with the language.
// Read-only after loading; used on the UI thread.
class LanguageTable {
public:
    static constexpr int kSize = 500;
    // Entry 0 of the Chinese file; it selects the Chinese font.
    static constexpr const char* kChineseMarker = "中文";

    // Reads the language file chosen by the data folder's LanSetting.ini. True
    // when the file was read to its end. A line numbered outside 0..499 is
    // skipped; a malformed line ends the reading with the texts read so far.
    bool loadLanguage(const std::filesystem::path& dataFolder, float uiScale);
    // The same for the lines of a language file already read.
    bool loadLines(const std::vector<std::string>& lines, float uiScale);
    // Reads one language file over the table: its entries replace the ones
    // there, the others stay. Damaged when a line breaks the rule part-way.
    FileRead loadFile(const std::filesystem::path& file, float uiScale);

    // Entry n; an empty text for n outside the table.
    const std::string& languageText(int n) const;

    // Sets one entry; used where texts are made up without a file (tests, tools).
    void setText(int n, std::string text);

    std::array<std::string, kSize> languageTexts;
    std::string uiFontFace = "宋体";
    int uiFontHeight = 12;
    int uiFontCharset = 134;  // GB2312
};

// The language code LanSetting.ini holds; empty when the file is missing.
std::string readLanguageCode(const std::filesystem::path& dataFolder);

// The code and how reading LanSetting.ini went (Ok, Missing or Unreadable).
struct LanguageSetting {
    FileRead read;
    std::string code;
};
LanguageSetting readLanguageSetting(const std::filesystem::path& dataFolder);
// Whether a language code chooses the English file.
bool isEnglishCode(const std::string& code);

}  // namespace zavrin
