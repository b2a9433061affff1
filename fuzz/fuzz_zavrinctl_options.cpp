// links: zavrin_ctl zavrin_device_backends
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ctl/Zavrinctl.h"
#include "platform/Clock.h"

// zavrinctl's command line, one argument per line of the input, against the
// simulated mouse: whatever it is given, it ends with one of its documented
// statuses (0 done, 1 failed, 2 usage), never a crash or a hang.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "zavrin-fuzz-ctl";
    std::vector<std::string> args{"--simulate", "--data-dir", scratch.string()};
    std::string arg;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == '\n' || data[i] == '\0') {
            // A trace file could be anywhere; the input does not choose where files are written.
            if (arg == "--hid-trace") arg = "--sensor";
            args.push_back(arg);
            arg.clear();
        } else {
            arg += static_cast<char>(data[i]);
        }
    }
    std::ostringstream out;
    std::ostringstream err;
    zavrin::VirtualClock clock;
    const std::atomic<bool> stop{true};  // watch ends at once instead of waiting for reports
    const int status = zavrin::runZavrinctl(args, out, err, clock, stop);
    if (status != zavrin::CtlExit::Ok && status != zavrin::CtlExit::Failed && status != zavrin::CtlExit::Usage) {
        __builtin_trap();
    }
    // Every failure says why in one line.
    if (status != zavrin::CtlExit::Ok && err.str().empty()) __builtin_trap();
    return 0;
}
