#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempDir.h"
#include "model/AppProfiles.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

TEST(AppProfilesFile, RoundTripsByteForByteInTheDataFilesEncoding) {
    test::TempDir dir;
    const auto file = appProfilesPath(dir.path());
    AppProfiles rules;
    rules.paused = true;
    ASSERT_TRUE(rules.add("/usr/games/Quake Arena/quake=3", 2));
    ASSERT_TRUE(rules.add("汉字.exe", 4));
    ASSERT_TRUE(rules.write(file));
    const std::string bytes = test::readBytes(file);
    EXPECT_EQ(bytes, encodeTextFile({"[AppProfiles]", "Paused=1", "Slot3=/usr/games/Quake Arena/quake=3",
                                     "Slot5=汉字.exe"}));
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));

    AppProfiles again;
    EXPECT_EQ(again.read(file), AppProfiles::ReadResult::Ok);
    EXPECT_EQ(again.rules(), rules.rules());
    EXPECT_TRUE(again.paused);
    ASSERT_TRUE(again.write(file));
    EXPECT_EQ(test::readBytes(file), bytes);
}

TEST(AppProfilesFile, DamagedLinesAreSkippedAndTheRestKept) {
    AppProfiles rules;
    EXPECT_EQ(rules.readLines({"[AppProfiles]", "Paused=yes", "Slot0=/bin/a", "Slot6=/bin/b", "Slot2=",
                               "garbage", "Slot2=/bin/x\r", "Slot2=/bin/c", "Slot1=/bin/d", "Slot4=/bin/d", "Slot11=/bin/e"}),
              AppProfiles::ReadResult::Damaged);
    ASSERT_EQ(rules.rules().size(), 2u);
    EXPECT_EQ(rules.rules()[0], (AppProfileRule{"/bin/c", 1}));
    EXPECT_EQ(rules.rules()[1], (AppProfileRule{"/bin/d", 0}));  // the first rule for a program wins
    EXPECT_FALSE(rules.paused);

    EXPECT_EQ(rules.readLines({"[Setting]", "Slot1=/bin/a"}), AppProfiles::ReadResult::Damaged);
    EXPECT_TRUE(rules.rules().empty());
    test::TempDir dir;
    EXPECT_EQ(rules.read(dir / "none.ini"), AppProfiles::ReadResult::Missing);
}

TEST(AppProfilesRules, FullPathBeatsFileNameAndAddMovesAnExistingRule) {
    AppProfiles rules;
    rules.add("game.exe", 1, ProgramCase::Insensitive);
    rules.add("C:\\Games\\Game.exe", 3, ProgramCase::Insensitive);
    const FrontProgram game{"c:\\games\\GAME.EXE", "GAME.EXE"};
    ASSERT_NE(rules.match(game, ProgramCase::Insensitive), nullptr);
    EXPECT_EQ(rules.match(game, ProgramCase::Insensitive)->slot, 3);
    EXPECT_EQ(rules.match(FrontProgram{"D:\\other\\game.exe", "game.exe"}, ProgramCase::Insensitive)->slot, 1);
    EXPECT_EQ(rules.match(FrontProgram{"/opt/Game.exe", ""}, ProgramCase::Sensitive), nullptr);
    EXPECT_EQ(rules.match(FrontProgram{}, ProgramCase::Insensitive), nullptr);
    // WM_CLASS gives a name without a path.
    EXPECT_EQ(rules.match(FrontProgram{"", "game.exe"}, ProgramCase::Sensitive)->slot, 1);

    EXPECT_TRUE(rules.add("GAME.exe", 4, ProgramCase::Insensitive));
    EXPECT_EQ(rules.rules().size(), 2u);
    EXPECT_EQ(rules.rules()[0].slot, 4);
    EXPECT_FALSE(rules.add("x", 5));
    EXPECT_FALSE(rules.add("", 0));
    EXPECT_FALSE(rules.add("a\nSlot1=b", 0));
    EXPECT_TRUE(rules.remove("c:\\games\\game.exe", ProgramCase::Insensitive));
    EXPECT_FALSE(rules.remove("c:\\games\\game.exe", ProgramCase::Insensitive));
}

}  // namespace
}  // namespace zavrin
