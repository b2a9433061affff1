#include <gtest/gtest.h>

#include <map>

#include "FileBytes.h"
#include "TempDir.h"
#include "model/DataPaths.h"
#include "model/LanguageTable.h"
#include "model/ProfileFile.h"
#include "model/ProfileStore.h"

namespace zavrin {
namespace {

using test::TempDir;

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = test::readBytes(entry.path());
    }
    return files;
}

class StartupLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "config");
        texts.setText(85, "Profile 1");
    }
    std::filesystem::path config() const { return dataPath(dir.path(), kConfigFile); }
    std::filesystem::path slot(int i) const { return defaultProfilePath(dir.path(), i); }

    TempDir dir;
    LanguageTable texts;
};

TEST_F(StartupLoadTest, FirstRunWritesTheDefaultsByteForByteAndTheNextRunChangesNothing) {
    ProfileStore first(dir.path(), texts);
    EXPECT_FALSE(first.loadGlobalSettings());

    std::string expected = "[Setting]\nSensor=0x3311\nPreST=0xCCEE\nMac_ID=0xFFFFFFFF\nDataChange=0x1234\n"
                           "CurrentProfile=0\nProfileShowCount=3\n";
    for (int i = 0; i < 5; ++i) expected += "ProfileShowList" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    for (int i = 0; i < 5; ++i) {
        expected += "ProfileSlot" + std::to_string(i) + "URL=" + pathToUtf8(slot(i)) + "\n";
    }
    EXPECT_EQ(test::readBytes(config()), "\xFF\xFE" + test::utf16le(expected));

    for (int i = 0; i < 5; ++i) {
        ProfileRecord defaults;
        resetProfile(defaults, i, texts, 0x3311);
        EXPECT_EQ(test::readBytes(slot(i)), "\xFF\xFE" + test::utf16le([&] {
                      std::string all;
                      for (const auto& line : profileFileLines(defaults)) all += line + "\n";
                      return all;
                  }()));
    }

    const auto before = snapshot(dir.path() / "config");
    ProfileStore second(dir.path(), texts);
    EXPECT_TRUE(second.loadGlobalSettings());
    EXPECT_EQ(snapshot(dir.path() / "config"), before);
    EXPECT_EQ(second.profiles[0], first.profiles[0]);
}

TEST_F(StartupLoadTest, AMalformedConfigIsRewrittenButTheProfilesSurvive) {
    ProfileStore first(dir.path(), texts);
    first.loadGlobalSettings();
    first.profiles[3].keys[1].name = "kept";
    first.writeAllProfileFiles();
    test::writeLines(config(), {"[Setting]", "Sensor=0x3311", "CurrentProfile="});

    ProfileStore second(dir.path(), texts);
    EXPECT_FALSE(second.loadGlobalSettings());
    EXPECT_EQ(second.profiles[3].keys[1].name, "kept");
    EXPECT_EQ(test::linesOf(config())[5], "CurrentProfile=0");
}

TEST_F(StartupLoadTest, ADamagedProfileIsReplacedAtStartUp) {
    ProfileStore first(dir.path(), texts);
    first.loadGlobalSettings();
    auto lines = profileFileLines(first.profiles[2]);
    lines[60 + 3 * 7 + 6].pop_back();  // 1999 digits in key 3's actions
    test::writeLines(slot(2), lines);
    first.profiles[2].keys[0].name = "gone";

    ProfileStore second(dir.path(), texts);
    second.loadGlobalSettings();
    ProfileRecord defaults;
    resetProfile(defaults, 2, texts, 0x3311);
    EXPECT_EQ(second.profiles[2], defaults);
    EXPECT_EQ(parseProfileFile(slot(2)), defaults);
}

TEST_F(StartupLoadTest, ANewSensorRepreparesAllProfilesOnce) {
    ProfileStore first(dir.path(), texts);
    first.loadGlobalSettings();
    auto lines = test::linesOf(config());
    lines[1] = "Sensor=0x3395";
    test::writeLines(config(), lines);

    ProfileStore second(dir.path(), texts);
    EXPECT_TRUE(second.loadGlobalSettings());
    EXPECT_EQ(second.sensorId(), 0x3395);
    EXPECT_EQ(test::linesOf(config())[2], "PreST=0xCC6A");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(second.profiles[static_cast<std::size_t>(i)].xySetting[4], 127);
        EXPECT_EQ(parseProfileFile(slot(i))->xySetting[5], 519);
    }

    const auto before = snapshot(dir.path() / "config");
    ProfileStore third(dir.path(), texts);
    EXPECT_TRUE(third.loadGlobalSettings());
    EXPECT_EQ(snapshot(dir.path() / "config"), before);
}

TEST(GlobalSettingsFile, AHeaderAloneLoadsAndChangesNothing) {
    TempDir dir;
    test::writeLines(dir / "c.ini", {"[Setting]"});
    GlobalSettings s;
    s.resetGlobalSettings(dir.path());
    const auto before = s.pairs;
    EXPECT_EQ(s.read(dir / "c.ini").status, ReadStatus::Ok);
    EXPECT_EQ(s.pairs, before);
}

TEST(GlobalSettingsFile, PairsAreTakenByPositionWithTheirOwnKeysAndUntrimmedValues) {
    TempDir dir;
    test::writeLines(dir / "c.ini", {"[Setting]", "Sensor=0x3311", "CurrentProfile= 2", "X=3"});
    GlobalSettings s;
    s.resetGlobalSettings(dir.path());
    ASSERT_EQ(s.read(dir / "c.ini").status, ReadStatus::Ok);
    EXPECT_EQ(s.getPair(1, 0), "CurrentProfile");
    EXPECT_EQ(s.getPair(1, 1), " 2");
    EXPECT_EQ(s.preST(), 2);
    EXPECT_EQ(s.getPair(4, 1), "0");
    EXPECT_EQ(s.getPair(16, 0), "");
    ASSERT_TRUE(s.write(dir / "c.ini"));
    EXPECT_EQ(test::linesOf(dir / "c.ini")[2], "CurrentProfile= 2");
}

TEST(GlobalSettingsFile, MalformedFilesFail) {
    TempDir dir;
    GlobalSettings s;
    const auto check = [&](const std::vector<std::string>& lines) {
        test::writeLines(dir / "c.ini", lines);
        return s.read(dir / "c.ini").status;
    };
    EXPECT_EQ(s.read(dir / "none.ini").status, ReadStatus::Missing);
    EXPECT_EQ(check({}), ReadStatus::Damaged);
    EXPECT_EQ(check({"[setting]"}), ReadStatus::Damaged);
    EXPECT_EQ(check({"[Setting]", "CurrentProfile="}), ReadStatus::Damaged);
    EXPECT_EQ(check({"[Setting]", "=1"}), ReadStatus::Damaged);
    EXPECT_EQ(check({"[Setting]", "no equals"}), ReadStatus::Damaged);
    std::vector<std::string> seventeen = {"[Setting]"};
    for (int i = 0; i < 17; ++i) seventeen.push_back("K=1");
    EXPECT_EQ(check(seventeen), ReadStatus::Damaged);
    seventeen.pop_back();
    EXPECT_EQ(check(seventeen), ReadStatus::Ok);
}

TEST(GlobalSettingsValues, PreparedSensorIsWrittenWithFourWideHex) {
    GlobalSettings s;
    s.resetGlobalSettings("/data");
    s.setPreST(0x00AB);
    EXPECT_EQ(s.getPair(1, 1), "0x  AB");
    s.setPreST(0xCC6A);
    EXPECT_EQ(s.preST(), 0xCC6A);
    s.setValue(0, "0x123395");
    EXPECT_EQ(s.sensor(), 0x3395);  // the low 16 bits
    s.setCurrentProfile(9);
    EXPECT_EQ(s.currentProfile(), 4);  // never an index outside the table
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir.path() / "config"); }
    void setting(const std::vector<std::string>& lines) { test::writeLines(dataPath(dir.path(), kLanguageSettingFile), lines); }
    void english(const std::vector<std::string>& lines) { test::writeLines(dataPath(dir.path(), kEnglishLanguageFile), lines); }
    void other(const std::vector<std::string>& lines) { test::writeLines(dataPath(dir.path(), kOtherLanguageFile), lines); }
    TempDir dir;
    LanguageTable table;
};

TEST_F(LanguageTest, TheCodeEnChoosesEnglishExactly) {
    english({"[Setting]", "0=English", "5=Five"});
    other({"[Setting]", "0=中文", "5=五"});
    setting({"[ChangeLanguage]", "Language=EN"});
    ASSERT_TRUE(table.loadLanguage(dir.path(), 1.5F));
    EXPECT_EQ(table.languageText(5), "Five");
    EXPECT_EQ(table.uiFontFace, "Tahoma");
    EXPECT_EQ(table.uiFontHeight, 24);
    EXPECT_EQ(table.uiFontCharset, 1);

    LanguageTable lower;
    setting({"[ChangeLanguage]", "Language=en"});
    ASSERT_TRUE(lower.loadLanguage(dir.path(), 2.0F));
    EXPECT_EQ(lower.languageText(5), "五");
    EXPECT_EQ(lower.uiFontFace, "宋体");
    EXPECT_EQ(lower.uiFontHeight, 24);
    EXPECT_EQ(lower.uiFontCharset, 134);
}

TEST_F(LanguageTest, CodeWithoutHeaderOrValue) {
    english({"[Setting]", "1=x"});
    setting({"EN"});
    EXPECT_EQ(readLanguageCode(dir.path()), "EN");
    setting({"[ChangeLanguage]", "EN"});
    EXPECT_EQ(readLanguageCode(dir.path()), "EN");
    setting({"[ChangeLanguage]", "Language="});
    EXPECT_EQ(readLanguageCode(dir.path()), "Language=");
}

TEST_F(LanguageTest, LaterLinesReplaceEarlierOnesAndOutOfRangeNumbersAreSkipped) {
    setting({"[ChangeLanguage]", "Language=EN"});
    english({"[Setting]", "3=first", "500=outside", "-1=negative", "3=second=with equals", "499=last"});
    ASSERT_TRUE(table.loadLanguage(dir.path(), 1.0F));
    EXPECT_EQ(table.languageText(3), "second=with equals");
    EXPECT_EQ(table.languageText(499), "last");
    EXPECT_EQ(table.languageText(500), "");
}

TEST_F(LanguageTest, AnEmptyTextStopsTheReadingAndKeepsTheFont) {
    setting({"[ChangeLanguage]", "Language=EN"});
    english({"[Setting]", "0=English", "1=one", "2=", "3=three"});
    EXPECT_FALSE(table.loadLanguage(dir.path(), 1.0F));
    EXPECT_EQ(table.languageText(1), "one");
    EXPECT_EQ(table.languageText(3), "");
    EXPECT_EQ(table.uiFontFace, "宋体");
    EXPECT_EQ(table.uiFontHeight, 12);
}

TEST_F(LanguageTest, MissingFilesLeaveEverythingEmpty) {
    EXPECT_FALSE(table.loadLanguage(dir.path(), 1.0F));
    EXPECT_EQ(table.languageText(0), "");
    EXPECT_EQ(table.uiFontCharset, 134);
}

}  // namespace
}  // namespace zavrin
