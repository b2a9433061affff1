#include <gtest/gtest.h>

#include "device/win32hid/Win32HidTransport.h"

using namespace zavrin;

TEST(Win32HidPaths, IdsAndCollectionsComeFromCapturedInterfacePaths) {
    HidPathIds ids;
    // A wired mouse's second top-level collection.
    ASSERT_TRUE(ParseHidInterfacePath(
        "\\\\?\\hid#vid_04f3&pid_026e&mi_01&col02#8&2d8b3c4a&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}", ids));
    EXPECT_EQ(ids.vendorId, 0x04F3);
    EXPECT_EQ(ids.productId, 0x026E);
    EXPECT_EQ(ids.collection, 1);
    // Upper case and a single collection (no "col" part).
    ASSERT_TRUE(ParseHidInterfacePath("\\\\?\\HID#VID_04F3&PID_026F#7&1A2B3C&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}",
                                      ids));
    EXPECT_EQ(ids.productId, 0x026F);
    EXPECT_EQ(ids.collection, 0);
    // Bluetooth LE paths spell the ids otherwise.
    ASSERT_TRUE(ParseHidInterfacePath(
        "\\\\?\\hid#{00001812-0000-1000-8000-00805f9b34fb}_dev_vid&0204f3_pid&026d_rev&0001_c1b2a3d4e5f6&col03#9&"
        "1d2e3f&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}",
        ids));
    EXPECT_EQ(ids.vendorId, 0x04F3);
    EXPECT_EQ(ids.productId, 0x026D);
    EXPECT_EQ(ids.collection, 2);
    // Paths without ids are refused.
    EXPECT_FALSE(ParseHidInterfacePath("\\\\?\\root#system#0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", ids));
    EXPECT_FALSE(ParseHidInterfacePath("", ids));
}

TEST(Win32HidTransport, EnumerationWithoutDevicesIsEmptyAndBadPathsDoNotOpen) {
    Win32HidTransport transport;
    // Wine has no HID devices to show; the walk must end cleanly all the same.
    const std::vector<HidInterfaceInfo> interfaces = transport.enumerate();
    for (const HidInterfaceInfo& info : interfaces) EXPECT_FALSE(info.path.empty());
    HidInterfaceInfo nowhere;
    nowhere.path = "\\\\?\\hid#vid_04f3&pid_026e#0#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    EXPECT_EQ(transport.open(nowhere), nullptr);
    EXPECT_EQ(transport.open(HidInterfaceInfo{}), nullptr);
    transport.watchDeviceChanges(nullptr);
}
