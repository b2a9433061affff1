#include "pages/SectionColumn.h"

namespace zavrin {

void ApplyClosingRule(SectionState& state, Section clicked) {
    const int c = SectionIndex(clicked);
    if (!state.open[static_cast<std::size_t>(c)]) return;
    for (Section candidate : kClosingOrder[static_cast<std::size_t>(c)]) {
        if (!state.open[static_cast<std::size_t>(SectionIndex(candidate))]) continue;
        for (int i = 0; i < kSectionCount; ++i) {
            if (i != c && i != SectionIndex(candidate))
                state.open[static_cast<std::size_t>(i)] = false;
        }
        return;
    }
}

std::array<SectionPlace, kSectionCount> LayOutSections(const SectionState& state) {
    std::array<SectionPlace, kSectionCount> places{};
    int y = kColumnTop;
    for (int i = 0; i < kSectionCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!state.headerShown[at]) continue;
        places[at].header = RECT{kColumnLeft, y, kColumnLeft + kColumnWidth, y + kHeaderHeight};
        y += kHeaderHeight;
        if (state.open[at]) {
            places[at].content =
                RECT{kColumnLeft, y, kColumnLeft + kColumnWidth, y + kSections[at].openHeight};
            y += kSections[at].openHeight;
        }
        y += kHeaderGap;
    }
    return places;
}

}  // namespace zavrin
