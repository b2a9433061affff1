#pragma once

#include <filesystem>
#include <optional>

namespace zavrin {

// Where the program and the user's data live. Only the standard library is used
// here: the running program's path, and the environment variables that name the
// per-user folders.

// The folder of the running program; skins and the shipped language files lie beside it.
std::filesystem::path programFolder(const char* argv0);

// The per-user settings root: %APPDATA% on Windows, $XDG_CONFIG_HOME (default
// ~/.config) elsewhere. Empty when neither is known.
std::filesystem::path userSettingsRoot();

// The program's data folder inside the settings root; empty when no root is known.
std::filesystem::path defaultDataFolder();

// The data folder of a start: `dataDir` when the command line gave one, else
// defaultDataFolder(); made absolute because config.ini stores the profile
// paths in full. Empty when no folder is known.
std::filesystem::path chosenDataFolder(const std::optional<std::filesystem::path>& dataDir);

// Whether the user's locale asks for Chinese texts.
bool userLocaleIsChinese();

}  // namespace zavrin
