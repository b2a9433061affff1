#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "model/AppModel.h"

namespace zavrin {

// The screen-derived scale of every window: 2 on screens of at least 2401 x 1601,
// 1 up to 1800 wide, otherwise 1.5 (1 again when the height is 1200 or less).
// A screen too small for the 1127 x 740 main window at scale 1 (1366 x 768 and
// 1280 x 720 laptops, with a taskbar) gets the largest scale below 1, in steps
// of 0.05 and never below 0.5, at which the window fits: a cut-off window
// would hide its Reset button and the bottom of every section.
// Width and height are the primary monitor's full-screen client area.
float computeUiScale(int fullScreenWidth, int fullScreenHeight);

// Creates the data folder and its "config" folder when they are missing, and
// checks that files can be made there. What stands in the way (the folder and
// why), or nothing; the program then runs without saving.
FileProblem prepareDataFolder(const std::filesystem::path& dataFolder);

// Puts the language files into the data folder's "config" when they are missing:
// Lan_EN.txt and Lan.txt are copied from the program's own "config" folder, and a
// new LanSetting.ini chooses English unless the user's locale is Chinese.
// Existing files are never touched, even unreadable ones: the user may have
// edited them.
void installLanguageFiles(const std::filesystem::path& programFolder,
                          const std::filesystem::path& dataFolder, bool chinese);

}  // namespace zavrin
