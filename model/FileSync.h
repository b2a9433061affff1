#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace zavrin {

// The part of the file layer that differs between systems: getting bytes onto
// the disk itself, so that a power cut after a save cannot leave an empty or
// short file behind the rename, and reading a file with the system's own reason
// when that fails. One implementation per system, chosen when the program is
// linked. None of these throws.

// Creates or truncates `path`, writes `bytes` and flushes them to the disk before
// closing. The error of the step that failed (a full disk, a file size limit, a
// read-only folder), or none; after a failure the file may hold part of the bytes.
std::error_code writeFileToDisk(const std::filesystem::path& path, std::string_view bytes);

// Reads the whole of a regular file into `bytes`. The error of the step that
// failed, or none; a file that is not a regular file is never opened for long
// (a pipe would block the reader).
std::error_code readFileFromDisk(const std::filesystem::path& path, std::string& bytes);

// Whether a file can be made in `folder`: creates and removes a small probe
// file. The error of the creation, or none.
std::error_code probeFolderWritable(const std::filesystem::path& folder);

// Makes a rename inside `folder` durable where the system needs the folder itself
// flushed for that. Failures are not reported: the rename has happened either way.
void syncFolder(const std::filesystem::path& folder);

}  // namespace zavrin
