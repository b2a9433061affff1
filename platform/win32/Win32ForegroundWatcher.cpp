#include "platform/win32/Win32ForegroundWatcher.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "platform/win32/WideText.h"

#include <windows.h>
#undef PostMessage

namespace zavrin::win32 {

namespace {

ForegroundHookWatcher* gWatcher = nullptr;

void CALLBACK OnForeground(HWINEVENTHOOK, DWORD event, ::HWND window, LONG object, LONG, DWORD, DWORD) {
    if (event != EVENT_SYSTEM_FOREGROUND || object != OBJID_WINDOW || gWatcher == nullptr) return;
    gWatcher->foregroundChanged(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

ForegroundHookWatcher::~ForegroundHookWatcher() { Stop(); }

ForegroundProgram ForegroundHookWatcher::ProgramOf(std::uintptr_t nativeWindow) {
    DWORD pid = 0;
    GetWindowThreadProcessId(reinterpret_cast<::HWND>(nativeWindow), &pid);
    // The program's own windows say nothing about which game is in front.
    if (pid == 0 || pid == GetCurrentProcessId()) return {};
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return {};
    wchar_t path[MAX_PATH * 4];
    DWORD size = static_cast<DWORD>(std::size(path));
    const bool named = QueryFullProcessImageNameW(process, 0, path, &size) != FALSE;
    CloseHandle(process);
    if (!named) return {};
    const std::string full = Utf8FromWide(std::wstring(path, size));
    const std::size_t cut = full.find_last_of("\\/");
    return ForegroundProgram{full, cut == std::string::npos ? full : full.substr(cut + 1)};
}

bool ForegroundHookWatcher::Start(HWND target, UINT message) {
    if (gWatcher != nullptr && gWatcher != this) return false;
    ForegroundWatcherBase::Start(target, message);
    gWatcher = this;
    if (hook_ == nullptr) {
        hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnForeground, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    if (hook_ == nullptr) {
        gWatcher = nullptr;
        return false;
    }
    // The program in front now counts as the first change.
    foregroundChanged(reinterpret_cast<std::uintptr_t>(::GetForegroundWindow()));
    return true;
}

void ForegroundHookWatcher::Stop() {
    if (hook_ != nullptr) UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook_));
    hook_ = nullptr;
    if (gWatcher == this) gWatcher = nullptr;
    ForegroundWatcherBase::Stop();
}

}  // namespace zavrin::win32
