#include "platform/posix/Launch.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <unistd.h>

namespace zavrin::posix {

void execDesktopProgram(const std::filesystem::path& folder, char** argv, std::string& error) {
    const std::filesystem::path program = folder / kDesktopProgramFile;
    ::execv(program.c_str(), argv);
    error = "cannot start " + program.string() + ": " + std::strerror(errno);
}

std::filesystem::path startedProgram(const std::filesystem::path& self) {
    if (self.filename() != kDesktopProgramFile) return self;
    const std::filesystem::path launcher = self.parent_path() / kLauncherFile;
    std::error_code error;
    const bool present = std::filesystem::is_regular_file(launcher, error) && ::access(launcher.c_str(), X_OK) == 0;
    return present ? launcher : self;
}

}  // namespace zavrin::posix
