#include "model/MacroLibrary.h"

#include <algorithm>
#include <utility>

namespace zavrin {
namespace {

bool isUsed(const MacroLibraryItem& item) { return !item.name.empty(); }

bool inRange(int index) { return index >= 0 && index < MacroLibrary::kListCapacity; }

// Drops free slots at the end of a list, so that a list never holds more than
// its used items and the gaps a damaged file may have left.
void trimFreeTail(std::vector<MacroLibraryItem>& list) {
    while (!list.empty() && !isUsed(list.back())) list.pop_back();
}

bool containsMacro(const MacroLibraryItem& item, std::uint32_t id) {
    if (item.macro && item.macro->macroKeyIndex == id) return true;
    return std::any_of(item.children.begin(), item.children.end(),
                       [id](const MacroLibraryItem& child) { return isUsed(child) && containsMacro(child, id); });
}

MacroLibraryItem newMacroItem(const std::string& name, std::uint32_t id) {
    MacroLibraryItem item;
    item.name = name;
    item.macro.emplace();
    item.macro->name = name;
    item.macro->macroKeyIndex = id;
    return item;
}

MacroLibraryItem newFolderItem(const std::string& name, bool isOpen) {
    MacroLibraryItem item;
    item.name = name;
    item.isFolder = 1;
    item.isFolderOpen = isOpen ? 1 : 0;
    return item;
}

MacroLocation childLocation(const MacroLocation& parent, int index) {
    MacroLocation child = parent;
    child.stage = parent.stage + 1;
    if (child.stage == 0) child.stage0Index = index;
    if (child.stage == 1) child.stage1Index = index;
    if (child.stage == 2) child.stage2Index = index;
    return child;
}

}  // namespace

void MacroLibrary::clear() { stage0_.clear(); }

const MacroLibraryItem* MacroLibrary::itemAt(const MacroLocation& location) const {
    if (location.stage < 0 || location.stage > 2) return nullptr;
    const int indexes[3] = {location.stage0Index, location.stage1Index, location.stage2Index};
    const std::vector<MacroLibraryItem>* list = &stage0_;
    const MacroLibraryItem* item = nullptr;
    for (int level = 0; level <= location.stage; ++level) {
        const int index = indexes[level];
        if (!inRange(index) || static_cast<std::size_t>(index) >= list->size()) return nullptr;
        item = &(*list)[static_cast<std::size_t>(index)];
        if (!isUsed(*item)) return nullptr;
        list = &item->children;
    }
    return item;
}

MacroLibraryItem* MacroLibrary::itemAt(const MacroLocation& location) {
    return const_cast<MacroLibraryItem*>(std::as_const(*this).itemAt(location));
}

const std::vector<MacroLibraryItem>* MacroLibrary::siblingsOf(const MacroLocation& location) const {
    if (location.stage == 0) return &stage0_;
    if (location.stage < 0 || location.stage > 2) return nullptr;
    MacroLocation parent = location;
    parent.stage -= 1;
    if (parent.stage == 0) parent.stage1Index = 0;
    parent.stage2Index = 0;
    const MacroLibraryItem* item = itemAt(parent);
    return item ? &item->children : nullptr;
}

std::vector<MacroLibraryItem>* MacroLibrary::childListFor(const MacroLocation& parent) {
    if (parent.stage == -1) return &stage0_;
    if (parent.stage > 1) return nullptr;
    MacroLibraryItem* item = itemAt(parent);
    return item && item->isFolder ? &item->children : nullptr;
}

bool MacroLibrary::nameExists(int stage, int stage0Index, int stage1Index, std::string_view name) const {
    const MacroLocation location{stage, stage0Index, stage1Index, 0};
    const auto* list = siblingsOf(location);
    if (list == nullptr) return false;
    return std::any_of(list->begin(), list->end(),
                       [name](const MacroLibraryItem& item) { return isUsed(item) && item.name == name; });
}

MacroLocation MacroLibrary::addItem(const MacroLocation& parent, MacroLibraryItem item) {
    std::vector<MacroLibraryItem>* list = childListFor(parent);
    if (list == nullptr) return kNoLocation;
    const auto freeSlot = std::find_if(list->begin(), list->end(), [](const auto& i) { return !isUsed(i); });
    const auto index = static_cast<int>(freeSlot - list->begin());
    if (index >= kListCapacity) return kNoLocation;
    if (freeSlot == list->end()) {
        list->push_back(std::move(item));
    } else {
        *freeSlot = std::move(item);
    }
    return childLocation(parent, index);
}

MacroLocation MacroLibrary::addMacro(const MacroLocation& parent, const std::string& name) {
    if (name.empty()) return kNoLocation;
    const MacroLocation added = addItem(parent, newMacroItem(name, nextMacroKeyIndex));
    if (added.stage != -1) ++nextMacroKeyIndex;
    return added;
}

MacroLocation MacroLibrary::addFolder(const MacroLocation& parent, const std::string& name) {
    if (name.empty() || parent.stage > 0) return kNoLocation;
    return addItem(parent, newFolderItem(name, false));
}

bool MacroLibrary::placeItem(const MacroLocation& location, MacroLibraryItem item) {
    const int indexes[3] = {location.stage0Index, location.stage1Index, location.stage2Index};
    if (location.stage < 0 || location.stage > 2) return false;
    for (int level = 0; level <= location.stage; ++level) {
        if (!inRange(indexes[level])) return false;
    }
    MacroLocation parent = location;
    parent.stage -= 1;
    if (parent.stage < 1) parent.stage1Index = 0;
    parent.stage2Index = 0;
    if (parent.stage == -1) parent.stage0Index = 0;
    // An item whose parent folder is not in the library could never be shown or
    // reached, so it is not stored.
    std::vector<MacroLibraryItem>* list = childListFor(parent);
    if (list == nullptr) return false;
    const auto index = static_cast<std::size_t>(indexes[location.stage]);
    if (index >= list->size()) list->resize(index + 1);
    MacroLibraryItem& slot = (*list)[index];
    if (item.isFolder) item.children = std::move(slot.children);
    slot = std::move(item);
    return true;
}

bool MacroLibrary::placeMacro(const MacroLocation& location, const std::string& name, const MacroRecord& macro) {
    if (name.empty()) return false;
    MacroLibraryItem item;
    item.name = name;
    item.macro = macro;
    return placeItem(location, std::move(item));
}

bool MacroLibrary::placeFolder(const MacroLocation& location, const std::string& name, bool isOpen) {
    // Folders live at the first two levels only.
    if (name.empty() || location.stage > 1) return false;
    return placeItem(location, newFolderItem(name, isOpen));
}

bool MacroLibrary::deleteItem(const MacroLocation& location) {
    if (itemAt(location) == nullptr) return false;
    auto* list = const_cast<std::vector<MacroLibraryItem>*>(siblingsOf(location));
    const int indexes[3] = {location.stage0Index, location.stage1Index, location.stage2Index};
    list->erase(list->begin() + indexes[location.stage]);
    trimFreeTail(*list);
    return true;
}

MacroLibrary::AddResult MacroLibrary::addRelativeTo(MacroLocation& selection, const std::string& name,
                                                   ItemKind kind) {
    const bool folder = kind == ItemKind::Folder;
    // A selected folder takes the new item when its level allows one more below
    // it; any other selection, or none, puts the item at the top level.
    const int deepestParent = folder ? 0 : 1;
    const MacroLibraryItem* selected = itemAt(selection);
    MacroLocation parent = kNoLocation;
    if (selected != nullptr && selected->isFolder) {
        if (selection.stage > deepestParent) return AddResult::NotAllowed;
        parent = selection;
    }
    if (nameExists(parent.stage + 1, parent.stage0Index, parent.stage1Index, name)) return AddResult::NameClash;
    const MacroLocation added = folder ? addFolder(parent, name) : addMacro(parent, name);
    if (added.stage == -1) return AddResult::Full;
    selection = added;
    return AddResult::Added;
}

MacroLibrary::AddResult MacroLibrary::newMacroRelativeTo(MacroLocation& selection, const std::string& name) {
    return addRelativeTo(selection, name, ItemKind::Macro);
}

MacroLibrary::AddResult MacroLibrary::newFolderRelativeTo(MacroLocation& selection, const std::string& name) {
    return addRelativeTo(selection, name, ItemKind::Folder);
}

void MacroLibrary::collapseAll() {
    for (MacroLibraryItem& top : stage0_) {
        top.isFolderOpen = 0;
        for (MacroLibraryItem& child : top.children) child.isFolderOpen = 0;
    }
}

namespace {

// Calls visit(location) for every visible row in order; stops when visit returns true.
template <typename Visit>
bool forEachRow(const std::vector<MacroLibraryItem>& list, const MacroLocation& parent, Visit&& visit) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const MacroLibraryItem& item = list[i];
        if (!isUsed(item)) continue;
        const MacroLocation location = childLocation(parent, static_cast<int>(i));
        if (visit(location)) return true;
        if (item.isFolder && item.isFolderOpen && location.stage < 2 && forEachRow(item.children, location, visit)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int MacroLibrary::visibleRowCount() const {
    int rows = 0;
    forEachRow(stage0_, kNoLocation, [&](const MacroLocation&) {
        ++rows;
        return false;
    });
    return rows;
}

int MacroLibrary::rowOfLocation(const MacroLocation& location) const {
    int row = 0;
    const bool found = forEachRow(stage0_, kNoLocation, [&](const MacroLocation& l) {
        if (l == location) return true;
        ++row;
        return false;
    });
    return found ? row : -1;
}

MacroLocation MacroLibrary::locationOfRow(int row) const {
    MacroLocation result = kNoLocation;
    if (row < 0) return result;
    int current = 0;
    forEachRow(stage0_, kNoLocation, [&](const MacroLocation& l) {
        if (current++ != row) return false;
        result = l;
        return true;
    });
    return result;
}

bool MacroLibrary::usesMacroKeyIndex(const MacroLocation& location, std::uint32_t id) const {
    const MacroLibraryItem* item = itemAt(location);
    return item != nullptr && containsMacro(*item, id);
}

int MacroLibrary::itemCount() const {
    int count = 0;
    for (const auto& top : stage0_) {
        if (!isUsed(top)) continue;
        ++count;
        for (const auto& child : top.children) {
            if (!isUsed(child)) continue;
            ++count;
            for (const auto& leaf : child.children) count += isUsed(leaf) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace zavrin
