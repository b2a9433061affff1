#pragma once

#include <filesystem>

#include "model/AppModel.h"

namespace zavrin {

// The screen-derived scale of every window: 2 on screens of at least 2401 x 1601,
// 1 up to 1800 wide, otherwise 1.5 (1 again when the height is 1200 or less).
// Width and height are the primary monitor's full-screen client area.
float computeUiScale(int fullScreenWidth, int fullScreenHeight);

// Creates the data folder and its "config" folder when they are missing.
// Failures are left for the file operations to meet.
void prepareDataFolder(const std::filesystem::path& dataFolder);

// Puts the language files into the data folder's "config" when they are missing:
// Lan_EN.txt and Lan.txt are copied from the program's own "config" folder, and a
// new LanSetting.ini chooses English unless the user's locale is Chinese.
// Existing files are never touched: the user may have edited them.
void installLanguageFiles(const std::filesystem::path& programFolder,
                          const std::filesystem::path& dataFolder, bool chinese);

}  // namespace zavrin
