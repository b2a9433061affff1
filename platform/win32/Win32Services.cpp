#include "platform/win32/Win32Services.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/KeyCaptureTarget.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32ForegroundWatcher.h"
#include "platform/win32/Win32SingleInstance.h"

#include <windows.h>
#include <commdlg.h>
#include <dbt.h>
#include <shellapi.h>
// The window layer's PostMessage is the one meant below; Win32's is PostMessageW.
#undef PostMessage

extern "C" {
// hid.dll; declared here so that the DDK headers are not needed for one function.
void __stdcall HidD_GetHidGuid(GUID* hidGuid);
}

namespace zavrin {

namespace {

constexpr const wchar_t* kServicesClass = L"ZavrinServices";
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr DWORD kSecondCopyWaitMs = 5000;
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The value's name; the installer writes the same one for its "Start with
// Windows" choice, so either can undo the other.
constexpr const wchar_t* kRunValue = L"Zavrin ZR2";

template <std::size_t N>
void CopyTruncated(const std::string& text, wchar_t (&field)[N]) {
    const std::wstring wide = WideFromUtf8(text);
    const std::size_t n = std::min(wide.size(), N - 1);
    std::copy_n(wide.begin(), n, field);
    field[n] = L'\0';
}

// An icon from a picture: 32-bit colour with straight alpha, as icons take it.
HICON IconFromImage(const Image& image) {
    if (image.empty()) return nullptr;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = image.width();
    header.bV5Height = -image.height();
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (color == nullptr) return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const COLORREF c = image.colorAt(x, y);
            out[y * image.width() + x] = (static_cast<std::uint32_t>(image.alphaAt(x, y)) << 24) |
                                         (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
                                         (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
        }
    }
    HBITMAP mask = CreateBitmap(image.width(), image.height(), 1, 1, nullptr);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

// "Name\0*.ext\0...\0\0", as the common dialogs take their filters.
std::wstring FilterString(const std::vector<FileFilter>& filters) {
    std::wstring out;
    for (const FileFilter& f : filters) {
        out += WideFromUtf8(f.name);
        out.push_back(L'\0');
        out += WideFromUtf8(f.pattern);
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

}  // namespace

struct Win32Services::Impl {
    std::function<std::uintptr_t(HWND)> nativeHandleOf;
    ::HWND window = nullptr;  // hidden; receives every native notification
    UINT taskbarCreated = 0;

    // Tray.
    bool trayShown = false;
    TrayIconRequest tray;
    HICON trayIcon = nullptr;

    // Single instance.
    std::unique_ptr<win32::SingleInstance> instance;
    HWND showTarget;
    UINT showMessage = 0;
    bool showPending = false;
    std::function<std::string(const std::string&)> control;  // kept for a later claim

    // The front program, for automatic profiles.
    win32::ForegroundHookWatcher foreground;

    // Device notifications.
    HDEVNOTIFY deviceNotify = nullptr;
    HWND deviceTarget;

    // Keyboard capture. One hook per process; the hook procedure finds its
    // receiver through `hooked`.
    HHOOK hook = nullptr;
    KeyCaptureTarget keys;
    static inline Impl* hooked = nullptr;

    static LRESULT CALLBACK WindowProc(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* impl = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (impl != nullptr) {
            LRESULT result = 0;
            if (impl->handle(message, wParam, lParam, result)) return result;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message == kTrayCallback) {
            if (trayShown) zavrin::PostMessage(tray.target, tray.callbackMessage, wParam, lParam);
            return true;
        }
        if (message == ShowRequestMessage) {
            requestShow();
            result = 1;
            return true;
        }
        if (message == WM_DEVICECHANGE) {
            if (deviceTarget && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
                // The broadcast structure lives only during this call; the
                // program rescans anyway, so only the event travels.
                zavrin::PostMessage(deviceTarget, WM_DEVICECHANGE, wParam, 0);
            }
            result = TRUE;
            return true;
        }
        if (taskbarCreated != 0 && message == taskbarCreated && trayShown) {
            // Explorer restarted and forgot every icon.
            addIcon(NIM_ADD);
            return true;
        }
        return false;
    }

    void requestShow() {
        if (showTarget) {
            zavrin::PostMessage(showTarget, showMessage, 0, 0);
        } else {
            // The request came before the main window was ready; it is kept.
            showPending = true;
        }
    }

    NOTIFYICONDATAW iconData() const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = tray.iconId;
        return data;
    }

    bool addIcon(DWORD action) {
        NOTIFYICONDATAW data = iconData();
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kTrayCallback;
        data.hIcon = trayIcon;
        const std::wstring tip = WideFromUtf8(tray.tip);
        const std::size_t n = std::min(tip.size(), std::size(data.szTip) - 1);
        std::copy_n(tip.begin(), n, data.szTip);
        return Shell_NotifyIconW(action, &data) != FALSE;
    }

    static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && hooked != nullptr) {
            const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            hooked->keys.deliver(key->vkCode, (key->flags & LLKHF_UP) != 0, static_cast<std::uint32_t>(key->time));
        }
        // The keys go on to whatever program they were meant for.
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

Win32Services::Win32Services(std::function<std::uintptr_t(HWND)> nativeHandleOf)
    : impl_(std::make_unique<Impl>()) {
    impl_->nativeHandleOf = std::move(nativeHandleOf);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Impl::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kServicesClass;
    RegisterClassExW(&wc);
    // A hidden top-level window rather than a message-only one, so that device
    // notifications surely reach it.
    impl_->window = CreateWindowExW(WS_EX_TOOLWINDOW, kServicesClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, impl_.get());
    impl_->taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Services::~Win32Services() {
    StopKeyboardCapture();
    RemoveTrayIcon();
    if (impl_->deviceNotify != nullptr) UnregisterDeviceNotification(impl_->deviceNotify);
    if (impl_->window != nullptr) DestroyWindow(impl_->window);
}

void Win32Services::onShowRequest() { impl_->requestShow(); }

// ---- Tray -------------------------------------------------------------------

bool Win32Services::AddTrayIcon(const TrayIconRequest& request) {
    RemoveTrayIcon();
    impl_->tray = request;
    impl_->trayIcon = request.icon ? IconFromImage(*request.icon) : nullptr;
    if (impl_->trayIcon == nullptr) impl_->trayIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
    impl_->trayShown = impl_->addIcon(NIM_ADD);
    return impl_->trayShown;
}

void Win32Services::RemoveTrayIcon() {
    if (impl_->trayShown) {
        NOTIFYICONDATAW data = impl_->iconData();
        Shell_NotifyIconW(NIM_DELETE, &data);
        impl_->trayShown = false;
    }
    if (impl_->trayIcon != nullptr) {
        DestroyIcon(impl_->trayIcon);
        impl_->trayIcon = nullptr;
    }
}

ForegroundWatcher* Win32Services::FrontProgramWatcher() { return &impl_->foreground; }

void Win32Services::ShowTrayMenu() {
    if (!impl_->trayShown) return;
    HMENU menu = CreatePopupMenu();
    for (const TrayMenuItem& item : impl_->tray.menu) {
        if (item.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            const UINT check = item.checked ? (*item.checked ? MF_CHECKED : MF_UNCHECKED) : 0;
            AppendMenuW(menu, MF_STRING | check, item.id, WideFromUtf8(item.text).c_str());
        }
    }
    ::POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the empty message afterwards is the documented companion.
    SetForegroundWindow(impl_->window);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, impl_->window, nullptr));
    PostMessageW(impl_->window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen != 0) zavrin::PostMessage(impl_->tray.target, WM_COMMAND, chosen, 0);
}

bool Win32Services::TrayIconShown() const { return impl_->trayShown; }

void Win32Services::UpdateTrayMenu(const std::vector<TrayMenuItem>& menu) {
    // The menu is built anew each time it opens.
    impl_->tray.menu = menu;
}

bool Win32Services::ShowNotification(const std::string& title, const std::string& text) {
    // A balloon (a toast on Windows 10 and later) needs the icon to come from.
    if (!impl_->trayShown) return false;
    NOTIFYICONDATAW data = impl_->iconData();
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_WARNING;
    CopyTruncated(title, data.szInfoTitle);
    CopyTruncated(text, data.szInfo);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// ---- Start at login ---------------------------------------------------------

bool Win32Services::StartsWithDesktop() const {
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool Win32Services::SetStartWithDesktop(bool enabled) {
    if (!enabled) {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    std::vector<wchar_t> program(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (n == 0 || n >= program.size()) return false;
    // Quoted: Program Files has a space in its name.
    const std::wstring command = L"\"" + std::wstring(program.data(), n) + L"\" --tray";
    const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, command.c_str(), bytes) == ERROR_SUCCESS;
}

// ---- Single instance -----------------------------------------------------

bool Win32Services::ClaimSingleInstance(const std::filesystem::path& dataFolder) {
    auto instance = std::make_unique<win32::SingleInstance>();
    if (!instance->claim(dataFolder)) return false;
    impl_->instance = std::move(instance);
    if (impl_->showTarget) impl_->instance->setTarget(impl_->showTarget, impl_->showMessage);
    if (impl_->control) impl_->instance->setControlHandler(impl_->control);
    return true;
}

bool Win32Services::SignalFirstInstance(const std::filesystem::path& dataFolder) {
    if (win32::SingleInstance::signalFirst(dataFolder)) return true;
    // A copy that holds the folder but has no event (an older program) may
    // still answer the main window's message.
    ::HWND first = FindWindowW(L"Kestrune_QTV", nullptr);
    if (first == nullptr) return false;
    // A first copy that hangs must not hang this one as well.
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(first, ShowRequestMessage, 0, 0, SMTO_ABORTIFHUNG, kSecondCopyWaitMs, &answer) != 0;
}

void Win32Services::SetShowRequestTarget(HWND target, UINT showMessage) {
    impl_->showTarget = target;
    impl_->showMessage = showMessage;
    if (impl_->instance) impl_->instance->setTarget(target, showMessage);
    if (impl_->showPending && target) {
        impl_->showPending = false;
        zavrin::PostMessage(target, showMessage, 0, 0);
    }
}

void Win32Services::SetControlRequestHandler(std::function<std::string(const std::string&)> handler) {
    impl_->control = handler;
    if (impl_->instance) impl_->instance->setControlHandler(std::move(handler));
}

// ---- Shell ------------------------------------------------------------------

bool Win32Services::ShellOpen(std::string_view target) {
    if (target.empty()) return false;
    const std::wstring what = WideFromUtf8(target);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", what.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;  // ShellExecute's documented success threshold
}

bool Win32Services::OpenPointerSettings() {
    // rundll32 from the system folder by its full path, so that no program of
    // the same name in the current folder is started instead.
    wchar_t system[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    const std::wstring program = std::wstring(system) + L"\\rundll32.exe";
    std::wstring commandLine = L"rundll32.exe shell32.dll,Control_RunDLL main.cpl,,2";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// ---- File dialogs ---------------------------------------------------------

std::optional<std::filesystem::path> Win32Services::AskForFile(const FileDialogRequest& request) {
    constexpr std::size_t kPathLimit = 32768;  // the longest path Windows allows
    std::vector<wchar_t> file(kPathLimit, L'\0');
    const std::wstring initial = request.initialName.wstring();
    std::copy_n(initial.begin(), std::min(initial.size(), kPathLimit - 1), file.begin());
    const std::wstring filter = FilterString(request.filters);
    const std::wstring title = WideFromUtf8(request.title);
    const std::wstring extension = WideFromUtf8(request.defaultExtension);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<::HWND>(impl_->nativeHandleOf ? impl_->nativeHandleOf(request.owner) : 0);
    ofn.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The current folder stays where it was: the program opens its own files by
    // full paths, but a launch action may rely on it.
    ofn.Flags = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    BOOL chosen = FALSE;
    if (request.mode == FileDialogRequest::Mode::Save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        chosen = GetSaveFileNameW(&ofn);
    } else {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameW(&ofn);
    }
    if (!chosen) return std::nullopt;
    return std::filesystem::path(std::wstring(file.data()));
}

// ---- Clipboard ------------------------------------------------------------

void Win32Services::SetClipboardText(std::string_view text) {
    const std::wstring wide = WideFromUtf8(text);
    if (!OpenClipboard(impl_->window)) return;
    EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = GlobalLock(memory)) {
            std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(p));
            GlobalUnlock(memory);
            // The clipboard owns the memory once it took it.
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

std::string Win32Services::GetClipboardText() {
    std::string text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(impl_->window)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            // Bounded by the block's size: a text without its terminator stops there.
            const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
            std::size_t n = 0;
            while (n < limit && p[n] != L'\0') ++n;
            text = Utf8FromWide(std::wstring_view(p, n));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// ---- Keyboard capture -------------------------------------------------------

void Win32Services::StartKeyboardCapture(HWND target, UINT message) {
    impl_->keys.start(target, message);
    Impl::hooked = impl_.get();
    if (impl_->hook == nullptr) {
        impl_->hook = SetWindowsHookExW(WH_KEYBOARD_LL, &Impl::KeyboardHook, GetModuleHandleW(nullptr), 0);
    }
}

void Win32Services::StopKeyboardCapture() {
    if (impl_->hook != nullptr) {
        UnhookWindowsHookEx(impl_->hook);
        impl_->hook = nullptr;
    }
    impl_->keys.stop();
    if (Impl::hooked == impl_.get()) Impl::hooked = nullptr;
}

// ---- Device notifications -------------------------------------------------

void Win32Services::RegisterDeviceNotifications(HWND target) {
    impl_->deviceTarget = target;
    if (impl_->deviceNotify != nullptr) return;
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    impl_->deviceNotify = RegisterDeviceNotificationW(impl_->window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

}  // namespace zavrin
