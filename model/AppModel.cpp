#include "model/AppModel.h"

#include "model/DataPaths.h"

namespace zavrin {

AppModel::AppModel(const std::filesystem::path& dataFolder) : store(dataFolder, language) {}

std::filesystem::path AppModel::libraryFile() const {
    return dataPath(store.dataFolder(), kMacroLibraryFile);
}

void AppModel::load(float uiScale) {
    LoadOptions options;
    options.uiScale = uiScale;
    load(options);
}

void AppModel::load(const LoadOptions& options) {
    unreadable_.clear();
    loadLanguage(options);

    const FileRead libraryRead = library.readLibrary(libraryFile());
    if (libraryRead.status == ReadStatus::Unreadable) {
        library.holdBackWritesTo(libraryFile());
        unreadable_.push_back(libraryRead.problem);
    }

    store.loadGlobalSettings();
    for (const FileProblem& problem : store.unreadableFiles()) unreadable_.push_back(problem);
}

void AppModel::loadLanguage(const LoadOptions& options) {
    const std::filesystem::path& dataFolder = store.dataFolder();
    const LanguageSetting setting = readLanguageSetting(dataFolder);
    if (setting.read.status == ReadStatus::Unreadable) unreadable_.push_back(setting.read.problem);
    bool english = isEnglishCode(setting.code);
    if (!setting.read.ok() && options.chineseLocale) english = !*options.chineseLocale;
    const std::string_view name = english ? kEnglishLanguageFile : kOtherLanguageFile;

    // The program's own copy first, so that every text is there even when the
    // data folder's copy is missing, unreadable, damaged or older than the
    // program; the data folder's copy, which the user may have edited, over it.
    if (!options.programFolder.empty()) language.loadFile(dataPath(options.programFolder, name), options.uiScale);
    const FileRead read = language.loadFile(dataPath(dataFolder, name), options.uiScale);
    if (read.status == ReadStatus::Unreadable) unreadable_.push_back(read.problem);
}

FileProblem AppModel::saveLibrary() {
    const FileProblem problem = library.writeLibrary(libraryFile(), kNoLocation);
    libraryPending_ = problem && problem.error != FileError::HeldBack;
    if (libraryPending_) libraryProblem_ = problem;
    return problem;
}

bool AppModel::saveLibraryIfPending() {
    if (!libraryPending_) return true;
    saveLibrary();
    return !libraryPending_;
}

}  // namespace zavrin
