#include <gtest/gtest.h>

#include <fstream>

#include "device/DeviceTestSupport.h"
#include "model/DataPaths.h"

namespace zavrin::test {
namespace {

// The deferred save that cannot write (here the config folder is not a folder,
// as good as a full or read-only disk) keeps the save pending, so the program's
// end tries again; once the files can be written the save goes through.
TEST(DeviceSave, AFailedDeferredSaveStaysPendingUntilItSucceeds) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    const std::filesystem::path config = rig.folder.path() / "config";
    std::filesystem::remove_all(config);
    std::ofstream(config) << "in the way";

    rig.sync.requestApply(DirtyGroup::Performance);
    rig.timers.advance(DeviceSync::kApplyDelay + DeviceSync::kSaveDelay);
    EXPECT_TRUE(rig.sync.savePending());
    EXPECT_FALSE(rig.sync.saveIfPending());
    EXPECT_TRUE(rig.sync.savePending());

    std::filesystem::remove(config);
    std::filesystem::create_directories(config);
    EXPECT_TRUE(rig.sync.saveIfPending());
    EXPECT_FALSE(rig.sync.savePending());
    EXPECT_TRUE(std::filesystem::exists(dataPath(rig.folder.path(), kConfigFile)));
    for (int i = 0; i < kProfileCount; ++i) EXPECT_TRUE(std::filesystem::exists(rig.store.settings.profileSlotPath(i)));
}

}  // namespace
}  // namespace zavrin::test
