#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace zavrin::posix {

// The side of the single-instance hand-over that a later start, zavrinctl
// and the `zavrin` launcher need: asking the copy that holds a data folder to
// do something. No threads and no windows, so it costs a caller that ends
// right after nothing but the calls themselves. Any thread.

// Asks the first copy of `dataFolder` to show itself. True when it answered;
// false at once when no copy holds the folder, else after at most ~2 s.
bool signalFirstCopy(const std::filesystem::path& dataFolder);

// Tells the copy running for `dataFolder`, if any, that the automatic-profile
// rules file changed. False when no copy answered.
bool signalReloadAppProfiles(const std::filesystem::path& dataFolder);

// Hands one control request to the first copy of `dataFolder` and returns its
// answer: nullopt when no copy holds the folder; an empty text when one does
// but gave no answer (it refused the request, or did not answer within
// `timeout`).
std::optional<std::string> sendControlRequest(const std::filesystem::path& dataFolder, const std::string& request,
                                              std::chrono::milliseconds timeout);

}  // namespace zavrin::posix
