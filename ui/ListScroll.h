#pragma once

#include "platform/Window.h"
#include "ui/CVScrollBar.h"

namespace zavrin {

// A list whose first shown row a ListScroll moves. The list owns the row and
// repaints itself when it changes.
class ScrolledList {
public:
    virtual int TopRow() const = 0;
    virtual void SetTopRow(int row) = 0;

protected:
    ~ScrolledList() = default;
};

// Keeps a list's first shown row and its scroll bar in step: the bar's
// position is the first row, its page the rows shown, its range the rows in
// all. UI thread only.
class ListScroll {
public:
    ListScroll() = default;
    ListScroll(CVScrollBar* bar, ScrolledList* list, int rowsVisible)
        : bar_(bar), list_(list), rows_(rowsVisible) {}

    // Clamps the first row to the rows there are and redraws the bar.
    void sync(int rowCount);
    // A press (arrow or track) or a thumb drag reported by the bar; true when
    // the list scrolled.
    bool onBar(LPARAM code, WPARAM part, int rowCount);
    // Scrolls by `rows` (negative: up); true when the list moved.
    bool scrollBy(int rows, int rowCount);
    // Scrolls so that `row` is shown.
    void reveal(int row, int rowCount);

private:
    int maxTop(int rowCount) const { return rowCount > rows_ ? rowCount - rows_ : 0; }

    CVScrollBar* bar_ = nullptr;
    // Moves the list's first row to `row` clamped to the rows there are; true
    // when it moved.
    bool moveTo(int row, int rowCount);

    ScrolledList* list_ = nullptr;
    int rows_ = 1;
};

}  // namespace zavrin
