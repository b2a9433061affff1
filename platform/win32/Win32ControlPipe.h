#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zavrin::win32 {

// zavrinctl's request channel on Windows: a named pipe beside the single
// instance's mutex, one per user and data folder.
//
// - The name is "\\.\pipe\<instance object name> control <user SID>": pipe
//   names are machine-wide, unlike the session's mutex names, so the user's
//   SID keeps two users' programs apart.
// - Only the current user may open it (its security descriptor admits that
//   user alone), only from this machine (PIPE_REJECT_REMOTE_CLIENTS), and the
//   first instance is taken with FILE_FLAG_FIRST_PIPE_INSTANCE, so another
//   process cannot have created the name first and listen in our place.
// - A client opens it for identification only, so a program at the other end
//   could never act in the client's name.
// - One request a connection, as one line each way: "zavrin request <text>\n"
//   in, "<answer>\n" out, like the Unix socket's. Every wait is bounded: a
//   client that says nothing is dropped after a second, and a program that
//   does not answer within the client's timeout is given up.
//
// Threads: the server side (listen, connected, serve, the destructor) belongs
// to one thread, the single instance's listener; send from any thread.
class ControlPipe {
public:
    using Answer = std::function<std::string(const std::string&)>;

    ControlPipe();
    ~ControlPipe();
    ControlPipe(const ControlPipe&) = delete;
    ControlPipe& operator=(const ControlPipe&) = delete;

    // Creates the pipe for `objectName` and waits for the first client. False
    // when the system refused it: the program then runs without the channel.
    bool listen(const std::string& objectName);
    // The event (a HANDLE) that is set once a client has connected.
    void* connected() const;
    // Serves the client that connected: reads its request, gives it the line
    // `answer` returns (an empty line: not taken) and waits for the next client.
    void serve(const Answer& answer);

    // Hands `request` to the program listening for `objectName`. Nullopt when
    // `programRuns` says no program holds the folder; an empty text when one
    // does but gave no answer: no pipe within two seconds (a program that is
    // only starting opens it within them), the pipe busy or silent for longer
    // than `timeout`.
    static std::optional<std::string> send(const std::string& objectName, const std::string& request,
                                           std::chrono::milliseconds timeout, const std::function<bool()>& programRuns);

    // The pipe's full name for `objectName` and the current user.
    static std::wstring pipeName(const std::string& objectName);

private:
    bool awaitClient();

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace zavrin::win32
