#include "ui/RadioGroups.h"

#include <array>

namespace zavrin {

namespace {

struct RadioGroup {
    std::uint32_t firstBit;
    std::array<std::uint32_t, 7> ids;  // 0 ends a shorter group
};

// Bit positions of the radio groups: each group's ids take consecutive bits
// from its first bit on.
constexpr std::array<RadioGroup, 6> kRadioGroups{{
    {0, {3034, 3035, 3036, 3037, 3038, 3039, 3040}},
    {7, {2009, 2010}},
    {11, {3240, 3250}},
    {13, {2031, 2032, 2033}},
    {16, {3030, 3031, 3032, 3033}},
    {20, {3510, 3511}},
}};

}  // namespace

std::optional<RadioBit> radioBitOf(std::uint32_t id) {
    for (const RadioGroup& group : kRadioGroups) {
        std::uint32_t mask = 0;
        std::optional<std::uint32_t> bit;
        for (std::size_t i = 0; i < group.ids.size() && group.ids[i] != 0; ++i) {
            const std::uint32_t b = 1u << (group.firstBit + i);
            mask |= b;
            if (group.ids[i] == id) bit = b;
        }
        if (bit) return RadioBit{*bit, mask};
    }
    return std::nullopt;
}

bool RadioGroups::IsSelected(std::uint32_t id) const {
    const auto bit = radioBitOf(id);
    return bit && (bits_ & bit->bit) != 0;
}

void RadioGroups::Select(std::uint32_t id) {
    if (const auto bit = radioBitOf(id)) bits_ = (bits_ & ~bit->groupMask) | bit->bit;
}

void RadioGroups::ClearGroupOf(std::uint32_t id) {
    if (const auto bit = radioBitOf(id)) bits_ &= ~bit->groupMask;
}

}  // namespace zavrin
