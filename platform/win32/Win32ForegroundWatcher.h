#pragma once

#include "platform/ForegroundWatcher.h"

namespace zavrin::win32 {

// The front program on Windows: a foreground event hook out of context
// (SetWinEventHook with EVENT_SYSTEM_FOREGROUND), delivered through the UI
// thread's message loop, so nothing runs while the foreground stays put. The
// window's process gives the executable (QueryFullProcessImageNameW); the
// program's own windows and processes it may not open count as unknown.
// One per process (the hook's callback has no context pointer). UI thread.
class ForegroundHookWatcher final : public ForegroundWatcherBase {
public:
    ForegroundHookWatcher() = default;
    ~ForegroundHookWatcher() override;
    ForegroundHookWatcher(const ForegroundHookWatcher&) = delete;
    ForegroundHookWatcher& operator=(const ForegroundHookWatcher&) = delete;

    bool Start(HWND target, UINT message) override;
    void Stop() override;

    // The program that owns a native window (its handle as an integer).
    static ForegroundProgram ProgramOf(std::uintptr_t nativeWindow);
    void foregroundChanged(std::uintptr_t nativeWindow) { publish(ProgramOf(nativeWindow)); }

private:
    void* hook_ = nullptr;
};

}  // namespace zavrin::win32
