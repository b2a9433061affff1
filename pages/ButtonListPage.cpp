#include "pages/ButtonListPage.h"

#include <array>

#include "pages/LeftColumn.h"
#include "pages/PageHost.h"
#include "ui/CComboButton.h"
#include "ui/CDlgBase.h"
#include "ui/CImageButton.h"
#include "ui/CStaticImage.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kMacroManagerText = 8;
constexpr int kButtonListText = 9;
constexpr int kVisibleRows = 6;
constexpr std::array<int, ControlId::AssignmentBoxCount> kRowTops{81,  111, 140, 169, 198,
                                                                  227, 256, 285, 314};

RECT Scaled(int left, int top, int right, int bottom) {
    return PageHost::Scaled(left, top, right, bottom);
}

}  // namespace

void ButtonListPage::Build(PageHost& window) {
    const HWND self = window.GetSafeHwnd();
    AddTitleBar(window, ControlId::AssignmentTitle, Scaled(36, 37, 266, 62),
                languageText(kButtonListText), TRUE);
    for (int row = 0; row < ControlId::AssignmentBoxCount; ++row) {
        const int top = kRowTops[static_cast<std::size_t>(row)];
        const BOOL visible = row < kVisibleRows ? TRUE : FALSE;
        auto* marker = window.AddControl(
            CDlgBase::kCommonList, std::make_unique<CStaticImage>(self, ControlId::StaticImage,
                                                                  Scaled(52, top, 73, top + 21), "",
                                                                  TRUE, visible, FALSE));
        marker->LoadImage(
            SkinPath("skins\\mouse\\serial_number" + std::to_string(row + 1) + ".png"));
        auto* box = window.AddControl(
            CDlgBase::kCommonList,
            std::make_unique<CComboButton>(
                self, ComboNotify::ButtonAssignment,
                ControlId::FirstAssignmentBox + static_cast<std::uint32_t>(row),
                Scaled(82, top, 244, top + 21), "", kCaption, TRUE, visible, FALSE, "Disable"));
        box->LoadLooks("skins\\combo2");
    }
    auto* macros = window.AddControl(
        CDlgBase::kCommonList, std::make_unique<CImageButton>(
                                   self, ControlId::MacroManager, Scaled(70, 320, 232, 344),
                                   languageText(kMacroManagerText), kCaption, TRUE, TRUE, FALSE));
    macros->LoadLooks("skins\\button1");
}

void ButtonListPage::RefreshFromProfile() {
    const ProfileRecord& profile = window_.model().store.currentProfile();
    for (int row = 0; row < kKeyCount && row < ControlId::AssignmentBoxCount; ++row) {
        if (auto* box = dynamic_cast<CComboButton*>(window_.FindControl(
                ControlId::FirstAssignmentBox + static_cast<std::uint32_t>(row)))) {
            box->SetValueText(profile.keys[static_cast<std::size_t>(row)].name);
        }
    }
}

}  // namespace zavrin
