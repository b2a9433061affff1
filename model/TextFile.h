#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/FileResult.h"

namespace zavrin {

// The one reader and writer of the program's data files (config.ini, profile
// files, the macro library, language files). They are UTF-16LE text with the
// byte-order mark FF FE and a single LF after every line; inside the program text
// is UTF-8.

std::string toUtf8(std::u16string_view utf16);
std::u16string toUtf16(std::string_view utf8);

// The lines of a data file, or why there are none: status Ok, Missing or
// Unreadable (a file's content is judged by its own reader).
struct TextFileRead {
    FileRead read;
    std::vector<std::string> lines;
};

// Reads a whole data file. The first two bytes are skipped as the byte-order mark
// whatever they hold; lines are split at LF and a CR stays part of its line. Text
// after the last LF counts as a final line when it is not empty. Never throws: a
// folder or anything else in the file's place is an unreadable file.
TextFileRead readDataFile(const std::filesystem::path& path);
// The same, nullopt for a file that is missing or cannot be read.
std::optional<std::vector<std::string>> readTextFile(const std::filesystem::path& path);
// The same for bytes already in memory.
std::vector<std::string> decodeTextLines(std::string_view bytes);

// Writes the mark and every line followed by LF. The text goes to a temporary file
// in the same folder that is then renamed over `path`, so a crash or a full disk
// never leaves a truncated file where the user's data was: on failure the old file
// stays as it was. Returns what went wrong, or an empty problem; never throws.
FileProblem writeDataFile(const std::filesystem::path& path, const std::vector<std::string>& lines);
// The same, true when the file was written.
bool writeTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines);
// The bytes writeTextFile puts in the file.
std::string encodeTextFile(const std::vector<std::string>& lines);

// A line split at its first "=".
struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// Splits `line` at its first "=". Fails when there is no "=", when fewer than
// `minKeyLength` characters stand before it, or when `valueRequired` and nothing
// follows it.
std::optional<KeyValue> splitAtEquals(std::string_view line, std::size_t minKeyLength = 1,
                                      bool valueRequired = false);

// Walks the lines of a file in order, for the positional readers.
class LineCursor {
public:
    explicit LineCursor(const std::vector<std::string>& lines) : lines_(lines) {}

    // The next line, or nullptr at the end of the file.
    const std::string* next() { return pos_ < lines_.size() ? &lines_[pos_++] : nullptr; }
    bool atEnd() const { return pos_ >= lines_.size(); }

private:
    const std::vector<std::string>& lines_;
    std::size_t pos_ = 0;
};

}  // namespace zavrin
