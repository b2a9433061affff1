#include "model/FileNotices.h"

#include "model/DataPaths.h"
#include "model/LanguageTable.h"

namespace zavrin {
namespace {

// The English texts, used where the language table has none.
constexpr const char* kEnglishFolderNotWritable =
    "Settings cannot be saved this time: the folder {file} cannot be written ({reason}). The program "
    "works, but what you change is lost when it ends.";
constexpr const char* kEnglishFileNotRead =
    "{file} could not be read ({reason}). The program uses defaults in its place this time and "
    "leaves the file as it is.";
constexpr const char* kEnglishSaveFailed =
    "Settings could not be saved to {file} ({reason}). The program tries again at the next change "
    "and when it ends.";
constexpr const char* kEnglishAlsoNotRead = "Also not read: {file}.";

std::string textOr(const LanguageTable& language, int n, const char* english) {
    const std::string& text = language.languageText(n);
    return text.empty() ? std::string(english) : text;
}

void replaceAll(std::string& text, std::string_view field, const std::string& value) {
    for (std::size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size())) {
        text.replace(at, field.size(), value);
    }
}

std::string filled(std::string text, const std::string& file, const std::string& reason) {
    replaceAll(text, "{file}", file);
    replaceAll(text, "{reason}", reason);
    return text;
}

}  // namespace

std::string reasonText(const LanguageTable& language, const FileProblem& problem) {
    int n = 0;
    switch (problem.error) {
        case FileError::AccessDenied: n = FileNoticeText::AccessDenied; break;
        case FileError::IsFolder: n = FileNoticeText::IsFolder; break;
        case FileError::NotAFile: n = FileNoticeText::NotAFile; break;
        case FileError::DiskFull: n = FileNoticeText::DiskFull; break;
        case FileError::ReadOnly: n = FileNoticeText::ReadOnly; break;
        case FileError::NotFound: n = FileNoticeText::NotFound; break;
        default: return englishReason(problem);
    }
    const std::string& text = language.languageText(n);
    return text.empty() ? englishReason(problem) : text;
}

std::string folderNoticeText(const LanguageTable& language, const FileProblem& problem) {
    return filled(textOr(language, FileNoticeText::FolderNotWritable, kEnglishFolderNotWritable),
                  pathToUtf8(problem.path), reasonText(language, problem));
}

std::string unreadableNoticeText(const LanguageTable& language, const std::vector<FileProblem>& problems) {
    if (problems.empty()) return {};
    std::string text = filled(textOr(language, FileNoticeText::FileNotRead, kEnglishFileNotRead),
                              pathToUtf8(problems.front().path), reasonText(language, problems.front()));
    if (problems.size() > 1) {
        std::string others;
        for (std::size_t i = 1; i < problems.size(); ++i) {
            if (!others.empty()) others += ", ";
            others += pathToUtf8(problems[i].path.filename());
        }
        text += " " + filled(textOr(language, FileNoticeText::AlsoNotRead, kEnglishAlsoNotRead), others, {});
    }
    return text;
}

std::string saveFailedNoticeText(const LanguageTable& language, const FileProblem& problem) {
    return filled(textOr(language, FileNoticeText::SaveFailed, kEnglishSaveFailed), pathToUtf8(problem.path),
                  reasonText(language, problem));
}

std::string folderProblemLine(const FileProblem& problem) {
    return "settings cannot be saved this time: cannot write the folder " + pathToUtf8(problem.path) + ": " +
           englishReason(problem);
}

std::string unreadableFileLine(const FileProblem& problem) {
    return "cannot read " + pathToUtf8(problem.path) + ": " + englishReason(problem) +
           "; running on defaults, the file is left as it is";
}

std::string unsavedLine(const FileProblem& problem) {
    return "settings not saved: cannot write " + pathToUtf8(problem.path) + ": " + englishReason(problem);
}

void FileNotices::noteStartProblems(FileProblem folder, std::vector<FileProblem> unreadable) {
    folder_ = std::move(folder);
    unreadable_ = std::move(unreadable);
}

std::optional<std::string> FileNotices::takeStartNotice(const LanguageTable& language) {
    if (startShown_ || (!folder_ && unreadable_.empty())) return std::nullopt;
    startShown_ = true;
    std::string text;
    if (folder_) text = folderNoticeText(language, folder_);
    if (!unreadable_.empty()) {
        if (!text.empty()) text += "\n";
        text += unreadableNoticeText(language, unreadable_);
    }
    return text;
}

std::optional<std::string> FileNotices::saveFailureNotice(const LanguageTable& language, const FileProblem& problem) {
    // Once the start-up notice said the folder cannot be written, every failed
    // save is that same news.
    if (saveFailureShown_ || folder_ || !problem) return std::nullopt;
    saveFailureShown_ = true;
    return saveFailedNoticeText(language, problem);
}

}  // namespace zavrin
