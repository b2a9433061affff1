#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/CCheckButton.h"
#include "ui/CColorSelectButton.h"
#include "ui/CComboButton.h"
#include "ui/CImageButton.h"
#include "ui/CLinkButton.h"
#include "ui/CPowerManageButton.h"
#include "ui/CRadioButton.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;
using Buttons = UiTest;

constexpr COLORREF kNormalPicture = 0x503010;
constexpr COLORREF kHoverPicture = 0x105030;

TEST_F(Buttons, ImageButtonShowsItsLooksAndReportsItsIdOnClick) {
    CImageButton* button = nullptr;
    auto dlg = Open(200, 100, [&](TestDialog& d) {
        button = d.AddControl(0, std::make_unique<CImageButton>(d.GetSafeHwnd(), 2010, RECT{10, 10, 110, 40}, "OK",
                                                                DT_CENTER, TRUE, TRUE, FALSE));
        button->LoadLook({Look::Normal}, SolidPng("nr", 20, 10, kNormalPicture));
        button->LoadLook({Look::Hover}, SolidPng("ov", 20, 10, kHoverPicture));
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(desktop.pixel(w, {12, 12}), kNormalPicture);
    desktop.move(w, {50, 20});
    EXPECT_EQ(desktop.pixel(w, {12, 12}), kHoverPicture);
    desktop.click(w, {50, 20});
    const auto sent = dlg->from(2010);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].lParam, ControlNotify::Click);
    EXPECT_EQ(sent[1].wParam, 2010u);

    // Without its pictures the button draws nothing, caption included.
    button->ReleaseImages();
    dlg->Invalidate();
    desktop.pump();
    for (int x = 10; x < 110; x += 7) EXPECT_EQ(desktop.pixel(w, {x, 25}), TestDialog::kBackground);
}

TEST_F(Buttons, ACheckBoxFindsItsLooksFromOneBaseNameAndDropsThemTogether) {
    const auto savedSkins = skinFolder;
    skinFolder = ScratchFolder();
    std::filesystem::create_directories(skinFolder / "skins");
    constexpr COLORREF kChecked = 0x3010A0;
    SolidPng("skins/probe_nr", 10, 10, kNormalPicture);
    SolidPng("skins/probe_ov", 10, 10, kHoverPicture);
    SolidPng("skins/probe_check", 10, 10, kChecked);
    CCheckButton* box = nullptr;
    auto dlg = Open(200, 100, [&](TestDialog& d) {
        box = d.AddControl(0, std::make_unique<CCheckButton>(d.GetSafeHwnd(), 2030, RECT{10, 10, 60, 40}, "", DT_LEFT,
                                                             TRUE, TRUE, FALSE));
        EXPECT_TRUE(box->LoadLooks("skins\\probe"));
    });
    skinFolder = savedSkins;
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(desktop.pixel(w, {12, 12}), kNormalPicture);
    desktop.move(w, {30, 20});
    EXPECT_EQ(desktop.pixel(w, {12, 12}), kHoverPicture);
    desktop.click(w, {30, 20});
    EXPECT_EQ(desktop.pixel(w, {12, 12}), kChecked) << "the _check picture stands for the checked look";

    box->ReleaseImages();
    dlg->Invalidate();
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {12, 12}), TestDialog::kBackground) << "every look went at once";
}

TEST_F(Buttons, ADisabledButtonShowsNoHoverAndSendsNothing) {
    CImageButton* button = nullptr;
    auto dlg = Open(200, 100, [&](TestDialog& d) {
        button = d.AddControl(0, std::make_unique<CImageButton>(d.GetSafeHwnd(), 2010, RECT{10, 10, 110, 40}, "",
                                                                0, TRUE, TRUE, TRUE));
    });
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {50, 20});
    desktop.click(w, {50, 20});
    EXPECT_EQ(button->MouseLook(), kStateNormal);
    EXPECT_TRUE(dlg->received.empty());
}

TEST_F(Buttons, HelpButtonAsksForHelpOnEveryMoveInside) {
    auto dlg = Open(200, 100, [&](TestDialog& d) {
        d.AddControl(0, std::make_unique<CImageButton>(d.GetSafeHwnd(), 3502, RECT{10, 10, 110, 40}, "", 0, TRUE,
                                                       TRUE, FALSE));
    });
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {20, 20});
    desktop.move(w, {30, 20});
    desktop.move(w, {40, 20});
    EXPECT_EQ(dlg->codes(3502), (std::vector<LPARAM>(3, ControlNotify::Help)));
}

TEST_F(Buttons, SetTextRepaintsOnlyWhenTheTextChanges) {
    CImageButton* button = nullptr;
    auto dlg = Open(200, 100, [&](TestDialog& d) {
        button = d.AddControl(0, std::make_unique<CImageButton>(d.GetSafeHwnd(), 2010, RECT{10, 10, 110, 40}, "A",
                                                                0, TRUE, TRUE, FALSE));
    });
    RECT update;
    button->SetText("A");
    EXPECT_FALSE(GetUpdateRect(dlg->GetSafeHwnd(), &update));
    button->SetText("B");
    ASSERT_TRUE(GetUpdateRect(dlg->GetSafeHwnd(), &update));
    EXPECT_EQ(update, button->Rect());
}

TEST_F(Buttons, ACheckButtonTogglesBeforeEachClickReport) {
    CCheckButton* check = nullptr;
    auto dlg = Open(200, 100, [&](TestDialog& d) {
        check = d.AddControl(0, std::make_unique<CCheckButton>(d.GetSafeHwnd(), 3501, RECT{10, 10, 50, 40}, "", 0,
                                                               TRUE, TRUE, FALSE));
    });
    std::vector<bool> seen;
    dlg->onMessage = [&](UINT m, WPARAM, LPARAM code) {
        if (m == 3501 && code == ControlNotify::Click) seen.push_back(check->IsChecked());
    };
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {20, 20});
    desktop.click(w, {20, 20});
    desktop.click(w, {20, 20});
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_FALSE(check->IsChecked());
}

TEST_F(Buttons, ClickingARadioButtonSelectsItsBitWithinItsGroupOnly) {
    RadioGroups radios;
    auto dlg = Open(300, 100, [&](TestDialog& d) {
        d.AddControl(0, std::make_unique<CRadioButton>(d.GetSafeHwnd(), 3036, RECT{10, 10, 40, 40}, "", TRUE, TRUE,
                                                       FALSE, radios));
        d.AddControl(0, std::make_unique<CRadioButton>(d.GetSafeHwnd(), 2010, RECT{50, 10, 80, 40}, "", TRUE, TRUE,
                                                       FALSE, radios));
    });
    radios.SetBits(~0u, 0x7F | 0x100 | 0x20000);
    desktop.move(dlg->GetSafeHwnd(), {20, 20});
    desktop.click(dlg->GetSafeHwnd(), {20, 20});
    EXPECT_EQ(radios.Bits(), 0x4u | 0x100 | 0x20000);
    desktop.move(dlg->GetSafeHwnd(), {60, 20});
    desktop.click(dlg->GetSafeHwnd(), {60, 20});
    EXPECT_EQ(radios.Bits(), 0x4u | 0x100 | 0x20000);
    EXPECT_EQ(dlg->codes(2010).back(), ControlNotify::Click);
}

TEST_F(Buttons, ClickingDpiLevelFourSelectsLevelsZeroToThree) {
    std::uint32_t dpiLevelMask = 0;
    auto dlg = Open(300, 100, [&](TestDialog& d) {
        d.AddControl(0, std::make_unique<CDPIRadioButton>(d.GetSafeHwnd(), 3293, RECT{10, 10, 40, 40}, "", TRUE,
                                                          TRUE, FALSE, dpiLevelMask));
    });
    dpiLevelMask = 0xAB00FF;
    desktop.move(dlg->GetSafeHwnd(), {20, 20});
    desktop.click(dlg->GetSafeHwnd(), {20, 20});
    EXPECT_EQ(dpiLevelMask, 0xAB000Fu);
}

class ComboButtons : public UiTest {
protected:
    CComboButton* combo = nullptr;
    std::unique_ptr<TestDialog> dlg;
    void SetUp() override {
        dlg = Open(300, 100, [&](TestDialog& d) {
            combo = d.AddControl(0, std::make_unique<CComboButton>(d.GetSafeHwnd(), ComboNotify::ButtonAssignment,
                                                                   2013, RECT{10, 10, 170, 31}, "", DT_CENTER, TRUE,
                                                                   TRUE, FALSE, "Disable"));
        });
    }
    std::vector<Notification> reports() const { return dlg->from(ComboNotify::ButtonAssignment); }
};

TEST_F(ComboButtons, FiveHoverReportsPerVisitAndOneLeaveReport) {
    const HWND w = dlg->GetSafeHwnd();
    for (int x = 20; x < 100; x += 8) desktop.move(w, {x, 20});
    auto sent = reports();
    ASSERT_EQ(sent.size(), 5u);
    for (const auto& n : sent) {
        EXPECT_EQ(n.lParam, ControlNotify::Hover);
        EXPECT_EQ(n.wParam, 2013u);
    }
    desktop.move(w, {250, 80});
    desktop.move(w, {260, 80});
    sent = reports();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent.back().lParam, ControlNotify::Leave);
    // A new visit reports again.
    desktop.move(w, {20, 20});
    EXPECT_EQ(reports().size(), 7u);
}

TEST_F(ComboButtons, NoLeaveReportWhileItsMenuIsOpen) {
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {20, 20});
    combo->SetPopupOpen(true);
    desktop.move(w, {250, 80});
    for (const auto& n : reports()) EXPECT_NE(n.lParam, ControlNotify::Leave);
}

TEST_F(ComboButtons, AClickGoesOutUnderTheNotifyMessageAndThePressUnderTheId) {
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {20, 20});
    desktop.click(w, {20, 20});
    EXPECT_EQ(dlg->codes(2013), (std::vector<LPARAM>{ControlNotify::Press}));
    EXPECT_EQ(reports().back().lParam, ControlNotify::Click);
}

TEST_F(ComboButtons, ALockedComboReportsNoPressOrClickButStillHoverAndLeave) {
    combo->SetLockLook(true);
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {20, 20});
    desktop.click(w, {20, 20});
    desktop.move(w, {250, 80});
    EXPECT_TRUE(dlg->from(2013).empty());
    const auto sent = reports();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.front().lParam, ControlNotify::Hover);
    EXPECT_EQ(sent.back().lParam, ControlNotify::Leave);
    for (const auto& n : sent) EXPECT_NE(n.lParam, ControlNotify::Click);
}

TEST_F(Buttons, ALinkReportsEnteringOnceAndLeavingOnce) {
    auto dlg = Open(300, 100, [&](TestDialog& d) {
        d.AddControl(0, std::make_unique<CLinkButton>(d.GetSafeHwnd(), 1, RECT{10, 10, 170, 31}, "Zavrin", 0, TRUE,
                                                      TRUE, FALSE));
    });
    const HWND w = dlg->GetSafeHwnd();
    for (int x = 20; x < 160; x += 10) desktop.move(w, {x, 20});
    desktop.move(w, {250, 80});
    EXPECT_EQ(dlg->codes(CLinkButton::kId), (std::vector<LPARAM>{ControlNotify::Hover, ControlNotify::Leave}));
}

TEST_F(Buttons, ThePowerDialPicksTheTriangleUnderTheReleaseAndIgnoresTheRest) {
    CPowerManageButton* dial = nullptr;
    auto dlg = Open(300, 200, [&](TestDialog& d) {
        dial = d.AddControl(0, std::make_unique<CPowerManageButton>(d.GetSafeHwnd(), 0, RECT{20, 20, 160, 120}, "", 0,
                                                                    TRUE, TRUE, FALSE));
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(dial->Position(), 6);
    // Below the apex: inside the rectangle, outside every triangle.
    desktop.move(w, {90, 110});
    desktop.click(w, {90, 110});
    EXPECT_EQ(dial->Position(), 6);
    EXPECT_TRUE(dlg->codes(3500) == std::vector<LPARAM>{ControlNotify::Press});
    // Far left and low: the first triangle.
    desktop.move(w, {30, 85});
    desktop.click(w, {30, 85});
    EXPECT_EQ(dial->Position(), 1);
    // Upper right: the sixth triangle (between (100,14) and (121,31)).
    desktop.move(w, {20 + 105, 20 + 30});
    desktop.click(w, {20 + 105, 20 + 30});
    EXPECT_EQ(dial->Position(), 6);
    EXPECT_EQ(dlg->codes(3500).back(), ControlNotify::Click);
}

TEST_F(Buttons, ADpiButtonOutsideTheEightLevelsLeavesTheMaskAlone) {
    std::uint32_t dpiLevelMask = 0;
    auto dlg = Open(300, 100, [&](TestDialog& d) {
        d.AddControl(0, std::make_unique<CDPIRadioButton>(d.GetSafeHwnd(), 3298, RECT{10, 10, 40, 40}, "", TRUE,
                                                          TRUE, FALSE, dpiLevelMask));
    });
    dpiLevelMask = 0xAB0003;
    desktop.move(dlg->GetSafeHwnd(), {20, 20});
    desktop.click(dlg->GetSafeHwnd(), {20, 20});
    EXPECT_EQ(dpiLevelMask, 0xAB0003u);
    EXPECT_EQ(dlg->codes(3298).back(), ControlNotify::Click);
}

TEST_F(Buttons, ThePowerDialLeavesItsPressedStateOnEveryRelease) {
    CPowerManageButton* dial = nullptr;
    auto dlg = Open(300, 200, [&](TestDialog& d) {
        dial = d.AddControl(0, std::make_unique<CPowerManageButton>(d.GetSafeHwnd(), 0, RECT{20, 20, 160, 120}, "", 0,
                                                                    TRUE, TRUE, FALSE));
    });
    const HWND w = dlg->GetSafeHwnd();
    // Released outside the dial: back to normal, so hover works again.
    desktop.move(w, {30, 85});
    desktop.press(w, {30, 85});
    desktop.move(w, {250, 180});
    desktop.release(w, {250, 180});
    EXPECT_EQ(dial->MouseLook(), kStateNormal);
    EXPECT_EQ(dial->Position(), CPowerManageButton::kInitialPosition);
    desktop.move(w, {30, 85});
    EXPECT_EQ(dial->MouseLook(), kStateHover);
    // Released inside the rectangle but off the dial: hover, nothing chosen.
    desktop.press(w, {90, 110});
    desktop.release(w, {90, 110});
    EXPECT_EQ(dial->MouseLook(), kStateHover);
    EXPECT_EQ(dial->Position(), CPowerManageButton::kInitialPosition);
}

// Pixels of `color` inside `r` of the window's last frame.
int CountColor(HeadlessDesktop& desktop, HWND w, const RECT& r, COLORREF color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += desktop.pixel(w, {x, y}) == color ? 1 : 0;
    return n;
}

TEST_F(Buttons, CaptionsTakeTheColourOfTheLook) {
    CImageButton* button = nullptr;
    CComboButton* combo = nullptr;
    auto dlg = Open(400, 200, [&](TestDialog& d) {
        button = d.AddControl(0, std::make_unique<CImageButton>(d.GetSafeHwnd(), 2010, RECT{10, 10, 190, 70}, "MMM",
                                                                DT_CENTER, TRUE, TRUE, FALSE));
        button->LoadLook({Look::Normal}, SolidPng("black_nr", 10, 10, 0x000000));
        button->LoadLook({Look::Hover}, SolidPng("black_ov", 10, 10, 0x000000));
        combo = d.AddControl(0, std::make_unique<CComboButton>(d.GetSafeHwnd(), ComboNotify::ButtonAssignment, 2013,
                                                               RECT{10, 100, 190, 160}, "", DT_CENTER, TRUE, TRUE,
                                                               FALSE, "MMM"));
        for (CControlBase* c : {static_cast<CControlBase*>(button), static_cast<CControlBase*>(combo)}) {
            c->SetFont(40, "DejaVu Sans");
            c->SetFontWeight(FW_BOLD);
        }
    });
    const HWND w = dlg->GetSafeHwnd();
    const RECT b = button->Rect();
    const RECT c = combo->Rect();
    dlg->Invalidate();
    desktop.pump();
    EXPECT_GT(CountColor(desktop, w, b, UiColor::TextNormal), 20);
    EXPECT_GT(CountColor(desktop, w, c, UiColor::TextNormal), 20);
    desktop.move(w, {20, 20});
    EXPECT_GT(CountColor(desktop, w, b, UiColor::TextHover), 20);
    EXPECT_EQ(CountColor(desktop, w, b, UiColor::TextNormal), 0);
    desktop.press(w, {20, 20});
    EXPECT_GT(CountColor(desktop, w, b, UiColor::TextPressed), 20);
    desktop.release(w, {20, 20});
    // An open menu lights the combo's value.
    combo->SetPopupOpen(true);
    desktop.pump();
    EXPECT_GT(CountColor(desktop, w, c, UiColor::TextHover), 20);
}

TEST_F(Buttons, SwatchesFillWithTheirColour) {
    auto dlg = Open(300, 200, [&](TestDialog& d) {
        auto* plain = d.AddControl(0, std::make_unique<CColorSelectButton>(d.GetSafeHwnd(), 3201, RECT{10, 10, 50, 50},
                                                                           RECT{15, 15, 45, 45}, "", TRUE, TRUE, FALSE));
        plain->SetColor(RGB(200, 10, 20));
        auto* framed = d.AddControl(0, std::make_unique<CColorSelectCheckButton>(
                                           d.GetSafeHwnd(), 3202, RECT{60, 10, 100, 50}, RECT{}, "", TRUE, TRUE, FALSE));
        framed->LoadLook({Look::Normal}, SolidPng("frame", 10, 10, 0x777777));
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(desktop.pixel(w, {12, 12}), TestDialog::kBackground);
    EXPECT_EQ(desktop.pixel(w, {15, 15}), RGB(200, 10, 20));
    EXPECT_EQ(desktop.pixel(w, {44, 44}), RGB(200, 10, 20));
    // The framed swatch keeps a 3-pixel frame of its picture around the default green.
    EXPECT_EQ(desktop.pixel(w, {61, 11}), 0x777777u);
    EXPECT_EQ(desktop.pixel(w, {63, 13}), CColorSelectButton::kInitialColor);
    EXPECT_EQ(desktop.pixel(w, {96, 46}), CColorSelectButton::kInitialColor);
    EXPECT_EQ(desktop.pixel(w, {97, 47}), 0x777777u);
}

TEST_F(Buttons, ADoubleClickOnAFramedSwatchAsksToEditIt) {
    auto dlg = Open(300, 200, [&](TestDialog& d) {
        d.AddControl(0, std::make_unique<CColorSelectCheckButton>(d.GetSafeHwnd(), 3202, RECT{60, 10, 100, 50},
                                                                  RECT{}, "", TRUE, TRUE, FALSE));
    });
    desktop.move(dlg->GetSafeHwnd(), {70, 20});
    desktop.doubleClick(dlg->GetSafeHwnd(), {70, 20});
    const auto codes = dlg->codes(3202);
    EXPECT_NE(std::find(codes.begin(), codes.end(), ControlNotify::DoubleClick), codes.end());
}

}  // namespace
}  // namespace zavrin::test
