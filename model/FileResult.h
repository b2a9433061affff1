#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace zavrin {

// Why a data file or folder could not be read or written, in the terms the
// user can act on. The readers and writers of the settings folder report these
// instead of throwing: no file operation ends the program.
enum class FileError {
    None,
    NotFound,      // the file, or a folder on its way, does not exist
    AccessDenied,  // the permissions forbid it
    IsFolder,      // a folder stands where the file should be
    NotAFile,      // something else (a device, a pipe, a file where a folder should be) is in its place
    DiskFull,      // no room left on the disk (or a file size limit)
    ReadOnly,      // the disk is mounted read-only
    HeldBack,      // not written on purpose: the file could not be read this run
    Other,         // any other system error; the detail holds the system's words
};

// One failed file operation: which file or folder, and why.
struct FileProblem {
    std::filesystem::path path;
    FileError error = FileError::None;
    std::string detail;  // the system's message, for FileError::Other and the error output

    explicit operator bool() const { return error != FileError::None; }
};

FileError fileErrorOf(std::error_code error);
FileProblem problemOf(const std::filesystem::path& path, std::error_code error);

// The reason in plain English, for the error output and for a language table
// without the texts ("permission denied", "a folder is in its place", ...).
std::string englishReason(const FileProblem& problem);

// What reading a data file came to. Only a file that was read and found damaged
// may be replaced by defaults; a file that could not be read at all is left as
// it is and is not written for the rest of the run.
enum class ReadStatus {
    Ok,          // read and understood
    Missing,     // not there (a first run)
    Damaged,     // read, but its content is not a valid file of its kind
    Unreadable,  // there, but could not be read: permissions, an I/O error, a folder in its place
};

struct FileRead {
    ReadStatus status = ReadStatus::Ok;
    FileProblem problem;  // set when Unreadable

    bool ok() const { return status == ReadStatus::Ok; }
};

}  // namespace zavrin
