#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempDir.h"
#include "macros/MacroImport.h"

namespace zavrin::test {
namespace {

MacroLocation at(int stage, int s0, int s1 = 0, int s2 = 0) {
    return MacroLocation{stage, s0, s1, s2};
}

class Imports : public ::testing::Test {
protected:
    // A folder "F" with macros "a" and "b", then a top-level macro "c"; ids in tree order.
    void Fill(MacroLibrary& library) {
        const MacroLocation folder = library.addFolder(kNoLocation, "F");
        for (const char* name : {"a", "b"}) {
            MacroRecord& m = *library.itemAt(library.addMacro(folder, name))->macro;
            m.insert(0, MacroAction{0x41, 0x00, 0, 0});
            m.insert(1, makeDelay(250));
            m.insert(2, MacroAction{0x41, 0x80, 0, 0});
            m.commandActionNum = 2;
            m.loopType = 4;
            m.loopNum = 9;
        }
        library.addMacro(kNoLocation, "c");
    }

    TempDir dir;
    MacroLibrary source;
    MacroLibrary target;
    MacroLibrary scratch;
    MacroLocation selection;
};

TEST_F(Imports, AnExportedMacroComesBackWithItsActionsAndANewId) {
    Fill(source);
    const auto file = dir / "a.mkf";
    ASSERT_TRUE(source.writeLibraryFile(file, at(1, 0, 0)));
    target.addMacro(kNoLocation, "other");

    EXPECT_EQ(importMacroFile(target, scratch, file, selection), ImportOutcome::Imported);
    EXPECT_EQ(selection, at(0, 1));
    const MacroRecord& copy = *target.itemAt(selection)->macro;
    MacroRecord expected = *source.itemAt(at(1, 0, 0))->macro;
    EXPECT_EQ(copy.macroKeyIndex, 2u) << "the next id of the receiving library";
    expected.macroKeyIndex = copy.macroKeyIndex;
    EXPECT_EQ(copy, expected);
    EXPECT_EQ(scratch.itemCount(), 0);

    // The same file again, into the same place: the name is taken.
    selection = kNoLocation;
    EXPECT_EQ(importMacroFile(target, scratch, file, selection), ImportOutcome::NameClash);
    EXPECT_EQ(target.itemCount(), 2);
}

TEST_F(Imports, AMacroGoesIntoASelectedFolderAndOpensIt) {
    Fill(source);
    const auto file = dir / "c.mkf";
    ASSERT_TRUE(source.writeLibraryFile(file, at(0, 1)));
    selection = target.addFolder(kNoLocation, "G");
    EXPECT_EQ(importMacroFile(target, scratch, file, selection), ImportOutcome::Imported);
    EXPECT_EQ(selection, at(1, 0, 0));
    EXPECT_EQ(target.itemAt(at(0, 0))->isFolderOpen, 1);
}

TEST_F(Imports, FilesThatNameNoMacroAreRefusedAndChangeNothing) {
    Fill(source);
    target.addMacro(kNoLocation, "keep");
    const MacroLibrary before = target;
    const auto folder = dir / "folder.mkf";
    const auto none = dir / "none.mkf";
    const auto outside = dir / "outside.mkf";
    ASSERT_TRUE(source.writeLibraryFile(folder, at(0, 0)));
    ASSERT_TRUE(source.writeLibraryFile(none, kNoLocation));
    ASSERT_TRUE(source.writeLibraryFile(outside, at(2, 59, 59, 59)));
    for (const auto& file : {folder, none, outside}) {
        EXPECT_EQ(importMacroFile(target, scratch, file, selection), ImportOutcome::NothingToImport)
            << file;
    }
    EXPECT_EQ(importMacroFile(target, scratch, dir / "missing.mkf", selection),
              ImportOutcome::Unreadable);

    // A damaged file is refused whole, not imported up to the damage.
    std::string bytes = readBytes(none);
    writeBytes(dir / "damaged.mbf", bytes.substr(0, bytes.size() - 40));
    EXPECT_EQ(importLibraryFile(target, scratch, dir / "damaged.mbf", selection),
              ImportOutcome::Unreadable);
    EXPECT_EQ(importLibraryFile(target, scratch, outside, selection),
              ImportOutcome::NothingToImport);
    EXPECT_EQ(target.libraryFileLines(kNoLocation), before.libraryFileLines(kNoLocation));
    EXPECT_EQ(scratch.itemCount(), 0);
}

TEST_F(Imports, AWholeLibraryReimportedIntoAnEmptyOneGivesTheSameFile) {
    Fill(source);
    const auto exported = dir / "AllMacroKey.mbf";
    ASSERT_TRUE(source.writeLibraryFile(exported, kNoLocation));
    EXPECT_EQ(importLibraryFile(target, scratch, exported, selection), ImportOutcome::Imported);
    target.collapseAll();
    ASSERT_TRUE(source.writeLibraryFile(dir / "source.mlf", kNoLocation));
    ASSERT_TRUE(target.writeLibraryFile(dir / "target.mlf", kNoLocation));
    EXPECT_EQ(readBytes(dir / "target.mlf"), readBytes(dir / "source.mlf"));
}

TEST_F(Imports, ALibraryImportWithAnyNameTakenAddsNothing) {
    Fill(source);
    const auto exported = dir / "all.mbf";
    ASSERT_TRUE(source.writeLibraryFile(exported, kNoLocation));
    target.addMacro(kNoLocation, "c");
    EXPECT_EQ(importLibraryFile(target, scratch, exported, selection), ImportOutcome::NameClash);
    EXPECT_EQ(target.itemCount(), 1);
    EXPECT_EQ(target.nextMacroKeyIndex, 2u);
}

TEST_F(Imports, AFolderTooDeepForFoldersGivesItsMacros) {
    Fill(source);
    const auto exported = dir / "all.mbf";
    ASSERT_TRUE(source.writeLibraryFile(exported, kNoLocation));
    const MacroLocation top = target.addFolder(kNoLocation, "T");
    selection = target.addFolder(top, "U");
    EXPECT_EQ(importLibraryFile(target, scratch, exported, selection), ImportOutcome::Imported);
    // Folder F cannot live inside U (level 1), so a, b and c all land in U.
    ASSERT_EQ(target.itemCount(), 5);
    EXPECT_EQ(target.itemAt(at(2, 0, 0, 0))->name, "a");
    EXPECT_EQ(target.itemAt(at(2, 0, 0, 2))->name, "c");
    EXPECT_EQ(target.itemAt(at(1, 0, 0))->isFolderOpen, 1);
}

TEST_F(Imports, ALibraryFileNamingAMacroBringsThatMacro) {
    Fill(source);
    const auto exported = dir / "b.mbf";
    ASSERT_TRUE(source.writeLibraryFile(exported, at(1, 0, 1)));
    EXPECT_EQ(importLibraryFile(target, scratch, exported, selection), ImportOutcome::Imported);
    ASSERT_EQ(target.itemCount(), 1);
    EXPECT_EQ(target.itemAt(at(0, 0))->name, "b");
}

}  // namespace
}  // namespace zavrin::test
