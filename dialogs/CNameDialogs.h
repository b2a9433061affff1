#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/CSmallDlg.h"
#include "ui/ButtonChoice.h"
#include "ui/CEditBox.h"

namespace zavrin {

// Where a name prompt puts its parts, in design units.
struct NamePromptLayout {
    SIZE size;
    const char* frame;
    RECT caption;
    COLORREF captionColor;
    std::uint32_t captionFormat;
    RECT field;  // the white field behind the edit box
    RECT edit;
    RECT ok;
    RECT cancel;
};

// The macro screens' prompts: a caption in the title bar of the warning frame.
inline constexpr NamePromptLayout kMacroPromptLayout{
    {319, 102},        "skins\\Frame_warning.bmp", {10, 4, 280, 24}, UiColor::White,
    DT_LEFT | DT_VCENTER | DT_SINGLELINE, {11, 40, 306, 62}, {13, 42, 304, 60}, {85, 72, 150, 95},
    {170, 72, 235, 95}};

// The common shape of the name prompts: a caption, a white name field with a
// real edit box that has the focus, OK, cancel and close. Enter is OK; Escape
// does nothing.
class CNamePromptDlg : public CSmallDlg {
public:
    // Runs the prompt; the name typed when it ends with IDOK, nothing otherwise.
    std::optional<std::string> Ask();
    // The name in the field when OK was pressed, whatever the prompt's answer;
    // empty when OK was never pressed.
    const std::string& TypedName() const { return typedName_; }

protected:
    CNamePromptDlg(HWND owner, int captionText, std::string startText,
                   const NamePromptLayout& layout = kMacroPromptLayout);

    void BuildExtras() override;
    void DrawExtras(Canvas& dc) override;
    BOOL PreTranslateMessage(MSG& msg) override;
    BOOL OnInitDialog() override;

    std::string typedText() const;

    std::string typedName_;

private:
    const NamePromptLayout& layout_;
    int captionText_;
    std::string startText_;
};

// The name of a new macro (`mode` 0) or a new folder (any other mode).
class CMacroKeyOrFolderNameDlg : public CNamePromptDlg {
public:
    explicit CMacroKeyOrFolderNameDlg(std::uint8_t mode, HWND owner = {});

protected:
    void OnOkButton() override;
};

// A new name for an existing item: IDOK only when the name changed.
class CMacroKeyRenameDlg : public CNamePromptDlg {
public:
    CMacroKeyRenameDlg(std::string oldName, HWND parent);

protected:
    void OnOkButton() override;

private:
    std::string oldName_;
};

// The interval (5-255 ms) and the count (0-255) of a fire-key assignment. The
// result goes to the parent as message kChoiceMessage with lParam the address
// of its ButtonChoice, before the dialog ends.
class CFireKeyDlg : public CSmallDlg {
public:
    static constexpr UINT kChoiceMessage = 1063;
    static constexpr int kCheckTimer = 1;
    static constexpr std::uint32_t kIntervalBox = 2017;
    static constexpr std::uint32_t kCountBox = 2018;

    explicit CFireKeyDlg(HWND parent);

    BOOL OnInitDialog() override;

    // A box's text read as a decimal number: the leading digits, 0 without any.
    static int LeadingNumber(const std::string& text);

protected:
    void BuildExtras() override;
    void OnOkButton() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG& msg) override;

private:
    void CheckLimits();
    void Warn(int textId);
    CEditBox* box(std::uint32_t id) const;

    ButtonChoice choice;
};

}  // namespace zavrin
