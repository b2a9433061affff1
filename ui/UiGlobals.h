#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"

namespace zavrin {

// Program-wide UI state shared by the controls and the pages. Every value here
// is touched on the UI thread only.

// The UI scale (1, 1.5 or 2) and the screen's logical DPI / 96. The application
// sets both at start-up before any window is built.
inline float uiScale = 1.0f;
inline float systemDpiFactor = 1.0f;

// The language texts and the UI font chosen with them; the application loads it
// at start-up, before any control is created.
inline LanguageTable uiLanguage;

// Language entry n (empty when the entry is unset).
inline const std::string& languageText(int n) { return uiLanguage.languageText(n); }

// Written by the tab controls: the profile tab (0..4) and the section tab
// (0..3, 7..9) last clicked.
inline int currentProfileTab = 0;
inline int currentSectionTab = 0;

// Puts everything back to the start values (used between tests and at start-up).
void resetUiGlobals();

}  // namespace zavrin
