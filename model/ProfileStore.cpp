#include "model/ProfileStore.h"

#include "model/DataPaths.h"
#include "model/LanguageTable.h"
#include "model/ProfileFile.h"

namespace zavrin {

ProfileStore::ProfileStore(std::filesystem::path dataFolder, const LanguageTable& language)
    : dataFolder_(std::move(dataFolder)), language_(language) {
    settings.resetGlobalSettings(dataFolder_);
    for (int i = 0; i < kProfileCount; ++i) resetProfileAt(i);
}

std::filesystem::path ProfileStore::configPath() const { return dataPath(dataFolder_, kConfigFile); }

bool ProfileStore::loadGlobalSettings() {
    const GlobalSettings::ReadResult result = settings.read(configPath());
    if (result != GlobalSettings::ReadResult::Ok) {
        settings.resetGlobalSettings(dataFolder_);
        saveGlobalSettings();
        sensorId_ = settings.sensor();
        // Only a first run writes default profiles: a damaged config.ini must not
        // cost the user the profiles kept in their own files.
        if (result == GlobalSettings::ReadResult::Missing) {
            for (int i = 0; i < kProfileCount; ++i) {
                resetProfileAt(i);
                writeProfileFile(i, settings.profileSlotPath(i));
            }
        }
    }

    sensorId_ = settings.sensor();
    for (int i = 0; i < kProfileCount; ++i) readProfileFile(i, settings.profileSlotPath(i));

    const auto preparedFor = static_cast<std::uint16_t>(~settings.preST());
    if (preparedFor != sensorId_) {
        settings.setPreST(static_cast<std::uint16_t>(~sensorId_));
        saveCurrentProfile();
        for (ProfileRecord& profile : profiles) applySensorDpiDefaults(profile, sensorId_);
        writeAllProfileFiles();
    }
    return result == GlobalSettings::ReadResult::Ok;
}

bool ProfileStore::readWithoutWriting() {
    const GlobalSettings::ReadResult result = settings.read(configPath());
    if (result != GlobalSettings::ReadResult::Ok) settings.resetGlobalSettings(dataFolder_);
    sensorId_ = settings.sensor();
    for (int i = 0; i < kProfileCount; ++i) {
        if (!readProfileInto(profiles[static_cast<std::size_t>(i)], settings.profileSlotPath(i))) resetProfileAt(i);
    }
    return result == GlobalSettings::ReadResult::Ok;
}

bool ProfileStore::saveGlobalSettings() { return settings.write(configPath()); }

bool ProfileStore::saveCurrentProfile() {
    settings.setCurrentProfile(currentIndex());
    return saveGlobalSettings();
}

bool ProfileStore::writeProfileFile(int index, const std::filesystem::path& path) const {
    if (index < 0 || index >= kProfileCount) return false;
    return writeProfileRecord(profiles[static_cast<std::size_t>(index)], path);
}

bool ProfileStore::readProfileFile(int index, const std::filesystem::path& path) {
    if (index < 0 || index >= kProfileCount) return false;
    if (readProfileInto(profiles[static_cast<std::size_t>(index)], path)) return true;
    resetProfileAt(index);
    writeProfileFile(index, settings.profileSlotPath(index));
    return false;
}

bool ProfileStore::importProfileFile(int index, const std::filesystem::path& path) {
    if (index < 0 || index >= kProfileCount) return false;
    return readProfileInto(profiles[static_cast<std::size_t>(index)], path);
}

bool ProfileStore::writeAllProfileFiles() const {
    bool all = true;
    for (int i = 0; i < kProfileCount; ++i) all = writeProfileFile(i, settings.profileSlotPath(i)) && all;
    return all;
}

void ProfileStore::resetProfileAt(int index) {
    if (index < 0 || index >= kProfileCount) return;
    resetProfile(profiles[static_cast<std::size_t>(index)], index, language_, sensorId_);
}

}  // namespace zavrin
