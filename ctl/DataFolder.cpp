#include "ctl/DataFolder.h"

#include <cstdlib>

#include "model/DataPaths.h"

namespace zavrin {

std::filesystem::path defaultDataFolder() {
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    return std::filesystem::path(appData ? appData : ".") / std::string(kDataFolderName);
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return std::filesystem::path(xdg) / std::string(kDataFolderName);
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / std::string(kDataFolderName);
#endif
}

}  // namespace zavrin
