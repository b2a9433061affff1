#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/CControlBase.h"

namespace zavrin {

// A real single-line edit box drawn as a windowless control: black text
// centred on white, a caret, a selection, typing, Backspace/Delete,
// Left/Right/Home/End (with Shift to select), Ctrl+A/C/V/X through the
// platform clipboard. A click gives it the dialog's keyboard focus and puts
// the caret at the nearest character. Enter, Escape and Tab are left to the
// dialog. Text is UTF-8 outside, code points inside, so the caret never splits
// a character. UI thread only.
class CEditBox : public CControlBase {
public:
    CEditBox(HWND parent, std::uint32_t id, const RECT& rect, std::string text);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnKeyDown(WPARAM virtualKey) override;
    BOOL OnChar(std::uint32_t codePoint) override;
    void OnKeyboardFocus(BOOL focused) override;
    bool TakesKeyboardFocus() const override { return true; }

    // Replaces the text, selects nothing and puts the caret at the end.
    void SetText(const std::string& newText) override;
    std::string GetText() const override;
    void SelectAll();

    // The clipboard the box copies to and pastes from; set once by the
    // application (tests may leave it unset: then copy and paste do nothing).
    static void SetClipboard(std::function<void(const std::string&)> set,
                             std::function<std::string()> get) {
        setClipboard = std::move(set);
        getClipboard = std::move(get);
    }

    // Called after every change of the text by the user.
    void SetOnChange(std::function<void()> call) { onChange = std::move(call); }

    std::size_t caret() const { return caret_; }
    std::size_t selectionAnchor() const { return anchor_; }
    bool focused() const { return focused_; }

private:
    static inline std::function<void(const std::string&)> setClipboard;
    static inline std::function<std::string()> getClipboard;
    std::function<void()> onChange;

    COLORREF textColor = 0x000000;
    COLORREF fillColor = 0xFFFFFF;

    void replaceSelection(const std::u32string& insert);
    void moveCaret(std::size_t to, bool extend);
    bool hasSelection() const { return caret_ != anchor_; }
    std::u32string selectedText() const;
    // The caret index nearest to client x.
    std::size_t indexAt(int x) const;
    // Left edge of the centred text and the x of each caret index.
    int textLeft(Canvas& dc) const;
    void changed();

    std::u32string chars_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    bool focused_ = false;
    bool selecting_ = false;
};

}  // namespace zavrin
