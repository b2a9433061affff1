#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include <sys/un.h>

namespace zavrin::posix::instance {

// What the first copy of the program and a later one say to each other over
// the Unix socket of a data folder, and the small socket helpers both sides
// use. Standard library and libc only: the `zavrin` launcher links this
// without any of the desktop libraries. Any thread.

// Requests are one line of text each; the first copy answers show and reload
// requests with kAnswer, control requests with one line of its own.
inline constexpr std::string_view kShowRequest = "zavrin show\n";
inline constexpr std::string_view kReloadRequest = "zavrin reload-app-profiles\n";
inline constexpr std::string_view kAnswer = "ok\n";
// A control request: this prefix, the request text, a line end.
inline constexpr std::string_view kControlPrefix = "zavrin request ";
// The longest request line taken; zavrinctl's are a few hundred bytes.
inline constexpr std::size_t kMaxRequestLine = 64 * 1024;

// The lock and socket paths for a data folder (without the ".lock"/".sock"),
// in $XDG_RUNTIME_DIR or else a private /tmp/zavrin-<uid>; empty when no
// safe folder can be had. Every spelling of one folder gives one path.
std::filesystem::path basePath(const std::filesystem::path& dataFolder);
inline std::filesystem::path lockPath(const std::filesystem::path& base) { return base.string() + ".lock"; }
inline std::filesystem::path socketPath(const std::filesystem::path& base) { return base.string() + ".sock"; }

// Whether a live process holds the lock file now.
bool lockHeld(const std::filesystem::path& lockFile);

// False when the path does not fit a socket address.
bool makeAddress(const std::filesystem::path& socketFile, sockaddr_un& addr);

// Whether `fd` has something to read within `timeoutMs`.
bool waitReadable(int fd, int timeoutMs);
// Reads up to the first line end (not included), waiting at most `waitMs` for
// each piece; false when the peer stops short or says more than `limit`.
bool readLine(int fd, std::string& line, int waitMs, std::size_t limit);
// Writes all of `data`; false when the peer went away.
bool sendAll(int fd, std::string_view data);

}  // namespace zavrin::posix::instance
