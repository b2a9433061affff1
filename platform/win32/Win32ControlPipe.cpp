#include "platform/win32/Win32ControlPipe.h"

#include <algorithm>
#include <string_view>

#include "platform/win32/WideText.h"

#include <windows.h>
#include <sddl.h>

namespace zavrin::win32 {

namespace {

constexpr std::string_view kRequestPrefix = "zavrin request ";
// The longest line taken either way; zavrinctl's are a few hundred bytes.
constexpr std::size_t kMaxLine = 64 * 1024;
constexpr DWORD kBufferSize = 64 * 1024;
// How long a connected client may take to say its request.
constexpr DWORD kRequestWaitMs = 1000;
// How long a client looks for the pipe of a program that holds the folder.
constexpr std::chrono::seconds kFindWait{2};
constexpr DWORD kRetryMs = 20;

// The current user's SID as text ("S-1-5-21-..."); empty when it cannot be had.
std::wstring UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::wstring text;
    if (size > 0) {
        auto buffer = std::make_unique<unsigned char[]>(size);
        wchar_t* sid = nullptr;
        if (GetTokenInformation(token, TokenUser, buffer.get(), size, &size) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &sid)) {
            text = sid;
            LocalFree(sid);
        }
    }
    CloseHandle(token);
    return text;
}

// One read or write on an overlapped handle, waiting at most `waitMs`. On a
// timeout the transfer is cancelled (and waited for, so that `ov` is no longer
// the system's when this returns) and the result is false.
// `start` issues it: ReadFile or WriteFile with the OVERLAPPED it is given.
template <typename Start>
bool Transfer(HANDLE pipe, HANDLE event, Start start, DWORD& done, DWORD waitMs) {
    OVERLAPPED ov{};
    ov.hEvent = event;
    ResetEvent(event);
    done = 0;
    const BOOL started = start(&ov);
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(event, waitMs) != WAIT_OBJECT_0) {
        CancelIoEx(pipe, &ov);
        GetOverlappedResult(pipe, &ov, &done, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &ov, &done, FALSE) != FALSE;
}

// Reads up to the first line end (not included); false when the other end
// stops short, says too much or is silent for `waitMs` between pieces.
bool ReadLine(HANDLE pipe, HANDLE event, std::string& line, DWORD waitMs) {
    line.clear();
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        const auto read = [&](OVERLAPPED* ov) { return ReadFile(pipe, buffer, sizeof buffer, nullptr, ov); };
        if (!Transfer(pipe, event, read, got, waitMs) || got == 0) return false;
        line.append(buffer, got);
        const std::size_t end = line.find('\n');
        if (end != std::string::npos) {
            line.resize(end);
            return true;
        }
        if (line.size() > kMaxLine) return false;
    }
}

bool WriteAll(HANDLE pipe, HANDLE event, std::string_view data, DWORD waitMs) {
    while (!data.empty()) {
        DWORD put = 0;
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(data.size(), kBufferSize));
        const auto write = [&](OVERLAPPED* ov) { return WriteFile(pipe, data.data(), piece, nullptr, ov); };
        if (!Transfer(pipe, event, write, put, waitMs) || put == 0) return false;
        data.remove_prefix(put);
    }
    return true;
}

}  // namespace

struct ControlPipe::State {
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE connected = nullptr;  // manual reset: set when a client connected
    HANDLE io = nullptr;         // the reads and writes of one request
    OVERLAPPED connect{};
    bool connecting = false;  // a ConnectNamedPipe is outstanding

    ~State() {
        if (connecting) {
            DWORD ignored = 0;
            CancelIoEx(pipe, &connect);
            GetOverlappedResult(pipe, &connect, &ignored, TRUE);
        }
        if (pipe != INVALID_HANDLE_VALUE) CloseHandle(pipe);
        for (HANDLE h : {connected, io}) {
            if (h != nullptr) CloseHandle(h);
        }
    }
};

ControlPipe::ControlPipe() : state_(std::make_unique<State>()) {}

ControlPipe::~ControlPipe() = default;

std::wstring ControlPipe::pipeName(const std::string& objectName) {
    return L"\\\\.\\pipe\\" + WideFromUtf8(objectName) + L" control " + UserSid();
}

bool ControlPipe::listen(const std::string& objectName) {
    const std::wstring sid = UserSid();
    if (sid.empty()) return false;
    // Protected (no inherited entries), with one entry: full access for this user.
    const std::wstring sddl = L"D:P(A;;GA;;;" + sid + L")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    state_->pipe = CreateNamedPipeW(pipeName(objectName).c_str(),
                                    PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                    PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                    1, kBufferSize, kBufferSize, 0, &attributes);
    LocalFree(descriptor);
    if (state_->pipe == INVALID_HANDLE_VALUE) return false;
    state_->connected = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state_->io = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return state_->connected != nullptr && state_->io != nullptr && awaitClient();
}

void* ControlPipe::connected() const { return state_->connected; }

bool ControlPipe::awaitClient() {
    state_->connect = OVERLAPPED{};
    state_->connect.hEvent = state_->connected;
    ResetEvent(state_->connected);
    if (ConnectNamedPipe(state_->pipe, &state_->connect)) {
        SetEvent(state_->connected);
        return true;
    }
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        state_->connecting = true;
        return true;
    case ERROR_PIPE_CONNECTED:  // the client came between creating and connecting
        SetEvent(state_->connected);
        return true;
    default:
        return false;
    }
}

void ControlPipe::serve(const Answer& answer) {
    if (state_->connecting) {
        DWORD ignored = 0;
        GetOverlappedResult(state_->pipe, &state_->connect, &ignored, FALSE);
        state_->connecting = false;
    }
    std::string line;
    if (ReadLine(state_->pipe, state_->io, line, kRequestWaitMs) && line.starts_with(kRequestPrefix)) {
        const std::string reply = answer(line.substr(kRequestPrefix.size()));
        // The client waits for it; one that gave up meanwhile just misses it.
        WriteAll(state_->pipe, state_->io, reply + "\n", kRequestWaitMs);
        FlushFileBuffers(state_->pipe);
    }
    DisconnectNamedPipe(state_->pipe);
    awaitClient();
}

std::optional<std::string> ControlPipe::send(const std::string& objectName, const std::string& request,
                                             std::chrono::milliseconds timeout,
                                             const std::function<bool()>& programRuns) {
    if (!programRuns()) return std::nullopt;
    const std::wstring name = pipeName(objectName);
    const auto findBy = std::chrono::steady_clock::now() + kFindWait;
    const auto busyBy = std::chrono::steady_clock::now() + timeout;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    for (;;) {
        pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        if (pipe != INVALID_HANDLE_VALUE) break;
        const DWORD error = GetLastError();
        const auto now = std::chrono::steady_clock::now();
        if (error == ERROR_PIPE_BUSY) {
            // Another request is being served: wait for its end, within ours.
            if (now >= busyBy) return std::string();
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(busyBy - now).count();
            WaitNamedPipeW(name.c_str(), static_cast<DWORD>(std::min<long long>(left, 1000)));
            continue;
        }
        if (error != ERROR_FILE_NOT_FOUND) return std::string();
        if (!programRuns()) return std::nullopt;
        if (now >= findBy) return std::string();
        Sleep(kRetryMs);
    }
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::string answer;
    const auto waitMs = static_cast<DWORD>(timeout.count());
    const bool answered = event != nullptr &&
                          WriteAll(pipe, event, std::string(kRequestPrefix) + request + "\n", waitMs) &&
                          ReadLine(pipe, event, answer, waitMs);
    if (event != nullptr) CloseHandle(event);
    CloseHandle(pipe);
    return answered ? answer : std::string();
}

}  // namespace zavrin::win32
