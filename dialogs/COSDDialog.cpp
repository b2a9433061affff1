#include "dialogs/COSDDialog.h"

#include "platform/Canvas.h"
#include "ui/UiGlobals.h"
#include "ui/UiMessages.h"

namespace zavrin {

namespace {
int S(int v) {
    return static_cast<int>(static_cast<float>(v) * uiScale);
}

Font OsdFont(int height, int width, int weight) {
    Font f;
    f.face = uiLanguage.uiFontFace;
    f.height = S(height);
    f.width = S(width);
    f.weight = weight;
    f.charset = uiLanguage.uiFontCharset;
    return f;
}

// Glyph counts, not bytes: the value and rate texts are ASCII, but a
// language file could put anything into them.
std::size_t Length(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}
}  // namespace

COSDDialog::COSDDialog() {
    dialogExStyle = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
}

bool COSDDialog::Open() {
    const RECT work = GetWorkArea();
    const int w = S(kDesignWidth);
    const int h = S(kDesignHeight);
    const int left = work.right - w;
    const int top = work.bottom - h;
    dialogRect = RECT{left, top, left + w, top + h};
    if (!Create()) return false;
    SetLayeredWindowAttributes(GetSafeHwnd(), kOpacity);
    SetWindowPos(HWND_TOPMOST, left, top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return true;
}

void COSDDialog::SetTexts(std::string line1, std::string line2, std::string line3) {
    line1_ = std::move(line1);
    line2_ = std::move(line2);
    line3_ = std::move(line3);
    Invalidate(FALSE);
}

void COSDDialog::Paint() {
    PAINTSTRUCT ps;
    Canvas* dc = BeginPaint(GetSafeHwnd(), ps);
    if (dc != nullptr) {
        const RECT client = GetClientRect();
        dc->FillRect(client, kBackground);
        const Font small = OsdFont(24, 12, FW_BOLD);
        const Font large = OsdFont(48, 24, FW_NORMAL);
        dc->TextOut(POINT{S(58), S(20)}, line1_, small, UiColor::White);
        const bool song = uiLanguage.uiFontFace == "宋体";
        const std::size_t n = Length(line2_);
        const int x = song ? (n == 5 ? 34 : n == 4 ? 44 : 50) : (n == 5 ? 16 : n == 4 ? 34 : 50);
        dc->TextOut(POINT{S(x), S(44)}, line2_, large, UiColor::White);
        dc->TextOut(POINT{S(Length(line3_) == 6 ? 50 : 57), S(92)}, line3_, small, UiColor::White);
    }
    EndPaint(GetSafeHwnd(), ps);
}

LRESULT COSDDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_KEYDOWN:
        case WM_CLOSE:
            // The display ends only when the main window ends it.
            return 0;
        default:
            return CDialog::WindowProc(message, wParam, lParam);
    }
}

}  // namespace zavrin
