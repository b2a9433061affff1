#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace zavrin {

// Exit statuses of zavrinctl.
namespace CtlExit {
inline constexpr int Ok = 0;
inline constexpr int Failed = 1;  // no mouse, no answer, a missing or rejected file
inline constexpr int Usage = 2;
}  // namespace CtlExit

// Runs one zavrinctl command line (without the program name). Every wait goes
// through `clock`; `stop` ends the watch command when set (the signal handler).
int runZavrinctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Clock& clock,
                 const std::atomic<bool>& stop);

}  // namespace zavrin
