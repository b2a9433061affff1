// links: zavrin_app_core
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Options.h"

// The program's command line, one argument per line of the input: it is either
// accepted with values in range or refused with a one-line reason (exit 2).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string arg;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == '\n' || data[i] == '\0') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += static_cast<char>(data[i]);
        }
    }
    const zavrin::OptionsResult result = zavrin::parseOptions(args);
    if (!result.options) {
        if (result.error.empty() || result.error.find('\n') != std::string::npos) __builtin_trap();
        return 0;
    }
    const zavrin::Options& o = *result.options;
    if (o.screenWidth <= 0 || o.screenHeight <= 0) __builtin_trap();
    if (o.runFor && o.runFor->count() < 0) __builtin_trap();
    return 0;
}
