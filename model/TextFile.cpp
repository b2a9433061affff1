#include "model/TextFile.h"

#include "model/FileSync.h"
#include "model/Utf8.h"

#include <array>
#include <fstream>
#include <iterator>
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
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
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

std::optional<std::vector<std::string>> readTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // Read through the stream, not straight from its buffer: a read error (the
    // path names a folder, the disk fails) then marks the stream bad instead of
    // throwing out of the reader.
    std::string bytes;
    std::array<char, 65536> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return decodeTextLines(bytes);
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

bool writeTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    const std::string bytes = encodeTextFile(lines);

    // The temporary has a fixed name beside the file, so the leftover of a writer
    // that was killed mid-save is simply overwritten by the next save instead of
    // piling up.
    std::filesystem::path temp = path;
    temp += ".tmp";
    std::error_code error;
    if (!writeFileToDisk(temp, bytes)) {
        std::filesystem::remove(temp, error);
        return false;
    }
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    syncFolder(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."));
    return true;
}

std::optional<KeyValue> splitAtEquals(std::string_view line, std::size_t minKeyLength,
                                      bool valueRequired) {
    const std::size_t at = line.find('=');
    if (at == std::string_view::npos || at < minKeyLength) return std::nullopt;
    if (valueRequired && at + 1 >= line.size()) return std::nullopt;
    return KeyValue{line.substr(0, at), line.substr(at + 1)};
}

}  // namespace zavrin
