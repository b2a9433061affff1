#include <filesystem>
#include <iostream>
#include <system_error>
#include <string>
#include <vector>

#include "app/Options.h"
#include "app/Startup.h"
#include "app/UserFolders.h"
#include "model/DataPaths.h"

using namespace zavrin;

namespace {

// Until the main window exists the program runs the start-up file steps and
// ends; the virtual screen's metrics stand in for the real ones.
constexpr int kDefaultFullScreenWidth = 1920;
constexpr int kDefaultFullScreenHeight = 1017;

}  // namespace

int main(int argc, char** argv) {
    const OptionsResult parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "zavrin: " << parsed.error << "\n" << usageLine() << "\n";
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::cout << usageLine() << "\n"
                  << "  --data-dir DIR  keep settings, profiles and macros in DIR instead of the user's folder\n"
                  << "  --run-for MS    end through the normal close path after MS milliseconds\n";
        return 0;
    }

    const std::filesystem::path exeFolder = programFolder(argv[0]);
    // The folder is made absolute because config.ini stores the profile paths in full.
    std::error_code error;
    const std::filesystem::path chosen = options.dataDir ? *options.dataDir : defaultDataFolder();
    const std::filesystem::path dataFolder = chosen.empty() ? chosen : std::filesystem::absolute(chosen, error);
    if (error || dataFolder.empty()) {
        std::cerr << "zavrin: no user settings folder is known; use --data-dir DIR\n";
        return 1;
    }

    prepareDataFolder(dataFolder);
    installLanguageFiles(exeFolder, dataFolder, userLocaleIsChinese());
    const float uiScale = computeUiScale(kDefaultFullScreenWidth, kDefaultFullScreenHeight);
    AppModel model(dataFolder);
    model.load(uiScale);
    return 0;
}
