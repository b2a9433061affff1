#pragma once

#include <algorithm>

#include "model/MacroLibrary.h"
#include "ui/CControlBase.h"
#include "ui/ListScroll.h"

namespace zavrin {

// The macro library as a tree list (id 2015): every used top-level item, and
// below an open folder its children, indented by level. A press selects a row
// (and the library location it shows); a press on a folder's icon area opens or
// closes it; a double click toggles the folder and reports
// ControlNotify::DoubleClick; a right click selects and reports
// ControlNotify::RightClick with the address of the click
// point (valid only while the notification is being handled).
//
// The list keeps no copy of the library: it reads the library each time it draws.
class CEditShowList : public CControlBase, public ScrolledList {
public:
    static constexpr std::uint32_t kId = 2015;

    // The id argument is kept for the common constructor shape; the list always has kId.
    CEditShowList(HWND parent, std::uint32_t ignoredId, const RECT& rect, std::string text, BOOL shown,
                  BOOL visible, BOOL disabled);

    bool LoadOpenFolderIcon(const std::filesystem::path& path);
    bool LoadClosedFolderIcon(const std::filesystem::path& path);

    // The library shown; set by the owner, not owned. Repaints the list.
    void SetLibrary(MacroLibrary* shown);

    // Scrolls so that the selected row is visible below, and takes up slack
    // when rows were removed.
    void EnsureVisible();
    int RowCount() const;

    // The library location of the selected row; stage -1 when none is selected.
    const MacroLocation& SelectedLocation() const { return selectedLocation_; }
    // Selects `location` (its row as the library lists it now) and repaints
    // the list; kNoLocation selects nothing.
    void SelectLocation(const MacroLocation& location);
    // The selected row, or -1.
    int SelectedRow() const { return selectedRow; }
    // Selects `row` (-1: none) and the location it shows, and repaints the list.
    void SelectRow(int row);

    int RowsVisible() const { return rowsVisible; }
    int TopRow() const override { return topRow; }
    // Shows the rows from `row` on and repaints the list when that changed.
    void SetTopRow(int row) override;

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDblClk(WPARAM keyFlags, POINT p) override;
    BOOL OnRButtonUp(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

private:
    MacroLibrary* library = nullptr;
    Picture openFolderIcon;
    Picture closedFolderIcon;
    int selectedRow = -1;
    int rowsVisible;
    int topRow = 0;
    MacroLocation selectedLocation_{};

    // The list row under y (counted from the top row shown), or -1.
    int RowAt(int y) const;
    // Selects the row under the point; false (and no selection) when none is there.
    bool SelectAt(POINT p);
    int IconWidth() const;
    // The row shown first; a negative first row set by an owner counts as 0.
    int FirstRow() const { return std::max(topRow, 0); }
};

}  // namespace zavrin
