#pragma once

#include <filesystem>
#include <string>

namespace zavrin::linuxdesktop {

// The program's start at login on a freedesktop desktop: an entry in the
// user's XDG autostart folder named after the component id, which starts the
// program hidden in the tray. Plain files; any thread.

// The desktop component id shared by the desktop entry, the icon and the
// AppStream metainfo.
inline constexpr char kDesktopId[] = "io.github.zavrin.Zavrin";

// $XDG_CONFIG_HOME/autostart/<id>.desktop, with ~/.config where XDG_CONFIG_HOME
// is unset or not absolute (a relative value is to be ignored); empty when
// neither it nor HOME is known.
std::filesystem::path AutostartEntryPath();

// The Exec value that starts `program` hidden in the tray: "zavrin --tray"
// when `zavrin` found in PATH is this program (an installed copy), else the
// program's full path, quoted and escaped as the Desktop Entry format wants.
std::string AutostartCommand(const std::filesystem::path& program);

// The entry's whole text for an Exec value.
std::string AutostartEntryText(const std::string& command);

// Writes the entry (its folder created when missing) through a temporary file
// renamed into place, so a crash never leaves half an entry. False on failure.
bool WriteAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program);
// Removes the entry; true when it is gone (or was never there).
bool RemoveAutostartEntry(const std::filesystem::path& entry);
// Whether the entry is there and not switched off with Hidden=true (which a
// desktop's own settings may write into the user's copy).
bool AutostartEntryPresent(const std::filesystem::path& entry);

// The running program's own file (/proc/self/exe), or the `zavrin` launcher
// beside it when there is one; empty when unknown.
std::filesystem::path RunningProgram();

}  // namespace zavrin::linuxdesktop
