#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Backend.h"

namespace zavrin {

// The window backend on Windows: one user32 window per window of the window
// layer, every one a borderless WS_POPUP whose client area is the whole window.
// The main window (appWindow) has the class "Kestrune_QTV" so that a second
// copy can find it; the on-screen display (noActivate, layered) never takes the
// activation. Frames are copied from the layer's surface with SetDIBitsToDevice,
// only the part that changed; WM_PAINT repaints from the last surface.
//
// Input arrives as window messages, turned into InputEvents while the message
// queue is pumped (PollEvent, WaitForEvent). Keys report left and right
// modifiers apart (VK_LSHIFT, VK_RCONTROL, ...).
//
// Threads: everything on the thread that made the backend (the UI thread),
// except Wake().
class Win32Backend final : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // Messages from WM_USER up that reach a native window without coming from
    // the window layer (a second copy's request to the main window): handed
    // over as they arrive, on the UI thread.
    using ForeignMessageHandler = std::function<void(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;
    void setForeignMessageHandler(ForeignMessageHandler handler);

    // The native window handle (an HWND's value) of a window; 0 when unknown.
    std::uintptr_t nativeHandle(NativeWindowId id) const;

    Clock& clock() override;
    void CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) override;
    void DestroyNativeWindow(NativeWindowId id) override;
    void MoveNativeWindow(NativeWindowId id, const RECT& screenRect) override;
    void ShowNativeWindow(NativeWindowId id, bool shown) override;
    void SetNativeTopmost(NativeWindowId id, bool topmost) override;
    void SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) override;
    void ActivateNativeWindow(NativeWindowId id) override;
    void Present(NativeWindowId id, const Image& surface, const RECT& dirty) override;
    bool PollEvent(InputEvent& event) override;
    WaitResult WaitForEvent(Clock::Duration timeout) override;
    void Wake() override;
    ScreenMetrics GetScreenMetrics() override;
    void SetNativeCapture(NativeWindowId id, bool captured) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The class name of the program's main window.
inline constexpr const wchar_t* kMainWindowClass = L"Kestrune_QTV";

}  // namespace zavrin
