#pragma once

#include <array>
#include <cstdint>

#include "platform/Geometry.h"

namespace zavrin {

// The right-hand column of the main window: eight collapsible sections in a
// fixed order, the rule by which opening one closes others, and the layout
// that stacks their headers and open contents. Pure logic: the main window
// owns the header controls and asks this class where things go.
enum class Section {
    Dpi,
    Lighting,
    PollingRate,
    LiftOff,
    Debounce,
    Pointer,
    SensorOptions,
    Pairing
};
inline constexpr int kSectionCount = 8;

struct SectionInfo {
    Section section;
    std::uint32_t headerId;
    int labelText;   // language text of the header
    int openHeight;  // design units of content below the header
};

// In column order.
inline constexpr std::array<SectionInfo, kSectionCount> kSections{{
    {Section::Dpi, 3001, 11, 196},
    {Section::Lighting, 3002, 12, 110},
    {Section::PollingRate, 3004, 13, 180},
    {Section::LiftOff, 3011, 19, 85},
    {Section::Debounce, 3012, 272, 85},
    {Section::Pointer, 3003, 14, 110},
    {Section::SensorOptions, 3014, 285, 85},
    {Section::Pairing, 3013, 275, 85},
}};

// When a section is opened, the first of these five that is open stays open
// with it and every other section closes; with none of them open nothing
// closes. Sensor options and Pairing are in no list, so they are never the one
// kept.
inline constexpr std::array<std::array<Section, 5>, kSectionCount> kClosingOrder{{
    {Section::Lighting, Section::PollingRate, Section::LiftOff, Section::Debounce,
     Section::Pointer},
    {Section::Dpi, Section::PollingRate, Section::LiftOff, Section::Debounce, Section::Pointer},
    {Section::Dpi, Section::Lighting, Section::LiftOff, Section::Debounce, Section::Pointer},
    {Section::Dpi, Section::Lighting, Section::PollingRate, Section::Debounce, Section::Pointer},
    {Section::Dpi, Section::Lighting, Section::PollingRate, Section::LiftOff, Section::Pointer},
    {Section::Dpi, Section::Lighting, Section::PollingRate, Section::LiftOff, Section::Debounce},
    {Section::Dpi, Section::Lighting, Section::PollingRate, Section::LiftOff, Section::Pointer},
    {Section::Dpi, Section::Lighting, Section::PollingRate, Section::LiftOff, Section::Pointer},
}};

inline constexpr int kColumnLeft = 846;
inline constexpr int kColumnTop = 37;
inline constexpr int kColumnWidth = 262;
inline constexpr int kHeaderHeight = 25;
inline constexpr int kHeaderGap = 5;

constexpr int SectionIndex(Section s) {
    return static_cast<int>(s);
}
// The control list that holds a section's controls (list 0 is the common list).
constexpr int SectionList(Section s) {
    return SectionIndex(s) + 1;
}

struct SectionState {
    std::array<bool, kSectionCount> open{};
    std::array<bool, kSectionCount> headerShown{};
};

// Applies the closing rule after `clicked` was toggled (its new state is in `state`).
void ApplyClosingRule(SectionState& state, Section clicked);

struct SectionPlace {
    RECT header;   // design units
    RECT content;  // design units; empty when closed
};

// Stacks the shown headers from the column's top, each open section's content
// directly below its header; hidden headers take no room.
std::array<SectionPlace, kSectionCount> LayOutSections(const SectionState& state);

}  // namespace zavrin
