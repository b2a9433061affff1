#pragma once

#include <atomic>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ctl/CtlCommands.h"
#include "platform/Clock.h"

namespace zavrin {

// Runs one zavrinctl command line (without the program name). Every wait goes
// through `clock`; `stop` ends the watch command when set (the signal handler).
// `programFolder` is where the shipped language files lie (config/Lan_EN.txt),
// used when the data folder has none.
int runZavrinctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Clock& clock,
                 const std::atomic<bool>& stop, const std::filesystem::path& programFolder = {});

}  // namespace zavrin
