#include "platform/win32/Win32SingleInstance.h"

#include <cwctype>

#include "model/DataPaths.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Folders.h"

#include <windows.h>
#undef PostMessage

namespace zavrin::win32 {

namespace {

constexpr std::string_view kMutexBase = "20210610 Mouse 33XX";
constexpr const wchar_t* kShowSuffix = L" show";
constexpr const wchar_t* kReloadSuffix = L" reload app profiles";
// How long a control request that comes while the program is still starting
// waits for its handler rather than being turned away.
constexpr std::chrono::seconds kControlStartWait{10};

// FNV-1a over the folder's normalised wide path: the same in every process,
// which std::hash is not required to be.
std::uint64_t FolderHash(const std::filesystem::path& folder) {
    // Absolute first: the program makes its folder absolute, while zavrinctl
    // and a second copy may be given it without a drive ("\\data") or relative.
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(folder, error);
    std::wstring text = (error ? folder : full).lexically_normal().wstring();
    while (text.size() > 1 && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
    std::uint64_t h = 1469598103934665603ull;
    for (wchar_t ch : text) {
        // Windows paths ignore case, and both slashes name the same folder.
        const wchar_t c = ch == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(ch));
        h = (h ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    return h;
}

std::filesystem::path UsersOwnFolder() {
    const std::filesystem::path roaming = Win32RoamingAppDataFolder();
    return roaming.empty() ? roaming : roaming / std::string(kDataFolderName);
}

}  // namespace

struct SingleInstance::Handles {
    HANDLE mutex = nullptr;
    HANDLE show = nullptr;
    HANDLE reload = nullptr;
    HANDLE stop = nullptr;
    ~Handles() {
        for (HANDLE h : {show, reload, stop, mutex}) {
            if (h != nullptr) CloseHandle(h);
        }
    }
};

std::string SingleInstance::objectName(const std::filesystem::path& dataFolder) {
    std::string name(kMutexBase);
    const std::filesystem::path own = UsersOwnFolder();
    if (!own.empty() && FolderHash(own) == FolderHash(dataFolder)) return name;
    char hex[17];
    const std::uint64_t h = FolderHash(dataFolder);
    for (int i = 0; i < 16; ++i) hex[i] = "0123456789ABCDEF"[(h >> (60 - 4 * i)) & 0xF];
    hex[16] = '\0';
    return name + " " + hex;
}

SingleInstance::SingleInstance() : handles_(std::make_unique<Handles>()) {}

SingleInstance::~SingleInstance() {
    {
        std::lock_guard lock(controlMutex_);
        stopping_ = true;
        controlSet_.notify_all();
    }
    if (listener_.joinable()) {
        SetEvent(handles_->stop);
        listener_.join();
    }
}

bool SingleInstance::claim(const std::filesystem::path& dataFolder) {
    const std::wstring name = WideFromUtf8(objectName(dataFolder));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) return true;  // nothing to guard with; a lone copy is better than none
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    handles_->mutex = mutex;
    handles_->show = CreateEventW(nullptr, FALSE, FALSE, (name + kShowSuffix).c_str());
    handles_->reload = CreateEventW(nullptr, FALSE, FALSE, (name + kReloadSuffix).c_str());
    handles_->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Without the pipe the program still runs; zavrinctl then finds it running
    // but unreachable, and writes nothing beside it.
    controlPipe_ = pipe_.listen(objectName(dataFolder));
    if (handles_->show != nullptr && handles_->reload != nullptr && handles_->stop != nullptr)
        listener_ = std::thread([this] { listen(); });
    return true;
}

void SingleInstance::listen() {
    const HANDLE waits[] = {handles_->stop, handles_->show, handles_->reload, pipe_.connected()};
    const DWORD count = controlPipe_ ? 4 : 3;
    for (;;) {
        const DWORD r = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (r == WAIT_OBJECT_0 + 1) {
            requests_.deliver(ShowRequestRelay::kShow);
        } else if (r == WAIT_OBJECT_0 + 2) {
            requests_.deliver(ShowRequestRelay::kReloadAppProfiles);
        } else if (r == WAIT_OBJECT_0 + 3) {
            pipe_.serve([this](const std::string& request) { return answerControl(request); });
        } else {
            return;
        }
    }
}

std::string SingleInstance::answerControl(const std::string& request) {
    ControlHandler handler;
    {
        std::unique_lock lock(controlMutex_);
        controlSet_.wait_for(lock, kControlStartWait, [this] { return control_ || stopping_; });
        handler = control_;
    }
    return handler ? handler(request) : std::string();
}

void SingleInstance::setControlHandler(ControlHandler handler) {
    std::lock_guard lock(controlMutex_);
    control_ = std::move(handler);
    controlSet_.notify_all();
}

void SingleInstance::setTarget(HWND target, UINT message) { requests_.setTarget(target, message); }

void SingleInstance::setHandler(std::function<void()> handler) { requests_.setHandler(std::move(handler)); }

std::optional<std::string> SingleInstance::sendControlRequest(const std::filesystem::path& dataFolder,
                                                              const std::string& request,
                                                              std::chrono::milliseconds timeout) {
    const std::string name = objectName(dataFolder);
    const std::wstring mutexName = WideFromUtf8(name);
    // The mutex lives exactly as long as the first copy: the system drops it
    // with a copy that died, so a stale pipe name never counts as a program.
    const auto programRuns = [&mutexName] {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, mutexName.c_str());
        if (mutex == nullptr) return GetLastError() != ERROR_FILE_NOT_FOUND;
        CloseHandle(mutex);
        return true;
    };
    return ControlPipe::send(name, request, timeout, programRuns);
}

bool SingleInstance::signalReloadAppProfiles(const std::filesystem::path& dataFolder) {
    const std::wstring name = WideFromUtf8(objectName(dataFolder)) + kReloadSuffix;
    HANDLE reload = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (reload == nullptr) return false;
    const bool set = SetEvent(reload) != FALSE;
    CloseHandle(reload);
    return set;
}

bool SingleInstance::signalFirst(const std::filesystem::path& dataFolder) {
    const std::wstring name = WideFromUtf8(objectName(dataFolder)) + kShowSuffix;
    HANDLE show = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (show == nullptr) return false;
    const bool set = SetEvent(show) != FALSE;
    CloseHandle(show);
    return set;
}

}  // namespace zavrin::win32
