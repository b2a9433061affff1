#include <gtest/gtest.h>

#include "device/KeyCodeTable.h"
#include "device/Reports.h"
#include "device/SensorTables.h"

namespace zavrin {
namespace {

std::array<std::uint8_t, 32> status(std::uint8_t linked, std::uint8_t level, std::uint8_t rate, std::uint8_t battery,
                                    std::uint8_t charge, std::uint8_t mode, std::uint8_t launch) {
    std::array<std::uint8_t, 32> r{};
    r[0] = ReportId::Status;
    r[1] = linked;
    r[2] = level;
    r[3] = rate;
    r[4] = battery;
    r[5] = charge;
    r[6] = mode;
    r[7] = launch;
    return r;
}

TEST(CommandFrame, ChecksumIsTheLowByteOfTheSumTakenWithTheChecksumByteAtZero) {
    Payload payload{};
    payload[0] = 0xFF;
    const Report r = encodeCommandReport(Command::MacroUploadStart, 1, kSinglePacket, payload);
    EXPECT_EQ(r[0], 0x06);
    EXPECT_EQ(r[1], 0x11);
    EXPECT_EQ(r[2], 0x01);
    EXPECT_EQ(r[3], 0x01);
    EXPECT_EQ(r[4], 0x18);
    EXPECT_EQ(r[5], 0xFF);
}

TEST(CommandFrame, PacketByteHoldsIndexHighAndCountLow) {
    EXPECT_EQ(packetByte(1, 2), 0x12);
    EXPECT_EQ(packetByte(14, 15), 0xEF);
}

TEST(StatusDecoding, ReceiverReportsDecodeEveryField) {
    const auto r = status(1, 3, 0x12, 57, 1, 2, 4);
    const auto s = DecodeStatus(ConnectionKind::Dongle, r, RateClass::UpTo1000);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->linked);
    EXPECT_EQ(s->dpiLevel, 3);
    EXPECT_EQ(s->pollingRateIndex, 5);
    EXPECT_EQ(s->battery, 57);
    EXPECT_EQ(s->chargeState, ChargeState::Charging);
    EXPECT_EQ(s->lightingMode, 2);
    EXPECT_EQ(s->launchIndex, 4);
}

TEST(StatusDecoding, ReceiverWithoutLinkDecodesNothingElse) {
    const auto s = DecodeStatus(ConnectionKind::Dongle, status(0, 3, 0x12, 57, 1, 2, 4), RateClass::UpTo8000);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->linked);
    EXPECT_EQ(s->dpiLevel, 0);
}

TEST(StatusDecoding, LinkByteMeansNothingOnCableAndBluetooth) {
    for (ConnectionKind kind : {ConnectionKind::Wired, ConnectionKind::Bluetooth}) {
        const auto s = DecodeStatus(kind, status(0, 1, 0x08, 20, 0, 0, 0), RateClass::UpTo8000);
        ASSERT_TRUE(s);
        EXPECT_TRUE(s->linked);
        EXPECT_EQ(s->dpiLevel, 1);
        EXPECT_EQ(s->pollingRateIndex, 0);
    }
}

TEST(StatusDecoding, FullyChargedReportsAHundredPercent) {
    const auto s = DecodeStatus(ConnectionKind::Wired, status(0, 0, 0x01, 93, 2, 0, 0), RateClass::UpTo1000);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->chargeState, ChargeState::Full);
    EXPECT_EQ(s->battery, 100);
}

TEST(StatusDecoding, WiredWithoutTheFastClassKnowsOnlyTheClassicRates) {
    const std::array<std::pair<std::uint8_t, int>, 7> fast{
        {{0x08, 0}, {0x04, 1}, {0x02, 2}, {0x01, 3}, {0x11, 4}, {0x12, 5}, {0x14, 6}}};
    for (auto [code, index] : fast) {
        const auto r = status(1, 0, code, 0, 0, 0, 0);
        EXPECT_EQ(DecodeStatus(ConnectionKind::Wired, r, RateClass::UpTo8000)->pollingRateIndex, index);
        EXPECT_EQ(DecodeStatus(ConnectionKind::Dongle, r, RateClass::UpTo1000)->pollingRateIndex, index);
        EXPECT_EQ(DecodeStatus(ConnectionKind::Bluetooth, r, RateClass::UpTo1000)->pollingRateIndex, index);
        EXPECT_EQ(DecodeStatus(ConnectionKind::Wired, r, RateClass::UpTo1000)->pollingRateIndex, std::min(index, 3));
    }
    const auto unknown = status(1, 0, 0x77, 0, 0, 0, 0);
    EXPECT_EQ(DecodeStatus(ConnectionKind::Dongle, unknown, RateClass::UpTo1000)->pollingRateIndex, 6);
    EXPECT_EQ(DecodeStatus(ConnectionKind::Wired, unknown, RateClass::UpTo4000)->pollingRateIndex, 3);
}

TEST(StatusDecoding, OtherReportIdsAndShortReportsAreIgnored) {
    auto r = status(1, 1, 1, 1, 1, 1, 1);
    r[0] = 5;
    EXPECT_FALSE(DecodeStatus(ConnectionKind::Wired, r, 1));
    const std::array<std::uint8_t, 7> shortReport{4, 1, 1, 1, 1, 1, 1};
    EXPECT_FALSE(DecodeStatus(ConnectionKind::Wired, shortReport, 1));
    EXPECT_FALSE(DecodeStatus(ConnectionKind::Dongle, std::span<const std::uint8_t>(), 1));
}

TEST(DeviceInformation, AnswerMustStartWithReportFive) {
    Report r{};
    r.fill(0xFF);
    r[0] = 5;
    r[5] = 0;
    r[6] = 4;
    const auto info = decodeDeviceInfo(r);
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->online);
    EXPECT_EQ(info->rateClass, 4);
    r[0] = 6;
    EXPECT_FALSE(decodeDeviceInfo(r));
    EXPECT_FALSE(decodeDeviceInfo(std::span<const std::uint8_t>(r.data(), 6)));
}

TEST(DeviceInformation, RateClassDependsOnTheConnection) {
    EXPECT_EQ(pollingCapabilityFor(ConnectionKind::Wired, 8), 8);
    EXPECT_EQ(pollingCapabilityFor(ConnectionKind::Wired, 4), 1);
    EXPECT_EQ(pollingCapabilityFor(ConnectionKind::Bluetooth, 8), 1);
    EXPECT_EQ(pollingCapabilityFor(ConnectionKind::Dongle, 8), 8);
    EXPECT_EQ(pollingCapabilityFor(ConnectionKind::Dongle, 4), 4);
    EXPECT_EQ(pollingCapabilityFor(ConnectionKind::Dongle, 2), 1);
}

TEST(PollingRate, IndexesAboveTheTableSendEightThousand) {
    EXPECT_EQ(pollingRateCode(0), 0x08);
    EXPECT_EQ(pollingRateCode(3), 0x01);
    EXPECT_EQ(pollingRateCode(6), 0x14);
    EXPECT_EQ(pollingRateCode(200), 0x14);
}

TEST(PairingRequest, IsReportBcWithCommandThree) {
    EXPECT_EQ(encodePairingReport(), (PairingReport{0xBC, 0x03, 0, 0, 0, 0, 0, 0}));
}

TEST(SensorTables, EveryKnownSensorHasItsStepCountAndEndpoints) {
    struct Expect {
        std::uint16_t id;
        std::size_t steps;
        int firstDpi, lastDpi;
        std::uint16_t firstCode, lastCode;
    };
    const Expect all[] = {
        {0x3104, 48, 100, 8000, 0, 47},   {0x3212, 42, 200, 4800, 1, 42},   {0x3311, 120, 100, 12000, 0, 143},
        {0x3325, 59, 200, 10000, 1, 59},  {0x3327, 74, 200, 12400, 1, 74},  {0x3335, 160, 100, 16000, 0, 159},
        {0x3360, 121, 100, 24000, 0, 120}, {0x3370, 290, 50, 19000, 0, 289}, {0x3389, 160, 100, 16000, 0, 159},
        {0x3395, 520, 50, 26000, 0, 519}, {0x3399, 400, 50, 20000, 0, 399},
    };
    for (const Expect& e : all) {
        const SensorTable t = sensorTable(e.id);
        ASSERT_EQ(t.size(), e.steps) << std::hex << e.id;
        EXPECT_EQ(t.dpiOfStep(0), e.firstDpi);
        EXPECT_EQ(t.dpiOfStep(e.steps - 1), e.lastDpi);
        EXPECT_EQ(t.codeOfStep(0), e.firstCode);
        EXPECT_EQ(t.codeOfStep(e.steps - 1), e.lastCode);
    }
}

TEST(SensorTables, IrregularRunsLandWhereTheDeviceExpectsThem) {
    const SensorTable t3104 = sensorTable(0x3104);
    EXPECT_EQ(t3104.dpiOfStep(40), 4500);
    EXPECT_EQ(t3104.dpiOfStep(41), 4800);
    EXPECT_EQ(t3104.dpiOfStep(42), 5500);
    const SensorTable t3325 = sensorTable(0x3325);
    EXPECT_EQ(t3325.dpiOfStep(51), 6400);
    EXPECT_EQ(t3325.dpiOfStep(52), 7000);
    const SensorTable t3311 = sensorTable(0x3311);
    // Codes skip numbers: 0, 2..7, 9..14, ...; step 29 follows "35" at step 30.
    EXPECT_EQ(t3311.codeOfStep(1), 2);
    EXPECT_EQ(t3311.codeOfStep(7), 9);
    EXPECT_EQ(t3311.codeOfStep(30), 37);
    EXPECT_EQ(t3311.codeOfStep(29), 35);
}

TEST(SensorTables, UnknownSensorIsEmptyAndCodesBeyondTheTableAreZero) {
    const SensorTable none = sensorTable(0x1234);
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(none.codeOfStep(0), 0);
    EXPECT_FALSE(none.dpiOfStep(0));
    EXPECT_EQ(sensorTable(0x3311).codeOfStep(120), 0);
}

TEST(KeyCodes, TableMapsVirtualKeysToDeviceCodes) {
    EXPECT_EQ(deviceKeyCode(0x0D), 0x28);
    EXPECT_EQ(deviceKeyCode(0x31), 0x1E);
    EXPECT_EQ(deviceKeyCode(0x39), 0x26);
    EXPECT_EQ(deviceKeyCode(0x30), 0x27);
    EXPECT_EQ(deviceKeyCode(0x70), 0x3A);
    EXPECT_EQ(deviceKeyCode(0x7B), 0x45);
    EXPECT_EQ(deviceKeyCode(0xE0), 0xF0);
    EXPECT_EQ(deviceKeyCode(0xF4), 0x85);
    EXPECT_EQ(deviceKeyCode(0x7C), 0);  // F13 has no device key
    EXPECT_EQ(deviceKeyCode(0xFF), 0);
}

}  // namespace
}  // namespace zavrin
