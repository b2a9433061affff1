#pragma once

#include <functional>
#include <thread>

typedef struct _GMainContext GMainContext;
typedef struct _GMainLoop GMainLoop;

namespace zavrin::linuxdesktop {

// A GLib main context run by a thread of its own. The D-Bus objects and signal
// subscriptions of the desktop services are made with this context as the
// thread default (see `inContext`), so their callbacks run on that thread,
// which only ever hands results over (PostMessage, flags and Wake) and never
// touches windows.
class GLibLoop {
public:
    GLibLoop();
    ~GLibLoop();  // stops the loop and joins the thread
    GLibLoop(const GLibLoop&) = delete;
    GLibLoop& operator=(const GLibLoop&) = delete;

    GMainContext* context() const { return context_; }
    // Runs `f` on the loop's thread (with its context as the thread default,
    // so that what `f` registers is dispatched there) and waits for it. Never
    // from the loop's own thread.
    void inContext(const std::function<void()>& f);

private:
    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    std::thread thread_;
};

}  // namespace zavrin::linuxdesktop
