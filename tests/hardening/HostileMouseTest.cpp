#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "device/CommandPayloads.h"
#include "device/DeviceTestSupport.h"
#include "model/ProfileFile.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;
using Op = SimulatedMouse::Transfer::Op;

constexpr std::array<std::uint8_t, 6> kPerformanceCommands{Command::DpiLevels, Command::DpiColours, Command::PollingRate,
                                                           Command::LiftOff,   Command::KeyDebounce, Command::Lighting};

// How often each distinct command report (command, packet and payload: the same
// report however often it is resent) was written.
std::map<std::tuple<std::uint8_t, std::uint8_t, std::vector<std::uint8_t>>, int> writesPerCommand(const SimulatedMouse& sim) {
    std::map<std::tuple<std::uint8_t, std::uint8_t, std::vector<std::uint8_t>>, int> writes;
    for (const auto& w : commandWrites(sim)) {
        const std::vector<std::uint8_t> payload(w.begin() + CommandOffset::Payload, w.begin() + kReportLength);
        ++writes[{w[CommandOffset::Command], w[CommandOffset::Packet], payload}];
    }
    return writes;
}

void expectNoCommandWrittenMoreThanFourTimes(const SimulatedMouse& sim) {
    for (const auto& [command, count] : writesPerCommand(sim)) {
        EXPECT_LE(count, CommandChannel::kMaxWrites) << "command 0x" << std::hex << int(std::get<0>(command));
    }
}

// The model after a fault: values in range, and the current profile survives its
// own file, so the next save and start read back exactly what is in memory.
void expectConsistent(SyncRig& rig) {
    const ProfileRecord& profile = rig.store.currentProfile();
    EXPECT_LT(profile.currentDpiLevel, kDpiLevelCount);
    EXPECT_LE(profile.pollingRateValue[0], kHighestRateIndex);
    const auto lines = profileFileLines(profile);
    const auto reread = parseProfileLines(lines);
    ASSERT_TRUE(reread.has_value());
    EXPECT_EQ(profileFileLines(*reread), lines);
    EXPECT_TRUE(rig.sync.saveIfPending());
    const auto path = rig.store.settings.profileSlotPath(rig.store.currentIndex());
    ASSERT_TRUE(rig.store.writeProfileFile(rig.store.currentIndex(), path));
    const auto stored = parseProfileFile(path);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(profileFileLines(*stored), lines);
}

// Changes every setting of the performance group, so that a pass sends all six commands.
void changePerformance(SyncRig& rig) {
    ProfileRecord& profile = rig.store.currentProfile();
    profile.currentDpiLevel = static_cast<std::uint8_t>((profile.currentDpiLevel + 1) % kDeviceDpiLevels);
    for (auto& colour : profile.dpiLevelIndication) colour ^= 0x00FF00;
    profile.pollingRateValue[0] = static_cast<std::uint8_t>((profile.pollingRateValue[0] + 1) % 4);
    rig.sync.requestApply(DirtyGroup::Performance);
}

// What the device must hold for the current profile, command by command.
void expectDeviceHoldsProfile(SyncRig& rig) {
    SyncRig reference;
    reference.store.profiles = rig.store.profiles;
    reference.store.settings = rig.store.settings;
    reference.start({ConnectionKind::Wired});
    reference.sync.requestApply(DirtyGroup::Performance);
    reference.timers.advance(DeviceSync::kApplyDelay);
    for (std::uint8_t command : kPerformanceCommands) {
        EXPECT_EQ(rig.sim.lastCommand(command), reference.sim.lastCommand(command)) << "command " << int(command);
    }
}

// Lost acknowledgements: a command is written again until one arrives, four
// writes at most, and the pass goes on with the next command either way.
TEST(HostileMouse, DroppedAcknowledgementsAreRetriedFourTimesAtMost) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    rig.sim.clearTransfers();
    rig.sim.dropAcknowledgements(3);
    changePerformance(rig);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_EQ(rig.sync.channel().unacknowledgedCount, 0);
    EXPECT_EQ(commandWrites(rig.sim).size(), kPerformanceCommands.size() + 3);
    expectNoCommandWrittenMoreThanFourTimes(rig.sim);

    rig.sim.clearTransfers();
    rig.sim.dropAcknowledgements(1000);
    changePerformance(rig);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_EQ(rig.sync.channel().unacknowledgedCount, 3);  // colours, levels and rate changed
    for (const auto& [command, count] : writesPerCommand(rig.sim)) EXPECT_EQ(count, CommandChannel::kMaxWrites);
    EXPECT_TRUE(rig.view.has("progress 146"));
    // The mouse carried the commands out; only the answers were lost.
    expectDeviceHoldsProfile(rig);
    expectConsistent(rig);
}

// An acknowledgement that comes within the wait counts; one that comes later
// than the wait every time is given up after four writes, without hanging.
TEST(HostileMouse, LateAcknowledgementsAreWaitedForOrGivenUp) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    rig.sim.clearTransfers();
    rig.sim.setAcknowledgementDelay(CommandChannel::kAckWait - 10ms);
    changePerformance(rig);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_EQ(commandWrites(rig.sim).size(), kPerformanceCommands.size());
    EXPECT_EQ(rig.sync.channel().unacknowledgedCount, 0);

    rig.sim.clearTransfers();
    rig.sim.setAcknowledgementDelay(CommandChannel::kAckWait + CommandChannel::kRetryWait + 10ms);
    changePerformance(rig);
    const auto before = rig.clock.now();
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_EQ(rig.sync.channel().unacknowledgedCount, 3);
    for (const auto& [command, count] : writesPerCommand(rig.sim)) EXPECT_EQ(count, CommandChannel::kMaxWrites);
    // Three commands, four writes each, one wait after each write and one before each resend.
    EXPECT_LE(rig.clock.now() - before, DeviceSync::kApplyDelay + 3 * (4 * CommandChannel::kAckWait + 3 * CommandChannel::kRetryWait));

    rig.sim.setAcknowledgementDelay(0ms);
    rig.sim.clearTransfers();
    changePerformance(rig);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_EQ(commandWrites(rig.sim).size(), 3u);
    expectDeviceHoldsProfile(rig);
    expectConsistent(rig);
}

// The cable pulled in the middle of an apply pass: the pass ends at once with
// at most the one write that found the device gone, the commands that did not
// arrive are sent when the mouse comes back, and nothing is lost.
TEST(HostileMouse, UnplugDuringAnApplyPassStopsWritingAndCatchesUpOnReturn) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    rig.sim.unplugAfterWrites(ConnectionKind::Wired, 2);
    changePerformance(rig);
    const auto before = rig.clock.now();
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_LE(rig.sim.writesAfterUnplug(), 1);
    EXPECT_EQ(rig.sim.commandsAccepted(), 2);
    EXPECT_EQ(rig.link.featureHandle(ConnectionKind::Wired), nullptr);
    EXPECT_LE(rig.clock.now() - before, DeviceSync::kApplyDelay + 2 * CommandChannel::kAckWait + CommandChannel::kRetryWait);
    rig.applyQueuedChanges();
    EXPECT_TRUE(rig.view.has("lastDeviceGone"));
    expectConsistent(rig);

    rig.sim.plug(ConnectionKind::Wired);
    rig.applyQueuedChanges();
    ASSERT_NE(rig.link.featureHandle(ConnectionKind::Wired), nullptr);
    rig.sync.requestApply(DirtyGroup::Performance);
    rig.timers.advance(DeviceSync::kApplyDelay);
    expectDeviceHoldsProfile(rig);
    expectNoCommandWrittenMoreThanFourTimes(rig.sim);
}

// Nothing asks for another pass after the replug, and the mouse reports a DPI
// change of its own (which rebuilds the sent images): what the cut pass left
// must still reach the mouse, and macros too.
TEST(HostileMouse, GroupsCutOffByAnUnplugGoOutWhenTheConnectionComesBack) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    rig.giveMacro(0, makeMacro("m", 0, 8));
    rig.sim.unplugAfterWrites(ConnectionKind::Wired, 2);
    changePerformance(rig);
    rig.sync.markDirty(DirtyGroup::Buttons);
    rig.store.currentProfile().settings[Setting::KeyDebounce].value = "7";
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_TRUE(rig.sync.isDirty(DirtyGroup::Performance));
    EXPECT_TRUE(rig.sync.deliveryPending());
    rig.applyQueuedChanges();
    EXPECT_TRUE(rig.view.has("lastDeviceGone"));

    rig.sim.plug(ConnectionKind::Wired);
    rig.applyQueuedChanges();
    // The old reader may not have ended before the replug; its successor then
    // starts when it does.
    while (!rig.sim.waitForReader(ConnectionKind::Wired, 100ms)) ASSERT_TRUE(rig.applyEvents());
    rig.sim.pressDpiButton();
    ASSERT_TRUE(rig.applyEvents());
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_FALSE(rig.sync.deliveryPending());
    EXPECT_FALSE(rig.sync.isDirty(DirtyGroup::Performance));
    expectDeviceHoldsProfile(rig);
    EXPECT_EQ(rig.sim.lastCommand(Command::KeyDebounce).value()[0], 7);
    ASSERT_EQ(rig.sim.macros().size(), 1u);
    EXPECT_EQ(rig.sim.macros().begin()->second.packetsReceived, 1);
    expectNoCommandWrittenMoreThanFourTimes(rig.sim);
}

// With the receiver still plugged in, the rest of the pass goes to it.
TEST(HostileMouse, UnplugOfTheCableMovesTheRestOfThePassToTheReceiver) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired, ConnectionKind::Dongle});
    rig.sim.clearTransfers();
    rig.sim.unplugAfterWrites(ConnectionKind::Wired, 3);
    changePerformance(rig);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_LE(rig.sim.writesAfterUnplug(), 1);
    int toReceiver = 0;
    for (const auto& t : rig.sim.transfers()) toReceiver += t.op == Op::SetFeature && t.kind == ConnectionKind::Dongle;
    EXPECT_GT(toReceiver, 0);
    expectDeviceHoldsProfile(rig);
    expectNoCommandWrittenMoreThanFourTimes(rig.sim);
    rig.applyQueuedChanges();
    EXPECT_FALSE(rig.view.has("lastDeviceGone"));
    expectConsistent(rig);
}

// The cable pulled during a macro upload: the upload stops, and the next pass
// after the mouse is back uploads the macro whole.
TEST(HostileMouse, UnplugDuringAMacroUploadUploadsTheMacroAgainOnReturn) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    rig.giveMacro(0, makeMacro("long", 0, 100, 5));
    rig.sim.unplugAfterWrites(ConnectionKind::Wired, 4, Command::MacroData);
    rig.sync.requestApply(DirtyGroup::Buttons);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_LE(rig.sim.writesAfterUnplug(), 1);
    ASSERT_EQ(rig.sim.macros().size(), 1u);
    const auto partial = rig.sim.macros().begin()->second;
    EXPECT_EQ(partial.packetsReceived, 4);
    EXPECT_GT(partial.packetCount, 4);
    rig.applyQueuedChanges();
    expectConsistent(rig);

    rig.sim.plug(ConnectionKind::Wired);
    rig.applyQueuedChanges();
    rig.sim.clearTransfers();
    rig.sync.requestApply(DirtyGroup::Buttons);
    rig.timers.advance(DeviceSync::kApplyDelay);
    ASSERT_EQ(rig.sim.macros().size(), 1u);
    const auto whole = rig.sim.macros().begin()->second;
    EXPECT_EQ(whole.packetsReceived, whole.packetCount);
    SyncRig reference;
    reference.start({ConnectionKind::Wired});
    reference.giveMacro(0, makeMacro("long", 0, 100, 5));
    reference.sync.requestApply(DirtyGroup::Buttons);
    reference.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_EQ(rig.sim.macros(), reference.sim.macros());
    expectNoCommandWrittenMoreThanFourTimes(rig.sim);
}

constexpr std::uint8_t kMarkerBattery = 99;
constexpr std::uint8_t kMarkerLighting = 0x5A;

std::vector<std::uint8_t> statusBytes(std::uint8_t dpiLevel, std::uint8_t battery = 70) {
    std::vector<std::uint8_t> report(32, 0);
    report[StatusOffset::ReportId] = ReportId::Status;
    report[StatusOffset::DpiLevel] = dpiLevel;
    report[StatusOffset::RateCode] = 0x01;
    report[StatusOffset::Battery] = battery;
    return report;
}

// Sends a last report with DPI level `level`, marked by its battery value and
// lighting effect, and applies every event up to and including it: the reader
// keeps the order, so everything sent before has been applied (or dropped) by then.
bool applyThroughMarker(SyncRig& rig, std::uint8_t level) {
    // First catch up with what the reader still has, so that the marker does not
    // meet a full queue and get dropped like the flood before it.
    do {
        while (auto event = rig.queue.tryPop()) rig.sync.handleEvent(*event);
        if (!rig.sim.waitUntilInputRead(ConnectionKind::Wired, 60s)) return false;
    } while (rig.queue.size() > 0);
    std::vector<std::uint8_t> marker = statusBytes(level, kMarkerBattery);
    marker[StatusOffset::LightingMode] = kMarkerLighting;
    rig.sim.sendRawInput(ConnectionKind::Wired, marker);
    const std::optional<StatusReport> expected = DecodeStatus(ConnectionKind::Wired, marker, rig.link.pollingCapability);
    for (;;) {
        std::optional<DeviceEvent> event = rig.queue.waitPop(60s);
        if (!event) return false;
        rig.sync.handleEvent(*event);
        const auto* status = std::get_if<StatusEvent>(&*event);
        if (status && status->status == *expected) return true;
    }
}

// Short, oversized and garbage status reports (from a seeded generator) change
// nothing they cannot stand for, and a good report afterwards is applied.
TEST(HostileMouse, MalformedStatusReportsLeaveTheModelInRange) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired});
    std::mt19937 random(7);
    rig.sim.sendRawInput(ConnectionKind::Wired, {ReportId::Status, 0, 3});
    std::vector<std::uint8_t> oversized = statusBytes(4);
    oversized.resize(200, 0xEE);
    rig.sim.sendRawInput(ConnectionKind::Wired, oversized);
    for (int i = 0; i < 500; ++i) {
        std::vector<std::uint8_t> garbage(random() % 70);
        for (auto& b : garbage) b = static_cast<std::uint8_t>(random());
        if (!garbage.empty() && i % 2) garbage[0] = ReportId::Status;
        rig.sim.sendRawInput(ConnectionKind::Wired, garbage);
    }
    rig.sim.sendRawInput(ConnectionKind::Wired, statusBytes(5));
    ASSERT_TRUE(applyThroughMarker(rig, 5));
    EXPECT_EQ(rig.store.currentProfile().currentDpiLevel, 5);
    EXPECT_EQ(rig.store.currentProfile().pollingRateValue[0], 3);
    expectConsistent(rig);
}

// A report read on the receiver just before it was unplugged, applied after the
// removal, speaks for no device any more: it changes nothing.
TEST(HostileMouse, StatusFromAKindJustRemovedIsIgnored) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired, ConnectionKind::Dongle});
    rig.sim.sendRawInput(ConnectionKind::Dongle, [] {
        auto report = statusBytes(6);
        report[StatusOffset::Linked] = 1;
        report[StatusOffset::QuickLaunch] = 1;
        return report;
    }());
    ASSERT_TRUE(rig.sim.waitUntilInputRead(ConnectionKind::Dongle, 30s));
    rig.sim.unplug(ConnectionKind::Dongle);
    // The removal is handled first, then the report that was still on its way.
    std::vector<DeviceEvent> events;
    while (auto event = rig.queue.tryPop()) events.push_back(*event);
    std::stable_partition(events.begin(), events.end(), [](const DeviceEvent& e) { return std::holds_alternative<DeviceChange>(e); });
    const ProfileRecord before = rig.store.currentProfile();
    rig.view.calls.clear();
    for (const auto& e : events) rig.sync.handleEvent(e);
    EXPECT_FALSE(rig.link.present(ConnectionKind::Dongle));
    EXPECT_EQ(profileFileLines(rig.store.currentProfile()), profileFileLines(before));
    EXPECT_FALSE(rig.view.has("osd"));
    for (const auto& call : rig.view.calls) EXPECT_FALSE(call.starts_with("open ")) << call;
    expectConsistent(rig);
}

// A mouse that sends thousands of status reports a second for a minute: the
// queue towards the UI thread stays bounded even while that thread is busy, an
// unplug still gets through, the last state is shown, and the link still works.
TEST(HostileMouse, AFloodOfStatusReportsKeepsTheQueueBoundedAndTheLinkWorking) {
    SyncRig rig;
    rig.start({ConnectionKind::Wired, ConnectionKind::Dongle});
    constexpr int kPerTenMs = 30;  // 3000 reports a second
    std::size_t largestQueue = 0;
    std::uint8_t lastLevel = 0;
    const auto flood = [&](int tenMsSteps, bool uiBusy) {
        for (int step = 0; step < tenMsSteps; ++step) {
            for (int r = 0; r < kPerTenMs; ++r) {
                lastLevel = static_cast<std::uint8_t>((step / 10) % kDeviceDpiLevels);
                rig.sim.sendRawInput(ConnectionKind::Wired, statusBytes(lastLevel));
            }
            if (!uiBusy) {
                largestQueue = std::max(largestQueue, rig.queue.size());
                while (auto event = rig.queue.tryPop()) rig.sync.handleEvent(*event);
            }
            rig.timers.advance(10ms);
        }
    };
    // Ten seconds in which the UI thread does not get to the queue, with the
    // receiver unplugged in the middle of them.
    flood(500, true);
    rig.sim.unplug(ConnectionKind::Dongle);
    flood(500, true);
    ASSERT_TRUE(rig.sim.waitUntilInputRead(ConnectionKind::Wired, 60s));
    EXPECT_LE(rig.queue.size(), DeviceEventQueue::kMaxStatusEvents + 1);
    EXPECT_GE(rig.queue.size(), DeviceEventQueue::kMaxStatusEvents);
    // Then fifty seconds at the pace of the UI thread.
    flood(5000, false);
    largestQueue = std::max(largestQueue, rig.queue.size());
    ASSERT_TRUE(applyThroughMarker(rig, lastLevel));
    EXPECT_LE(largestQueue, DeviceEventQueue::kMaxStatusEvents + 1);
    EXPECT_FALSE(rig.link.present(ConnectionKind::Dongle));
    EXPECT_EQ(rig.store.currentProfile().currentDpiLevel, lastLevel);

    rig.sim.clearTransfers();
    changePerformance(rig);
    rig.timers.advance(DeviceSync::kApplyDelay);
    EXPECT_FALSE(commandWrites(rig.sim).empty());
    EXPECT_EQ(rig.sync.channel().unacknowledgedCount, 0);
    EXPECT_EQ(rig.sim.lastCommand(Command::DpiColours), dpiColoursPayload(rig.store.currentProfile()));
    EXPECT_EQ(rig.sim.lastCommand(Command::PollingRate), pollingRatePayload(rig.store.currentProfile()));
    expectNoCommandWrittenMoreThanFourTimes(rig.sim);
    expectConsistent(rig);
}

}  // namespace
}  // namespace zavrin::test
