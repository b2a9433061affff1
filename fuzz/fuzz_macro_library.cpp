// links: zavrin_model
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/MacroLibrary.h"
#include "model/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zavrin::MacroLibrary library;
    library.readLibraryLines(zavrin::decodeTextLines(std::string_view(reinterpret_cast<const char*>(data), size)));
    // Everything read must be walkable and writable.
    for (int row = 0; row < library.visibleRowCount(); ++row) (void)library.itemAt(library.locationOfRow(row));
    (void)library.libraryFileLines(zavrin::kNoLocation);
    zavrin::MacroLocation selection = zavrin::kNoLocation;
    library.newMacroRelativeTo(selection, "x");
    library.deleteItem({0, 0, 0, 0});
    return 0;
}
