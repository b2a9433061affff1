#pragma once

#include <filesystem>
#include <string_view>

namespace zavrin {

// The one part of the save path that differs between systems: getting written
// bytes onto the disk itself, so that a power cut after a save cannot leave an
// empty or short file behind the rename. One implementation per system, chosen
// when the program is linked.

// Creates or truncates `path`, writes `bytes` and flushes them to the disk before
// closing. False when any step failed (a full disk, a file size limit, a
// read-only folder); the file may then hold part of the bytes.
bool writeFileToDisk(const std::filesystem::path& path, std::string_view bytes);

// Makes a rename inside `folder` durable where the system needs the folder itself
// flushed for that. Failures are not reported: the rename has happened either way.
void syncFolder(const std::filesystem::path& folder);

}  // namespace zavrin
