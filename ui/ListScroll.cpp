#include "ui/ListScroll.h"

#include <algorithm>

namespace zavrin {

void ListScroll::sync(int rowCount) {
    if (topRow_ == nullptr) return;
    *topRow_ = std::clamp(*topRow_, 0, maxTop(rowCount));
    if (bar_ == nullptr) return;
    // A list that fits shows the thumb over the whole track.
    bar_->SetScrollState(*topRow_, rows_, rowCount > rows_ ? rowCount : 0);
}

bool ListScroll::scrollBy(int rows, int rowCount) {
    if (topRow_ == nullptr) return false;
    const int old = *topRow_;
    *topRow_ = std::clamp(old + rows, 0, maxTop(rowCount));
    sync(rowCount);
    return *topRow_ != old;
}

bool ListScroll::onBar(LPARAM code, WPARAM part, int rowCount) {
    if (bar_ == nullptr || topRow_ == nullptr) return false;
    if (code == ControlNotify::Value) {
        const int old = *topRow_;
        *topRow_ = std::clamp(bar_->Position(), 0, maxTop(rowCount));
        return *topRow_ != old;
    }
    if (code != ControlNotify::Press) return false;
    switch (part) {
        case ScrollPart::UpArrow:
            return scrollBy(-1, rowCount);
        case ScrollPart::DownArrow:
            return scrollBy(1, rowCount);
        case ScrollPart::TrackAbove:
            return scrollBy(-rows_, rowCount);
        case ScrollPart::TrackBelow:
            return scrollBy(rows_, rowCount);
        default:
            return false;
    }
}

void ListScroll::reveal(int row, int rowCount) {
    if (topRow_ == nullptr || row < 0) return;
    if (row < *topRow_) *topRow_ = row;
    if (row >= *topRow_ + rows_) *topRow_ = row - rows_ + 1;
    sync(rowCount);
}

}  // namespace zavrin
