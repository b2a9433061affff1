#pragma once

#include <string>

#include "ui/CDlgBase.h"
#include "ui/CEditBox.h"
#include "ui/CImageButton.h"
#include "ui/CStaticText.h"

namespace zavrin {

// The common shape of the program's small skinned dialogs: a design size
// scaled by the UI scale, a frame picture stretched over it, a close button at
// the top right, and OK and cancel buttons that end the dialog after dropping
// the controls' pictures. Subclasses add their own controls in BuildExtras and
// their own OK step in OnOkButton. UI thread only.
class CSmallDlg : public CDlgBase {
public:
    CSmallDlg(HWND owner, SIZE designSize, std::string framePicture, bool registerInOpenDialogs);

    BOOL OnInitDialog() override;
    void BuildControls(const RECT& client) override;
    void DrawWindow(Canvas& dc, const RECT& client) override;

    // A design-unit rectangle at the UI scale.
    static RECT Scaled(int left, int top, int right, int bottom);
    // The pixel height of the dialogs' "Tahoma" face: 10 points at the UI scale.
    static int TahomaHeight();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void BuildExtras() = 0;
    // OK clicked: by default drop the pictures and end with IDOK.
    virtual void OnOkButton();
    // Close or cancel clicked: drop the pictures and end with IDCANCEL.
    virtual void OnCloseButton();
    // Paints between the frame and the controls (a white name field, a bar).
    virtual void DrawExtras(Canvas& dc) { (void)dc; }

    void AddCloseButton();
    CImageButton* AddButton(std::uint32_t id, const RECT& designRect, const std::string& text);
    CStaticText* AddText(std::uint32_t id, const RECT& designRect, COLORREF color,
                         std::uint32_t format, const std::string& text);
    // A real edit box in the shared "Tahoma" face of 10 points at the UI scale.
    CEditBox* AddEditBox(std::uint32_t id, const RECT& designRect, const std::string& text);

    SIZE designSize;

private:
    std::string framePicture_;
    bool registers_;
};

}  // namespace zavrin
