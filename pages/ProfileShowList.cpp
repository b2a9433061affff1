#include "pages/ProfileShowList.h"

#include <algorithm>

namespace zavrin {

ProfileShowList ProfileShowList::Load(const GlobalSettings& settings) {
    ProfileShowList shown;
    shown.count = std::clamp(settings.profileShowCount(), 1, kProfileCount);
    std::array<bool, kProfileCount> seen{};
    int filled = 0;
    for (int position = 0; position < kProfileCount; ++position) {
        const int slot = settings.profileShowList(position);
        if (slot < 0 || slot >= kProfileCount || seen[static_cast<std::size_t>(slot)]) continue;
        seen[static_cast<std::size_t>(slot)] = true;
        shown.list[static_cast<std::size_t>(filled++)] = slot;
    }
    for (int slot = 0; slot < kProfileCount; ++slot) {
        if (!seen[static_cast<std::size_t>(slot)])
            shown.list[static_cast<std::size_t>(filled++)] = slot;
    }
    return shown;
}

void ProfileShowList::Store(GlobalSettings& settings) const {
    settings.setProfileShowCount(count);
    for (int position = 0; position < kProfileCount; ++position)
        settings.setProfileShowList(position, list[static_cast<std::size_t>(position)]);
}

int ProfileShowList::PositionOf(int slot) const {
    for (int position = 0; position < kProfileCount; ++position) {
        if (list[static_cast<std::size_t>(position)] == slot) return position;
    }
    return -1;
}

bool ProfileShowList::Remove(int slot) {
    const int position = PositionOf(slot);
    if (position < 0 || position >= count || count <= 1) return false;
    std::rotate(list.begin() + position, list.begin() + position + 1, list.end());
    --count;
    return true;
}

}  // namespace zavrin
