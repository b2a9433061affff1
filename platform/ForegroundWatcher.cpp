#include "platform/ForegroundWatcher.h"

namespace zavrin {

bool ForegroundWatcherBase::Start(HWND target, UINT message) {
    std::lock_guard lock(mutex_);
    target_ = target;
    message_ = message;
    started_ = true;
    return true;
}

void ForegroundWatcherBase::Stop() {
    std::lock_guard lock(mutex_);
    started_ = false;
    target_ = HWND{};
}

ForegroundProgram ForegroundWatcherBase::Current() {
    std::lock_guard lock(mutex_);
    return current_;
}

void ForegroundWatcherBase::publish(ForegroundProgram program) {
    HWND target;
    UINT message = 0;
    {
        std::lock_guard lock(mutex_);
        if (program.path == current_.path && program.name == current_.name) return;
        current_ = std::move(program);
        if (!started_) return;
        target = target_;
        message = message_;
    }
    if (target) PostMessage(target, message, 0, 0);
}

}  // namespace zavrin
