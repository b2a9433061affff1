#include "model/DataPaths.h"

namespace zavrin {

std::filesystem::path dataPath(const std::filesystem::path& folder, std::string_view windowsRelative) {
    std::filesystem::path result = folder;
    std::size_t start = 0;
    while (start <= windowsRelative.size()) {
        const std::size_t end = windowsRelative.find('\\', start);
        const std::string_view part =
            windowsRelative.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!part.empty()) result /= pathFromUtf8(part);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return result;
}

std::filesystem::path defaultProfilePath(const std::filesystem::path& dataFolder, int i) {
    return dataPath(dataFolder, "config\\default" + std::to_string(i) + ".psf");
}

std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace zavrin
