#pragma once

#include <filesystem>

namespace zavrin {

// The folders and the language Windows knows for the running program and its
// user, for the start-up's folder rules.

// The folder of the running program file (GetModuleFileNameW), whatever the
// current folder or the command line said.
std::filesystem::path Win32ProgramFolder();

// The user's roaming application-data folder (CSIDL_APPDATA); empty when unknown.
std::filesystem::path Win32RoamingAppDataFolder();

// Whether the user's UI language is Chinese.
bool Win32UserLanguageIsChinese();

}  // namespace zavrin
