#pragma once

#include <filesystem>

#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileStore.h"

namespace zavrin {

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
