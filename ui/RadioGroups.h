#pragma once

#include <cstdint>
#include <optional>

namespace zavrin {

// The radio groups: the bit of a radio button id and the mask of its group.
struct RadioBit {
    std::uint32_t bit = 0;
    std::uint32_t groupMask = 0;
};
// The id's bit and group, or nothing for an id outside every group.
std::optional<RadioBit> radioBitOf(std::uint32_t id);

// The choices of the radio buttons one dialog holds: one bit per button id
// (radioBitOf); within each group at most one bit is set. The dialog owns it
// and hands it to each of its radio buttons, so no two dialogs share a choice.
// UI thread only.
class RadioGroups {
public:
    static constexpr std::uint32_t kInitialSelection = 0x2802A0;

    bool IsSelected(std::uint32_t id) const;
    // Sets the id's bit and clears the rest of its group; an id outside every
    // group changes nothing.
    void Select(std::uint32_t id);
    // Clears every bit of the id's group: nothing of it is selected.
    void ClearGroupOf(std::uint32_t id);

    // The bits as they stand, and a change of the bits under `mask`, for
    // owners that address a group by bit position.
    std::uint32_t Bits() const { return bits_; }
    void SetBits(std::uint32_t mask, std::uint32_t bits) { bits_ = (bits_ & ~mask) | (bits & mask); }

private:
    std::uint32_t bits_ = kInitialSelection;
};

}  // namespace zavrin
