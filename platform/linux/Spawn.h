#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zavrin::linuxdesktop {

// Starting other programs without a shell: the arguments go to the program as
// they are, nothing is parsed or expanded.

// The full path of a program found in PATH (or `name` itself when it holds a
// slash and is executable); empty when there is none.
std::string FindProgram(const std::string& name);

// Starts the program (argv[0] is looked up in PATH unless it holds a slash)
// and returns at once; the child is reaped in the background. False when it
// could not be started.
bool SpawnDetached(const std::vector<std::string>& argv);

// Starts the program, collects its standard output and waits for it to end
// (on the calling thread). The output, or nothing when it could not be started
// or ended with a status other than 0.
std::optional<std::string> RunForOutput(const std::vector<std::string>& argv);

}  // namespace zavrin::linuxdesktop
