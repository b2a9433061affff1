#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "device/CommandChannel.h"

namespace zavrin {
namespace {

struct ChannelRig {
    ChannelRig() { link.RegisterForDevices(); }
    ~ChannelRig() { link.stopReaders(); }
    void start(std::initializer_list<ConnectionKind> kinds) {
        for (ConnectionKind k : kinds) sim.plug(k);
        link.scanInterfaces();
        link.commitPresence();
    }
    VirtualClock clock;
    SimulatedMouse sim{clock};
    DeviceEventQueue queue;
    DeviceLink link{sim, queue};
    CommandChannel channel{link, clock};
};

TEST(AcknowledgedSend, AcceptedCommandIsWrittenOnceAndReadBackAfterSixtyMilliseconds) {
    ChannelRig rig;
    rig.start({ConnectionKind::Wired});
    rig.sim.clearTransfers();
    const auto before = rig.clock.now();
    EXPECT_TRUE(rig.channel.SendCommand(Command::KeyDebounce, Payload{4}));
    EXPECT_EQ(rig.clock.now() - before, std::chrono::milliseconds(60));
    const auto transfers = rig.sim.transfers();
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_EQ(transfers[0].op, SimulatedMouse::Transfer::Op::SetFeature);
    EXPECT_EQ(transfers[0].bytes.size(), 32u);
    EXPECT_EQ(transfers[1].op, SimulatedMouse::Transfer::Op::GetFeature);
    EXPECT_EQ(transfers[1].bytes[1], Command::KeyDebounce);
    EXPECT_TRUE(rig.channel.wroteToDevice);
}

TEST(AcknowledgedSend, SilentDeviceGetsFourWritesWithNewSequenceNumbersThenNothing) {
    ChannelRig rig;
    rig.start({ConnectionKind::Wired});
    rig.sim.setAcknowledging(false);
    rig.sim.clearTransfers();
    const auto before = rig.clock.now();
    EXPECT_FALSE(rig.channel.SendCommand(Command::KeyDebounce, Payload{4}));
    const auto writes = test::commandWrites(rig.sim);
    ASSERT_EQ(writes.size(), 4u);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i][CommandOffset::Sequence], i + 1);
        Report copy{};
        std::copy_n(writes[i].begin(), 32, copy.begin());
        copy[CommandOffset::Checksum] = 0;
        EXPECT_EQ(writes[i][CommandOffset::Checksum], reportChecksum(copy));
    }
    // Four acknowledgement waits and three pauses before the resends.
    EXPECT_EQ(rig.clock.now() - before, std::chrono::milliseconds(4 * 60 + 3 * 60));
    EXPECT_EQ(rig.channel.unacknowledgedCount, 1);
    rig.sim.clearTransfers();
    rig.clock.advance(std::chrono::seconds(5));
    EXPECT_TRUE(rig.sim.transfers().empty());
}

TEST(AcknowledgedSend, SequenceNumberWrapsFrom255ToZero) {
    ChannelRig rig;
    rig.start({ConnectionKind::Wired});
    rig.channel.sequenceNumber = 255;
    rig.sim.clearTransfers();
    rig.channel.SendCommand(Command::KeyDebounce, Payload{1});
    rig.channel.SendCommand(Command::KeyDebounce, Payload{2});
    const auto writes = test::commandWrites(rig.sim);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][2], 255);
    EXPECT_EQ(writes[1][2], 0);
}

TEST(AcknowledgedSend, WithoutAnyHandleNothingIsWrittenButEveryAttemptWaits) {
    ChannelRig rig;
    const auto before = rig.clock.now();
    EXPECT_FALSE(rig.channel.SendCommand(Command::KeyDebounce, Payload{1}));
    EXPECT_EQ(rig.clock.now() - before, std::chrono::milliseconds(420));
    EXPECT_EQ(rig.channel.sequenceNumber, 5);
}

// The mouse's feature report is 32 bytes long and it refuses a longer transfer,
// so the lighting command's extra byte must not reach it.
TEST(AcknowledgedSend, LightingIsCutToTheFeatureReportLength) {
    ChannelRig rig;
    rig.start({ConnectionKind::Dongle});
    rig.sim.clearTransfers();
    EXPECT_TRUE(rig.channel.SendCommand(Command::Lighting, Payload{}));
    ASSERT_EQ(test::commandWrites(rig.sim).size(), 1u);
    EXPECT_EQ(test::commandWrites(rig.sim)[0].size(), 32u);
    EXPECT_EQ(rig.sim.commandsAccepted(), 1);
}

TEST(AcknowledgedSend, ReceiverWithoutItsMouseDoesNotAcknowledge) {
    ChannelRig rig;
    rig.start({ConnectionKind::Dongle});
    rig.sim.loseLink();
    EXPECT_FALSE(rig.channel.SendCommand(Command::KeyDebounce, Payload{1}));
    EXPECT_EQ(test::commandWrites(rig.sim).size(), 4u);
}

TEST(DeviceInformationQuery, SetsOnlineAndRateClassFromTheFirstHandleInPriority) {
    ChannelRig rig;
    rig.start({ConnectionKind::Dongle, ConnectionKind::Bluetooth});
    rig.sim.setRateClass(ConnectionKind::Dongle, 4);
    const auto info = rig.channel.QueryDeviceInfo();
    ASSERT_TRUE(info);
    EXPECT_TRUE(rig.link.deviceOnline());
    // Bluetooth comes before the receiver and never has the fast rates.
    EXPECT_EQ(rig.link.pollingCapability, 1);
    rig.sim.unplug(ConnectionKind::Bluetooth);
    rig.link.scanInterfaces();
    rig.link.commitPresence();
    rig.channel.QueryDeviceInfo();
    EXPECT_EQ(rig.link.pollingCapability, 4);
    rig.sim.loseLink();
    rig.channel.QueryDeviceInfo();
    EXPECT_FALSE(rig.link.deviceOnline());
}

TEST(DeviceInformationQuery, NoHandleChangesNothing) {
    ChannelRig rig;
    rig.link.onReceiverStatus(true);
    EXPECT_FALSE(rig.channel.QueryDeviceInfo());
    EXPECT_TRUE(rig.link.deviceOnline());
}

TEST(Pairing, GoesToTheReceiverOnlyAndLinksTheMouseAfterTheDelay) {
    ChannelRig rig;
    rig.start({ConnectionKind::Wired});
    EXPECT_FALSE(rig.channel.SendPairing());
    EXPECT_EQ(rig.sim.pairingRequests(), 0);
    rig.sim.plug(ConnectionKind::Dongle);
    rig.sim.loseLink();
    rig.link.scanInterfaces();
    rig.link.commitPresence();
    EXPECT_TRUE(rig.channel.SendPairing());
    EXPECT_EQ(rig.sim.pairingRequests(), 1);
    rig.clock.advance(std::chrono::milliseconds(2999));
    rig.sim.runDueEvents();
    EXPECT_FALSE(rig.sim.linked());
    rig.clock.advance(std::chrono::milliseconds(1));
    rig.sim.runDueEvents();
    EXPECT_TRUE(rig.sim.linked());
}

}  // namespace
}  // namespace zavrin
