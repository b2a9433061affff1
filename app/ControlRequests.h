#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "model/LanguageTable.h"
#include "platform/PlatformServices.h"
#include "platform/Window.h"

namespace zavrin {

class CVelmorDlg;

// zavrinctl's requests to the running program: they arrive on the single
// instance's thread, wait there while the UI thread carries them out on the
// program's own model and connection (one writer to the mouse, and the window
// shows the change), and their answer goes back the same way.
//
// Adding a command is one entry of the table in ControlRequests.cpp.
//
// Threads: constructed and destroyed on the UI thread; the handler given to
// the services runs on theirs and only queues and waits.
class ControlRequests {
public:
    // How long a request may wait for the UI thread (a modal dialog's loop
    // serves it too, so only a hung program makes it wait this long).
    static constexpr std::chrono::milliseconds kAnswerWait{55000};

    ControlRequests(CVelmorDlg& window, PlatformServices& services, std::filesystem::path programFolder);
    ~ControlRequests();
    ControlRequests(const ControlRequests&) = delete;
    ControlRequests& operator=(const ControlRequests&) = delete;

    // Requests carried out so far (the script's wait-for-request).
    std::uint64_t handled() const { return handled_.load(); }

    // Carries out one request line (as zavrinctl sends it) and gives the
    // result line it would get back; for callers already on the UI thread,
    // which the channel's own handler must never be called from. UI thread only.
    std::string answer(std::string_view request);

private:
    class Receiver;
    struct Queue;

    void runPending();
    LanguageTable englishNames() const;

    CVelmorDlg& window_;
    PlatformServices& services_;
    std::filesystem::path programFolder_;
    std::shared_ptr<Queue> queue_;
    std::unique_ptr<Receiver> receiver_;
    std::atomic<std::uint64_t> handled_{0};
};

}  // namespace zavrin
