#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempDir.h"
#include "model/MacroLibrary.h"

namespace zavrin {
namespace {

using test::TempDir;
using Add = MacroLibrary::AddResult;

MacroLocation top(int i) { return {0, i, 0, 0}; }
MacroLocation second(int i, int j) { return {1, i, j, 0}; }
MacroLocation third(int i, int j, int k) { return {2, i, j, k}; }

std::string nameAt(const MacroLibrary& lib, const MacroLocation& l) {
    const MacroLibraryItem* item = lib.itemAt(l);
    return item ? item->name : "<free>";
}

TEST(MacroLibraryTree, NewMacrosGetIncreasingIdsAndFreshRecords) {
    MacroLibrary lib;
    const MacroLocation a = lib.addMacro(kNoLocation, "a");
    const MacroLocation b = lib.addMacro(kNoLocation, "b");
    EXPECT_EQ(a, top(0));
    EXPECT_EQ(b, top(1));
    EXPECT_EQ(lib.itemAt(b)->macro->macroKeyIndex, 2U);
    EXPECT_EQ(lib.itemAt(b)->macro->name, "b");
    EXPECT_EQ(lib.itemAt(b)->macro->loopType, 2);
    EXPECT_EQ(lib.nextMacroKeyIndex, 3U);
}

TEST(MacroLibraryTree, DeletingMovesLaterSiblingsDownWithTheirSubtrees) {
    MacroLibrary lib;
    lib.addFolder(kNoLocation, "one");
    lib.addFolder(kNoLocation, "two");
    lib.addFolder(kNoLocation, "three");
    lib.addFolder(top(2), "inner");
    lib.addMacro(second(2, 0), "deep");
    lib.addMacro(top(1), "lost");
    ASSERT_TRUE(lib.deleteItem(top(1)));
    EXPECT_EQ(nameAt(lib, top(1)), "three");
    EXPECT_EQ(nameAt(lib, third(1, 0, 0)), "deep");
    EXPECT_EQ(nameAt(lib, top(2)), "<free>");
    EXPECT_EQ(lib.itemCount(), 4);
    EXPECT_FALSE(lib.deleteItem(top(5)));
}

TEST(MacroLibraryTree, ListsHoldSixtyItemsAndFoldersOnlyTwoLevels) {
    MacroLibrary lib;
    for (int i = 0; i < 60; ++i) EXPECT_EQ(lib.addMacro(kNoLocation, "m" + std::to_string(i)).stage, 0);
    EXPECT_EQ(lib.addMacro(kNoLocation, "overflow").stage, -1);
    EXPECT_EQ(lib.nextMacroKeyIndex, 61U);  // a refused macro uses no id

    MacroLibrary folders;
    folders.addFolder(kNoLocation, "f");
    EXPECT_EQ(folders.addFolder(top(0), "g"), second(0, 0));
    EXPECT_EQ(folders.addFolder(second(0, 0), "h").stage, -1);
    EXPECT_EQ(folders.addMacro(second(0, 0), "leaf"), third(0, 0, 0));
    EXPECT_EQ(folders.addMacro(third(0, 0, 0), "below a macro").stage, -1);
}

TEST(MacroLibraryTree, NewMacroGoesIntoASelectedFolderOrTheTopLevel) {
    MacroLibrary lib;
    MacroLocation selection = kNoLocation;
    ASSERT_EQ(lib.newFolderRelativeTo(selection, "folder"), Add::Added);
    EXPECT_EQ(selection, top(0));
    ASSERT_EQ(lib.newMacroRelativeTo(selection, "inside"), Add::Added);
    EXPECT_EQ(selection, second(0, 0));
    // A macro inside a folder is selected: the next one goes to the top level.
    ASSERT_EQ(lib.newMacroRelativeTo(selection, "inside"), Add::Added);
    EXPECT_EQ(selection, top(1));
    EXPECT_EQ(lib.newMacroRelativeTo(selection, "inside"), Add::NameClash);
    EXPECT_EQ(selection, top(1));
}

TEST(MacroLibraryTree, NewFolderIsRefusedInsideASecondLevelFolder) {
    MacroLibrary lib;
    MacroLocation selection = kNoLocation;
    lib.newFolderRelativeTo(selection, "a");
    lib.newFolderRelativeTo(selection, "b");
    EXPECT_EQ(selection, second(0, 0));
    EXPECT_EQ(lib.newFolderRelativeTo(selection, "c"), Add::NotAllowed);
    EXPECT_EQ(lib.itemCount(), 2);
    ASSERT_EQ(lib.newMacroRelativeTo(selection, "m"), Add::Added);
    EXPECT_EQ(selection, third(0, 0, 0));
    EXPECT_EQ(lib.newFolderRelativeTo(selection, "d"), Add::Added);  // a macro selected: top level
    EXPECT_EQ(selection, top(1));
}

TEST(MacroLibraryTree, NamesAreUniqueOnlyAmongSiblingsAndCaseSensitive) {
    MacroLibrary lib;
    MacroLocation selection = kNoLocation;
    lib.newFolderRelativeTo(selection, "Name");
    lib.newFolderRelativeTo(selection, "sub");
    EXPECT_EQ(lib.newMacroRelativeTo(selection, "Name"), Add::Added);  // third level
    selection = kNoLocation;
    EXPECT_EQ(lib.newMacroRelativeTo(selection, "name"), Add::Added);
    EXPECT_TRUE(lib.nameExists(0, 0, 0, "Name"));
    EXPECT_TRUE(lib.nameExists(2, 0, 0, "Name"));
    EXPECT_FALSE(lib.nameExists(1, 0, 0, "Name"));
}

TEST(MacroLibraryTree, FlattenedRowsFollowOpenFolders) {
    MacroLibrary lib;
    lib.addFolder(kNoLocation, "f");
    lib.addMacro(kNoLocation, "m");
    lib.addFolder(top(0), "g");
    lib.addMacro(top(0), "x");
    lib.addMacro(second(0, 0), "y");
    EXPECT_EQ(lib.visibleRowCount(), 2);
    lib.itemAt(top(0))->isFolderOpen = 1;
    EXPECT_EQ(lib.visibleRowCount(), 4);
    lib.itemAt(second(0, 0))->isFolderOpen = 1;
    EXPECT_EQ(lib.visibleRowCount(), 5);
    EXPECT_EQ(lib.locationOfRow(2), third(0, 0, 0));
    EXPECT_EQ(lib.locationOfRow(3), second(0, 1));
    EXPECT_EQ(lib.rowOfLocation(top(1)), 4);
    EXPECT_EQ(lib.locationOfRow(5), kNoLocation);
    lib.collapseAll();
    EXPECT_EQ(lib.visibleRowCount(), 2);
    EXPECT_EQ(lib.rowOfLocation(second(0, 1)), -1);
}

TEST(MacroLibraryTree, FoldersUseTheMacrosBelowThem) {
    MacroLibrary lib;
    lib.addFolder(kNoLocation, "f");
    lib.addFolder(top(0), "g");
    lib.addMacro(second(0, 0), "deep");  // id 1
    lib.addMacro(kNoLocation, "flat");   // id 2
    EXPECT_TRUE(lib.usesMacroKeyIndex(top(0), 1));
    EXPECT_FALSE(lib.usesMacroKeyIndex(top(0), 2));
    EXPECT_TRUE(lib.usesMacroKeyIndex(top(1), 2));
    EXPECT_FALSE(lib.usesMacroKeyIndex(top(7), 2));
}

MacroLibrary sampleLibrary() {
    MacroLibrary lib;
    lib.addFolder(kNoLocation, "games");
    lib.itemAt(top(0))->isFolderOpen = 1;
    lib.addFolder(top(0), "shooter");
    const MacroLocation deep = lib.addMacro(second(0, 0), "reload");
    MacroRecord& m = *lib.itemAt(deep)->macro;
    for (std::size_t i = 0; i < kMacroActionCapacity; ++i) {
        m.insert(i, {static_cast<std::uint8_t>(i), 0x80, 0, static_cast<std::uint8_t>(255 - i)});
    }
    m.loopType = 4;
    m.loopNum = 9;
    m.commandActionNum = 200;
    lib.addMacro(top(0), "jump");
    lib.addMacro(kNoLocation, "名前 with = sign");
    return lib;
}

void expectSameTree(const MacroLibrary& a, const MacroLibrary& b) {
    ASSERT_EQ(a.itemCount(), b.itemCount());
    EXPECT_EQ(a.nextMacroKeyIndex, b.nextMacroKeyIndex);
    for (const MacroLocation& l : {top(0), top(1), second(0, 0), second(0, 1), third(0, 0, 0)}) {
        const auto* x = a.itemAt(l);
        const auto* y = b.itemAt(l);
        ASSERT_TRUE(x && y);
        EXPECT_EQ(x->name, y->name);
        EXPECT_EQ(x->isFolder, y->isFolder);
        EXPECT_EQ(x->isFolderOpen, y->isFolderOpen);
        EXPECT_EQ(x->macro, y->macro);
    }
}

TEST(MacroLibraryFile, RoundTripsTheWholeTree) {
    TempDir dir;
    const MacroLibrary lib = sampleLibrary();
    ASSERT_TRUE(lib.writeLibraryFile(dir / "lib.mlf", second(0, 1)));
    MacroLibrary back;
    ASSERT_TRUE(back.readLibraryFile(dir / "lib.mlf"));
    expectSameTree(lib, back);
    EXPECT_EQ(back.fileSelection, second(0, 1));

    const auto lines = test::linesOf(dir / "lib.mlf");
    EXPECT_EQ(lines[1], "MacroKeyIndex=4");
    EXPECT_EQ(lines[2], "Select Locaton:stage=1;stage0Index=0;stage1Index=1;stage2Index=0;");
    EXPECT_EQ(lines[3], "++++++++MacroItemName=games");
    EXPECT_EQ(lines[4], "MacroItemLocation:stage=0;stage0Index=0;stage1Index=0;stage2Index=0;");
}

TEST(MacroLibraryFile, ADamagedItemKeepsTheItemsReadBeforeIt) {
    TempDir dir;
    const MacroLibrary lib = sampleLibrary();
    auto lines = lib.libraryFileLines(kNoLocation);
    auto last = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& l) {
        return l.find("AllAction=") != std::string::npos;
    });
    last->pop_back();  // the third-level macro, written last, now has 1999 digits
    test::writeLines(dir / "lib.mlf", lines);
    MacroLibrary back;
    EXPECT_FALSE(back.readLibraryFile(dir / "lib.mlf"));
    EXPECT_EQ(back.itemCount(), 4);
    EXPECT_EQ(nameAt(back, second(0, 1)), "jump");
    EXPECT_EQ(nameAt(back, third(0, 0, 0)), "<free>");
}

TEST(MacroLibraryFile, ItemsOutsideTheListsAreSkippedAndReadingGoesOn) {
    TempDir dir;
    MacroLibrary lib;
    lib.addMacro(kNoLocation, "a");
    lib.addMacro(kNoLocation, "b");
    auto lines = lib.libraryFileLines(kNoLocation);
    lines[4] = "MacroItemLocation:stage=0;stage0Index=60;stage1Index=0;stage2Index=0;";
    test::writeLines(dir / "lib.mlf", lines);
    MacroLibrary back;
    EXPECT_TRUE(back.readLibraryFile(dir / "lib.mlf"));
    EXPECT_EQ(back.itemCount(), 1);
    EXPECT_EQ(nameAt(back, top(1)), "b");
    EXPECT_EQ(nameAt(back, top(0)), "<free>");
    EXPECT_EQ(back.addMacro(kNoLocation, "c"), top(0));  // the gap is the first free slot

    lines[4] = "MacroItemLocation:stage=0;stage0Index=-1;stage1Index=0;stage2Index=0;";
    lines[10 + 4] = "MacroItemLocation:stage=7;stage0Index=0;stage1Index=0;stage2Index=0;";
    test::writeLines(dir / "lib.mlf", lines);
    EXPECT_TRUE(back.readLibraryFile(dir / "lib.mlf"));
    EXPECT_EQ(back.itemCount(), 0);
}

TEST(MacroLibraryFile, ImpossibleActionCountsEndTheReading) {
    TempDir dir;
    MacroLibrary lib;
    lib.addMacro(kNoLocation, "a");
    auto lines = lib.libraryFileLines(kNoLocation);
    lines[10] = "MacroActionNum=251";
    test::writeLines(dir / "lib.mlf", lines);
    MacroLibrary back;
    EXPECT_FALSE(back.readLibraryFile(dir / "lib.mlf"));
    EXPECT_EQ(back.itemCount(), 0);
}

TEST(MacroLibraryFile, MissingFileLeavesTheLibraryAndABadHeaderEmptiesIt) {
    TempDir dir;
    MacroLibrary lib = sampleLibrary();
    EXPECT_FALSE(lib.readLibraryFile(dir / "missing.mlf"));
    EXPECT_EQ(lib.itemCount(), 5);
    test::writeLines(dir / "bad.mlf", {"[Macro]"});
    EXPECT_FALSE(lib.readLibraryFile(dir / "bad.mlf"));
    EXPECT_EQ(lib.itemCount(), 0);
    test::writeLines(dir / "short.mlf", {"[MacroLibrary]", "MacroKeyIndex=7", "Select Locaton:stage=-1;"});
    EXPECT_FALSE(lib.readLibraryFile(dir / "short.mlf"));
    test::writeLines(dir / "empty.mlf",
                     {"[MacroLibrary]", "MacroKeyIndex=7", "S:stage=-1;stage0Index=0;stage1Index=0;stage2Index=0;"});
    EXPECT_TRUE(lib.readLibraryFile(dir / "empty.mlf"));
    EXPECT_EQ(lib.nextMacroKeyIndex, 7U);
}

}  // namespace
}  // namespace zavrin
