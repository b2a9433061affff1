#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "model/FileNotices.h"
#include "model/FileResult.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileStore.h"

namespace zavrin {

// What the start-up load needs beside the data folder.
struct LoadOptions {
    float uiScale = 1.0F;
    // The program's own folder: its "config" copies of the language files give
    // every text the data folder's copies lack or cannot give. Empty: none.
    std::filesystem::path programFolder;
    // Chooses the language when LanSetting.ini cannot be read; unset keeps the
    // file's own rule (the non-English file).
    std::optional<bool> chineseLocale;
};

// The program-wide model: the language table, the macro library and the five
// profiles with the global settings, and what the run found wrong with their
// files. Lives for the whole run; UI thread only.
class AppModel {
public:
    explicit AppModel(const std::filesystem::path& dataFolder);

    // The start-up file steps in their order: language, macro library, global
    // settings with the five profiles (including re-preparing them for a new sensor).
    void load(float uiScale);
    void load(const LoadOptions& options);

    std::filesystem::path libraryFile() const;
    // Writes the macro library to its file. A failure keeps the save pending
    // (the program's end tries again); a library held back is not a failure.
    FileProblem saveLibrary();
    // Saves the library when an earlier save failed; false when it fails again.
    bool saveLibraryIfPending();
    bool libraryPending() const { return libraryPending_; }
    // The problem of the last library save that failed.
    const FileProblem& libraryProblem() const { return libraryProblem_; }

    // The files the start-up load could not read (left as they are and never
    // written this run), in the order met.
    const std::vector<FileProblem>& unreadableFiles() const { return unreadable_; }

    LanguageTable language;
    MacroLibrary library;
    ProfileStore store;
    // What the user is told about the settings folder, once each per run.
    FileNotices notices;

private:
    void loadLanguage(const LoadOptions& options);

    std::vector<FileProblem> unreadable_;
    bool libraryPending_ = false;
    FileProblem libraryProblem_;
};

}  // namespace zavrin
