#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "device/CommandChannel.h"
#include "device/SensorTables.h"
#include "device/SentImages.h"
#include "model/MacroLibrary.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// `zavrinctl apply FILE.psf`: every setting of a profile file written to the
// mouse, then the macros its buttons carry. It changes no profile of the
// program: the file goes to the mouse only. zavrinctl runs it on a connection
// of its own, the running program on its own connection, so both share these
// two steps.

// What the pass writes, read and checked before anything is written: every
// macro the buttons carry must come from the library and fit the mouse, for a
// half-applied profile is worse than none.
struct ApplyInput {
    ProfileRecord profile;
    MacroLibrary library;
    SensorTable sensor;
};

// Reads `file` and, when the buttons carry macros or `libraryGiven` says the
// user named it, the macro library `libraryFile`. The failure's one line in
// `error` when it cannot be applied.
std::optional<ApplyInput> readApplyInput(const std::filesystem::path& file, const std::filesystem::path& libraryFile,
                                         bool libraryGiven, std::uint16_t sensorId, std::string& error);

// The full pass on a connection that can reach the mouse: every group is
// written whatever `images` held, and `images` afterwards holds what the mouse
// was sent. Returns the failure's one line, empty when all of it was written
// and acknowledged. UI thread of the process that owns `channel`.
std::string applyPass(ApplyInput& input, CommandChannel& channel, SentImages& images);

}  // namespace zavrin
