#include "platform/PostedQueue.h"

namespace zavrin {

namespace {
// Posted messages waiting at once, at most (Win32's default quota).
constexpr std::size_t kPostedLimit = 10000;
}  // namespace

void PostedQueue::open(HWND h) {
    std::lock_guard lock(mutex_);
    postable_.insert(h.value);
}

void PostedQueue::close(HWND h) {
    std::lock_guard lock(mutex_);
    postable_.erase(h.value);
}

bool PostedQueue::post(const MSG& msg) {
    {
        std::lock_guard lock(mutex_);
        if (postable_.count(msg.hwnd.value) == 0 || posted_.size() >= kPostedLimit) return false;
        posted_.push_back(msg);
    }
    backend_.Wake();
    return true;
}

std::optional<MSG> PostedQueue::take() {
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return std::nullopt;
    MSG msg = posted_.front();
    posted_.pop_front();
    return msg;
}

}  // namespace zavrin
