#include "model/FileResult.h"

#include <cerrno>

namespace zavrin {

FileError fileErrorOf(std::error_code error) {
    if (!error) return FileError::None;
    if (error.category() != std::generic_category() && error.category() != std::system_category()) {
        return FileError::Other;
    }
    // std::filesystem reports POSIX codes in the system category on POSIX systems
    // and translates the common Windows codes to them, so one table serves both.
    switch (error.default_error_condition().value()) {
        case ENOENT:
        case ENOTDIR:
            return FileError::NotFound;
        case EACCES:
        case EPERM:
            return FileError::AccessDenied;
        case EISDIR:
            return FileError::IsFolder;
        case EEXIST:
        case ENXIO:
        case ENODEV:
            return FileError::NotAFile;
        case ENOSPC:
        case EFBIG:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return FileError::DiskFull;
        case EROFS:
            return FileError::ReadOnly;
        default:
            return FileError::Other;
    }
}

FileProblem problemOf(const std::filesystem::path& path, std::error_code error) {
    return FileProblem{path, fileErrorOf(error), error ? error.message() : std::string()};
}

std::string englishReason(const FileProblem& problem) {
    switch (problem.error) {
        case FileError::None:
            return {};
        case FileError::NotFound:
            return "its folder does not exist";
        case FileError::AccessDenied:
            return "permission denied";
        case FileError::IsFolder:
            return "a folder is in its place";
        case FileError::NotAFile:
            return "something else is in its place";
        case FileError::DiskFull:
            return "the disk is full";
        case FileError::ReadOnly:
            return "the disk is read-only";
        case FileError::HeldBack:
            return "it could not be read, so it is left as it is";
        case FileError::Other:
            break;
    }
    return problem.detail.empty() ? std::string("a system error") : problem.detail;
}

}  // namespace zavrin
