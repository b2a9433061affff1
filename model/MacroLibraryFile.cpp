#include <optional>

#include "model/MacroLibrary.h"
#include "model/TextFields.h"
#include "model/TextFile.h"

// The macro library file: a header, the next id, the selection, then every item
// with its own location, top level first, then the second and third levels.

namespace zavrin {
namespace {

constexpr std::string_view kHeader = "[MacroLibrary]";

std::string locationText(const MacroLocation& l) {
    return "stage=" + decimal(l.stage) + ";stage0Index=" + decimal(l.stage0Index) +
           ";stage1Index=" + decimal(l.stage1Index) + ";stage2Index=" + decimal(l.stage2Index) + ";";
}

// The four numbers of a location line, each between an "=" and the next ";".
std::optional<MacroLocation> parseLocation(std::string_view line) {
    int numbers[4] = {};
    std::size_t pos = 0;
    for (int& n : numbers) {
        const std::size_t equals = line.find('=', pos);
        if (equals == std::string_view::npos) return std::nullopt;
        const std::size_t semicolon = line.find(';', equals + 1);
        if (semicolon == std::string_view::npos) return std::nullopt;
        n = static_cast<int>(parseDecimal(line.substr(equals + 1, semicolon - equals - 1)));
        pos = semicolon + 1;
    }
    return MacroLocation{numbers[0], numbers[1], numbers[2], numbers[3]};
}

void appendItemLines(std::vector<std::string>& lines, const MacroLibraryItem& item, const MacroLocation& location) {
    const std::string tabs(static_cast<std::size_t>(location.stage), '\t');
    lines.push_back(tabs + "++++++++MacroItemName=" + item.name);
    lines.push_back(tabs + "MacroItemLocation:" + locationText(location));
    lines.push_back(tabs + "MacroItemIsFolder=" + decimal(item.isFolder));
    lines.push_back(tabs + "MacroItemFolderIsOpen=" + decimal(item.isFolderOpen));
    if (item.isFolder || !item.macro) return;
    const MacroRecord& m = *item.macro;
    lines.push_back(tabs + "MacroKeyIndex=" + decimal(m.macroKeyIndex));
    lines.push_back(tabs + "MacroKeyLoopType=" + decimal(m.loopType));
    lines.push_back(tabs + "MacroKeyLoopNum=" + decimal(m.loopNum));
    lines.push_back(tabs + "MacroActionNum=" + decimal(m.actionNum));
    lines.push_back(tabs + "MacroCommandActionNum=" + decimal(m.commandActionNum));
    std::string all = tabs + "AllAction=";
    appendActionsHex(all, m);
    lines.push_back(std::move(all));
}

// Reads one line that must hold "=" with at least one character after it.
std::optional<std::string_view> valueOf(LineCursor& in) {
    const std::string* line = in.next();
    if (line == nullptr) return std::nullopt;
    const auto kv = splitAtEquals(*line, 0, true);
    if (!kv) return std::nullopt;
    return kv->value;
}

std::optional<unsigned long> numberOf(LineCursor& in) {
    const auto v = valueOf(in);
    if (!v) return std::nullopt;
    return parseUnsignedDecimal(*v);
}

std::optional<MacroLocation> locationOf(LineCursor& in) {
    const std::string* line = in.next();
    if (line == nullptr) return std::nullopt;
    return parseLocation(*line);
}

std::optional<MacroRecord> readMacroFields(LineCursor& in, const std::string& name) {
    MacroRecord m;
    m.name = name;
    const auto id = numberOf(in);
    const auto loopType = id ? numberOf(in) : std::nullopt;
    const auto loopNum = loopType ? numberOf(in) : std::nullopt;
    const auto actionNum = loopNum ? numberOf(in) : std::nullopt;
    const auto commandNum = actionNum ? numberOf(in) : std::nullopt;
    const auto all = commandNum ? valueOf(in) : std::nullopt;
    // A count beyond the array would make later uses read past the actions.
    if (!all || *actionNum > kMacroActionCapacity || !actionsFromHex(*all, m)) return std::nullopt;
    m.macroKeyIndex = static_cast<std::uint32_t>(*id);
    m.loopType = static_cast<std::uint8_t>(*loopType);
    m.loopNum = static_cast<std::uint8_t>(*loopNum);
    m.actionNum = static_cast<std::uint32_t>(*actionNum);
    m.commandActionNum = static_cast<std::uint8_t>(*commandNum);
    return m;
}

}  // namespace

std::vector<std::string> MacroLibrary::libraryFileLines(const MacroLocation& selectLocation) const {
    std::vector<std::string> lines;
    lines.emplace_back(kHeader);
    lines.push_back("MacroKeyIndex=" + decimal(nextMacroKeyIndex));
    lines.push_back("Select Locaton:" + locationText(selectLocation));
    for (int level = 0; level < 3; ++level) {
        for (std::size_t i = 0; i < stage0_.size(); ++i) {
            const MacroLibraryItem& top = stage0_[i];
            if (top.name.empty()) continue;
            const MacroLocation topLocation{0, static_cast<int>(i), 0, 0};
            if (level == 0) {
                appendItemLines(lines, top, topLocation);
                continue;
            }
            for (std::size_t j = 0; j < top.children.size(); ++j) {
                const MacroLibraryItem& child = top.children[j];
                if (child.name.empty()) continue;
                const MacroLocation childLocation{1, static_cast<int>(i), static_cast<int>(j), 0};
                if (level == 1) {
                    appendItemLines(lines, child, childLocation);
                    continue;
                }
                for (std::size_t k = 0; k < child.children.size(); ++k) {
                    if (child.children[k].name.empty()) continue;
                    appendItemLines(lines, child.children[k],
                                    {2, static_cast<int>(i), static_cast<int>(j), static_cast<int>(k)});
                }
            }
        }
    }
    return lines;
}

bool MacroLibrary::writeLibraryFile(const std::filesystem::path& path, const MacroLocation& selectLocation) const {
    return !writeLibrary(path, selectLocation);
}

FileProblem MacroLibrary::writeLibrary(const std::filesystem::path& path, const MacroLocation& selectLocation) const {
    if (!heldBack_.empty() && path.lexically_normal() == heldBack_.lexically_normal()) {
        return FileProblem{path, FileError::HeldBack, {}};
    }
    return writeDataFile(path, libraryFileLines(selectLocation));
}

bool MacroLibrary::readLibraryLines(const std::vector<std::string>& lines) {
    clear();
    LineCursor in(lines);
    const std::string* header = in.next();
    if (header == nullptr || *header != kHeader) return false;
    const auto next = numberOf(in);
    if (!next) return false;
    nextMacroKeyIndex = static_cast<std::uint32_t>(*next);
    const auto selection = locationOf(in);
    if (!selection) return false;
    fileSelection = *selection;

    while (!in.atEnd()) {
        const auto nameValue = valueOf(in);
        if (!nameValue) return false;
        const std::string name(*nameValue);
        const auto location = locationOf(in);
        const auto isFolder = location ? numberOf(in) : std::nullopt;
        const auto isOpen = isFolder ? numberOf(in) : std::nullopt;
        if (!isOpen) return false;
        if (*isFolder != 0) {
            // Items at impossible places (a stage other than 0..2, an index outside
            // a list, a missing parent) are skipped; the rest of the file still loads.
            placeFolder(*location, name, *isOpen != 0);
            continue;
        }
        const auto macro = readMacroFields(in, name);
        if (!macro) return false;
        placeMacro(*location, name, *macro);
    }
    return true;
}

bool MacroLibrary::readLibraryFile(const std::filesystem::path& path) {
    return readLibrary(path).ok();
}

FileRead MacroLibrary::readLibrary(const std::filesystem::path& path) {
    const TextFileRead text = readDataFile(path);
    if (!text.read.ok()) return text.read;
    return FileRead{readLibraryLines(text.lines) ? ReadStatus::Ok : ReadStatus::Damaged, {}};
}

}  // namespace zavrin
