#pragma once

#include <array>
#include <string>
#include <utility>

#include "ui/CWndPopup.h"

namespace zavrin {

// Pop-up kinds: each decides the menu's deactivation message.
namespace PopupKind {
inline constexpr int Combo = 0;
inline constexpr int Profile = 1;
inline constexpr int Dpi = 2;
inline constexpr int Multimedia = 3;
inline constexpr int ComboProfile = 7;
inline constexpr int ComboPollingRate = 8;
inline constexpr int ComboLighting = 9;
inline constexpr int DpiLock = 10;
inline constexpr int WindowsManage = 11;
inline constexpr int Office = 12;
inline constexpr int ProfileRKey = 13;
inline constexpr int ComboActionInsert = 14;
inline constexpr int MacroList = 15;
}  // namespace PopupKind

// A picture-style menu whose rows carry their button action: releasing on a row
// hands the owner the row's text and action.
class CActionTablePopup : public CItemPopup {
public:
    CActionTablePopup(int kind, std::span<const PopupTableRow> table, PopupPictures pictures);
    void InitItems() override;

protected:
    void OnItemChosen(const PopupItem& item) override;

private:
    std::span<const PopupTableRow> table_;
};

// The button-assignment menu (kind 0). Besides its results it asks the owner to
// open dialogs (fire key, macro selection, shortcut, quick launch) and, as the
// hovered row changes, to open the sub-menu beside a row or to close the open
// sub-menus (wParam ownerParam, lParam the row id).
class CComboPopup : public CActionTablePopup {
public:
    explicit CComboPopup(PopupPictures pictures);
    BOOL OnLButtonDown(int x, int y) override;

protected:
    void OnItemChosen(const PopupItem& item) override;
    void OnHoverChanged(int index) override;
};

// The sub-menus of the assignment menu.
class CDPIPopup : public CActionTablePopup {
public:
    explicit CDPIPopup(PopupPictures pictures);
};
class CMultimediaPopup : public CActionTablePopup {
public:
    explicit CMultimediaPopup(PopupPictures pictures);
};
class COfficePopup : public CActionTablePopup {
public:
    explicit COfficePopup(PopupPictures pictures);
};
class CWindowsManagePopup : public CActionTablePopup {
public:
    explicit CWindowsManagePopup(PopupPictures pictures);
};
// Its rows name the locked DPI; the result's name is "DPI Lock-700" and the like.
class CDPILockPopup : public CActionTablePopup {
public:
    explicit CDPILockPopup(PopupPictures pictures);

protected:
    void OnItemChosen(const PopupItem& item) override;
};

// The polling-rate combo's menu (kind 8): own look, result type = rate code.
class CComboPollingRatePopup : public CItemPopup {
public:
    CComboPollingRatePopup();
    void InitItems() override;
    void Draw(Canvas& dc, const RECT& client) override;
};

// The lighting-effect combo's menu (kind 9): result type = lighting mode.
class CComboLightingPopup : public CItemPopup {
public:
    explicit CComboLightingPopup(PopupPictures pictures);
    void InitItems() override;

protected:
    void OnItemChosen(const PopupItem& item) override;

private:
    // The texts of all ten effects, ids 1..10; the menu lists only some.
    std::array<std::string, 10> effectTexts;
};

// The profile-switch functions (kind 1): own look, result type = 16, 17 or 18.
class CProfilePopup : public CItemPopup {
public:
    CProfilePopup();
    void InitItems() override;
    void Draw(Canvas& dc, const RECT& client) override;

protected:
    void OnItemChosen(const PopupItem& item) override;
};

// The profile right-click menu (kind 13): import, export and the like; result
// type = item index.
class CProfileRKeyPopup : public CItemPopup {
public:
    explicit CProfileRKeyPopup(PopupPictures pictures);
    void InitItems() override;
};

// The macro editor's "insert action" menu (kind 14, narrow); result type = the
// kind of action to insert.
class CComboActionInsertPopup : public CItemPopup {
public:
    explicit CComboActionInsertPopup(PopupPictures pictures);
    void InitItems() override;
};

// The macro library's context menu (kind 15). The owner sets the mode before
// Create: 0 lists rows 1, 2, 4, 7, 8; 2 lists all but row 3; any other mode all
// eight. Result type = id - 1, no name.
class CMacroListPopup : public CItemPopup {
public:
    explicit CMacroListPopup(PopupPictures pictures);
    void InitItems() override;

    void SetMode(int value) { mode = value; }

protected:
    void OnItemChosen(const PopupItem& item) override;

private:
    int mode = 1;
};

// The profile list (kind 7): a header row, the five profile names and a last
// row. A left release on a named row other than the header reports
// (reportMessage, 2, id); a right release on a named profile row reports
// (reportMessage, 11, id). No ButtonChoice is sent.
class CComboProfilePopup : public CItemPopup {
public:
    static constexpr int kHeaderId = 1;
    static constexpr int kLastRowId = 7;
    static constexpr int kExtraRowId = 8;
    static constexpr WPARAM kLeftChoice = 2;
    static constexpr WPARAM kRightChoice = 11;

    explicit CComboProfilePopup(Picture header);
    void InitItems() override;
    void Draw(Canvas& dc, const RECT& client) override;
    BOOL OnRButtonUp(int x, int y) override;

    // The owner sets these before Create, which builds the rows from them.
    // The five names shown in rows 2..6 (position 0..4); an empty name leaves its row blank.
    void SetProfileName(int position, std::string name);
    const std::array<std::string, 5>& ProfileNames() const { return profileNames; }
    // The row drawn as current (-1: none).
    void SetCurrentProfileRow(int row) { currentProfileRow = row; }
    // A row below the last one, drawn like it, when not empty (id kExtraRowId).
    void SetExtraRowText(std::string text) { extraRowText = std::move(text); }

protected:
    void OnItemChosen(const PopupItem& item) override;

private:
    bool Choosable(const PopupItem& item) const;

    std::array<std::string, 5> profileNames{"defaultProfile1", "defaultProfile2", "defaultProfile3",
                                            "defaultProfile4", "defaultProfile5"};
    int currentProfileRow = 1;
    std::string extraRowText;
    Picture headerImage;
};

}  // namespace zavrin
