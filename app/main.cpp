#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/CVelmorApp.h"
#include "app/Options.h"
#include "app/UserFolders.h"
#include "platform/DesktopPlatform.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessServices.h"

using namespace zavrin;

namespace {

void PrintHelp() {
    std::cout << usageLine() << "\n"
              << "  --tray              start with the window hidden in the tray (minimised where "
                 "there is none)\n"
              << "  --simulate[=KINDS]  use a simulated mouse (KINDS: wired,dongle,bluetooth; "
                 "default dongle)\n"
              << "  --hid-trace FILE    append every HID transfer to FILE\n"
              << "  --headless          no display: a virtual screen and a virtual clock\n"
              << "  --screen WxH        the headless screen's size (default 1920x1080)\n"
              << "  --data-dir DIR      keep settings, profiles and macros in DIR instead of the "
                 "user's folder\n"
              << "  --screenshot FILE   after start-up, write the main window as PNG and end\n"
              << "  --script FILE       drive the program with the commands in FILE\n"
              << "  --run-for MS        end through the normal close path after MS milliseconds\n";
}

}  // namespace

int main(int argc, char** argv) {
    const OptionsResult parsed = parseOptions(argumentsAfterName(argc, argv));
    if (!parsed.options) {
        std::cerr << "zavrin: " << parsed.error << "\n" << usageLine() << "\n";
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        PrintHelp();
        return 0;
    }

    const std::filesystem::path exeFolder = programFolder(argv[0]);
    const std::filesystem::path dataFolder = chosenDataFolder(options.dataDir);
    if (dataFolder.empty()) {
        std::cerr << "zavrin: no user settings folder is known; use --data-dir DIR\n";
        return 1;
    }

    CVelmorApp app(options, exeFolder, dataFolder);
    int status = CVelmorApp::kExitOk;
    if (options.headless) {
        HeadlessBackend backend(
            HeadlessBackend::MetricsForScreen(SIZE{options.screenWidth, options.screenHeight}));
        const std::unique_ptr<Graphics> graphics = CreatePlatformGraphics();
        HeadlessServices services;
        status = app.InitInstance(CVelmorApp::Platform{backend, *graphics, services});
    } else {
        if (HandOverToRunningCopy(dataFolder)) return 0;
        std::string why;
        const std::unique_ptr<DesktopPlatform> desktop = OpenDesktopPlatform(why);
        if (!desktop) {
            std::cerr << "zavrin: " << why << "\n";
            return 1;
        }
        status = app.InitInstance(
            CVelmorApp::Platform{*desktop->backend, *desktop->graphics, *desktop->services});
    }
    if (!app.error().empty()) std::cerr << "zavrin: " << app.error() << "\n";
    return status;
}
