#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempDir.h"
#include "model/LanguageTable.h"
#include "model/ProfileFile.h"
#include "model/ProfileStore.h"

namespace zavrin {
namespace {

using test::TempDir;

ProfileRecord defaultRecord(int index = 0) {
    LanguageTable texts;
    texts.setText(20, "Left");
    texts.setText(85, "First");
    ProfileRecord r;
    resetProfile(r, index, texts, 0x3311);
    return r;
}

// A record that uses every field with values a reader could confuse.
ProfileRecord busyRecord() {
    ProfileRecord r = defaultRecord();
    r.settings[0].value = "name=with=equals";
    r.settings[1].value = "";
    r.pollingRateName = "";
    r.pollingRateValue = {6, 0, 0};
    r.xySetting = {1, 0xFFFF, 0x0ABC, 4, 5, 6, 7, 519};
    r.dpiLevelIndication[3] = 0x00123456;
    r.lighting1.fixedColor[9][9] = 0x00ABCDEF;
    r.lighting1.colorSelected[9][9] = 1;
    r.lighting1.speed[9] = 0xFE;
    r.lighting2.fixedColor = 0x00010203;
    r.keys[3].name = "";
    r.keys[4].url = "https://example.org/a=b";
    KeyAssignment& k = r.keys[2];
    k.name = "macro key";
    k.action = {0x90, 0x23, 7};  // loop mode 2, slot 3, seven times
    k.macroKeyIndex = 17;
    k.macro.name = "burst";
    k.macro.macroKeyIndex = 17;
    k.macro.loopType = 2;
    k.macro.loopNum = 7;
    for (std::size_t i = 0; i < 5; ++i) k.macro.insert(i, i % 2 ? makeDelay(20) : MacroAction{0xE0, 0, 0, 0});
    k.macro.commandActionNum = 3;
    k.macro.actions[249] = {0xDE, 0xAD, 0xBE, 0xEF};  // beyond actionNum, still stored
    return r;
}

TEST(ProfileFileFormat, ADefaultProfileHas102LinesInTheFixedLayout) {
    const auto lines = profileFileLines(defaultRecord());
    ASSERT_EQ(lines.size(), 102U);
    EXPECT_EQ(lines[0], "[Setting]");
    EXPECT_EQ(lines[24], "DPIOffOnFlagValue=3F");
    EXPECT_EQ(lines[25], "\tXYSetting1Value=0003");
    EXPECT_EQ(lines[33], "\tCurrentDPILevelValue=02");
    EXPECT_EQ(lines[34], "\tDPILevelIndication0Valuer=FF0000");
    EXPECT_EQ(lines[35], "\tDPILevelIndication1Valuer=0000FF");
    EXPECT_EQ(lines[45], "\tPollingRateValue=030000");
    EXPECT_EQ(lines[49], "\tLighting1Speed=01|01|01|01|01|01|01|01|01|01");
    EXPECT_EQ(lines[51].substr(0, 24), "\tLighting1ColorSelected=");
    EXPECT_EQ(lines[51].size(), 24U + 300U);
    EXPECT_EQ(lines[51].back(), ';');
    EXPECT_EQ(lines[52].substr(21 + 20 * 7, 7), "FF0000|");  // mode 2, colour 0: red
    EXPECT_EQ(lines[59], "\tLighting2FixedColor=000000");
    EXPECT_EQ(lines[60], "Key0Name=Left");
    EXPECT_EQ(lines[62], "\tKey0Value=100100");
    EXPECT_EQ(lines[63], "\tMacroKeyIndex=0");
    EXPECT_EQ(lines[65], "\t\tMacroActionNum=0");
    EXPECT_EQ(lines[66].size(), 12U + 2000U);
}

TEST(ProfileFileFormat, DefaultAndBusyRecordsReadBackIdentical) {
    TempDir dir;
    for (const ProfileRecord& r : {defaultRecord(), busyRecord()}) {
        ASSERT_TRUE(writeProfileRecord(r, dir / "p.psf"));
        const auto back = parseProfileFile(dir / "p.psf");
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, r);
    }
}

TEST(ProfileFileFormat, MacroFieldsTheFileLacksAreDerivedFromTheKey) {
    ProfileRecord r = busyRecord();
    auto lines = profileFileLines(r);
    // Whatever the record held in memory, the file has only the actions and the key.
    const auto back = parseProfileLines(lines);
    ASSERT_TRUE(back);
    const MacroRecord& m = back->keys[2].macro;
    EXPECT_EQ(m.commandActionNum, 3);
    EXPECT_EQ(m.loopType, 2);
    EXPECT_EQ(m.loopNum, 7);
    EXPECT_EQ(m.macroKeyIndex, 17U);

    lines[60 + 2 * 7 + 2] = "\tKey2Value=904000";  // loop mode 4
    EXPECT_EQ(parseProfileLines(lines)->keys[2].macro.loopType, 4);
    EXPECT_EQ(parseProfileLines(lines)->keys[2].macro.loopNum, 1);
}

TEST(ProfileFileReader, RejectsAFileCutShortAfterAnyLine) {
    const auto lines = profileFileLines(busyRecord());
    for (std::size_t keep = 0; keep < lines.size(); ++keep) {
        const std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_FALSE(parseProfileLines(cut)) << "accepted after " << keep << " lines";
    }
    auto longer = lines;
    longer.push_back("anything after the last line is not read");
    EXPECT_TRUE(parseProfileLines(longer));
}

TEST(ProfileFileReader, RejectsCrLfLineEnds) {
    TempDir dir;
    test::writeLines(dir / "p.psf", profileFileLines(defaultRecord()), "\r\n");
    EXPECT_FALSE(parseProfileFile(dir / "p.psf"));
}

TEST(ProfileFileReader, RejectsActionLinesOfTheWrongLengthAndImpossibleCounts) {
    const auto lines = profileFileLines(defaultRecord());
    const std::size_t key3AllAction = 60 + 3 * 7 + 6;
    auto shortLine = lines;
    shortLine[key3AllAction].pop_back();
    EXPECT_FALSE(parseProfileLines(shortLine));
    auto longLine = lines;
    longLine[key3AllAction] += "0";
    EXPECT_FALSE(parseProfileLines(longLine));
    auto tooMany = lines;
    tooMany[60 + 3 * 7 + 5] = "\t\tMacroActionNum=251";
    EXPECT_FALSE(parseProfileLines(tooMany));
    auto noCount = lines;
    noCount[60 + 3 * 7 + 5] = "\t\tMacroActionNum=";
    EXPECT_FALSE(parseProfileLines(noCount));
}

TEST(ProfileFileReader, AcceptsWrongKeyTextsAndConvertsBadHexAsFarAsItGoes) {
    auto lines = profileFileLines(defaultRecord());
    lines[24] = "Whatever=4G";
    lines[1] = "SomethingElse=x";
    lines[63] = "=5";  // the macro key lines may have "=" first
    const auto r = parseProfileLines(lines);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dpiOffOnFlag, 4);
    EXPECT_EQ(r->settings[0].key, "SomethingElse");
    EXPECT_EQ(r->keys[0].macroKeyIndex, 5U);

    lines[30] = "=0003";  // other lines need a key before "="
    EXPECT_FALSE(parseProfileLines(lines));
}

class ProfileSlotTest : public ::testing::Test {
protected:
    TempDir dir;
    LanguageTable texts;
    ProfileStore store{dir.path(), texts};
    void SetUp() override { std::filesystem::create_directories(dir.path() / "config"); }
};

TEST_F(ProfileSlotTest, ARejectedSlotFileIsReplacedByTheDefaultProfile) {
    const auto slot = store.settings.profileSlotPath(1);
    test::writeLines(slot, profileFileLines(busyRecord()), "\r\n");
    store.profiles[1].keys[0].name = "changed";
    EXPECT_FALSE(store.readProfileFile(1, slot));
    ProfileRecord expected;
    resetProfile(expected, 1, texts, 0x3311);
    EXPECT_EQ(store.profiles[1], expected);
    EXPECT_EQ(parseProfileFile(slot), expected);
}

TEST_F(ProfileSlotTest, ARejectedImportChangesNothing) {
    test::writeLines(dir / "bad.psf", {"[Setting]", "only one line"});
    store.profiles[2] = busyRecord();
    EXPECT_FALSE(store.importProfileFile(2, dir / "bad.psf"));
    EXPECT_EQ(store.profiles[2], busyRecord());
    EXPECT_FALSE(std::filesystem::exists(store.settings.profileSlotPath(2)));

    ASSERT_TRUE(writeProfileRecord(defaultRecord(), dir / "good.psf"));
    EXPECT_TRUE(store.importProfileFile(2, dir / "good.psf"));
    EXPECT_EQ(store.profiles[2], defaultRecord());
}

}  // namespace
}  // namespace zavrin
