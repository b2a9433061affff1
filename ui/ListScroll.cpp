#include "ui/ListScroll.h"

#include <algorithm>

namespace zavrin {

bool ListScroll::moveTo(int row, int rowCount) {
    const int old = list_->TopRow();
    list_->SetTopRow(std::clamp(row, 0, maxTop(rowCount)));
    return list_->TopRow() != old;
}

void ListScroll::sync(int rowCount) {
    if (list_ == nullptr) return;
    moveTo(list_->TopRow(), rowCount);
    if (bar_ == nullptr) return;
    // A list that fits shows the thumb over the whole track.
    bar_->SetScrollState(list_->TopRow(), rows_, rowCount > rows_ ? rowCount : 0);
}

bool ListScroll::scrollBy(int rows, int rowCount) {
    if (list_ == nullptr) return false;
    const bool moved = moveTo(list_->TopRow() + rows, rowCount);
    sync(rowCount);
    return moved;
}

bool ListScroll::onBar(LPARAM code, WPARAM part, int rowCount) {
    if (bar_ == nullptr || list_ == nullptr) return false;
    if (code == ControlNotify::Value) return moveTo(bar_->Position(), rowCount);
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
    if (list_ == nullptr || row < 0) return;
    int top = list_->TopRow();
    if (row < top) top = row;
    if (row >= top + rows_) top = row - rows_ + 1;
    list_->SetTopRow(top);
    sync(rowCount);
}

}  // namespace zavrin
