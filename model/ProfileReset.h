#pragma once

#include "model/ProfileStore.h"

namespace zavrin {

// The profile step of a factory reset, shared by the window's reset and
// zavrinctl's: profile `index` of `store` back to its defaults under the name
// it had. Memory only; the caller saves.
void resetProfileKeepingName(ProfileStore& store, int index);

}  // namespace zavrin
