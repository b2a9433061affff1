// links: zavrin_model
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/GlobalSettings.h"
#include "model/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zavrin::GlobalSettings settings;
    settings.resetGlobalSettings("/data");
    settings.readLines(zavrin::decodeTextLines(std::string_view(reinterpret_cast<const char*>(data), size)));
    (void)settings.currentProfile();
    (void)settings.sensor();
    (void)settings.profileShowList(4);
    return 0;
}
