#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/FileResult.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// The text image of one profile (.psf): 102 positional lines. The key's macro
// copy carries no id, loop fields or event count in the file; the reader derives
// them from the key (its id, its action bytes) and the actions themselves.

std::vector<std::string> profileFileLines(const ProfileRecord& record);
bool writeProfileRecord(const ProfileRecord& record, const std::filesystem::path& path);
// The same, with what went wrong (nothing when the file was written).
FileProblem writeProfileData(const ProfileRecord& record, const std::filesystem::path& path);

// Parses a profile file; nullopt when the file cannot be opened or does not match
// the line sequence. Never touches a record, so a rejected import loses nothing.
std::optional<ProfileRecord> parseProfileFile(const std::filesystem::path& path);
std::optional<ProfileRecord> parseProfileLines(const std::vector<std::string>& lines);

// Reads `path` into `record`; on a rejected file `record` is left unchanged and
// the result is false.
bool readProfileInto(ProfileRecord& record, const std::filesystem::path& path);
// The same, telling a missing, a damaged and an unreadable file apart.
FileRead readProfileRecord(ProfileRecord& record, const std::filesystem::path& path);

}  // namespace zavrin
