#include "platform/linux/GLibLoop.h"

#include <future>

#include <gio/gio.h>

namespace zavrin::linuxdesktop {

GLibLoop::GLibLoop() : context_(g_main_context_new()), loop_(g_main_loop_new(context_, FALSE)) {
    thread_ = std::thread([this] {
        g_main_context_push_thread_default(context_);
        g_main_loop_run(loop_);
        g_main_context_pop_thread_default(context_);
    });
}

GLibLoop::~GLibLoop() {
    // Quit from inside the loop, so that a quit asked before it started running
    // is not lost.
    GSource* quit = g_idle_source_new();
    g_source_set_callback(
        quit, [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        loop_, nullptr);
    g_source_attach(quit, context_);
    g_source_unref(quit);
    thread_.join();
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
}

void GLibLoop::inContext(const std::function<void()>& f) {
    // Pushing the context as the default of this thread would need to own it,
    // and the loop's thread does: the work goes to that thread, and waits.
    struct Job {
        const std::function<void()>* f;
        std::promise<void> done;
    } job{&f, {}};
    std::future<void> finished = job.done.get_future();
    g_main_context_invoke(
        context_,
        [](gpointer p) -> gboolean {
            auto* j = static_cast<Job*>(p);
            (*j->f)();
            j->done.set_value();
            return G_SOURCE_REMOVE;
        },
        &job);
    finished.wait();
}

}  // namespace zavrin::linuxdesktop
