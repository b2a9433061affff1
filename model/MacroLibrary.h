#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/FileResult.h"
#include "model/MacroRecord.h"

namespace zavrin {

// Where an item lies in the three-level tree. Indexes beyond `stage` are 0;
// stage -1 names no item.
struct MacroLocation {
    int stage = -1;
    int stage0Index = 0;
    int stage1Index = 0;
    int stage2Index = 0;

    bool operator==(const MacroLocation&) const = default;
};

inline constexpr MacroLocation kNoLocation{};

// A folder or a macro. Only used items are stored: a list holds its items in
// slot order with no gaps, so an index past its end is a free slot. Free slots
// therefore cost no memory.
struct MacroLibraryItem {
    std::string name;
    std::optional<MacroRecord> macro;  // present for a macro, absent for a folder
    std::uint8_t isFolder = 0;
    std::uint8_t isFolderOpen = 0;
    std::vector<MacroLibraryItem> children;  // only folders at levels 0 and 1 have any
};

// The user's macros in a tree of at most three levels (folders at levels 0 and
// 1, 60 items per list, names unique among siblings). Used on the UI thread.
class MacroLibrary {
public:
    static constexpr int kListCapacity = 60;

    enum class AddResult { Added, NameClash, NotAllowed, Full };

    void clear();

    // The item at a location, or nullptr for no location, a free slot or an
    // index out of range.
    const MacroLibraryItem* itemAt(const MacroLocation& location) const;
    MacroLibraryItem* itemAt(const MacroLocation& location);

    // The list of siblings a location's item lies in (for stage 0 the top level);
    // nullptr when the parent does not exist.
    const std::vector<MacroLibraryItem>* siblingsOf(const MacroLocation& location) const;
    const std::vector<MacroLibraryItem>& topLevel() const { return stage0_; }

    bool nameExists(int stage, int stage0Index, int stage1Index, std::string_view name) const;

    // Adds into the first free slot of `parent`'s children (the top level when
    // parent.stage is -1). kNoLocation when the list is full or the parent cannot
    // hold the item.
    MacroLocation addMacro(const MacroLocation& parent, const std::string& name);
    MacroLocation addFolder(const MacroLocation& parent, const std::string& name);

    // Store an item at a location, replacing what the slot held; only the file
    // reader uses these. False when the location is out of range or its parent
    // does not exist.
    bool placeMacro(const MacroLocation& location, const std::string& name, const MacroRecord& macro);
    bool placeFolder(const MacroLocation& location, const std::string& name, bool isOpen);

    // Removes the item with everything below it and closes the gap.
    bool deleteItem(const MacroLocation& location);

    // The macro manager's "new" rule: inside a selected folder where that is
    // allowed, else at the top level. On success `selection` moves to the new item.
    AddResult newMacroRelativeTo(MacroLocation& selection, const std::string& name);
    AddResult newFolderRelativeTo(MacroLocation& selection, const std::string& name);

    void collapseAll();

    // The flattened tree of the lists: every used item, children of open folders
    // following their folder.
    int visibleRowCount() const;
    int rowOfLocation(const MacroLocation& location) const;  // -1 when not visible
    MacroLocation locationOfRow(int row) const;              // kNoLocation when none

    // Whether the item is the macro `id` or a folder with that macro somewhere below.
    bool usesMacroKeyIndex(const MacroLocation& location, std::uint32_t id) const;

    // Number of used items at every level.
    int itemCount() const;

    // The library file: reading clears the library first and keeps the items read
    // before any damage (false then); a file that cannot be opened leaves the
    // library as it was (false).
    bool readLibraryFile(const std::filesystem::path& path);
    // The same, telling a missing, a damaged and an unreadable file apart.
    FileRead readLibrary(const std::filesystem::path& path);
    bool writeLibraryFile(const std::filesystem::path& path, const MacroLocation& selectLocation) const;
    // The same, with what went wrong (nothing when the file was written).
    FileProblem writeLibrary(const std::filesystem::path& path, const MacroLocation& selectLocation) const;
    // Refuses every later write to `path` (FileError::HeldBack): a library file
    // that could not be read is never replaced by what this run holds.
    void holdBackWritesTo(const std::filesystem::path& path) { heldBack_ = path; }
    std::vector<std::string> libraryFileLines(const MacroLocation& selectLocation) const;
    bool readLibraryLines(const std::vector<std::string>& lines);

    std::uint32_t nextMacroKeyIndex = 1;
    // The selection line of the last file read; the imports start from it.
    MacroLocation fileSelection;

private:
    std::vector<MacroLibraryItem>* childListFor(const MacroLocation& parent);
    MacroLocation addItem(const MacroLocation& parent, MacroLibraryItem item);
    enum class ItemKind { Macro, Folder };
    AddResult addRelativeTo(MacroLocation& selection, const std::string& name, ItemKind kind);
    bool placeItem(const MacroLocation& location, MacroLibraryItem item);

    std::vector<MacroLibraryItem> stage0_;
    std::filesystem::path heldBack_;
};

}  // namespace zavrin
