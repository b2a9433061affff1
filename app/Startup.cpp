#include "app/Startup.h"

#include <system_error>

#include "model/DataPaths.h"
#include "model/TextFile.h"

namespace zavrin {

float computeUiScale(int fullScreenWidth, int fullScreenHeight) {
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

}  // namespace zavrin
