#include "model/ProfileStore.h"

#include <system_error>

#include "model/DataPaths.h"
#include "model/LanguageTable.h"
#include "model/ProfileFile.h"

namespace zavrin {

std::filesystem::path resolveSlotPath(const std::string& stored, const std::filesystem::path& dataFolder,
                                      int index) {
    if (stored.empty()) return defaultProfilePath(dataFolder, index);
    std::filesystem::path path = pathFromUtf8(stored);
    // The last two parts are split by hand: a folder copied from Windows names
    // its files with backslashes.
    constexpr std::string_view kSeparators = "/\\";
    const std::size_t nameStart = stored.find_last_of(kSeparators);
    if (nameStart != std::string::npos && nameStart > 0 && nameStart + 1 < stored.size()) {
        const std::size_t before = stored.find_last_of(kSeparators, nameStart - 1);
        const std::size_t folderStart = before == std::string::npos ? 0 : before + 1;
        if (stored.compare(folderStart, nameStart - folderStart, kConfigFolder) == 0) {
            path = dataPath(dataFolder, kConfigFolder) / pathFromUtf8(stored.substr(nameStart + 1));
        }
    }
    std::error_code error;
    if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) {
        return defaultProfilePath(dataFolder, index);
    }
    return path;
}

ProfileStore::ProfileStore(std::filesystem::path dataFolder, const LanguageTable& language)
    : dataFolder_(std::move(dataFolder)), language_(language) {
    settings.resetGlobalSettings(dataFolder_);
    for (int i = 0; i < kProfileCount; ++i) resetProfileAt(i);
}

std::filesystem::path ProfileStore::configPath() const { return dataPath(dataFolder_, kConfigFile); }

void ProfileStore::noteLoadWrite(const FileProblem& problem) {
    if (problem && !loadWriteProblem_) loadWriteProblem_ = problem;
}

bool ProfileStore::resolveSlotPaths() {
    bool changed = false;
    for (int i = 0; i < kProfileCount; ++i) {
        const int pair = GlobalPair::ProfileSlot0URL + i;
        const std::string stored = settings.getPair(pair, kSettingValue);
        const std::string resolved = pathToUtf8(resolveSlotPath(stored, dataFolder_, i));
        if (resolved == stored) continue;
        settings.setValue(pair, resolved);
        changed = true;
    }
    return changed;
}

bool ProfileStore::loadGlobalSettings() {
    configRead_ = settings.read(configPath());
    switch (configRead_.status) {
        case ReadStatus::Ok:
            if (resolveSlotPaths()) noteLoadWrite(saveConfig());
            break;
        case ReadStatus::Unreadable:
            // The run goes on with the defaults in memory; the user's file is left
            // exactly as it is, and nothing else is rewritten because of it.
            settings.resetGlobalSettings(dataFolder_);
            configHeldBack_ = true;
            break;
        case ReadStatus::Missing:
        case ReadStatus::Damaged:
            // A first run, or a damaged file: the default table, written at once.
            // The profile files are not touched here: the ones that are there and
            // sound are read below, and each missing or damaged one is replaced by
            // its default profile there.
            settings.resetGlobalSettings(dataFolder_);
            noteLoadWrite(saveConfig());
            break;
    }

    sensorId_ = settings.sensor();
    for (int i = 0; i < kProfileCount; ++i) {
        readProfileFile(i, settings.profileSlotPath(i));
    }

    const auto preparedFor = static_cast<std::uint16_t>(~settings.preST());
    if (preparedFor != sensorId_) {
        settings.setPreST(static_cast<std::uint16_t>(~sensorId_));
        settings.setCurrentProfile(currentIndex());
        noteLoadWrite(saveConfig());
        for (ProfileRecord& profile : profiles) applySensorDpiDefaults(profile, sensorId_);
        for (int i = 0; i < kProfileCount; ++i) noteLoadWrite(saveProfileSlot(i));
    }
    return configRead_.ok();
}

FileProblem ProfileStore::saveConfig() const {
    if (configHeldBack_) return {};
    const int saved = savedCurrentIndex();
    if (saved == currentIndex()) return settings.writeFile(configPath());
    GlobalSettings stored = settings;
    stored.setCurrentProfile(saved);
    return stored.writeFile(configPath());
}

int ProfileStore::savedCurrentIndex() const {
    const int current = currentIndex();
    return ruleChoice_ && ruleChoice_->ruleSlot == current ? ruleChoice_->handSlot : current;
}

bool ProfileStore::saveGlobalSettings() { return !saveConfig(); }

bool ProfileStore::readWithoutWriting() {
    const FileRead read = settings.read(configPath());
    if (read.ok()) {
        // In memory only: a copied folder's commands read its own profile files.
        resolveSlotPaths();
    } else {
        settings.resetGlobalSettings(dataFolder_);
    }
    sensorId_ = settings.sensor();
    for (int i = 0; i < kProfileCount; ++i) {
        if (!readProfileInto(profiles[static_cast<std::size_t>(i)], settings.profileSlotPath(i))) resetProfileAt(i);
    }
    return read.ok();
}

bool ProfileStore::saveCurrentProfile() {
    settings.setCurrentProfile(currentIndex());
    return saveGlobalSettings();
}

bool ProfileStore::slotHeldBack(int index) const {
    return index >= 0 && index < kProfileCount && slotHeldBack_[static_cast<std::size_t>(index)];
}

bool ProfileStore::isHeldBack(const std::filesystem::path& path) const {
    const std::filesystem::path normal = path.lexically_normal();
    for (int i = 0; i < kProfileCount; ++i) {
        if (slotHeldBack(i) && settings.profileSlotPath(i).lexically_normal() == normal) return true;
    }
    return configHeldBack_ && configPath().lexically_normal() == normal;
}

bool ProfileStore::writeProfileFile(int index, const std::filesystem::path& path) const {
    if (index < 0 || index >= kProfileCount || isHeldBack(path)) return false;
    return writeProfileRecord(profiles[static_cast<std::size_t>(index)], path);
}

FileProblem ProfileStore::saveProfileSlot(int index) const {
    if (index < 0 || index >= kProfileCount || slotHeldBack(index)) return {};
    return writeProfileData(profiles[static_cast<std::size_t>(index)], settings.profileSlotPath(index));
}

bool ProfileStore::readProfileFile(int index, const std::filesystem::path& path) {
    if (index < 0 || index >= kProfileCount) return false;
    const auto slot = static_cast<std::size_t>(index);
    const FileRead read = readProfileRecord(profiles[slot], path);
    const bool ownSlotFile = path.lexically_normal() == settings.profileSlotPath(index).lexically_normal();
    if (ownSlotFile) slotReads_[slot] = read;
    if (read.ok()) return true;
    resetProfileAt(index);
    if (read.status == ReadStatus::Unreadable && ownSlotFile) {
        slotHeldBack_[slot] = true;
        return false;
    }
    noteLoadWrite(saveProfileSlot(index));
    return false;
}

bool ProfileStore::importProfileFile(int index, const std::filesystem::path& path) {
    if (index < 0 || index >= kProfileCount) return false;
    return readProfileInto(profiles[static_cast<std::size_t>(index)], path);
}

bool ProfileStore::writeAllProfileFiles() const {
    bool all = true;
    for (int i = 0; i < kProfileCount; ++i) all = !saveProfileSlot(i) && all;
    return all;
}

FileProblem ProfileStore::saveAll() const {
    FileProblem first = saveConfig();
    for (int i = 0; i < kProfileCount; ++i) {
        const FileProblem problem = saveProfileSlot(i);
        if (problem && !first) first = problem;
    }
    return first;
}

std::vector<FileProblem> ProfileStore::unreadableFiles() const {
    std::vector<FileProblem> found;
    if (configRead_.status == ReadStatus::Unreadable) found.push_back(configRead_.problem);
    for (const FileRead& read : slotReads_) {
        if (read.status == ReadStatus::Unreadable) found.push_back(read.problem);
    }
    return found;
}

void ProfileStore::resetProfileAt(int index) {
    if (index < 0 || index >= kProfileCount) return;
    resetProfile(profiles[static_cast<std::size_t>(index)], index, language_, sensorId_);
}

}  // namespace zavrin
