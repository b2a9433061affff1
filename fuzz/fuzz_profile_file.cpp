// links: zavrin_model
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/ProfileFile.h"
#include "model/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto record =
        zavrin::parseProfileLines(zavrin::decodeTextLines(std::string_view(reinterpret_cast<const char*>(data), size)));
    if (record) {
        // Whatever was accepted must be safe to use and to write back.
        for (const auto& key : record->keys) (void)key.macro.get(key.macro.actionNum);
        (void)zavrin::profileFileLines(*record);
    }
    return 0;
}
