#include "model/ProfileReset.h"

namespace zavrin {

void resetProfileKeepingName(ProfileStore& store, int index) {
    if (index < 0 || index >= kProfileCount) return;
    ProfileRecord& profile = store.profiles[static_cast<std::size_t>(index)];
    const std::string name = getSetting(profile, Setting::ProfileName, kSettingValue);
    store.resetProfileAt(index);
    profile.settings[Setting::ProfileName].value = name;
}

}  // namespace zavrin
