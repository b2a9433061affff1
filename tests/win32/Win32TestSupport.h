#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/Canvas.h"
#include "platform/WindowSystem.h"
#include "platform/win32/GdiplusGraphics.h"
#include "platform/win32/Win32Backend.h"

namespace zavrin::test {

// The real Windows desktop for a test: the Win32 backend, GDI+ and an
// installed window layer.
class Win32Desktop {
public:
    Win32Desktop() : graphics_(CreateGdiplusGraphics()) {
        SetGraphics(graphics_.get());
        windows_ = std::make_unique<WindowSystem>(backend_, graphics_.get());
    }
    ~Win32Desktop() {
        windows_.reset();
        if (GetGraphics() == graphics_.get()) SetGraphics(nullptr);
    }

    Win32Backend& backend() { return backend_; }
    WindowSystem& windows() { return *windows_; }

    // Handles native messages and the layer's work until `done` holds or the
    // deadline passes (Wine answers in its own time; nothing here sleeps
    // longer than one short wait for the next message).
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (std::chrono::steady_clock::now() < end) {
            windows_->PumpPending();
            if (done()) return true;
            backend_.WaitForEvent(std::chrono::milliseconds(20));
        }
        windows_->PumpPending();
        return done();
    }

private:
    Win32Backend backend_;
    std::unique_ptr<Graphics> graphics_;
    std::unique_ptr<WindowSystem> windows_;
};

}  // namespace zavrin::test
