#include "model/FileResult.h"

#include <cerrno>
#include <initializer_list>

namespace zavrin {

FileError fileErrorOf(std::error_code error) {
    using std::errc;
    if (!error) return FileError::None;
    // Compared as conditions, so that the system's own codes (Windows error
    // numbers included) and the C library's errno values both match.
    const auto is = [&](std::initializer_list<errc> codes) {
        for (const errc code : codes) {
            if (error == code) return true;
        }
        return false;
    };
    if (is({errc::no_such_file_or_directory, errc::not_a_directory})) return FileError::NotFound;
    if (is({errc::permission_denied, errc::operation_not_permitted})) return FileError::AccessDenied;
    if (is({errc::is_a_directory})) return FileError::IsFolder;
    if (is({errc::file_exists, errc::no_such_device_or_address, errc::no_such_device})) return FileError::NotAFile;
    if (is({errc::no_space_on_device, errc::file_too_large})) return FileError::DiskFull;
#ifdef EDQUOT
    if (error.default_error_condition() == std::error_condition(EDQUOT, std::generic_category())) {
        return FileError::DiskFull;
    }
#endif
    if (is({errc::read_only_file_system})) return FileError::ReadOnly;
    return FileError::Other;
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
