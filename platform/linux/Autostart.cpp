#include "platform/linux/Autostart.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include <unistd.h>

#include "platform/linux/Spawn.h"
#include "platform/posix/Launch.h"

namespace zavrin::linuxdesktop {

namespace {

constexpr char kTrayOption[] = " --tray";

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// One argument of an Exec line: quoted when it holds a reserved character,
// with the quoting's own escapes, then the string escape of the backslash and
// the field code escape of the percent sign, in the order the format applies
// them when reading.
std::string ExecArgument(const std::string& argument) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    if (argument.find_first_of(kReserved) == std::string::npos) {
        quoted = argument;
    } else {
        quoted = "\"";
        for (char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    }
    std::string out;
    for (char c : quoted) {
        if (c == '\\') out += "\\\\";
        else if (c == '%') out += "%%";
        else out += c;
    }
    return out;
}

}  // namespace

std::filesystem::path AutostartEntryPath() {
    std::filesystem::path config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0) {
        config = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return config / "autostart" / (std::string(kDesktopId) + ".desktop");
}

std::string AutostartCommand(const std::filesystem::path& program) {
    const std::string onPath = FindProgram(posix::kLauncherFile);
    if (!onPath.empty() && SameFile(onPath, program)) return std::string(posix::kLauncherFile) + kTrayOption;
    return ExecArgument(program.string()) + kTrayOption;
}

std::string AutostartEntryText(const std::string& command) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Zavrin ZR2\n"
           "Comment=Keeps the Zavrin ZR2 mouse's settings at hand in the tray\n"
           "Exec=" + command + "\n"
           "Icon=" + kDesktopId + "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool WriteAutostartEntry(const std::filesystem::path& entry, const std::filesystem::path& program) {
    if (entry.empty() || program.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(entry.parent_path(), error);
    if (error) return false;
    const std::filesystem::path temporary = entry.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << AutostartEntryText(AutostartCommand(program));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, entry, error);
    if (error) std::filesystem::remove(temporary, error);
    return !error && AutostartEntryPresent(entry);
}

bool RemoveAutostartEntry(const std::filesystem::path& entry) {
    if (entry.empty()) return true;
    std::error_code error;
    std::filesystem::remove(entry, error);
    return !std::filesystem::exists(entry, error);
}

bool AutostartEntryPresent(const std::filesystem::path& entry) {
    if (entry.empty()) return false;
    std::ifstream in(entry);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line == "Hidden=true") return false;
    }
    return true;
}

std::filesystem::path RunningProgram() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    // Started through the launcher, this process is the program file beside
    // it; the entry names what the user starts.
    return error ? std::filesystem::path{} : posix::startedProgram(self);
}

}  // namespace zavrin::linuxdesktop
