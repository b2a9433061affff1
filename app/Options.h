#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zavrin {

// Command-line options of the program. Started without any, it behaves as users
// of the desktop program expect; the options serve demonstration, support and tests.
struct Options {
    std::optional<std::filesystem::path> dataDir;     // --data-dir DIR
    std::optional<std::chrono::milliseconds> runFor;  // --run-for MS
    bool help = false;                                // --help
    bool tray = false;                                // --tray: start hidden in the tray
    bool simulate = false;                            // --simulate[=KINDS]
    std::string simulatedKinds = "dongle";            // KINDS as given
    std::optional<std::filesystem::path> hidTrace;    // --hid-trace FILE
    bool headless = false;                            // --headless
    int screenWidth = 1920;                           // --screen WxH
    int screenHeight = 1080;
    std::optional<std::filesystem::path> screenshot;  // --screenshot FILE
    std::optional<std::filesystem::path> script;      // --script FILE
};

struct OptionsResult {
    std::optional<Options> options;  // nullopt: the command line was refused
    std::string error;               // one line saying why
};

OptionsResult parseOptions(const std::vector<std::string>& args);

// The arguments after the program's name in main()'s argv; none when the
// system passed not even a name (argc 0, which execve allows).
std::vector<std::string> argumentsAfterName(int argc, char** argv);

// The one-line usage text printed with a refused command line.
std::string usageLine();

}  // namespace zavrin
