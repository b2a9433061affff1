#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "DeviceTestSupport.h"

namespace zavrin {
namespace {

using test::SyncRig;
using namespace std::chrono_literals;

class Sync : public ::testing::Test {
protected:
    ProfileRecord& profile() { return rig.store.currentProfile(); }
    SyncRig rig;
};

TEST_F(Sync, FirstScanShowsTheCableIconAsksForDeviceInformationAndArmsTheTimers) {
    rig.start({ConnectionKind::Dongle, ConnectionKind::Wired});
    EXPECT_TRUE(rig.view.has("icon wired"));
    EXPECT_TRUE(rig.view.has("header 1"));
    EXPECT_EQ(rig.timers.period(TimerId::Battery), 1000ms);
    EXPECT_EQ(rig.timers.period(TimerId::LinkIndicator), 1000ms);
    int infoReads = 0;
    for (const auto& t : rig.sim.transfers()) infoReads += t.bytes[0] == ReportId::DeviceInfo ? 1 : 0;
    EXPECT_EQ(infoReads, 1);
    // The same kinds again: nothing new to ask.
    rig.sync.ScanDevices();
    infoReads = 0;
    for (const auto& t : rig.sim.transfers()) infoReads += t.bytes[0] == ReportId::DeviceInfo ? 1 : 0;
    EXPECT_EQ(infoReads, 1);
}

TEST_F(Sync, BluetoothClosesThePollingSectionAndReceiverEnablesItsRates) {
    rig.start({ConnectionKind::Bluetooth});
    EXPECT_TRUE(rig.view.has("closeRateSection"));
    EXPECT_TRUE(rig.view.has("header 0"));
    SyncRig dongle;
    dongle.sim.setRateClass(ConnectionKind::Dongle, 4);
    dongle.start({ConnectionKind::Dongle});
    EXPECT_TRUE(dongle.view.has("icon dongle"));
    EXPECT_TRUE(dongle.view.has("rateButtons 6"));
}

TEST_F(Sync, ChangesWithinTwentyMillisecondsShareOneApplyPass) {
    rig.start({ConnectionKind::Wired});
    rig.sync.RebuildSentImages();
    rig.sim.clearTransfers();
    setSettingInt(profile(), Setting::KeyDebounce, 4);
    rig.sync.requestApply(DirtyGroup::Performance);
    rig.timers.advance(10ms);
    setSettingInt(profile(), Setting::AngleSnap, 1);
    rig.sync.requestApply(DirtyGroup::SensorOptions);
    rig.timers.advance(19ms);
    EXPECT_TRUE(test::commandWrites(rig.sim).empty());
    rig.timers.advance(1ms);
    // Only what changed travels; the lighting goes once more after a rebuild.
    EXPECT_EQ(test::commandCodes(rig.sim),
              (std::vector<std::uint8_t>{Command::KeyDebounce, Command::Lighting, Command::SensorOptions}));
    EXPECT_EQ(rig.view.count("progress 146"), 1);
    EXPECT_TRUE(rig.timers.armed(TimerId::DeferredSave));
    EXPECT_TRUE(rig.sync.savePending());
}

TEST_F(Sync, NothingChangedMeansNoWriteAndNoProgress) {
    rig.start({ConnectionKind::Wired});
    rig.sync.RebuildSentImages();
    rig.sim.clearTransfers();
    rig.sync.markDirty(DirtyGroup::Buttons);
    rig.sync.markDirty(DirtyGroup::Power);
    rig.sync.ApplyToDevice();
    EXPECT_TRUE(test::commandWrites(rig.sim).empty());
    EXPECT_FALSE(rig.view.has("progress 146"));
    EXPECT_TRUE(rig.view.has("refresh"));
}

TEST(ProfileFields, EveryFieldMarksExactlyItsOwnGroupAndEveryGroupHasAField) {
    const DirtyGroup groups[] = {DirtyGroup::Buttons,       DirtyGroup::Performance,
                                 DirtyGroup::Power,         DirtyGroup::SensorOptions,
                                 DirtyGroup::MotionWakeup,  DirtyGroup::Pointer};
    std::set<DirtyGroup> reached;
    for (int i = 0; i <= static_cast<int>(kLastProfileField); ++i) {
        const auto field = static_cast<ProfileField>(i);
        SyncRig rig;
        rig.sync.editing(field);
        EXPECT_FALSE(rig.timers.armed(TimerId::Apply)) << "field " << i;
        rig.sync.edited(field);
        EXPECT_TRUE(rig.timers.armed(TimerId::Apply)) << "field " << i;
        int dirty = 0;
        for (DirtyGroup g : groups) {
            if (!rig.sync.isDirty(g)) continue;
            ++dirty;
            EXPECT_EQ(g, GroupOf(field)) << "field " << i;
            reached.insert(g);
        }
        EXPECT_EQ(dirty, 1) << "field " << i;
    }
    EXPECT_EQ(reached.size(), std::size(groups));
    EXPECT_EQ(GroupOf(ProfileField::KeyAssignments), DirtyGroup::Buttons);
    EXPECT_EQ(GroupOf(ProfileField::Lighting), DirtyGroup::Performance);
    EXPECT_EQ(GroupOf(ProfileField::MoveLighting), DirtyGroup::Power);
}

TEST_F(Sync, DeferredSaveWritesTheFilesTenSecondsAfterTheLastPass) {
    rig.start({ConnectionKind::Wired});
    const auto config = rig.folder.path() / "config" / "config.ini";
    rig.sync.ApplyToDevice();
    rig.timers.advance(9000ms);
    rig.sync.ApplyToDevice();  // restarts the wait
    rig.timers.advance(9999ms);
    EXPECT_FALSE(std::filesystem::exists(config));
    rig.timers.advance(1ms);
    EXPECT_TRUE(std::filesystem::exists(config));
    EXPECT_TRUE(std::filesystem::exists(rig.folder.path() / "config" / "default4.psf"));
    EXPECT_FALSE(rig.sync.savePending());
    EXPECT_FALSE(rig.timers.armed(TimerId::DeferredSave));
}

TEST_F(Sync, ReceiverWithoutItsMouseRefusesTheWriteAndKeepsTheGroupsDirty) {
    rig.sim.loseLink();
    rig.start({ConnectionKind::Dongle});
    rig.sim.clearTransfers();
    rig.sync.markDirty(DirtyGroup::Buttons);
    rig.sync.ApplyToDevice();
    EXPECT_TRUE(rig.view.has("attention 156"));
    EXPECT_TRUE(rig.sync.isDirty(DirtyGroup::Buttons));
    EXPECT_TRUE(rig.sim.transfers().empty());
}

TEST_F(Sync, DpiButtonOnTheMouseUpdatesTheProfileAndSendsNothingBack) {
    rig.start({ConnectionKind::Wired});
    rig.sync.RebuildSentImages();
    rig.sim.clearTransfers();
    rig.view.calls.clear();
    rig.sim.pressDpiButton();  // level 2 -> 3
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_EQ(profile().currentDpiLevel, 3);
    EXPECT_EQ(rig.sync.lastReportedDpiLevel, 3);
    EXPECT_TRUE(rig.sync.savePending());
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"refresh", "osd"}));
    // The images were rebuilt: a following pass over every group sends only the lighting.
    for (DirtyGroup g : {DirtyGroup::Buttons, DirtyGroup::Performance, DirtyGroup::Power, DirtyGroup::SensorOptions}) {
        rig.sync.markDirty(g);
    }
    rig.sync.ApplyToDevice();
    EXPECT_EQ(test::commandCodes(rig.sim), (std::vector<std::uint8_t>{Command::Lighting}));
}

TEST_F(Sync, ReportThatRepeatsTheCurrentValuesChangesNothing) {
    rig.start({ConnectionKind::Wired});
    rig.sim.setBattery(70, ChargeState::OnBattery);
    ASSERT_TRUE(rig.applyEvents());
    rig.view.calls.clear();
    rig.sim.setBattery(70, ChargeState::OnBattery);
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_TRUE(rig.view.calls.empty());
    EXPECT_EQ(rig.sync.batteryPercent, 70);
}

TEST_F(Sync, RateAndEffectFromTheMouseSetNamesFromTheTables) {
    rig.start({ConnectionKind::Dongle});
    rig.sim.setPollingRateIndex(5);
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_EQ(profile().pollingRateValue, (std::array<std::uint8_t, 3>{5, 0, 0}));
    EXPECT_EQ(profile().pollingRateName, "4000Hz");
    rig.sim.setLightingMode(3);
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_EQ(profile().lighting1.name, "text102");
    rig.sim.setLightingMode(7);
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_EQ(profile().lighting1.name, "text109");
    EXPECT_EQ(profile().lighting1.modeValue, (std::array<std::uint8_t, 3>{7, 0, 0}));
}

TEST_F(Sync, QuickLaunchOpensOncePerPressAndIgnoresKeysBeyondSix) {
    rig.start({ConnectionKind::Wired});
    profile().keys[2].url = "/usr/bin/calc";
    rig.sim.pressQuickLaunch(3);
    rig.sim.pressQuickLaunch(3);
    ASSERT_TRUE(rig.applyEvents(2));
    EXPECT_EQ(rig.view.count("open /usr/bin/calc"), 1);
    rig.sim.releaseQuickLaunch();
    rig.sim.pressQuickLaunch(3);
    rig.sim.pressQuickLaunch(7);
    ASSERT_TRUE(rig.applyEvents(3));
    EXPECT_EQ(rig.view.count("open /usr/bin/calc"), 2);
    EXPECT_EQ(rig.link.slot(ConnectionKind::Wired).launchCache, 7);
    EXPECT_EQ(rig.view.count("open "), 0);
}

TEST_F(Sync, QuickLaunchCacheIsKeptPerConnection) {
    rig.start({ConnectionKind::Wired, ConnectionKind::Dongle});
    profile().keys[0].url = "x";
    rig.sim.pressQuickLaunch(1);  // arrives on both connections
    ASSERT_TRUE(rig.applyEvents(2));
    EXPECT_EQ(rig.view.count("open x"), 2);
}

TEST_F(Sync, ReceiverLinkLossShowsTheNotLinkedTextAndRegainHidesIt) {
    rig.start({ConnectionKind::Dongle});
    rig.timers.advance(1000ms);  // the post-scan check: linked, text hidden
    EXPECT_EQ(rig.sync.offlineIndicatorState, 1);
    rig.view.calls.clear();
    rig.sim.loseLink();
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_FALSE(rig.link.deviceOnline());
    EXPECT_EQ(rig.sync.batteryPercent, 0);
    EXPECT_EQ(rig.timers.period(TimerId::LinkIndicator), 100ms);
    rig.timers.advance(100ms);
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"notLinked 1"}));
    EXPECT_EQ(rig.sync.offlineIndicatorState, 2);
    rig.sync.ApplyToDevice();
    EXPECT_TRUE(rig.view.has("attention 156"));
    rig.view.calls.clear();
    rig.sim.regainLink();
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_TRUE(rig.link.deviceOnline());
    rig.timers.advance(100ms);
    EXPECT_EQ(rig.view.calls.back(), "notLinked 0");
}

TEST_F(Sync, NoDeviceTwoSecondsAfterStartShowsTheNotConnectedNoticeOnce) {
    rig.start({});
    rig.timers.setTimer(TimerId::LinkIndicator, 2000ms);
    rig.timers.advance(10000ms);
    EXPECT_EQ(rig.view.count("attention 155"), 1);
}

TEST_F(Sync, BatteryTimerAnimatesInQuarterStepsAndClampsNonsense) {
    rig.start({ConnectionKind::Wired});
    rig.sync.batteryPercent = 180;
    rig.sync.chargeState = ChargeState::Charging;
    rig.timers.advance(5000ms);
    std::vector<std::string> battery;
    for (const auto& c : rig.view.calls) {
        if (c.rfind("battery", 0) == 0) battery.push_back(c);
    }
    EXPECT_EQ(battery, (std::vector<std::string>{"battery 0 1 25", "battery 0 1 50", "battery 0 1 75",
                                                 "battery 0 1 100", "battery 0 1 25"}));
}

TEST_F(Sync, BatteryTimerRunsOnlyWhileTheGaugeHasSomethingNewToShow) {
    rig.start({ConnectionKind::Wired});
    rig.timers.advance(1000ms);
    EXPECT_TRUE(rig.view.has("battery 100 0 25"));
    EXPECT_FALSE(rig.timers.armed(TimerId::Battery));
    // A report with the same reading wakes nothing; a new one is shown at the next beat.
    rig.sim.setBattery(100, ChargeState::OnBattery);
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_FALSE(rig.timers.armed(TimerId::Battery));
    rig.sim.setBattery(40, ChargeState::OnBattery);
    ASSERT_TRUE(rig.applyEvents());
    rig.view.calls.clear();
    rig.timers.advance(5000ms);
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"battery 40 0 50"}));
    // Charging animates until the mouse is full; frequent reports keep the beat.
    rig.sim.setBattery(40, ChargeState::Charging);
    ASSERT_TRUE(rig.applyEvents());
    rig.view.calls.clear();
    rig.timers.advance(600ms);
    rig.sim.setBattery(41, ChargeState::Charging);
    ASSERT_TRUE(rig.applyEvents());
    rig.timers.advance(1400ms);
    rig.sim.setBattery(100, ChargeState::Full);
    ASSERT_TRUE(rig.applyEvents());
    rig.timers.advance(3000ms);
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"battery 41 1 75", "battery 41 1 100",
                                                        "battery 100 2 25"}));
    EXPECT_FALSE(rig.timers.armed(TimerId::Battery));
}

TEST_F(Sync, FactoryResetSendsTheCommandAndResetsTheProfileUnderItsName) {
    rig.start({ConnectionKind::Wired});
    profile().settings[Setting::ProfileName].value = "Mine";
    profile().currentDpiLevel = 5;
    rig.sim.clearTransfers();
    rig.sync.resetDeviceAndProfile();
    EXPECT_EQ(test::commandCodes(rig.sim), (std::vector<std::uint8_t>{Command::FactoryReset}));
    EXPECT_EQ(rig.sim.factoryResets(), 1);
    EXPECT_EQ(profile().currentDpiLevel, 2);
    EXPECT_EQ(getSetting(profile(), Setting::ProfileName, kSettingValue), "Mine");
    EXPECT_TRUE(std::filesystem::exists(rig.store.settings.profileSlotPath(rig.store.currentIndex())));
    rig.sim.clearTransfers();
    rig.sync.markDirty(DirtyGroup::Buttons);
    rig.sync.ApplyToDevice();
    EXPECT_TRUE(test::commandWrites(rig.sim).empty());
}

TEST_F(Sync, WiredStatusDecodesRatesWithTheClassLearntFromTheDevice) {
    rig.sim.setRateClass(ConnectionKind::Wired, 4);
    rig.start({ConnectionKind::Wired});
    rig.sim.setPollingRateIndex(6);
    ASSERT_TRUE(rig.applyEvents());
    EXPECT_EQ(profile().pollingRateValue[0], 3);
}

}  // namespace
}  // namespace zavrin
