#include "ui/CEditShowList.h"

#include <algorithm>

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr COLORREF kListBackground = 0x4B4B4B;
constexpr int kRowHeight = 20;
constexpr int kIconGap = 3;
}  // namespace

CEditShowList::CEditShowList(HWND parent, std::uint32_t, const RECT& rect, std::string text, BOOL shown,
                             BOOL visible, BOOL disabled)
    : CControlBase(parent, kId, rect, std::move(text), shown, visible, disabled, TRUE),
      rowsVisible(listRowsVisible(rect.bottom - rect.top, uiScale)) {}

bool CEditShowList::LoadOpenFolderIcon(const std::filesystem::path& path) { return LoadInto(openFolderIcon, path); }
bool CEditShowList::LoadClosedFolderIcon(const std::filesystem::path& path) {
    return LoadInto(closedFolderIcon, path);
}

void CEditShowList::SetLibrary(MacroLibrary* shown) {
    library = shown;
    Invalidate();
}

void CEditShowList::SelectRow(int row) {
    selectedRow = row;
    selectedLocation_ = library != nullptr ? library->locationOfRow(row) : kNoLocation;
    Invalidate();
}

void CEditShowList::SetTopRow(int row) {
    Change(topRow, row);
}

void CEditShowList::SelectLocation(const MacroLocation& location) {
    selectedLocation_ = location;
    selectedRow = library != nullptr ? library->rowOfLocation(location) : -1;
    Invalidate();
}

int CEditShowList::RowCount() const { return library ? library->visibleRowCount() : 0; }

int CEditShowList::IconWidth() const { return imageWidth; }

int CEditShowList::RowAt(int y) const {
    const double rowHeight = kRowHeight * static_cast<double>(uiScale);
    return static_cast<int>((y - rect.top) / rowHeight);
}

bool CEditShowList::SelectAt(POINT p) {
    const int row = RowAt(p.y);
    // A row past the last one shown selects nothing, even when scrolled.
    if (row >= 0 && row + FirstRow() < RowCount()) {
        selectedRow = row + FirstRow();
        selectedLocation_ = library->locationOfRow(selectedRow);
        return true;
    }
    selectedRow = -1;
    selectedLocation_ = MacroLocation{};
    return false;
}

BOOL CEditShowList::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }

BOOL CEditShowList::OnLButtonDown(WPARAM, POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    state = kStatePressed;
    if (SelectAt(p)) {
        MacroLibraryItem* item = library->itemAt(selectedLocation_);
        const int level = selectedLocation_.stage;
        const double iconArea = IconWidth() * static_cast<double>(uiScale) * (level + 1);
        if (item != nullptr && item->isFolder && p.x - rect.left < iconArea) {
            item->isFolderOpen = item->isFolderOpen ? 0 : 1;
        }
    }
    // The selection always changes the look.
    return TRUE;
}

BOOL CEditShowList::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p); }

BOOL CEditShowList::OnLButtonDblClk(WPARAM, POINT p) {
    if (disabled) return FALSE;
    if (!Contains(p)) {
        state = kStateNormal;
        return TRUE;
    }
    state = kStateHover;
    const int row = RowAt(p.y);
    if (row >= 0 && row + FirstRow() < RowCount()) {
        selectedRow = row + FirstRow();
        selectedLocation_ = library->locationOfRow(selectedRow);
        // Only a folder has anything to open; a macro's flag stays as stored.
        if (MacroLibraryItem* item = library->itemAt(selectedLocation_); item && item->isFolder) {
            item->isFolderOpen = item->isFolderOpen ? 0 : 1;
        }
        NotifyCode(ControlNotify::DoubleClick);
    }
    return TRUE;
}

BOOL CEditShowList::OnRButtonUp(WPARAM, POINT p) {
    if (disabled) return FALSE;
    if (!Contains(p)) {
        state = kStateNormal;
        return TRUE;
    }
    state = kStateHover;
    SelectAt(p);
    POINT clickPoint = p;
    NotifyCode(ControlNotify::RightClick, reinterpret_cast<WPARAM>(&clickPoint));
    return TRUE;
}

void CEditShowList::EnsureVisible() {
    const int count = RowCount();
    if (selectedRow == -1 && rowsVisible >= count) {
        topRow = 0;
    } else if (selectedRow >= topRow + rowsVisible) {
        topRow = selectedRow - rowsVisible + 1;
    } else if (count < topRow + rowsVisible) {
        topRow = count - rowsVisible;
    }
    topRow = std::max(topRow, 0);
}

void CEditShowList::Draw(Canvas& dc, const RECT&) {
    dc.FillRect(rect, kListBackground);
    if (library == nullptr) return;
    const float s = uiScale;
    const int count = RowCount();
    const int rowHeight = scaled(kRowHeight, s);
    const int iconW = scaled(IconWidth(), s);
    const int iconH = scaled(imageHeight, s);
    const int indent = scaled(IconWidth() + kIconGap, s);
    for (int r = 0; r < rowsVisible && FirstRow() + r < count; ++r) {
        const int row = FirstRow() + r;
        const RECT rowRect{rect.left + scaled(2, s), rect.top + r * rowHeight, rect.right - scaled(2, s),
                           rect.top + (r + 1) * rowHeight};
        if (row == selectedRow) dc.FillRect(rowRect, UiColor::Accent);
        const MacroLocation location = library->locationOfRow(row);
        const MacroLibraryItem* item = library->itemAt(location);
        if (item == nullptr) continue;
        int textLeft = rowRect.left + indent * std::max(location.stage, 0);
        if (item->isFolder) {
            const Picture& icon = item->isFolderOpen ? openFolderIcon : closedFolderIcon;
            const int iconTop = rowRect.top + scaled(1, s);
            DrawPicture(dc, icon, RECT{textLeft, iconTop, textLeft + iconW, iconTop + iconH});
            textLeft += indent;
        }
        dc.DrawText(item->name, RECT{textLeft, rowRect.top, rowRect.right, rowRect.bottom},
                    DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font, UiColor::White);
    }
}

void CEditShowList::ReleaseImages() {
    openFolderIcon.reset();
    closedFolderIcon.reset();
}

}  // namespace zavrin
