#include "app/Startup.h"

#include <algorithm>
#include <system_error>

#include "model/DataPaths.h"
#include "model/TextFile.h"

namespace zavrin {

namespace {
constexpr int kMainWindowWidth = 1127;
constexpr int kMainWindowHeight = 740;
constexpr int kSmallScaleSteps = 20;  // 0.05 a step
constexpr int kSmallestScaleStep = 10;  // 0.5
}  // namespace

float computeUiScale(int fullScreenWidth, int fullScreenHeight) {
    if (fullScreenWidth < kMainWindowWidth || fullScreenHeight < kMainWindowHeight) {
        // Whole steps only, counted in integers, so that the product of a design
        // value and the scale truncates the same way on every machine.
        const int byWidth = fullScreenWidth * kSmallScaleSteps / kMainWindowWidth;
        const int byHeight = fullScreenHeight * kSmallScaleSteps / kMainWindowHeight;
        const int steps = std::max(kSmallestScaleStep, std::min(byWidth, byHeight));
        return static_cast<float>(steps) / static_cast<float>(kSmallScaleSteps);
    }
    if (fullScreenWidth >= 2401 && fullScreenHeight >= 1601) return 2.0F;
    if (fullScreenWidth <= 1800) return 1.0F;
    return fullScreenHeight <= 1200 ? 1.0F : 1.5F;
}

void prepareDataFolder(const std::filesystem::path& dataFolder) {
    std::error_code ignored;
    std::filesystem::create_directories(dataPath(dataFolder, kConfigFolder), ignored);
}

void installLanguageFiles(const std::filesystem::path& programFolder,
                          const std::filesystem::path& dataFolder, bool chinese) {
    std::error_code ignored;
    for (const std::string_view name : {kEnglishLanguageFile, kOtherLanguageFile}) {
        const std::filesystem::path target = dataPath(dataFolder, name);
        if (std::filesystem::exists(target, ignored)) continue;
        std::filesystem::copy_file(dataPath(programFolder, name), target, ignored);
    }
    const std::filesystem::path setting = dataPath(dataFolder, kLanguageSettingFile);
    if (!std::filesystem::exists(setting, ignored)) {
        writeTextFile(setting, {"[ChangeLanguage]", chinese ? "Language=CN" : "Language=EN"});
    }
}

AppModel::AppModel(const std::filesystem::path& dataFolder) : store(dataFolder, language) {}

void AppModel::load(float uiScale) {
    const std::filesystem::path& dataFolder = store.dataFolder();
    language.loadLanguage(dataFolder, uiScale);
    library.readLibraryFile(dataPath(dataFolder, kMacroLibraryFile));
    store.loadGlobalSettings();
}

}  // namespace zavrin
