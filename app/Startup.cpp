#include "app/Startup.h"

#include <algorithm>
#include <system_error>

#include "model/DataPaths.h"
#include "model/FileSync.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

bool isMissing(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found;
}

}  // namespace

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

FileProblem prepareDataFolder(const std::filesystem::path& dataFolder) {
    const std::filesystem::path config = dataPath(dataFolder, kConfigFolder);
    std::error_code error;
    std::filesystem::create_directories(config, error);
    // The "config" folder is named when it is there, else the data folder, in
    // which it could not be made.
    std::error_code ignored;
    const std::filesystem::path named =
        std::filesystem::is_directory(config, ignored) ? config : dataFolder;
    if (error) {
        FileProblem problem = problemOf(named, error);
        // A file where a folder should be reads as "exists" to the system.
        if (problem.error == FileError::NotFound && !isMissing(named)) problem.error = FileError::NotAFile;
        return problem;
    }
    if (!std::filesystem::is_directory(config, ignored)) {
        return FileProblem{config, FileError::NotAFile, {}};
    }
    if (const std::error_code probe = probeFolderWritable(config)) return problemOf(config, probe);
    return {};
}

void installLanguageFiles(const std::filesystem::path& programFolder,
                          const std::filesystem::path& dataFolder, bool chinese) {
    std::error_code ignored;
    for (const std::string_view name : {kEnglishLanguageFile, kOtherLanguageFile}) {
        const std::filesystem::path target = dataPath(dataFolder, name);
        if (!isMissing(target)) continue;
        std::filesystem::copy_file(dataPath(programFolder, name), target, ignored);
    }
    const std::filesystem::path setting = dataPath(dataFolder, kLanguageSettingFile);
    if (isMissing(setting)) {
        writeTextFile(setting, {"[ChangeLanguage]", chinese ? "Language=CN" : "Language=EN"});
    }
}

}  // namespace zavrin
