#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/CNameDialogs.h"
#include "model/MacroRecord.h"

namespace zavrin {

// The shape of the two macro action editors that take a number: the name
// prompt's caption, edit box with the focus, OK and cancel (Enter confirms,
// Escape does nothing). A typed character other than a digit or Backspace is
// answered with a warning and still let through. DoModal: IDOK once the action was written,
// IDCANCEL (action unchanged) otherwise.
class CActionNumberDlg : public CNamePromptDlg {
public:
    BOOL PreTranslateMessage(MSG& msg) override;

    // The box's text as a whole decimal number: nothing unless it is digits
    // only; values past `limit` read as `limit`.
    static std::optional<std::uint32_t> ReadNumber(const std::string& text, std::uint32_t limit);

protected:
    CActionNumberDlg(MacroAction* action, HWND parent, int captionText, std::string startText);

    void OnOkButton() override;
    // Writes the action from the box's text; false keeps the dialog open.
    virtual bool Store(const std::string& text) = 0;
    void Warn(int textId);

    MacroAction* action;
};

// Edits a delay (code 3, milliseconds in bytes 1..3). Only a whole number is
// taken: a negative or non-numeric text is refused with a warning instead of
// being stored as a wrapped value. Above 15300000 ms the delay is clamped.
class CActionTimeModifyDlg : public CActionNumberDlg {
public:
    static constexpr std::uint32_t kMaxDelay = 15300000;

    CActionTimeModifyDlg(MacroAction* action, HWND parent);

protected:
    bool Store(const std::string& text) override;
};

// Edits a mouse move: `direction` 5 left, 6 right, 7 up, anything else down.
// The distance is clamped to 1..127; a text that is no number reads as 1.
class CActionXYModifyDlg : public CActionNumberDlg {
public:
    static constexpr int kLeft = 5;
    static constexpr int kRight = 6;
    static constexpr int kUp = 7;
    static constexpr int kDown = 8;
    static constexpr std::uint32_t kMaxDistance = 127;

    CActionXYModifyDlg(MacroAction* action, int direction, HWND parent);

protected:
    bool Store(const std::string& text) override;

private:
    int direction_;
};

}  // namespace zavrin
