#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace zavrin {

// zavrinctl app-profile list | add PROGRAM SLOT | remove PROGRAM: the rules of
// automatic profiles in DATA-DIR/config/AppProfiles.ini. SLOT is 1..5 (the
// profile slots ProfileSlot0URL..ProfileSlot4URL). After a change the program
// running for that data folder, if any, is told to read the rules again
// (`notifyRunning`, by default the single-instance channel). Returns a
// CtlExit status.
int runAppProfileCommand(const std::vector<std::string>& operands, const std::filesystem::path& dataDir,
                         std::ostream& out, std::ostream& err,
                         const std::function<bool(const std::filesystem::path&)>& notifyRunning = {});

// Tells the program running for `dataDir` that the rules changed; false when
// none runs.
bool notifyRunningProgram(const std::filesystem::path& dataDir);

}  // namespace zavrin
