#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/FileResult.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// Positions in the global settings table; the position, not the key text, gives
// a pair its meaning.
namespace GlobalPair {
inline constexpr int Sensor = 0;
inline constexpr int PreST = 1;
inline constexpr int MacId = 2;
inline constexpr int DataChange = 3;
inline constexpr int CurrentProfile = 4;
inline constexpr int ProfileShowCount = 5;
inline constexpr int ProfileShowList0 = 6;
inline constexpr int ProfileSlot0URL = 11;
}  // namespace GlobalPair

// The sensor the program is prepared for when config.ini says nothing else.
inline constexpr std::uint16_t kDefaultSensorId = 0x3311;

// The sixteen positional pairs of config.ini. Used on the UI thread.
class GlobalSettings {
public:
    static constexpr int kPairCount = 16;


    // Fills keys and values with the defaults; the slot paths lie in `dataFolder`.
    void resetGlobalSettings(const std::filesystem::path& dataFolder);

    // Key (which = 0) or value (1) of pair i; empty for i outside 0..15.
    std::string getPair(int i, int which) const;
    void setValue(int i, std::string value);

    // Reads config.ini by position. On Damaged the pairs read before the fault
    // have been changed; the caller resets the table. Missing and Unreadable
    // change nothing.
    FileRead read(const std::filesystem::path& file);
    // Ok or Damaged.
    ReadStatus readLines(const std::vector<std::string>& lines);
    // Writes config.ini in place of the old one; false when it could not be written.
    bool write(const std::filesystem::path& file) const { return !writeFile(file); }
    // The same, with what went wrong (nothing when the file was written).
    FileProblem writeFile(const std::filesystem::path& file) const;
    // The lines write() puts in the file.
    std::vector<std::string> fileLines() const;

    int currentProfile() const;  // clamped to 0..4
    void setCurrentProfile(int index);
    int profileShowCount() const;
    void setProfileShowCount(int count);
    int profileShowList(int position) const;
    void setProfileShowList(int position, int profileIndex);
    std::uint16_t sensor() const;           // "Sensor", base 16, low 16 bits
    std::uint16_t preST() const;            // "PreST", base 16, low 16 bits
    void setPreST(std::uint16_t value);     // written as "0x%4X"
    std::filesystem::path profileSlotPath(int i) const;

    std::array<ProfileSetting, kPairCount> pairs;
};

}  // namespace zavrin
