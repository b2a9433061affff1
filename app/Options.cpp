#include "app/Options.h"

#include <charconv>

#include "model/DataPaths.h"

namespace zavrin {

std::string usageLine() { return "usage: zavrin [--data-dir DIR] [--run-for MS] [--help]"; }

OptionsResult parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--data-dir") {
            if (!hasValue || args[i + 1].empty()) return {std::nullopt, "--data-dir needs a folder"};
            options.dataDir = pathFromUtf8(args[++i]);
        } else if (arg == "--run-for") {
            if (!hasValue) return {std::nullopt, "--run-for needs a number of milliseconds"};
            const std::string& text = args[++i];
            long long ms = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
            if (error != std::errc() || end != text.data() + text.size() || ms < 0) {
                return {std::nullopt, "--run-for needs a number of milliseconds, not \"" + text + "\""};
            }
            options.runFor = std::chrono::milliseconds(ms);
        } else {
            return {std::nullopt, "unknown option \"" + arg + "\""};
        }
    }
    return {options, {}};
}

}  // namespace zavrin
