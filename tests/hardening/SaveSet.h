#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "model/DataPaths.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileFile.h"
#include "model/ProfileStore.h"
#include "model/TextFile.h"

namespace zavrin::test {

// Everything the program saves as one set: config.ini, the five profile files
// and the macro library, each with content that depends on a version number and
// differs in length from one version to the next, so that a file cut short or
// mixed from two versions never passes for a whole one.
class SaveSet {
public:
    static constexpr int kFileCount = 2 + kProfileCount;

    explicit SaveSet(std::filesystem::path folder) : folder_(std::move(folder)), store_(folder_, language_) {
        std::filesystem::create_directories(folder_ / "config");
    }

    void fill(int version) {
        store_.settings.resetGlobalSettings(folder_);
        store_.settings.setCurrentProfile(version % kProfileCount);
        store_.settings.setValue(GlobalPair::DataChange, std::to_string(version) + std::string(version % 23, '7'));
        for (int i = 0; i < kProfileCount; ++i) {
            store_.resetProfileAt(i);
            store_.profiles[static_cast<std::size_t>(i)].settings[Setting::ProfileName].value =
                "slot " + std::to_string(i) + " version " + std::to_string(version) + std::string(version % 31, 'x');
        }
        library_ = MacroLibrary{};
        for (int m = 0; m <= version % 5; ++m) {
            const MacroLocation at = library_.addMacro(kNoLocation, "m" + std::to_string(version) + "-" + std::to_string(m));
            MacroRecord& macro = *library_.itemAt(at)->macro;
            for (int e = 0; e <= (version + m) % 9; ++e) {
                macro.insert(macro.actionNum, MacroAction{0x41, static_cast<std::uint8_t>(e % 2 ? kMacroRelease : kMacroPress), 0, 0});
            }
            macro.commandActionNum = macro.countCommandActions();
        }
    }

    // Saves every file the way the program does; false when any save failed.
    bool saveAll() {
        bool ok = store_.saveGlobalSettings();
        ok = store_.writeAllProfileFiles() && ok;
        return library_.writeLibraryFile(libraryPath(), kNoLocation) && ok;
    }

    std::array<std::filesystem::path, kFileCount> paths() const {
        std::array<std::filesystem::path, kFileCount> all;
        all[0] = dataPath(folder_, kConfigFile);
        for (int i = 0; i < kProfileCount; ++i) all[static_cast<std::size_t>(i + 1)] = store_.settings.profileSlotPath(i);
        all[kFileCount - 1] = libraryPath();
        return all;
    }

    // The bytes each file of paths() holds after fill(version) and saveAll().
    std::array<std::string, kFileCount> expectedBytes(int version) {
        fill(version);
        std::array<std::string, kFileCount> bytes;
        bytes[0] = encodeTextFile(store_.settings.fileLines());
        for (int i = 0; i < kProfileCount; ++i) {
            bytes[static_cast<std::size_t>(i + 1)] = encodeTextFile(profileFileLines(store_.profiles[static_cast<std::size_t>(i)]));
        }
        bytes[kFileCount - 1] = encodeTextFile(library_.libraryFileLines(kNoLocation));
        return bytes;
    }

    ProfileStore& store() { return store_; }
    MacroLibrary& library() { return library_; }
    std::filesystem::path libraryPath() const { return dataPath(folder_, kMacroLibraryFile); }

private:
    std::filesystem::path folder_;
    LanguageTable language_;
    ProfileStore store_;
    MacroLibrary library_;
};

}  // namespace zavrin::test
