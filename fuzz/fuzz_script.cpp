// links: zavrin_app zavrin_headless zavrin_canvas_cairo
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/CVelmorApp.h"
#include "app/Options.h"
#include "platform/cairo/CairoGraphics.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessServices.h"

// A --script file run by the whole program, headless, on the simulated mouse
// and the virtual clock: a bad line ends the run with status 3 through the close
// path, a good script with 0; nothing crashes or hangs.
namespace {

constexpr std::size_t kMaxLines = 48;
constexpr std::size_t kMaxWaitDigits = 5;  // waits up to 99999 virtual ms

// Lines kept from the input. Commands that write where the input says
// (screenshots, file-dialog answers) or wait in real time are left out, and
// so are waits long enough to turn the run into hours of virtual timers.
std::string scriptOf(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string script;
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line) && lines < kMaxLines;) {
        std::istringstream words(line);
        std::string command;
        std::string argument;
        words >> command >> argument;
        if (command.rfind("screenshot", 0) == 0 || command == "file-answer" || command == "wait-for-show") continue;
        if (command == "wait" && argument.size() > kMaxWaitDigits) continue;
        script += line + "\n";
        ++lines;
    }
    return script;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "zavrin-fuzz-script";
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    std::filesystem::create_directories(scratch / "data");
    const std::filesystem::path file = scratch / "input.zs";
    std::ofstream(file, std::ios::binary) << scriptOf(data, size);

    const zavrin::OptionsResult parsed = zavrin::parseOptions(
        {"--headless", "--simulate=wired,dongle", "--script", file.string(), "--run-for", "600000"});
    if (!parsed.options) __builtin_trap();
    zavrin::CVelmorApp app(*parsed.options, ZAVRIN_BIN_DIR, scratch / "data");
    zavrin::HeadlessBackend backend(zavrin::HeadlessBackend::MetricsForScreen(zavrin::SIZE{1920, 1080}));
    const std::unique_ptr<zavrin::Graphics> graphics = zavrin::CreateCairoGraphics();
    zavrin::HeadlessServices services;
    const int status = app.InitInstance(zavrin::CVelmorApp::Platform{backend, *graphics, services});
    if (status != zavrin::CVelmorApp::kExitOk && status != zavrin::CVelmorApp::kExitScriptError) __builtin_trap();
    if (status == zavrin::CVelmorApp::kExitScriptError && app.error().rfind("script line ", 0) != 0) __builtin_trap();
    return 0;
}
