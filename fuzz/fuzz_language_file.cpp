// links: zavrin_model
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/LanguageTable.h"
#include "model/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zavrin::LanguageTable table;
    table.loadLines(zavrin::decodeTextLines(std::string_view(reinterpret_cast<const char*>(data), size)), 1.5F);
    return 0;
}
