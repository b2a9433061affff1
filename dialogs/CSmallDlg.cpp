#include "dialogs/CSmallDlg.h"

#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
int ScaleUnit(int v) {
    return static_cast<int>(static_cast<float>(v) * uiScale);
}
}  // namespace

CSmallDlg::CSmallDlg(HWND owner, SIZE size, std::string framePicture, bool registerInOpenDialogs)
    : CDlgBase(owner),
      designSize(size),
      framePicture_(std::move(framePicture)),
      registers_(registerInOpenDialogs) {
    windowWidth = ScaleUnit(size.cx);
    windowHeight = ScaleUnit(size.cy);
}

RECT CSmallDlg::Scaled(int left, int top, int right, int bottom) {
    return RECT{ScaleUnit(left), ScaleUnit(top), ScaleUnit(right), ScaleUnit(bottom)};
}

int CSmallDlg::TahomaHeight() {
    // Ten points at the UI scale, in pixels of a 96-dpi canvas.
    return static_cast<int>(100 * uiScale / systemDpiFactor / 10 * 96 / 72);
}

BOOL CSmallDlg::OnInitDialog() {
    // A dialog without a frame file sets its frame itself.
    if (!framePicture_.empty()) LoadFrameBitmap(SkinPath(framePicture_));
    CDlgBase::OnInitDialog();
    if (registers_) RegisterInOpenDialogs();
    return TRUE;
}

void CSmallDlg::BuildControls(const RECT&) {
    BuildExtras();
}

void CSmallDlg::DrawWindow(Canvas& dc, const RECT& client) {
    DrawFrame(dc, client);
    DrawExtras(dc);
    DrawControls(dc, client);
}

void CSmallDlg::AddCloseButton() {
    const int right = designSize.cx - 8;
    auto* close = AddControl(
        kCommonList, std::make_unique<CImageButton>(GetSafeHwnd(), ControlId::DialogClose,
                                                    Scaled(right - 15, 6, right, 21), "", DT_CENTER,
                                                    TRUE, TRUE, FALSE));
    close->LoadLooks("skins\\exit");
}

CImageButton* CSmallDlg::AddButton(std::uint32_t id, const RECT& r, const std::string& text) {
    auto* button = AddControl(kCommonList,
                              std::make_unique<CImageButton>(
                                  GetSafeHwnd(), id, Scaled(r.left, r.top, r.right, r.bottom), text,
                                  DT_CENTER | DT_VCENTER | DT_SINGLELINE, TRUE, TRUE, FALSE));
    button->LoadLooks("skins\\button2");
    return button;
}

CStaticText* CSmallDlg::AddText(std::uint32_t id, const RECT& r, COLORREF color,
                                std::uint32_t format, const std::string& text) {
    auto* control = AddControl(
        kCommonList,
        std::make_unique<CStaticText>(GetSafeHwnd(), id, Scaled(r.left, r.top, r.right, r.bottom),
                                      color, format, text, TRUE, TRUE, FALSE));
    control->ShowCaption();
    return control;
}

CEditBox* CSmallDlg::AddEditBox(std::uint32_t id, const RECT& r, const std::string& text) {
    auto* box = AddControl(
        kCommonList, std::make_unique<CEditBox>(GetSafeHwnd(), id,
                                                Scaled(r.left, r.top, r.right, r.bottom), text));
    box->SetFont(TahomaHeight(), "Tahoma");
    return box;
}

void CSmallDlg::OnOkButton() {
    ReleaseControlImages();
    EndDialog(IDOK);
}

void CSmallDlg::OnCloseButton() {
    ReleaseControlImages();
    EndDialog(IDCANCEL);
}

LRESULT CSmallDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (lParam == ControlNotify::Click) {
        if (message == ControlId::DialogOk) {
            OnOkButton();
            return 0;
        }
        if (message == ControlId::DialogClose || message == ControlId::DialogCancel) {
            OnCloseButton();
            return 0;
        }
    }
    return CDlgBase::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
