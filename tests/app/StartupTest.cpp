#include <gtest/gtest.h>

#include "../model/FileBytes.h"
#include "../model/TempDir.h"
#include "app/Options.h"
#include "app/Startup.h"
#include "model/DataPaths.h"

namespace zavrin {
namespace {

using test::TempDir;

TEST(UiScaleRule, FollowsTheFullScreenArea) {
    EXPECT_EQ(computeUiScale(1920, 1017), 1.0F);
    EXPECT_EQ(computeUiScale(2560, 1377), 1.5F);
    EXPECT_EQ(computeUiScale(3840, 2097), 2.0F);
    EXPECT_EQ(computeUiScale(2560, 1200), 1.0F);
    EXPECT_EQ(computeUiScale(2401, 1601), 2.0F);
    EXPECT_EQ(computeUiScale(2401, 1600), 1.5F);
    EXPECT_EQ(computeUiScale(1800, 5000), 1.0F);
    EXPECT_EQ(computeUiScale(1801, 1201), 1.5F);
    // Screens too small for the window at 1: the largest 0.05 step that fits.
    EXPECT_EQ(computeUiScale(1127, 740), 1.0F);
    EXPECT_EQ(computeUiScale(1366, 705), 0.95F);  // 1366 x 768 with a taskbar
    EXPECT_EQ(computeUiScale(1280, 657), 0.85F);  // 1280 x 720 with a taskbar
    EXPECT_EQ(computeUiScale(1024, 2000), 0.9F);
    EXPECT_EQ(computeUiScale(320, 200), 0.5F);
}

class LanguageInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(program.path() / "config");
        test::writeLines(dataPath(program.path(), kEnglishLanguageFile),
                         {"[Setting]", "0=English"});
        test::writeLines(dataPath(program.path(), kOtherLanguageFile), {"[Setting]", "0=中文"});
        prepareDataFolder(data.path() / "nested");
    }
    std::filesystem::path dataFolder() const { return data.path() / "nested"; }
    TempDir program;
    TempDir data;
};

TEST_F(LanguageInstallTest, CopiesMissingFilesAndChoosesTheLanguageByLocale) {
    installLanguageFiles(program.path(), dataFolder(), false);
    EXPECT_EQ(test::linesOf(dataPath(dataFolder(), kLanguageSettingFile)),
              (std::vector<std::string>{"[ChangeLanguage]", "Language=EN"}));
    EXPECT_EQ(test::linesOf(dataPath(dataFolder(), kOtherLanguageFile))[1], "0=中文");

    LanguageTable table;
    ASSERT_TRUE(table.loadLanguage(dataFolder(), 1.0F));
    EXPECT_EQ(table.languageText(0), "English");

    TempDir other;
    prepareDataFolder(other.path());
    installLanguageFiles(program.path(), other.path(), true);
    LanguageTable chinese;
    ASSERT_TRUE(chinese.loadLanguage(other.path(), 1.0F));
    EXPECT_EQ(chinese.uiFontFace, "宋体");
}

TEST_F(LanguageInstallTest, NeverOverwritesTheUsersFiles) {
    test::writeLines(dataPath(dataFolder(), kLanguageSettingFile),
                     {"[ChangeLanguage]", "Language=CN"});
    test::writeLines(dataPath(dataFolder(), kEnglishLanguageFile), {"[Setting]", "0=Mine"});
    installLanguageFiles(program.path(), dataFolder(), false);
    EXPECT_EQ(test::linesOf(dataPath(dataFolder(), kLanguageSettingFile))[1], "Language=CN");
    EXPECT_EQ(test::linesOf(dataPath(dataFolder(), kEnglishLanguageFile))[1], "0=Mine");
}

TEST_F(LanguageInstallTest, TheWholeStartUpNamesProfilesInTheChosenLanguage) {
    test::writeLines(dataPath(program.path(), kEnglishLanguageFile),
                     {"[Setting]", "0=English", "87=Third"});
    installLanguageFiles(program.path(), dataFolder(), false);
    AppModel model(dataFolder());
    model.load(1.0F);
    EXPECT_EQ(model.store.profiles[2].settings[0].value, "Third");
    EXPECT_TRUE(std::filesystem::exists(defaultProfilePath(dataFolder(), 4)));
}

TEST(CommandLine, AcceptsTheKnownOptions) {
    const auto r = parseOptions({"--data-dir", "/tmp/x", "--run-for", "1500", "--tray"});
    ASSERT_TRUE(r.options);
    EXPECT_EQ(r.options->dataDir, std::filesystem::path("/tmp/x"));
    EXPECT_EQ(r.options->runFor, std::chrono::milliseconds(1500));
    EXPECT_TRUE(r.options->tray);
    EXPECT_FALSE(parseOptions({}).options->tray);
}

TEST(CommandLine, RefusesUnknownOptionsAndBadValues) {
    EXPECT_FALSE(parseOptions({"--bogus"}).options);
    EXPECT_NE(parseOptions({"--bogus"}).error.find("--bogus"), std::string::npos);
    EXPECT_FALSE(parseOptions({"--data-dir"}).options);
    EXPECT_FALSE(parseOptions({"--run-for", "12ms"}).options);
    EXPECT_FALSE(parseOptions({"--run-for", "-5"}).options);
    EXPECT_FALSE(parseOptions({"stray"}).options);
}

TEST(CommandLine, ArgumentsStartAfterTheNameAndAnEmptyVectorHasNone) {
    char name[] = "zavrin";
    char tray[] = "--tray";
    char* withName[] = {name, tray, nullptr};
    EXPECT_EQ(argumentsAfterName(2, withName), std::vector<std::string>{"--tray"});
    char* empty[] = {nullptr};
    EXPECT_TRUE(argumentsAfterName(0, empty).empty());
}

}  // namespace
}  // namespace zavrin
