#include "platform/win32/Win32Folders.h"

#include <string>

#include <windows.h>
#include <shlobj.h>

namespace zavrin {

std::filesystem::path Win32ProgramFolder() {
    // Long paths need more than MAX_PATH; the buffer grows until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
}

std::filesystem::path Win32RoamingAppDataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return {};
    return std::filesystem::path(buffer);
}

bool Win32UserLanguageIsChinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

}  // namespace zavrin
