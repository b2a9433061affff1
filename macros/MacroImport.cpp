#include "macros/MacroImport.h"

#include <vector>

namespace zavrin {

namespace {

// Folders exist at levels 0 and 1 only, so only the top level and a top-level
// folder can take one.
bool canHoldFolder(const MacroLocation& parent) {
    return parent.stage < 1;
}

// The imported macro takes over everything of its source but its id.
void copyMacroData(MacroRecord& target, const MacroRecord& source) {
    const std::uint32_t id = target.macroKeyIndex;
    target.copyFrom(source);
    target.macroKeyIndex = id;
}

class TreeCopy {
public:
    explicit TreeCopy(MacroLibrary& target) : target_(target) {}

    // False at the first name already used in the list an item goes into.
    bool copyInto(const MacroLocation& parent, const std::vector<MacroLibraryItem>& items) {
        for (const MacroLibraryItem& item : items) {
            if (item.name.empty()) continue;
            if (!copyItem(parent, item)) return false;
        }
        return true;
    }

    bool copyItem(const MacroLocation& parent, const MacroLibraryItem& item) {
        if (item.isFolder && !canHoldFolder(parent)) return copyInto(parent, item.children);
        if (target_.nameExists(parent.stage + 1, parent.stage0Index, parent.stage1Index, item.name))
            return false;
        if (item.isFolder) {
            const MacroLocation folder = target_.addFolder(parent, item.name);
            // A full list drops what does not fit, like every add.
            return folder.stage == -1 || copyInto(folder, item.children);
        }
        const MacroLocation added = target_.addMacro(parent, item.name);
        if (added.stage == -1) return true;
        if (item.macro) copyMacroData(*target_.itemAt(added)->macro, *item.macro);
        return true;
    }

private:
    MacroLibrary& target_;
};

// The selected folder that receives items, or the top level.
MacroLocation receivingParent(const MacroLibrary& library, const MacroLocation& selection) {
    const MacroLibraryItem* selected = library.itemAt(selection);
    if (selected != nullptr && selected->isFolder) return selection;
    return kNoLocation;
}

void openFolder(MacroLibrary& library, const MacroLocation& location) {
    if (MacroLibraryItem* item = library.itemAt(location); item != nullptr && item->isFolder)
        item->isFolderOpen = 1;
}

// Reads the export into the scratch library; a damaged file counts as unreadable
// rather than as the part before the damage.
bool readScratch(MacroLibrary& scratch, const std::filesystem::path& path) {
    scratch.clear();
    scratch.fileSelection = kNoLocation;
    if (scratch.readLibraryFile(path)) return true;
    scratch.clear();
    return false;
}

}  // namespace

ImportOutcome importMacroFile(MacroLibrary& library, MacroLibrary& scratch,
                              const std::filesystem::path& path, MacroLocation& selection) {
    if (!readScratch(scratch, path)) return ImportOutcome::Unreadable;
    const MacroLibraryItem* source = scratch.itemAt(scratch.fileSelection);
    ImportOutcome outcome = ImportOutcome::NothingToImport;
    if (source != nullptr && source->macro) {
        const MacroLocation previous = selection;
        switch (library.newMacroRelativeTo(selection, source->name)) {
            case MacroLibrary::AddResult::Added:
                openFolder(library, previous);
                copyMacroData(*library.itemAt(selection)->macro, *source->macro);
                outcome = ImportOutcome::Imported;
                break;
            case MacroLibrary::AddResult::NameClash:
                outcome = ImportOutcome::NameClash;
                break;
            case MacroLibrary::AddResult::Full:
            case MacroLibrary::AddResult::NotAllowed:
                outcome = ImportOutcome::Full;
                break;
        }
    }
    scratch.clear();
    return outcome;
}

ImportOutcome importLibraryFile(MacroLibrary& library, MacroLibrary& scratch,
                                const std::filesystem::path& path, const MacroLocation& selection) {
    if (!readScratch(scratch, path)) return ImportOutcome::Unreadable;
    std::vector<MacroLibraryItem> sources;
    if (scratch.fileSelection.stage == -1) {
        sources = scratch.topLevel();
    } else if (const MacroLibraryItem* named = scratch.itemAt(scratch.fileSelection)) {
        if (named->isFolder) {
            sources = named->children;
        } else {
            sources.push_back(*named);
        }
    }
    scratch.clear();
    if (sources.empty()) return ImportOutcome::NothingToImport;

    // Copy into a trial library first, so that a name clash found half-way
    // leaves the user's library as it was.
    MacroLibrary trial = library;
    const MacroLocation parent = receivingParent(trial, selection);
    if (!TreeCopy(trial).copyInto(parent, sources)) return ImportOutcome::NameClash;
    openFolder(trial, parent);
    library = std::move(trial);
    return ImportOutcome::Imported;
}

}  // namespace zavrin
