#pragma once

#include <array>

#include "model/GlobalSettings.h"

namespace zavrin {

// The profiles the profile menu lists, in order: the first `count` entries of
// `list` are shown, the rest are the hidden slots in the order they are
// revealed. Loaded from the settings and made safe to index with: a
// hand-edited config.ini may hold any text there.
struct ProfileShowList {
    int count = 3;
    std::array<int, kProfileCount> list{0, 1, 2, 3, 4};

    // Count clamped to 1..5; entries kept in order when they name a slot not
    // seen before, the missing slots appended in ascending order.
    static ProfileShowList Load(const GlobalSettings& settings);
    void Store(GlobalSettings& settings) const;

    // The position of a slot in the list; -1 when it is not there.
    int PositionOf(int slot) const;
    // Takes a listed slot out: the slots after it move up, it becomes the
    // last entry of the list. False (nothing changed) for
    // a slot that is not listed or the last listed one.
    bool Remove(int slot);
};

}  // namespace zavrin
