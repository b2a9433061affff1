#include "app/Options.h"

#include <charconv>

#include "model/DataPaths.h"

namespace zavrin {

std::string usageLine() {
    return "usage: zavrin [--tray] [--simulate[=KINDS]] [--hid-trace FILE] [--headless] [--screen WxH] "
           "[--data-dir DIR]\n"
           "              [--screenshot FILE] [--script FILE] [--run-for MS] [--help]";
}

namespace {

bool ParseScreen(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    auto [w, e1] = std::from_chars(begin, begin + x, width);
    auto [h, e2] = std::from_chars(begin + x + 1, end, height);
    return e1 == std::errc() && e2 == std::errc() && w == begin + x && h == end && width >= 320 &&
           height >= 240 && width <= 16384 && height <= 16384;
}

}  // namespace

std::vector<std::string> argumentsAfterName(int argc, char** argv) {
    if (argc < 2 || argv == nullptr) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

OptionsResult parseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--tray") {
            options.tray = true;
        } else if (arg == "--data-dir") {
            if (!hasValue || args[i + 1].empty())
                return {std::nullopt, "--data-dir needs a folder"};
            options.dataDir = pathFromUtf8(args[++i]);
        } else if (arg == "--run-for") {
            if (!hasValue) return {std::nullopt, "--run-for needs a number of milliseconds"};
            const std::string& text = args[++i];
            long long ms = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
            if (error != std::errc() || end != text.data() + text.size() || ms < 0) {
                return {std::nullopt,
                        "--run-for needs a number of milliseconds, not \"" + text + "\""};
            }
            options.runFor = std::chrono::milliseconds(ms);
        } else if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg.rfind("--simulate=", 0) == 0) {
            options.simulate = true;
            options.simulatedKinds = arg.substr(11);
        } else if (arg == "--hid-trace") {
            if (!hasValue || args[i + 1].empty()) return {std::nullopt, "--hid-trace needs a file"};
            options.hidTrace = pathFromUtf8(args[++i]);
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--screen") {
            if (!hasValue || !ParseScreen(args[i + 1], options.screenWidth, options.screenHeight)) {
                return {std::nullopt, "--screen needs a size such as 2560x1440"};
            }
            ++i;
        } else if (arg == "--screenshot") {
            if (!hasValue || args[i + 1].empty())
                return {std::nullopt, "--screenshot needs a file"};
            options.screenshot = pathFromUtf8(args[++i]);
        } else if (arg == "--script") {
            if (!hasValue || args[i + 1].empty()) return {std::nullopt, "--script needs a file"};
            options.script = pathFromUtf8(args[++i]);
        } else {
            return {std::nullopt, "unknown option \"" + arg + "\""};
        }
    }
    return {options, {}};
}

}  // namespace zavrin
