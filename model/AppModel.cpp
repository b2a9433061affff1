#include "model/AppModel.h"

#include "model/DataPaths.h"

namespace zavrin {

AppModel::AppModel(const std::filesystem::path& dataFolder) : store(dataFolder, language) {}

void AppModel::load(float uiScale) {
    const std::filesystem::path& dataFolder = store.dataFolder();
    language.loadLanguage(dataFolder, uiScale);
    library.readLibraryFile(dataPath(dataFolder, kMacroLibraryFile));
    store.loadGlobalSettings();
}

}  // namespace zavrin
