#include "model/TextFile.h"

#include "model/FileSync.h"
#include "model/Utf16.h"
#include "model/Utf8.h"

#include <exception>
#include <system_error>

namespace zavrin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}


}  // namespace

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (isHighSurrogate(unit) && i + 1 < utf16.size() && isLowSurrogate(utf16[i + 1])) {
            appendUtf8(out, joinSurrogates(unit, utf16[i + 1]));
            ++i;
        } else if (isSurrogate(unit)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) appendUtf16(out, decodeUtf8(utf8, i));
    return out;
}

TextFileRead readDataFile(const std::filesystem::path& path) {
    TextFileRead result;
    try {
        std::string bytes;
        const std::error_code error = readFileFromDisk(path, bytes);
        if (error) {
            result.read.problem = problemOf(path, error);
            result.read.status = result.read.problem.error == FileError::NotFound ? ReadStatus::Missing
                                                                                  : ReadStatus::Unreadable;
            return result;
        }
        result.lines = decodeTextLines(bytes);
    } catch (const std::exception& e) {
        // Memory for an absurdly large file, a path the system cannot convert:
        // still only a file that could not be read.
        result.lines.clear();
        result.read = FileRead{ReadStatus::Unreadable, FileProblem{path, FileError::Other, e.what()}};
    }
    return result;
}

std::optional<std::vector<std::string>> readTextFile(const std::filesystem::path& path) {
    TextFileRead file = readDataFile(path);
    if (!file.read.ok()) return std::nullopt;
    return std::move(file.lines);
}

std::vector<std::string> decodeTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::u16string line;
    std::string ascii;
    bool onlyAscii = true;
    const auto endLine = [&] {
        lines.push_back(onlyAscii ? std::move(ascii) : toUtf8(line));
        line.clear();
        ascii.clear();
        onlyAscii = true;
    };
    // The first two bytes are the byte-order mark, whatever they hold; an odd
    // trailing byte cannot form a character and is dropped. Lines of plain ASCII,
    // nearly all of them, skip the general conversion.
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                    (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (unit == u'\n') {
            endLine();
            continue;
        }
        line.push_back(unit);
        if (unit < 0x80) {
            ascii.push_back(static_cast<char>(unit));
        } else {
            onlyAscii = false;
        }
    }
    if (!line.empty()) endLine();
    return lines;
}

std::string encodeTextFile(const std::vector<std::string>& lines) {
    std::string bytes = "\xFF\xFE";
    for (const std::string& line : lines) {
        for (char16_t unit : toUtf16(line)) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        bytes.append("\n\0", 2);
    }
    return bytes;
}

FileProblem writeDataFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    try {
        const std::string bytes = encodeTextFile(lines);

        // The temporary has a fixed name beside the file, so the leftover of a writer
        // that was killed mid-save is simply overwritten by the next save instead of
        // piling up.
        std::filesystem::path temp = path;
        temp += ".tmp";
        std::error_code ignored;
        if (const std::error_code error = writeFileToDisk(temp, bytes)) {
            std::filesystem::remove(temp, ignored);
            return problemOf(path, error);
        }
        std::error_code error;
        std::filesystem::rename(temp, path, error);
        if (error) {
            std::filesystem::remove(temp, ignored);
            FileProblem problem = problemOf(path, error);
            // Windows says only "access denied" when a folder is in the way.
            if (std::filesystem::is_directory(path, ignored)) problem.error = FileError::IsFolder;
            return problem;
        }
        syncFolder(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."));
        return {};
    } catch (const std::exception& e) {
        return FileProblem{path, FileError::Other, e.what()};
    }
}

bool writeTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    return !writeDataFile(path, lines);
}

std::optional<KeyValue> splitAtEquals(std::string_view line, std::size_t minKeyLength,
                                      bool valueRequired) {
    const std::size_t at = line.find('=');
    if (at == std::string_view::npos || at < minKeyLength) return std::nullopt;
    if (valueRequired && at + 1 >= line.size()) return std::nullopt;
    return KeyValue{line.substr(0, at), line.substr(at + 1)};
}

}  // namespace zavrin
