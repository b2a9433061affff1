#pragma once

#include <filesystem>

#include "model/MacroLibrary.h"

namespace zavrin {

// What an import did; the caller shows the matching message.
enum class ImportOutcome {
    Imported,
    NameClash,        // a name of the file is taken where it would go; nothing added
    Unreadable,       // the file cannot be read or is damaged; nothing added
    NothingToImport,  // the file names no macro (or no item) to bring in; nothing added
    Full,             // the receiving list is full; nothing added
};

// Brings the macros of export files (the library file format, whose selection
// line names the exported item) into `library`, next to or into `selection`
// by the rule of MacroLibrary::newMacroRelativeTo. Every imported macro gets a
// new id. The file is read into `scratch`, which is empty again afterwards.
// Either everything fits the rules or nothing changes, apart from items
// dropped because a list is full.

// One macro: the item the file's selection names, which must be a macro.
// `selection` moves to the new item; a selected folder is opened.
ImportOutcome importMacroFile(MacroLibrary& library, MacroLibrary& scratch,
                              const std::filesystem::path& path, MacroLocation& selection);

// A library export: with no selection in the file every top-level item, with
// a folder selected that folder's items, with a macro selected that macro.
// Folders keep their contents; a folder that would land deeper than folders
// may go gives its macros to the list it would have gone into. The items land
// in the selected folder (opened), or at the top level.
ImportOutcome importLibraryFile(MacroLibrary& library, MacroLibrary& scratch,
                                const std::filesystem::path& path, const MacroLocation& selection);

}  // namespace zavrin
