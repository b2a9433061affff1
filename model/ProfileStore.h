#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "model/GlobalSettings.h"
#include "model/ProfileRecord.h"

namespace zavrin {

class LanguageTable;

// The five profiles and the global settings, with the files that keep them.
// Lives for the whole run; used on the UI thread only.
class ProfileStore {
public:
    ProfileStore(std::filesystem::path dataFolder, const LanguageTable& language);

    // The start-up load: config.ini, the five profile files, and re-preparing the
    // profiles when the sensor changed. True when config.ini was read without fault.
    // A malformed config.ini returns the table to its defaults but keeps and reads
    // the profile files; only a first run (no config.ini) writes default profiles.
    bool loadGlobalSettings();
    // The same reads for a tool beside the program: a missing or damaged file is
    // replaced by defaults in memory only, and nothing is re-prepared or written.
    bool readWithoutWriting();
    bool saveGlobalSettings();
    // "CurrentProfile" := the current index, then saveGlobalSettings().
    bool saveCurrentProfile();

    bool writeProfileFile(int index, const std::filesystem::path& path) const;
    // Fills profiles[index] from `path`. On a rejected file the profile is reset to
    // its defaults and written to its own slot file, and the result is false.
    bool readProfileFile(int index, const std::filesystem::path& path);
    // Like readProfileFile, but a rejected file changes nothing (profile import).
    bool importProfileFile(int index, const std::filesystem::path& path);
    // Writes every slot file, going on past a failure so that as much as possible
    // is saved; false when any of them could not be written.
    bool writeAllProfileFiles() const;

    void resetProfileAt(int index);

    ProfileRecord& currentProfile() { return profiles[static_cast<std::size_t>(currentIndex())]; }
    const ProfileRecord& currentProfile() const {
        return profiles[static_cast<std::size_t>(currentIndex())];
    }
    int currentIndex() const { return settings.currentProfile(); }

    // The sensor fixed by the start-up load.
    std::uint16_t sensorId() const { return sensorId_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }
    const LanguageTable& language() const { return language_; }

    std::array<ProfileRecord, kProfileCount> profiles;
    GlobalSettings settings;

private:
    std::filesystem::path configPath() const;

    std::filesystem::path dataFolder_;
    const LanguageTable& language_;
    std::uint16_t sensorId_ = kDefaultSensorId;
};

}  // namespace zavrin
