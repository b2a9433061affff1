#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempDir.h"
#include "model/TextFields.h"
#include "model/TextFile.h"
#include "model/Utf8.h"

namespace zavrin {
namespace {

using test::TempDir;

TEST(TextFileReading, SkipsTheFirstTwoBytesWhateverTheyHold) {
    TempDir dir;
    test::writeBytes(dir / "a.txt", "XY" + test::utf16le("first\nsecond\n"));
    const auto lines = readTextFile(dir / "a.txt");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{"first", "second"}));
}

TEST(TextFileReading, KeepsCarriageReturnsAndTheUnterminatedLastLine) {
    TempDir dir;
    test::writeBytes(dir / "a.txt", "\xFF\xFE" + test::utf16le("one\r\n\ntwo"));
    EXPECT_EQ(*readTextFile(dir / "a.txt"), (std::vector<std::string>{"one\r", "", "two"}));
}

TEST(TextFileReading, MissingFileIsNotAnEmptyFile) {
    TempDir dir;
    EXPECT_FALSE(readTextFile(dir / "missing.txt"));
    test::writeBytes(dir / "empty.txt", "");
    ASSERT_TRUE(readTextFile(dir / "empty.txt"));
    EXPECT_TRUE(readTextFile(dir / "empty.txt")->empty());
}

// Found by fuzzing zavrinctl: "apply /" threw out of the reader and ended the program.
TEST(TextFileReading, AFolderIsRefusedNotThrown) {
    TempDir dir;
    EXPECT_FALSE(readTextFile(dir.path()));
}

TEST(TextFileReading, DamagedUnicodeBecomesReplacementCharacters) {
    TempDir dir;
    // A lone high surrogate followed by "A", and an odd trailing byte.
    test::writeBytes(dir / "a.txt", std::string("\xFF\xFE\x00\xD8\x41\x00\x42", 7));
    EXPECT_EQ(*readTextFile(dir / "a.txt"), (std::vector<std::string>{"\xEF\xBF\xBD" "A"}));
}

TEST(TextFileWriting, WritesMarkUtf16AndLineFeedsAndRoundTripsAnyText) {
    TempDir dir;
    const std::vector<std::string> lines = {"[Setting]", "名前=中文", "emoji=\xF0\x9F\x98\x80", ""};
    ASSERT_TRUE(writeTextFile(dir / "a.txt", lines));
    EXPECT_EQ(test::readBytes(dir / "a.txt").substr(0, 6), std::string("\xFF\xFE[\0S\0", 6));
    EXPECT_EQ(*readTextFile(dir / "a.txt"), lines);
}

TEST(TextFileWriting, AFailedSaveLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    ASSERT_TRUE(writeTextFile(dir / "keep.txt", {"old"}));
    // A folder in the way of the rename makes the save fail after the temporary was written.
    std::filesystem::create_directory(dir / "blocked.txt");
    std::filesystem::create_directory(dir / "blocked.txt" / "inside");
    EXPECT_FALSE(writeTextFile(dir / "blocked.txt", {"new"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked.txt" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(dir / "blocked.txt.tmp"));
    EXPECT_FALSE(writeTextFile(dir / "no-such-folder" / "x.txt", {"new"}));

    ASSERT_TRUE(writeTextFile(dir / "keep.txt", {"new"}));
    EXPECT_EQ(*readTextFile(dir / "keep.txt"), std::vector<std::string>{"new"});
    EXPECT_FALSE(std::filesystem::exists(dir / "keep.txt.tmp"));
}

TEST(Utf8, RoundTripsEveryWidthAndReplacesWhatIsMalformed) {
    const std::u32string text = U"a\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(utf8ToCodePoints(codePointsToUtf8(text)), text);
    // A stray continuation byte, a lead cut short by the end, a lead followed by
    // ASCII, and an encoded surrogate: each becomes U+FFFD, and what follows
    // is still read.
    EXPECT_EQ(utf8ToCodePoints("\x80x"), U"\uFFFDx");
    EXPECT_EQ(utf8ToCodePoints("x\xE4\xB8"), U"x\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToCodePoints("\xC3" "A"), U"\uFFFDA");
    EXPECT_EQ(utf8ToCodePoints("\xED\xA0\x80"), U"\uFFFD");
}

TEST(KeyValueSplit, SplitsAtTheFirstEqualsWithTheGivenRules) {
    const auto kv = splitAtEquals("a=b=c");
    ASSERT_TRUE(kv);
    EXPECT_EQ(kv->key, "a");
    EXPECT_EQ(kv->value, "b=c");
    EXPECT_FALSE(splitAtEquals("=value"));
    EXPECT_TRUE(splitAtEquals("=value", 0));
    EXPECT_FALSE(splitAtEquals("novalue"));
    EXPECT_TRUE(splitAtEquals("key="));
    EXPECT_FALSE(splitAtEquals("key=", 1, true));
}

TEST(TextFieldConversion, ConvertsAsFarAsTheDigitsGo) {
    EXPECT_EQ(hexByteAt("0A1F", 2), 0x1F);
    EXPECT_EQ(hexByteAt("0A1", 2), 0x01);
    EXPECT_EQ(hexByteAt("0A", 2), 0);  // a field beyond the end converts as 0
    EXPECT_EQ(hexByteAt("3G", 0), 3);
    EXPECT_EQ(hexByteAt("ZZ", 0), 0);
    EXPECT_EQ(parseHex("0x3311"), 0x3311U);
    EXPECT_EQ(parseHex(" 0XCCEE"), 0xCCEEU);
    EXPECT_EQ(parseDecimal(" 12abc"), 12);
    EXPECT_EQ(parseDecimal("-3"), -3);
    EXPECT_EQ(parseDecimal(""), 0);
    EXPECT_EQ(parseUnsignedDecimal("99999999999999999999999"), std::numeric_limits<unsigned long>::max());
    std::string out;
    appendColorRgb(out, 0x00123456);
    EXPECT_EQ(out, "563412");
    EXPECT_EQ(colorFromRgbAt("563412", 0), 0x00123456U);
}

}  // namespace
}  // namespace zavrin
