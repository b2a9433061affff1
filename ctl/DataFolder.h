#pragma once

#include <filesystem>

namespace zavrin {

// The program's per-user data folder: $XDG_CONFIG_HOME/KestruneData20240412A/
// (default ~/.config/...) on Linux, %APPDATA%\KestruneData20240412A\ on Windows.
// The program itself has the same rule in app/; the two should be merged.
std::filesystem::path defaultDataFolder();

}  // namespace zavrin
