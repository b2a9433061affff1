#pragma once

#include <algorithm>
#include <string>

#include "model/MacroRecord.h"
#include "ui/CControlBase.h"
#include "ui/ListScroll.h"

namespace zavrin {

// The text a macro action row shows: a delay in milliseconds, a mouse move or
// wheel step with its direction, or the key's name.
std::string MacroActionText(const MacroAction& action);

// The actions of one macro as a list (id 2020), one row per action with an icon
// for press, release or delay. A press selects a row; a double click reports
// ControlNotify::DoubleClick so that the owner edits the action. The setters
// repaint the list.
class CImageShowList : public CControlBase, public ScrolledList {
public:
    static constexpr std::uint32_t kId = 2020;

    // The id argument is kept for the common constructor shape; the list always has kId.
    CImageShowList(HWND parent, std::uint32_t ignoredId, const RECT& rect, std::string text, BOOL shown,
                   BOOL visible, BOOL disabled);

    bool LoadReleaseIcon(const std::filesystem::path& path);
    bool LoadPressIcon(const std::filesystem::path& path);
    bool LoadDelayIcon(const std::filesystem::path& path);

    // The macro shown; not owned, and null for none.
    void SetMacro(const MacroRecord* shown);
    // The selected action's row, or -1.
    int SelectedRow() const { return selectedRow; }
    void SelectRow(int row);
    int RowsVisible() const { return rowsVisible; }
    int TopRow() const override { return topRow; }
    void SetTopRow(int row) override;

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDblClk(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

private:
    Picture releaseIcon;
    Picture pressIcon;
    Picture delayIcon;
    const MacroRecord* macro = nullptr;
    int selectedRow = -1;
    int rowsVisible;
    int topRow = 0;

    // The action shown in the first row. Owners choose the first row, and a
    // negative one (a short macro scrolled by count - rowsVisible) must not
    // reach before the first action.
    int FirstRow() const { return std::max(topRow, 0); }
};

}  // namespace zavrin
