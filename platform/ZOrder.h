#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <functional>
#include <vector>

#include "platform/WindowTable.h"

namespace zavrin {

// The stacking of the top-level windows, top to bottom: topmost windows above
// the others, and owned windows above their owner. UI thread only.
class ZOrder {
public:
    explicit ZOrder(const WindowTable& table) : table_(table) {}

    const std::vector<HWND>& list() const { return order_; }
    bool empty() const { return order_.empty(); }
    HWND bottom() const { return order_.back(); }

    // A new window starts at the very top, then finds its band.
    void addOnTop(HWND h);
    // Puts the window at the top of its band (topmost or not), its owned
    // windows above it in their present order.
    void bringToFront(HWND h);
    void remove(HWND h);

    // The windows that `owner` owns, top to bottom.
    std::vector<HWND> ownedBy(HWND owner) const;
    // The first window from the top that `wanted` accepts, or none.
    HWND firstFromTop(const std::function<bool(HWND)>& wanted) const;
    // The visible, not minimised window at a screen point.
    HWND windowFromPoint(POINT screen) const;

private:
    const WindowTable& table_;
    std::vector<HWND> order_;
};

}  // namespace zavrin
