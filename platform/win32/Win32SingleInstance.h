#pragma once

#include <filesystem>
#include <functional>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/ShowRequestRelay.h"
#include "platform/win32/Win32ControlPipe.h"
#include "platform/Window.h"

namespace zavrin::win32 {

// One copy of the program per data folder, with hand-over, without needing a
// window or a message loop (so headless runs have it too): the first copy owns
// a named mutex and waits on a named event on a thread of its own; a later copy
// with the same data folder sets the event.
//
// The names are "20210610 Mouse 33XX" for the user's own data folder and that
// name with a hash of the folder for any other, so copies with different data
// folders (tests side by side) never meet. The system drops a dead copy's
// mutex and event, so nothing it left blocks a start.
//
// zavrinctl's control requests come through a named pipe beside them (see
// ControlPipe), served on the same listener thread.
//
// Threads: claim and the destructor on one thread; setTarget, setHandler and
// setControlHandler from any thread. The listener thread only calls
// PostMessage (or the handlers).
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True: the first copy for `dataFolder`; show requests are accepted until
    // the object goes. False: another live copy holds the folder.
    bool claim(const std::filesystem::path& dataFolder);

    // Where show requests go: PostMessage(target, message, 0, 0). A request that
    // came before a target was set is delivered once it is set.
    void setTarget(HWND target, UINT message);
    void setHandler(std::function<void()> handler);

    // Control requests (zavrinctl's, one line of text each) go to `handler`,
    // which runs on the listener thread and returns the one-line answer; an
    // empty answer says the request was not taken. Only the same user's
    // processes on this machine can reach the pipe.
    using ControlHandler = std::function<std::string(const std::string&)>;
    void setControlHandler(ControlHandler handler);

    // Hands one control request to the first copy of `dataFolder` and returns
    // its answer: nullopt when no copy holds the folder; an empty text when one
    // does but gave no answer (it refused the request, has no pipe, or did not
    // answer within `timeout`).
    static std::optional<std::string> sendControlRequest(const std::filesystem::path& dataFolder,
                                                         const std::string& request,
                                                         std::chrono::milliseconds timeout);

    // Asks the first copy of `dataFolder` to show itself; false when no copy
    // holds the folder.
    static bool signalFirst(const std::filesystem::path& dataFolder);

    // Tells the copy running for `dataFolder`, if any, that the automatic-
    // profile rules file changed (the event "<name> reload app profiles"; it
    // arrives as (message, ShowRequestRelay::kReloadAppProfiles, 0)). False when
    // no copy runs.
    static bool signalReloadAppProfiles(const std::filesystem::path& dataFolder);

    // The kernel object name for a data folder.
    static std::string objectName(const std::filesystem::path& dataFolder);

private:
    void listen();
    std::string answerControl(const std::string& request);

    struct Handles;
    std::unique_ptr<Handles> handles_;
    std::thread listener_;
    ShowRequestRelay requests_;
    ControlPipe pipe_;
    bool controlPipe_ = false;  // the pipe listens
    std::mutex controlMutex_;
    std::condition_variable controlSet_;
    ControlHandler control_;
    bool stopping_ = false;
};

}  // namespace zavrin::win32
