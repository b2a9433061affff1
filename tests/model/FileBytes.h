#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/TextFile.h"

namespace zavrin::test {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// UTF-16LE bytes of a UTF-8 text, without a mark.
inline std::string utf16le(const std::string& utf8) {
    std::string bytes;
    for (char16_t unit : toUtf16(utf8)) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// A data file whose lines are joined by `ending` exactly as given.
inline void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                       const std::string& ending = "\n") {
    std::string text;
    for (const auto& line : lines) text += line + ending;
    writeBytes(path, "\xFF\xFE" + utf16le(text));
}

inline std::vector<std::string> linesOf(const std::filesystem::path& path) {
    return readTextFile(path).value_or(std::vector<std::string>{});
}

}  // namespace zavrin::test
