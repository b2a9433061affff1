#pragma once

#include <filesystem>

#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileStore.h"

namespace zavrin {

// The screen-derived scale of every window: 2 on screens of at least 2401 x 1601,
// 1 up to 1800 wide, otherwise 1.5 (1 again when the height is 1200 or less).
// A screen too small for the 1127 x 740 main window at scale 1 (1366 x 768 and
// 1280 x 720 laptops, with a taskbar) gets the largest scale below 1, in steps
// of 0.05 and never below 0.5, at which the window fits: a cut-off window
// would hide its Reset button and the bottom of every section.
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

// The program-wide model: the language table, the macro library and the five
// profiles with the global settings. Lives for the whole run; UI thread only.
class AppModel {
public:
    explicit AppModel(const std::filesystem::path& dataFolder);

    // The start-up file steps in their order: language, macro library, global
    // settings with the five profiles (including re-preparing them for a new sensor).
    void load(float uiScale);

    LanguageTable language;
    MacroLibrary library;
    ProfileStore store;
};

}  // namespace zavrin
