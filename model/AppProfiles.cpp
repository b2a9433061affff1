#include "model/AppProfiles.h"

#include <algorithm>

#include "model/DataPaths.h"
#include "model/TextFile.h"

namespace zavrin {

namespace {

constexpr std::string_view kHeader = "[AppProfiles]";
constexpr std::string_view kPausedKey = "Paused";
constexpr std::string_view kSlotKey = "Slot";
constexpr std::string_view kFile = "config\\AppProfiles.ini";

char fold(char c, ProgramCase mode) {
    // ASCII only: non-ASCII letters in paths are compared as they stand.
    if (mode == ProgramCase::Insensitive && c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

bool same(std::string_view a, std::string_view b, ProgramCase mode) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [mode](char x, char y) { return fold(x, mode) == fold(y, mode); });
}

bool hasSeparator(std::string_view program) { return program.find_first_of("/\\") != std::string_view::npos; }

}  // namespace

std::string programFileName(std::string_view program) {
    const std::size_t cut = program.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? program : program.substr(cut + 1));
}

std::filesystem::path appProfilesPath(const std::filesystem::path& dataFolder) { return dataPath(dataFolder, kFile); }

AppProfiles::ReadResult AppProfiles::read(const std::filesystem::path& file) {
    const auto lines = readTextFile(file);
    if (!lines) {
        rules_.clear();
        paused = false;
        return ReadResult::Missing;
    }
    return readLines(*lines);
}

AppProfiles::ReadResult AppProfiles::readLines(const std::vector<std::string>& lines) {
    rules_.clear();
    paused = false;
    if (lines.empty() || lines[0] != kHeader) return lines.empty() ? ReadResult::Ok : ReadResult::Damaged;
    bool damaged = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto kv = splitAtEquals(lines[i], 1, true);
        if (kv && kv->key == kPausedKey && (kv->value == "0" || kv->value == "1")) {
            paused = kv->value == "1";
            continue;
        }
        const bool slotLine = kv && kv->key.size() == kSlotKey.size() + 1 && kv->key.starts_with(kSlotKey) &&
                              kv->key.back() >= '1' && kv->key.back() <= '0' + kSlotCount;
        // A second rule for the same program could never apply: the first wins. A
        // CR is a sign of a file saved with other line ends.
        if (!slotLine || kv->value.find('\r') != std::string_view::npos || std::any_of(rules_.begin(), rules_.end(), [&](const AppProfileRule& r) {
                return same(r.program, kv->value, kSystemProgramCase);
            })) {
            damaged = true;
            continue;
        }
        rules_.push_back(AppProfileRule{std::string(kv->value), kv->key.back() - '1'});
    }
    return damaged ? ReadResult::Damaged : ReadResult::Ok;
}

std::vector<std::string> AppProfiles::fileLines() const {
    std::vector<std::string> lines;
    lines.reserve(rules_.size() + 2);
    lines.emplace_back(kHeader);
    lines.push_back(std::string(kPausedKey) + (paused ? "=1" : "=0"));
    for (const AppProfileRule& rule : rules_)
        lines.push_back(std::string(kSlotKey) + static_cast<char>('1' + rule.slot) + "=" + rule.program);
    return lines;
}

bool AppProfiles::write(const std::filesystem::path& file) const {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    return writeTextFile(file, fileLines());
}

bool AppProfiles::add(std::string_view program, int slot, ProgramCase c) {
    // A line break in the program would split the rule's line in the file.
    if (program.empty() || slot < 0 || slot >= kSlotCount || program.find_first_of("\r\n") != std::string_view::npos)
        return false;
    for (AppProfileRule& rule : rules_) {
        if (same(rule.program, program, c)) {
            rule.slot = slot;
            return true;
        }
    }
    rules_.push_back(AppProfileRule{std::string(program), slot});
    return true;
}

bool AppProfiles::remove(std::string_view program, ProgramCase c) {
    const auto it = std::find_if(rules_.begin(), rules_.end(),
                                 [&](const AppProfileRule& r) { return same(r.program, program, c); });
    if (it == rules_.end()) return false;
    rules_.erase(it);
    return true;
}

const AppProfileRule* AppProfiles::match(const FrontProgram& program, ProgramCase c) const {
    if (!program.path.empty()) {
        for (const AppProfileRule& rule : rules_)
            if (hasSeparator(rule.program) && same(rule.program, program.path, c)) return &rule;
    }
    const std::string name = program.name.empty() ? programFileName(program.path) : program.name;
    if (name.empty()) return nullptr;
    for (const AppProfileRule& rule : rules_)
        if (!hasSeparator(rule.program) && same(rule.program, name, c)) return &rule;
    return nullptr;
}

}  // namespace zavrin
