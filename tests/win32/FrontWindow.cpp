// A program of its own that comes to the front for a while and ends: the
// other program of the automatic-profiles test under Wine.
//
//   win32_front_window [MILLISECONDS]   (default 3000)
//
// Windows raises EVENT_SYSTEM_FOREGROUND itself whenever the foreground window
// changes. Wine 8 does not (its foreground moves without the event, although
// it passes the event on to out-of-context hooks in other processes when a
// program raises it), so this program raises it for its own window, as
// Windows would, and the watcher's hook in zavrin.exe is what is tested.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"ZavrinFrontWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(windowClass.lpszClassName, L"front window", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200,
                                nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
    const long stay = arguments != nullptr && *arguments != 0 ? std::wcstol(arguments, nullptr, 10) : 3000;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(stay);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= until) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return 0;
}
