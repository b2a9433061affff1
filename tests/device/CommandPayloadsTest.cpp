#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "device/CommandPayloads.h"

namespace zavrin {
namespace {

using test::fillLanguage;

class Payloads : public ::testing::Test {
protected:
    Payloads() {
        fillLanguage(language);
        resetProfile(profile, 0, language, 0x3311);
    }
    LanguageTable language;
    ProfileRecord profile;
};

TEST_F(Payloads, DefaultKeysGoInDeviceOrderWithKeysThreeAndFourSwapped) {
    const Payload p = keysPayload(profile);
    const std::vector<std::uint8_t> expected{0x10, 0x01, 0, 0x10, 0x02, 0, 0x10, 0x04, 0,
                                             0x10, 0x08, 0, 0x10, 0x10, 0, 0x40, 0x01, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(p.begin(), p.begin() + 18), expected);
    for (std::size_t i = 18; i < p.size(); ++i) EXPECT_EQ(p[i], 0xFF);
}

TEST_F(Payloads, SwappingKeysThreeAndFourChangesOnlyTheirEntries) {
    const Payload before = keysPayload(profile);
    std::swap(profile.keys[3].action, profile.keys[4].action);
    const Payload after = keysPayload(profile);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i >= 9 && i < 15) {
            EXPECT_EQ(after[i], before[i < 12 ? i + 3 : i - 3]);
        } else {
            EXPECT_EQ(after[i], before[i]) << i;
        }
    }
}

TEST_F(Payloads, DpiLevelsCarrySixSensorCodesLowByteFirst) {
    profile.xySetting = {3, 7, 15, 23, 35, 119, 1, 2};
    profile.currentDpiLevel = 4;
    const Payload p = dpiLevelsPayload(profile, sensorTable(0x3311));
    EXPECT_EQ(p[0], 4);
    EXPECT_EQ(p[1], 0x3F);
    // Step 3 -> code 4, step 119 -> code 143; levels 6 and 7 are not sent.
    EXPECT_EQ(p[2], 4);
    EXPECT_EQ(p[3], 0);
    EXPECT_EQ(p[12], 143);
    for (std::size_t i = 14; i < p.size(); ++i) EXPECT_EQ(p[i], 0);
    const Payload big = dpiLevelsPayload(profile, sensorTable(0x3395));
    profile.xySetting[0] = 519;
    EXPECT_EQ(dpiLevelsPayload(profile, sensorTable(0x3395))[2], 519 & 0xFF);
    EXPECT_EQ(dpiLevelsPayload(profile, sensorTable(0x3395))[3], 519 >> 8);
    EXPECT_EQ(big[2], 3);
}

TEST_F(Payloads, AllEightDpiColoursGoAsRedGreenBlue) {
    profile.dpiLevelIndication[7] = 0x00336699;
    const Payload p = dpiColoursPayload(profile);
    EXPECT_EQ(p[0], 0xFF);  // level 0 red
    EXPECT_EQ(p[1], 0x00);
    EXPECT_EQ(p[2], 0x00);
    EXPECT_EQ(p[21], 0x99);
    EXPECT_EQ(p[22], 0x66);
    EXPECT_EQ(p[23], 0x33);
}

TEST_F(Payloads, LightingSendsEffectOnesDirectionWhateverTheEffect) {
    profile.lighting1.modeValue = {3, 0, 0};
    profile.lighting1.brightness[3] = 2;
    profile.lighting1.speed[3] = 4;
    profile.lighting1.direction[1] = 1;
    profile.lighting1.direction[3] = 0;
    const Payload p = lightingPayload(profile);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 3);
    EXPECT_EQ(p[2], 0x35);
    EXPECT_EQ(p[3], 1);
    profile.lighting1.direction[3] = 1;
    EXPECT_EQ(lightingPayload(profile), p);
}

TEST_F(Payloads, DamagedEffectCodeReadsNoEntryBeyondTheTables) {
    profile.lighting1.modeValue = {0xEE, 0, 0};
    const Payload p = lightingPayload(profile);
    EXPECT_EQ(p[1], 0xEE);
    EXPECT_EQ(p[2], 0x11);
}

TEST_F(Payloads, SettingsTravelAsTheirLowByte) {
    setSettingInt(profile, Setting::LiftDetectionHeight, 1);
    EXPECT_EQ(liftOffPayload(profile)[0], 1);
    setSettingInt(profile, Setting::LiftDetectionHeight, 7);
    EXPECT_EQ(liftOffPayload(profile)[0], 2);
    setSettingInt(profile, Setting::KeyDebounce, 260);
    EXPECT_EQ(keyDebouncePayload(profile)[0], 4);
    setSettingInt(profile, Setting::PowerDownTime, 5);
    setSettingInt(profile, Setting::MoveLightingOnOffMode, 1);
    EXPECT_EQ(powerSavingPayload(profile)[0], 5);
    EXPECT_EQ(powerSavingPayload(profile)[1], 1);
    const Payload s = sensorOptionsPayload(profile);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], 1);
    EXPECT_EQ(s[2], 0);
    profile.pollingRateValue[0] = 6;
    EXPECT_EQ(pollingRatePayload(profile)[0], 0x14);
}

}  // namespace
}  // namespace zavrin
