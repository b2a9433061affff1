#include "ui/CImageShowList.h"

#include <cstdio>

#include "model/NameTables.h"
#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr COLORREF kListBackground = 0x4B4B4B;
constexpr int kRowHeight = 20;
// Codes below this are delays.
constexpr std::uint8_t kFirstEventCode = 8;
constexpr std::uint8_t kMouseXCode = 229;
constexpr std::uint8_t kMouseYCode = 230;
constexpr std::uint8_t kWheelCode = 231;

std::string Directed(const char* positive, const char* negative, std::uint8_t amount) {
    const int value = static_cast<std::int8_t>(amount);
    char buffer[48];
    if (value < 0) {
        std::snprintf(buffer, sizeof buffer, "%s %d", negative, -value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%s %d", positive, value);
    }
    return buffer;
}
}  // namespace

std::string MacroActionText(const MacroAction& a) {
    if (a.b0 < kFirstEventCode) {
        const std::uint32_t ms = (std::uint32_t{a.b1} << 16) | (std::uint32_t{a.b2} << 8) | a.b3;
        return std::to_string(ms) + "ms";
    }
    switch (a.b0) {
        case kMouseXCode: return Directed("Move Right", "Move Left", a.b3);
        case kMouseYCode: return Directed("Move Down", "Move Up", a.b3);
        case kWheelCode: return Directed("Wheel Down", "Wheel Up", a.b3);
        default: return std::string(keyName(a.b0));
    }
}

CImageShowList::CImageShowList(HWND parent, std::uint32_t, const RECT& rect, std::string text, BOOL shown,
                               BOOL visible, BOOL disabled)
    : CControlBase(parent, kId, rect, std::move(text), shown, visible, disabled, TRUE),
      rowsVisible(listRowsVisible(rect.bottom - rect.top, uiScale)) {}

bool CImageShowList::LoadReleaseIcon(const std::filesystem::path& path) { return LoadInto(releaseIcon, path); }
bool CImageShowList::LoadPressIcon(const std::filesystem::path& path) { return LoadInto(pressIcon, path); }
bool CImageShowList::LoadDelayIcon(const std::filesystem::path& path) { return LoadInto(delayIcon, path); }

void CImageShowList::SetMacro(const MacroRecord* shown) {
    macro = shown;
    Invalidate();
}

void CImageShowList::SelectRow(int row) {
    Change(selectedRow, row);
}

void CImageShowList::SetTopRow(int row) {
    Change(topRow, row);
}

BOOL CImageShowList::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }

BOOL CImageShowList::OnLButtonDown(WPARAM, POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    state = kStatePressed;
    if (macro != nullptr) {
        const int row = static_cast<int>((p.y - rect.top) / (kRowHeight * static_cast<double>(uiScale)));
        // A click below the last action keeps the selection.
        if (row + FirstRow() < static_cast<int>(macro->actionNum)) selectedRow = row + FirstRow();
    }
    return TRUE;
}

BOOL CImageShowList::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p); }

BOOL CImageShowList::OnLButtonDblClk(WPARAM, POINT p) { return StandardLButtonDblClk(p); }

void CImageShowList::Draw(Canvas& dc, const RECT&) {
    dc.FillRect(rect, kListBackground);
    if (macro == nullptr) return;
    const float s = uiScale;
    const int count = static_cast<int>(std::min<std::uint32_t>(macro->actionNum, kMacroActionCapacity));
    const int rowHeight = scaled(kRowHeight, s);
    const int iconW = scaled(imageWidth, s);
    const int iconH = scaled(imageHeight, s);
    for (int r = 0; r < rowsVisible && FirstRow() + r < count; ++r) {
        const int row = FirstRow() + r;
        const RECT rowRect{rect.left + scaled(17, s), rect.top + r * rowHeight, rect.right - scaled(2, s),
                           rect.top + (r + 1) * rowHeight};
        if (row == selectedRow) dc.FillRect(rowRect, UiColor::Accent);
        const MacroAction& a = macro->actions[static_cast<std::size_t>(row)];
        const Picture* icon = &delayIcon;
        if (a.b0 >= kFirstEventCode) icon = (a.b1 & 0x80) ? &releaseIcon : &pressIcon;
        const int iconLeft = rowRect.left - scaled(15, s);
        const int iconTop = rowRect.top + scaled(3, s);
        DrawPicture(dc, *icon, RECT{iconLeft, iconTop, iconLeft + iconW, iconTop + iconH});
        dc.DrawText(MacroActionText(a), rowRect, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font,
                    UiColor::White);
    }
}

void CImageShowList::ReleaseImages() {
    releaseIcon.reset();
    pressIcon.reset();
    delayIcon.reset();
}

}  // namespace zavrin
