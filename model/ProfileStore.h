#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "model/FileResult.h"
#include "model/GlobalSettings.h"
#include "model/ProfileRecord.h"

namespace zavrin {

class LanguageTable;

// The five profiles and the global settings, with the files that keep them.
// Lives for the whole run; used on the UI thread only.
//
// A file that could not be read at start-up (permissions, an I/O error, a
// folder in its place) is held back: the run uses defaults in its place and
// never writes it, so the user's file survives whatever this run does. Only a
// file that was read and found damaged is replaced by defaults.
class ProfileStore {
public:
    ProfileStore(std::filesystem::path dataFolder, const LanguageTable& language);

    // The start-up load: config.ini, the five profile files, and re-preparing the
    // profiles when the sensor changed. True when config.ini was read without fault.
    // A damaged config.ini returns the table to its defaults but keeps and reads
    // the profile files; a missing or damaged profile file is replaced by its
    // default profile. Profile paths that point into another settings folder's
    // "config" (a copied or moved folder) are taken as the files of the same name
    // in this folder's "config", and a profile file that does not exist as this
    // folder's default file of its slot; config.ini is written back so.
    bool loadGlobalSettings();
    // The same reads for a tool beside the program: a missing or damaged file is
    // replaced by defaults in memory only, and nothing is re-prepared or written.
    bool readWithoutWriting();
    bool saveGlobalSettings();
    // "CurrentProfile" := the current index, then saveGlobalSettings().
    bool saveCurrentProfile();

    // A profile made current for this run only (by a rule of automatic
    // profiles): while `ruleSlot` stays current, config.ini keeps `handSlot`
    // as "CurrentProfile", so that the next start begins with the profile the
    // user chose and not with the one a program in front happened to pick.
    // Any other profile becoming current ends it, as does clearRuleChoice().
    void setRuleChoice(int ruleSlot, int handSlot) { ruleChoice_ = RuleChoice{ruleSlot, handSlot}; }
    void clearRuleChoice() { ruleChoice_.reset(); }
    // The profile "CurrentProfile" is saved as.
    int savedCurrentIndex() const;

    // Writes profile `index` to `path`; false when it could not be written or
    // `path` is a file held back.
    bool writeProfileFile(int index, const std::filesystem::path& path) const;
    // Fills profiles[index] from `path`. On a rejected file the profile is reset to
    // its defaults and written to its own slot file, and the result is false; a
    // slot file that could not be read is held back instead of written.
    bool readProfileFile(int index, const std::filesystem::path& path);
    // Like readProfileFile, but a rejected file changes nothing (profile import).
    bool importProfileFile(int index, const std::filesystem::path& path);
    // Writes every slot file, going on past a failure so that as much as possible
    // is saved; false when any of them could not be written.
    bool writeAllProfileFiles() const;

    // Saves config.ini and the five profile files, skipping the files held back
    // and going on past a failure. What went wrong first, or nothing.
    FileProblem saveAll() const;
    // Writes the slot file of profile `index` (nothing when it is held back).
    FileProblem saveProfileSlot(int index) const;

    // The files the start-up load could not read, in the order it met them.
    std::vector<FileProblem> unreadableFiles() const;
    // The first write of the start-up load that failed (the defaults of a first
    // run, a damaged file's replacement, the paths of a moved folder): what is in
    // memory then still waits to be saved.
    const FileProblem& loadWriteProblem() const { return loadWriteProblem_; }
    bool configHeldBack() const { return configHeldBack_; }
    bool slotHeldBack(int index) const;

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
    FileProblem saveConfig() const;
    bool isHeldBack(const std::filesystem::path& path) const;
    // Points the slot paths of a moved or copied folder back into this folder;
    // true when any changed.
    bool resolveSlotPaths();
    void noteLoadWrite(const FileProblem& problem);

    std::filesystem::path dataFolder_;
    const LanguageTable& language_;
    std::uint16_t sensorId_ = kDefaultSensorId;
    FileRead configRead_;
    std::array<FileRead, kProfileCount> slotReads_{};
    bool configHeldBack_ = false;
    std::array<bool, kProfileCount> slotHeldBack_{};
    FileProblem loadWriteProblem_;
    struct RuleChoice {
        int ruleSlot;
        int handSlot;
    };
    std::optional<RuleChoice> ruleChoice_;
};

// Where profile slot `index` of `dataFolder` really lies when config.ini names
// `stored`: a file in another settings folder's "config" is taken as the file of
// the same name in this folder's "config" (Windows or POSIX separators alike);
// a file that does not exist falls back to this folder's default file of the slot.
std::filesystem::path resolveSlotPath(const std::string& stored, const std::filesystem::path& dataFolder,
                                      int index);

}  // namespace zavrin
