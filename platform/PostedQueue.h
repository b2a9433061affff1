#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_set>

#include "platform/Backend.h"
#include "platform/Window.h"

namespace zavrin {

// The posted messages (PostMessage), first in first out, and the windows that
// may receive them. `post` is safe from any thread and wakes the loop; the
// rest runs on the UI thread.
class PostedQueue {
public:
    explicit PostedQueue(Backend& backend) : backend_(backend) {}

    void open(HWND h);
    void close(HWND h);
    // False for a window that is gone, or when the queue is full: a thread that
    // keeps posting to a loop that does not run gets false instead of growing
    // the queue without end.
    bool post(const MSG& msg);
    std::optional<MSG> take();

private:
    Backend& backend_;
    mutable std::mutex mutex_;
    std::deque<MSG> posted_;
    std::unordered_set<std::uint64_t> postable_;
};

}  // namespace zavrin
