#include "platform/sdl/ComposeCache.h"

#include <cstdlib>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace zavrin {

namespace {

constexpr const char* kVariable = "XCOMPOSECACHE";

}  // namespace

std::optional<std::filesystem::path> PrepareComposeCacheFolder(const char* xdgCacheHome, const char* home) {
    namespace fs = std::filesystem;
    fs::path cacheHome;
    // A relative XDG_CACHE_HOME is to be ignored, as every XDG variable is.
    if (xdgCacheHome != nullptr && *xdgCacheHome == '/')
        cacheHome = xdgCacheHome;
    else if (home != nullptr && *home == '/')
        cacheHome = fs::path(home) / ".cache";
    else
        return std::nullopt;
    const fs::path folder = cacheHome / "zavrin" / "compose";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return std::nullopt;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return std::nullopt;
    if ((st.st_mode & 0077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return std::nullopt;
    return folder;
}

ComposeCacheScope::ComposeCacheScope() {
    if (std::getenv(kVariable) != nullptr || ::geteuid() == 0) return;
    const auto folder = PrepareComposeCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    if (!folder) return;
    active_ = ::setenv(kVariable, folder->c_str(), 1) == 0;
}

ComposeCacheScope::~ComposeCacheScope() {
    if (active_) ::unsetenv(kVariable);
}

}  // namespace zavrin
