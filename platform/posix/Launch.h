#pragma once

#include <filesystem>
#include <string>

namespace zavrin::posix {

// On Linux the program comes as two files side by side: `zavrin`, the small
// launcher users start, and `zavrin-desktop`, the program itself. The launcher
// hands a second start over to the running copy without loading any desktop
// library (mapping and relocating them is most of what such a start costs);
// otherwise it replaces itself with the program, same process, same arguments.
inline constexpr char kLauncherFile[] = "zavrin";
inline constexpr char kDesktopProgramFile[] = "zavrin-desktop";

// Replaces this process with the desktop program in `folder`, with the same
// arguments (argv[0] included) and environment. Returns only when that failed,
// with the reason in `error`.
void execDesktopProgram(const std::filesystem::path& folder, char** argv, std::string& error);

// The file users start for the program file `self`: the launcher beside it
// when `self` is the desktop program and a launcher is there, else `self`.
// What a start at login names, so that it too goes through the launcher.
std::filesystem::path startedProgram(const std::filesystem::path& self);

}  // namespace zavrin::posix
