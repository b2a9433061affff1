#pragma once

#include <filesystem>
#include <optional>

namespace zavrin {

// Opening the display reads the locale's Compose table (dead keys and the
// compose key, for typing into edit boxes). Xlib parses that text file on every
// start, about a third of the time it takes to open the display, unless it is
// told of a folder where it may keep the parsed table (XCOMPOSECACHE): then it
// maps the table it wrote on an earlier start. Xlib refreshes it once a day and
// whenever the Compose file is newer, and never uses it for root.

// The program's cache folder for the table, `<cache home>/zavrin/compose`, made
// when missing and readable and writable by the user alone (Xlib refuses a
// folder others may write). Nothing when no cache home is known or the folder
// cannot be made so.
std::optional<std::filesystem::path> PrepareComposeCacheFolder(const char* xdgCacheHome, const char* home);

// Points Xlib at the folder while the display is opened, unless the user has
// chosen a cache folder of their own; the variable is gone again afterwards, so
// that programs started from here see the user's environment.
class ComposeCacheScope {
public:
    ComposeCacheScope();
    ~ComposeCacheScope();
    ComposeCacheScope(const ComposeCacheScope&) = delete;
    ComposeCacheScope& operator=(const ComposeCacheScope&) = delete;

    bool active() const { return active_; }

private:
    bool active_ = false;
};

}  // namespace zavrin
