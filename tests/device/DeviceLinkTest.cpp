#include <gtest/gtest.h>

#include <set>

#include "DeviceTestSupport.h"

namespace zavrin {
namespace {

using test::SyncRig;

HidInterfaceInfo foreignMouse(int n) {
    HidInterfaceInfo info;
    info.path = "other/" + std::to_string(n);
    info.vendorId = 0x046D;
    info.productId = 0xC077;
    info.usagePage = 1;
    info.inputReportLength = 8;
    return info;
}

TEST(InterfaceRoles, ThirtyTwoByteInputWinsOverTheFeatureUsagePage) {
    SyncRig rig;
    HidInterfaceInfo both;
    both.path = "odd";
    both.vendorId = kZavrinVendorId;
    both.productId = productId(ConnectionKind::Bluetooth);
    both.usagePage = 0x000A;
    both.inputReportLength = 32;
    rig.sim.addForeignInterface(both);
    rig.start({ConnectionKind::Wired});
    EXPECT_FALSE(rig.link.present(ConnectionKind::Bluetooth));
    EXPECT_EQ(rig.link.slot(ConnectionKind::Bluetooth).inputIndex, 0);
    EXPECT_TRUE(rig.link.present(ConnectionKind::Wired));
    EXPECT_EQ(rig.link.slot(ConnectionKind::Wired).inputIndex, 1);
    EXPECT_EQ(rig.link.slot(ConnectionKind::Wired).featureIndex, 2);
}

TEST(InterfaceRoles, PositionsFromOneHundredFiftyOnAreNeverLookedAt) {
    SyncRig rig;
    for (int i = 0; i < 149; ++i) rig.sim.addForeignInterface(foreignMouse(i));
    rig.start({ConnectionKind::Dongle});
    // Input at position 149, feature at 150.
    EXPECT_EQ(rig.link.slot(ConnectionKind::Dongle).inputIndex, 149);
    EXPECT_FALSE(rig.link.present(ConnectionKind::Dongle));
    EXPECT_FALSE(rig.link.anyDevice);
}

TEST(InterfaceRoles, InterfaceThatCannotBeOpenedIsSkipped) {
    SyncRig rig;
    rig.sim.setOpenRefused(ConnectionKind::Wired, true);
    rig.start({ConnectionKind::Wired, ConnectionKind::Dongle});
    EXPECT_FALSE(rig.link.present(ConnectionKind::Wired));
    EXPECT_EQ(rig.link.sendKind(), ConnectionKind::Dongle);
}

TEST(SendPriority, CableFirstThenBluetoothThenReceiverThroughPlugAndUnplug) {
    SyncRig rig;
    rig.start({ConnectionKind::Dongle});
    EXPECT_EQ(rig.link.sendKind(), ConnectionKind::Dongle);
    rig.sim.plug(ConnectionKind::Wired);
    rig.applyQueuedChanges();
    EXPECT_EQ(rig.link.sendKind(), ConnectionKind::Wired);
    rig.sim.plug(ConnectionKind::Bluetooth);
    rig.applyQueuedChanges();
    EXPECT_EQ(rig.link.sendKind(), ConnectionKind::Wired);
    rig.sim.unplug(ConnectionKind::Wired);
    rig.applyQueuedChanges();
    EXPECT_EQ(rig.link.sendKind(), ConnectionKind::Bluetooth);
    EXPECT_EQ(rig.link.featureHandle(ConnectionKind::Wired), nullptr);
    rig.sim.unplug(ConnectionKind::Bluetooth);
    rig.applyQueuedChanges();
    EXPECT_EQ(rig.link.sendKind(), ConnectionKind::Dongle);
    rig.sim.clearTransfers();
    rig.sync.channel().SendCommand(Command::KeyDebounce, Payload{2});
    ASSERT_FALSE(rig.sim.transfers().empty());
    EXPECT_EQ(rig.sim.transfers()[0].kind, ConnectionKind::Dongle);
}

TEST(DeviceChanges, ArrivalWhileAllThreeArePresentDoesNotScan) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired, ConnectionKind::Bluetooth, ConnectionKind::Dongle});
    rig.view.calls.clear();
    rig.sync.onDeviceChange(DeviceChange::Arrival);
    EXPECT_TRUE(rig.view.calls.empty());
}

TEST(DeviceChanges, RemovalOfTheLastDeviceEndsTheProgramAndArmsTheRefresh) {
    SyncRig rig;
    rig.start({ConnectionKind::Dongle});
    rig.link.refreshOnNextDevice = false;
    rig.sim.unplug(ConnectionKind::Dongle);
    rig.applyQueuedChanges();
    EXPECT_TRUE(rig.view.has("lastDeviceGone"));
    EXPECT_TRUE(rig.view.has("icon none"));
    EXPECT_TRUE(rig.link.refreshOnNextDevice);
    rig.view.calls.clear();
    rig.sim.plug(ConnectionKind::Wired);
    rig.applyQueuedChanges();
    EXPECT_EQ(rig.view.count("refresh"), 1);
    EXPECT_TRUE(rig.view.has("redraw"));
    EXPECT_FALSE(rig.link.refreshOnNextDevice);
}

TEST(Readers, StatusFromEveryConnectionReachesTheQueue) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired, ConnectionKind::Dongle, ConnectionKind::Bluetooth});
    rig.sim.setBattery(42, ChargeState::Charging);
    std::set<ConnectionKind> kinds;
    for (int i = 0; i < 3; ++i) {
        auto event = rig.queue.waitPop(std::chrono::seconds(5));
        ASSERT_TRUE(event);
        const auto& status = std::get<StatusEvent>(*event);
        EXPECT_EQ(status.status.battery, 42);
        kinds.insert(status.kind);
    }
    EXPECT_EQ(kinds.size(), 3u);
}

TEST(Readers, ReplugWhileTheOldReaderRunsStartsNoSecondReader) {
    SyncRig rig;
    rig.start({ConnectionKind::Dongle});
    // A second scan while the reader is still running must not start another one.
    rig.sync.ScanDevices();
    rig.sync.ScanDevices();
    rig.sim.setDpiLevel(4);
    ASSERT_TRUE(rig.queue.waitPop(std::chrono::seconds(5)));
    EXPECT_FALSE(rig.queue.tryPop()) << "one report must arrive once";
}

// The receiver pulled and plugged in again before its old reader noticed: the
// arrival scan finds the old reader still running, and no later scan comes.
// When the old reader ends, a new one must take over, or the mouse's own
// changes (its DPI button, the battery) are never read again.
TEST(Readers, ReplugBeforeTheOldReaderEndedStillGetsAReader) {
    SyncRig rig;
    rig.start({ConnectionKind::Dongle});
    rig.sim.stallReaders(ConnectionKind::Dongle, true);
    rig.sim.unplug(ConnectionKind::Dongle);
    rig.applyQueuedChanges();
    EXPECT_TRUE(rig.view.has("lastDeviceGone"));
    rig.sim.plug(ConnectionKind::Dongle);
    rig.applyQueuedChanges();
    ASSERT_TRUE(rig.link.present(ConnectionKind::Dongle));
    EXPECT_TRUE(rig.link.slot(ConnectionKind::Dongle).readerRunning) << "the old reader is still blocked";
    EXPECT_FALSE(rig.sim.waitForReader(ConnectionKind::Dongle, std::chrono::milliseconds(0)));

    rig.sim.stallReaders(ConnectionKind::Dongle, false);
    ASSERT_TRUE(rig.applyEvents());  // the old reader's end, handled on the UI thread
    ASSERT_TRUE(rig.sim.waitForReader(ConnectionKind::Dongle, std::chrono::seconds(5)));
    rig.sim.setDpiLevel(4);
    auto event = rig.queue.waitPop(std::chrono::seconds(5));
    ASSERT_TRUE(event);
    EXPECT_EQ(std::get<StatusEvent>(*event).status.dpiLevel, 4);
    EXPECT_FALSE(rig.queue.tryPop()) << "one reader, one report";
}

TEST(Readers, FeatureOnlyDeviceIsPresentButItsReaderEndsAtOnce) {
    SyncRig rig;
    rig.sim.setInputInterfaceMissing(ConnectionKind::Wired, true);
    rig.start({ConnectionKind::Wired});
    EXPECT_TRUE(rig.link.present(ConnectionKind::Wired));
    EXPECT_NE(rig.link.SendHandle(), nullptr);
    rig.link.stopReaders();
    EXPECT_FALSE(rig.link.slot(ConnectionKind::Wired).readerRunning);
}

TEST(Readers, MalformedAndShortReportsAreSkippedAndTheReaderGoesOn) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    rig.sim.sendRawInput(ConnectionKind::Wired, {4, 0, 1});
    rig.sim.sendRawInput(ConnectionKind::Wired, {});
    rig.sim.sendRawInput(ConnectionKind::Wired, std::vector<std::uint8_t>(32, 0x07));
    rig.sim.setDpiLevel(5);
    auto event = rig.queue.waitPop(std::chrono::seconds(5));
    ASSERT_TRUE(event);
    EXPECT_EQ(std::get<StatusEvent>(*event).status.dpiLevel, 5);
}

TEST(Readers, UnplugInTheMiddleEndsTheReaderCleanly) {
    SyncRig rig;
    rig.start({ConnectionKind::Dongle});
    rig.sim.unplug(ConnectionKind::Dongle);
    // Joining proves the blocked read returned.
    rig.link.stopReaders();
    EXPECT_FALSE(rig.link.slot(ConnectionKind::Dongle).readerRunning);
}

}  // namespace
}  // namespace zavrin
