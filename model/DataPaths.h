#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zavrin {

// Relative names of the data files, written the way the program names them
// ("config\\config.ini"); dataPath() maps the backslashes to the platform's
// separator.
inline constexpr std::string_view kConfigFolder = "config";
inline constexpr std::string_view kConfigFile = "config\\config.ini";
inline constexpr std::string_view kLanguageSettingFile = "config\\LanSetting.ini";
inline constexpr std::string_view kEnglishLanguageFile = "config\\Lan_EN.txt";
inline constexpr std::string_view kOtherLanguageFile = "config\\Lan.txt";
inline constexpr std::string_view kMacroLibraryFile = "config\\MacroLibraryFile.mlf";
inline constexpr std::string_view kDataFolderName = "KestruneData20240412A";

std::filesystem::path dataPath(const std::filesystem::path& folder, std::string_view windowsRelative);

// The default file of profile slot `i`: data folder + "config\\default<i>.psf".
std::filesystem::path defaultProfilePath(const std::filesystem::path& dataFolder, int i);

// Paths travel through the settings table as UTF-8 text.
std::string pathToUtf8(const std::filesystem::path& path);
std::filesystem::path pathFromUtf8(std::string_view text);

}  // namespace zavrin
