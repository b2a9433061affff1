#include "app/UserFolders.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

#include "model/DataPaths.h"

#ifdef _WIN32
#include "platform/win32/Win32Folders.h"
#endif

namespace zavrin {
namespace {

std::string_view env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

}  // namespace

std::filesystem::path programFolder(const char* argv0) {
#ifdef _WIN32
    // Windows names the running program itself; argv[0] may lack the folder or
    // the extension.
    if (std::filesystem::path self = Win32ProgramFolder(); !self.empty()) return self;
#endif
    std::error_code error;
    // Linux names the running program through /proc; elsewhere argv[0] is the best
    // portable answer.
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || self.empty())
        self = std::filesystem::absolute(pathFromUtf8(argv0 ? argv0 : ""), error);
    return self.parent_path();
}

std::filesystem::path userSettingsRoot() {
#ifdef _WIN32
    if (std::filesystem::path roaming = Win32RoamingAppDataFolder(); !roaming.empty()) return roaming;
    return pathFromUtf8(env("APPDATA"));
#else
    if (const std::string_view xdg = env("XDG_CONFIG_HOME"); !xdg.empty()) return pathFromUtf8(xdg);
    if (const std::string_view home = env("HOME"); !home.empty())
        return pathFromUtf8(home) / ".config";
    return {};
#endif
}

std::filesystem::path defaultDataFolder() {
    const std::filesystem::path root = userSettingsRoot();
    return root.empty() ? root : root / pathFromUtf8(kDataFolderName);
}

std::filesystem::path chosenDataFolder(const std::optional<std::filesystem::path>& dataDir) {
    const std::filesystem::path chosen = dataDir ? *dataDir : defaultDataFolder();
    if (chosen.empty()) return chosen;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(chosen, error);
    return error ? std::filesystem::path() : absolute;
}

bool userLocaleIsChinese() {
#ifdef _WIN32
    // Windows programs follow the user's UI language, not the C library's locale.
    return Win32UserLanguageIsChinese();
#else
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string_view value = env(name);
        if (!value.empty()) return value.substr(0, 2) == "zh";
    }
    return false;
#endif
}

}  // namespace zavrin
