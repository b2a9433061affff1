#include "platform/win32/NativeProbe.h"

#include <windows.h>

namespace zavrin {

namespace {

::HWND Native(std::uintptr_t hwnd) { return reinterpret_cast<::HWND>(hwnd); }

LPARAM ClientPoint(POINT p) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16) | (p.x & 0xFFFF));
}

}  // namespace

NativeWindowFacts ProbeNativeWindow(std::uintptr_t hwnd) {
    NativeWindowFacts facts;
    ::HWND h = Native(hwnd);
    if (h == nullptr || !IsWindow(h)) return facts;
    facts.exists = true;
    facts.visible = IsWindowVisible(h) != FALSE;
    wchar_t name[256] = {};
    const int n = GetClassNameW(h, name, 256);
    for (int i = 0; i < n; ++i) facts.className.push_back(static_cast<char>(name[i] < 128 ? name[i] : '?'));
    facts.style = static_cast<std::uint32_t>(GetWindowLongW(h, GWL_STYLE));
    facts.exStyle = static_cast<std::uint32_t>(GetWindowLongW(h, GWL_EXSTYLE));
    ::RECT r{};
    GetWindowRect(h, &r);
    facts.rect = RECT{r.left, r.top, r.right, r.bottom};
    BYTE alpha = 0;
    DWORD flags = 0;
    if ((facts.exStyle & WS_EX_LAYERED) != 0 && GetLayeredWindowAttributes(h, nullptr, &alpha, &flags)) {
        facts.layeredAlpha = (flags & LWA_ALPHA) != 0 ? alpha : 255;
    }
    facts.owner = reinterpret_cast<std::uintptr_t>(GetWindow(h, GW_OWNER));
    return facts;
}

COLORREF NativeClientPixel(std::uintptr_t hwnd, POINT client) {
    HDC dc = GetDC(Native(hwnd));
    const ::COLORREF c = ::GetPixel(dc, client.x, client.y);
    ReleaseDC(Native(hwnd), dc);
    return static_cast<COLORREF>(c);
}

void PostNativeClick(std::uintptr_t hwnd, POINT client) {
    PostMessageW(Native(hwnd), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(client));
    PostMessageW(Native(hwnd), WM_LBUTTONUP, 0, ClientPoint(client));
}

void PostNativeClose(std::uintptr_t hwnd) { PostMessageW(Native(hwnd), WM_CLOSE, 0, 0); }

void SendNativeKey(std::uint16_t virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace zavrin
