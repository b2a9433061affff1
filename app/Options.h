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
    std::optional<std::filesystem::path> dataDir;       // --data-dir DIR
    std::optional<std::chrono::milliseconds> runFor;    // --run-for MS
    bool help = false;                                  // --help
};

struct OptionsResult {
    std::optional<Options> options;  // nullopt: the command line was refused
    std::string error;               // one line saying why
};

OptionsResult parseOptions(const std::vector<std::string>& args);

// The one-line usage text printed with a refused command line.
std::string usageLine();

}  // namespace zavrin
