#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/FileResult.h"

namespace zavrin {

class LanguageTable;

// Language texts of the settings-folder notices. {file} stands for the file or
// folder, {reason} for one of the reason texts.
namespace FileNoticeText {
inline constexpr int FolderNotWritable = 330;
inline constexpr int FileNotRead = 331;
inline constexpr int SaveFailed = 332;
inline constexpr int AccessDenied = 333;
inline constexpr int IsFolder = 334;
inline constexpr int NotAFile = 335;
inline constexpr int DiskFull = 336;
inline constexpr int ReadOnly = 337;
inline constexpr int NotFound = 338;
inline constexpr int AlsoNotRead = 339;
}  // namespace FileNoticeText

// The reason of a problem in the window's language; the system's own words for
// a reason the table has no text for.
std::string reasonText(const LanguageTable& language, const FileProblem& problem);

// The notice texts. Each falls back to built-in English when the language
// table lacks the text (a language file from an older version, or none at all).
std::string folderNoticeText(const LanguageTable& language, const FileProblem& problem);
std::string unreadableNoticeText(const LanguageTable& language, const std::vector<FileProblem>& problems);
std::string saveFailedNoticeText(const LanguageTable& language, const FileProblem& problem);

// The one-line messages of the error output, in English.
std::string folderProblemLine(const FileProblem& problem);
std::string unreadableFileLine(const FileProblem& problem);
std::string unsavedLine(const FileProblem& problem);

// Decides which notices about the settings folder the user sees: the start-up
// notice once, and of the failed saves only the first of the run, and none when
// the start-up notice already said that nothing can be saved. UI thread only.
class FileNotices {
public:
    // What start-up found: the folder that cannot be written, the files that
    // could not be read.
    void noteStartProblems(FileProblem folder, std::vector<FileProblem> unreadable);

    // The start-up notice, once; nullopt when there is nothing to tell.
    std::optional<std::string> takeStartNotice(const LanguageTable& language);
    // The notice of a failed save, for the first failure of the run only.
    std::optional<std::string> saveFailureNotice(const LanguageTable& language, const FileProblem& problem);

    const FileProblem& folderProblem() const { return folder_; }

private:
    FileProblem folder_;
    std::vector<FileProblem> unreadable_;
    bool startShown_ = false;
    bool saveFailureShown_ = false;
};

}  // namespace zavrin
