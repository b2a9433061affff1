#pragma once

#include <atomic>
#include <condition_variable>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/ShowRequestRelay.h"
#include "platform/Window.h"

namespace zavrin::posix {

// One copy of the program per user and data folder, with hand-over: the first
// copy holds a lock file (flock) and listens on a Unix socket; a later copy with
// the same data folder connects and asks the first one to show itself.
//
// Both files live in $XDG_RUNTIME_DIR (else /tmp/zavrin-<uid>, made 0700 and
// checked to be ours), named "zavrin-<hash>" from a 64-bit hash of the data
// folder's canonical path, so copies with different data folders never meet.
// A copy that died leaves nothing that blocks a start: the kernel drops its
// lock, and the next first copy removes and rebinds the socket it left.
//
// The asking side (the static functions) lives in InstanceClient.h, where the
// `zavrin` launcher reaches it without this class's threads and windows.
//
// Threads: claim and the destructor on one thread; setTarget and the handler
// from any thread. The listener thread only calls PostMessage (or the handler).
class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();  // stops listening, removes the socket, drops the lock
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True: this process is the first copy for `dataFolder` (the folder need not
    // exist yet); the lock is held and show requests are accepted until the
    // object goes. False: another live copy holds the folder. Once per object.
    bool claim(const std::filesystem::path& dataFolder);

    // Where show requests go: PostMessage(target, message, 0, 0). Requests that
    // arrived before a target was set are delivered (once) when it is set.
    void setTarget(HWND target, UINT message);
    // The same for a caller without windows (tests, tools): `handler` runs on the
    // listener thread. Replaces a target.
    void setHandler(std::function<void()> handler);
    // Every kind of request (ShowRequestRelay::kShow, kReloadAppProfiles).
    void setRequestHandler(std::function<void(WPARAM)> handler);

    // Control requests (zavrinctl's, one line of text each) go to `handler`,
    // which runs on the listener thread and returns the one-line answer; an
    // empty answer says the request was not taken. Requests come only from
    // processes of the same user: the peer's credentials are checked.
    using ControlHandler = std::function<std::string(const std::string&)>;
    void setControlHandler(ControlHandler handler);

    // Hands one control request to the first copy of `dataFolder` and returns
    // its answer: nullopt when no copy holds the folder; an empty text when one
    // does but gave no answer (it refused the request, or did not answer
    // within `timeout`).
    static std::optional<std::string> sendControlRequest(const std::filesystem::path& dataFolder,
                                                         const std::string& request,
                                                         std::chrono::milliseconds timeout);

    // Asks the first copy of `dataFolder` to show itself. True when it answered;
    // false at once when no copy holds the folder, else after at most ~2 s.
    static bool signalFirst(const std::filesystem::path& dataFolder);

    // Tells the copy running for `dataFolder`, if any, that the automatic-
    // profile rules file changed ("zavrin reload-app-profiles\n" on the socket;
    // it arrives at the target as (message, ShowRequestRelay::kReloadAppProfiles, 0)).
    // False when no copy answered.
    static bool signalReloadAppProfiles(const std::filesystem::path& dataFolder);

    // The lock and socket paths for a data folder (without the ".lock"/".sock").
    static std::filesystem::path basePath(const std::filesystem::path& dataFolder);

private:
    void listen();
    void serve(int client);

    int lockFd_ = -1;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::filesystem::path lockPath_;
    std::filesystem::path socketPath_;
    std::thread listener_;

    ShowRequestRelay requests_;
    std::mutex controlMutex_;
    std::condition_variable controlSet_;
    ControlHandler control_;
    bool stopping_ = false;
};

}  // namespace zavrin::posix
