#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/CBattery.h"
#include "ui/CEditShowList.h"
#include "ui/CImageShowList.h"
#include "ui/CSliderControl.h"
#include "ui/CTabControl.h"
#include "ui/CVScrollBar.h"
#include "ui/CVerticalSliderControl.h"

namespace zavrin::test {
namespace {

using ValueControls = UiTest;

constexpr COLORREF kThumb = 0x3060C0;

TEST_F(ValueControls, ASliderClickJumpsToTheNearestStop) {
    CSliderControl* slider = nullptr;
    auto dlg = Open(400, 100, [&](TestDialog& d) {
        slider = d.AddControl(0, std::make_unique<CSliderControl>(d.GetSafeHwnd(), 3130, RECT{95, 10, 305, 30}, 5, 5, 5,
                                                                  "", TRUE, TRUE, FALSE));
        slider->LoadThumbImage(SolidPng("thumb", 10, 20, kThumb));
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(slider->Stops(), (std::vector<int>{100, 150, 200, 250, 300}));
    desktop.move(w, {174, 20});
    desktop.click(w, {174, 20});
    EXPECT_EQ(slider->StopIndex(), 1);
    desktop.move(w, {175, 20});
    desktop.click(w, {175, 20});
    EXPECT_EQ(slider->StopIndex(), 2);
    EXPECT_EQ(dlg->codes(3130).back(), ControlNotify::Click);
    // The thumb is drawn centred on the stop.
    EXPECT_EQ(desktop.pixel(w, {196, 15}), kThumb);
    EXPECT_EQ(desktop.pixel(w, {190, 15}), TestDialog::kBackground);
}

TEST_F(ValueControls, AMovedSliderTakesItsStopsAndThumbAlong) {
    CSliderControl* slider = nullptr;
    auto dlg = Open(400, 100, [&](TestDialog& d) {
        slider = d.AddControl(0, std::make_unique<CSliderControl>(d.GetSafeHwnd(), 3130, RECT{}, 5, 5, 5, "", TRUE,
                                                                  TRUE, FALSE));
    });
    slider->SetStopIndex(2);
    slider->SetRect(95, 10, 305, 30);
    EXPECT_EQ(slider->Stops(), (std::vector<int>{100, 150, 200, 250, 300}));
    EXPECT_EQ(slider->StopIndex(), 2);
    EXPECT_EQ(slider->ThumbRect(), (RECT{195, 10, 205, 30}));
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {250, 20});
    desktop.click(w, {250, 20});
    EXPECT_EQ(slider->StopIndex(), 3);
}

TEST_F(ValueControls, DraggingASliderPastItsEndKeepsReportingTheLastStop) {
    CSliderControl* slider = nullptr;
    auto dlg = Open(400, 100, [&](TestDialog& d) {
        slider = d.AddControl(0, std::make_unique<CSliderControl>(d.GetSafeHwnd(), 3130, RECT{95, 10, 305, 30}, 5, 5, 5,
                                                                  "", TRUE, TRUE, FALSE));
        slider->LoadThumbImage(SolidPng("thumb", 10, 20, kThumb));
    });
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {100, 20});
    desktop.press(w, {100, 20});
    ASSERT_TRUE(slider->IsDragging());
    desktop.move(w, {226, 20});
    EXPECT_EQ(dlg->from(3130).back().wParam, 3u);
    desktop.move(w, {227, 20});
    EXPECT_EQ(dlg->from(3130).back().wParam, 3u);  // reported again, unchanged
    // The owner carries the drag on outside the slider.
    slider->DragTo(390, 20);
    slider->DragTo(500, 20);
    const auto values = dlg->from(3130);
    EXPECT_EQ(values.back().wParam, 4u);
    EXPECT_EQ(values[values.size() - 2].wParam, 4u);
    desktop.pump();
    // The thumb stops at the right edge less its width.
    EXPECT_EQ(desktop.pixel(w, {300, 15}), kThumb);
    EXPECT_EQ(desktop.pixel(w, {294, 15}), TestDialog::kBackground);
    desktop.release(w, {500, 20});
    EXPECT_FALSE(slider->IsDragging());
}

TEST_F(ValueControls, AVerticalSliderRunsFromLevelZeroAtTheBottomToTheTop) {
    CVerticalSliderControl* bar = nullptr;
    auto dlg = Open(200, 200, [&](TestDialog& d) {
        bar = d.AddControl(0, std::make_unique<CVerticalSliderControl>(d.GetSafeHwnd(), 3300, RECT{20, 20, 40, 120}, 8,
                                                                       0, 0, "", TRUE, TRUE, FALSE));
    });
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {30, 20});
    desktop.press(w, {30, 20});
    EXPECT_EQ(bar->Level(), 7);
    desktop.move(w, {30, 119});
    EXPECT_EQ(bar->Level(), 0);
    EXPECT_EQ(dlg->from(3300).back().lParam, ControlNotify::Value);
    EXPECT_EQ(dlg->from(3300).back().wParam, 0u);
    desktop.release(w, {30, 119});
    EXPECT_EQ(dlg->codes(3300).back(), ControlNotify::Click);
}

TEST_F(ValueControls, TheDisplayBarNeverDrags) {
    CDPIValueShowControl* bar = nullptr;
    auto dlg = Open(200, 200, [&](TestDialog& d) {
        bar = d.AddControl(0, std::make_unique<CDPIValueShowControl>(d.GetSafeHwnd(), 3310, RECT{20, 20, 40, 120}, 8, 0,
                                                                     0, "", TRUE, TRUE, FALSE));
    });
    bar->SetLevel(3);
    desktop.move(dlg->GetSafeHwnd(), {30, 30});
    desktop.press(dlg->GetSafeHwnd(), {30, 30});
    desktop.move(dlg->GetSafeHwnd(), {30, 100});
    desktop.release(dlg->GetSafeHwnd(), {30, 100});
    EXPECT_EQ(bar->Level(), 3);
    EXPECT_EQ(dlg->codes(3310), (std::vector<LPARAM>{ControlNotify::Press, ControlNotify::Click}));
}

class ScrollBars : public UiTest {
protected:
    CVScrollBar* bar = nullptr;
    std::unique_ptr<TestDialog> dlg;
    void SetUp() override {
        // No arrow pictures: the track is the whole bar, T = 20, B = 119, L = 100.
        dlg = Open(200, 200, [&](TestDialog& d) {
            bar = d.AddControl(0, std::make_unique<CVScrollBar>(d.GetSafeHwnd(), 2021, RECT{10, 20, 28, 119}, "", TRUE,
                                                                TRUE, FALSE));
        });
    }
};

TEST_F(ScrollBars, TheThumbCoversItsShareOfTheTrack) {
    bar->SetScrollState(0, 10, 100);
    EXPECT_EQ(bar->ThumbRect(), (RECT{10, 20, 28, 29}));
    bar->SetScrollState(0, 10, 0);
    EXPECT_EQ(bar->ThumbRect(), bar->TrackRect());
}

TEST_F(ScrollBars, AListThatComesToFitShowsTheThumbOverTheWholeTrackAtOnce) {
    const HWND w = dlg->GetSafeHwnd();
    bar->SetScrollState(0, 20, 100);  // thumb 20..39
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {15, 70}), 0x101010u);
    bar->SetScrollState(0, 20, 0);
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {15, 70}), 0x323232u);
}

TEST_F(ScrollBars, DraggingReportsOnlyChangesAndReleasingSnapsTheThumb) {
    const HWND w = dlg->GetSafeHwnd();
    bar->SetScrollState(0, 10, 70);
    desktop.move(w, {15, 22});
    desktop.press(w, {15, 22});
    EXPECT_EQ(dlg->from(2021).back().wParam, ScrollPart::Thumb);
    desktop.move(w, {15, 25});  // 3 pixels: position 2
    desktop.move(w, {15, 26});  // 4 pixels: still position 2
    desktop.move(w, {15, 29});  // 7 pixels: position 4
    std::vector<int> positions;
    for (const auto& n : dlg->from(2021))
        if (n.lParam == ControlNotify::Value) positions.push_back(0);
    EXPECT_EQ(positions.size(), 2u);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(bar->DragRect().top, 27);
    desktop.release(w, {15, 29});
    // Position 4 of 70 over 100 pixels lies at 20 + round(5.7).
    EXPECT_EQ(bar->ThumbRect().top, 26);
    EXPECT_FALSE(bar->IsDragging());
}

TEST_F(ScrollBars, APressReportsWhichPartItHit) {
    const HWND w = dlg->GetSafeHwnd();
    bar->SetScrollState(40, 10, 100);  // thumb 60..69
    desktop.move(w, {15, 30});
    desktop.click(w, {15, 30});
    desktop.click(w, {15, 100});
    desktop.click(w, {15, 65});
    std::vector<WPARAM> parts;
    for (const auto& n : dlg->from(2021))
        if (n.lParam == ControlNotify::Press) parts.push_back(n.wParam);
    EXPECT_EQ(parts, (std::vector<WPARAM>{ScrollPart::TrackAbove, ScrollPart::TrackBelow, ScrollPart::Thumb}));
}

TEST_F(ValueControls, ScrollArrowsAreLaidOutAtTheUiScale) {
    uiScale = 2.0f;
    InstallResources(generatedResources());
    CVScrollBar* bar = nullptr;
    auto dlg = Open(200, 400, [&](TestDialog& d) {
        bar = d.AddControl(0, std::make_unique<CVScrollBar>(d.GetSafeHwnd(), 2021, RECT{10, 20, 46, 320}, "", TRUE,
                                                            TRUE, FALSE));
        bar->LoadArrows();
    });
    // 18 x 20 arrow frames are drawn 36 x 40.
    EXPECT_EQ(bar->UpRect(), (RECT{10, 20, 46, 59}));
    EXPECT_EQ(bar->DownRect(), (RECT{10, 281, 46, 320}));
    EXPECT_EQ(bar->TrackRect(), (RECT{10, 60, 46, 280}));
    const HWND w = dlg->GetSafeHwnd();
    desktop.move(w, {20, 50});
    desktop.click(w, {20, 50});
    desktop.click(w, {20, 300});
    std::vector<WPARAM> parts;
    for (const auto& n : dlg->from(2021))
        if (n.lParam == ControlNotify::Press) parts.push_back(n.wParam);
    EXPECT_EQ(parts, (std::vector<WPARAM>{ScrollPart::UpArrow, ScrollPart::DownArrow}));
    InstallResources({});
}

TEST_F(ScrollBars, TheThumbIsAFramedBarThatLightsUpUnderTheMouse) {
    const HWND w = dlg->GetSafeHwnd();
    bar->SetScrollState(40, 20, 100);  // thumb 60..79
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {15, 30}), 0x101010u);
    EXPECT_EQ(desktop.pixel(w, {10, 70}), 0x1F1F1Fu);
    EXPECT_EQ(desktop.pixel(w, {15, 70}), 0x323232u);
    desktop.move(w, {15, 70});
    EXPECT_EQ(desktop.pixel(w, {10, 70}), 0xDEA035u);
    EXPECT_EQ(desktop.pixel(w, {15, 70}), 0x1F1F1Fu);
}

TEST_F(ValueControls, ClickingAClosedFoldersIconOpensItAndItsNameOnlySelects) {
    MacroLibrary library;
    const MacroLocation folder = library.addFolder(kNoLocation, "Games");
    library.addMacro(folder, "reload");
    library.addMacro(folder, "jump");
    library.addMacro(kNoLocation, "copy");
    CEditShowList* list = nullptr;
    auto dlg = Open(300, 300, [&](TestDialog& d) {
        list = d.AddControl(0, std::make_unique<CEditShowList>(d.GetSafeHwnd(), 0, RECT{10, 10, 160, 210}, "", TRUE,
                                                               TRUE, FALSE));
        list->LoadOpenFolderIcon(SolidPng("open", 16, 16, 0x00C0C0));
        list->LoadClosedFolderIcon(SolidPng("closed", 16, 16, 0x008080));
        list->SetLibrary(&library);
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(list->RowCount(), 2);
    // On the name: selected, still closed.
    desktop.move(w, {100, 15});
    desktop.click(w, {100, 15});
    EXPECT_EQ(list->SelectedRow(), 0);
    EXPECT_EQ(list->SelectedLocation(), folder);
    EXPECT_EQ(list->RowCount(), 2);
    // On the icon: opened, children listed below it.
    desktop.click(w, {18, 15});
    EXPECT_EQ(list->RowCount(), 4);
    EXPECT_EQ(library.itemAt(library.locationOfRow(1))->name, "reload");
    // Below the last row: nothing selected.
    desktop.click(w, {100, 200});
    EXPECT_EQ(list->SelectedRow(), -1);
    EXPECT_EQ(list->SelectedLocation().stage, -1);
    // The open icon is drawn at the row's start.
    EXPECT_EQ(desktop.pixel(w, {18, 15}), 0x00C0C0u);
}

TEST_F(ValueControls, ARightClickOnTheTreeListHandsOverTheClickPoint) {
    MacroLibrary library;
    library.addMacro(kNoLocation, "copy");
    CEditShowList* list = nullptr;
    auto dlg = Open(300, 300, [&](TestDialog& d) {
        list = d.AddControl(0, std::make_unique<CEditShowList>(d.GetSafeHwnd(), 0, RECT{10, 10, 160, 210}, "", TRUE,
                                                               TRUE, FALSE));
        list->SetLibrary(&library);
    });
    POINT seen{};
    dlg->onMessage = [&](UINT m, WPARAM wp, LPARAM code) {
        if (m == CEditShowList::kId && code == ControlNotify::RightClick) seen = *reinterpret_cast<const POINT*>(wp);
    };
    desktop.move(dlg->GetSafeHwnd(), {40, 15});
    desktop.rightClick(dlg->GetSafeHwnd(), {40, 15});
    EXPECT_EQ(seen, (POINT{40, 15}));
    EXPECT_EQ(list->SelectedLocation().stage, 0);
}

TEST_F(ValueControls, TheTreeListTogglesOnlyFoldersAndARightClickOnlySelects) {
    MacroLibrary library;
    const MacroLocation folder = library.addFolder(kNoLocation, "Games");
    library.addMacro(folder, "reload");
    const MacroLocation macro = library.addMacro(kNoLocation, "copy");
    CEditShowList* list = nullptr;
    auto dlg = Open(300, 300, [&](TestDialog& d) {
        list = d.AddControl(0, std::make_unique<CEditShowList>(d.GetSafeHwnd(), 0, RECT{10, 10, 160, 210}, "", TRUE,
                                                               TRUE, FALSE));
        list->LoadOpenFolderIcon(SolidPng("open", 16, 16, 0x00C0C0));
        list->LoadClosedFolderIcon(SolidPng("closed", 16, 16, 0x008080));
        list->SetLibrary(&library);
    });
    const HWND w = dlg->GetSafeHwnd();
    // A right click on the folder's icon selects it and leaves it closed.
    desktop.move(w, {18, 15});
    desktop.rightClick(w, {18, 15});
    EXPECT_EQ(list->SelectedLocation(), folder);
    EXPECT_EQ(library.itemAt(folder)->isFolderOpen, 0);
    // A double click on a macro reports it and leaves its stored flag alone.
    const int macroFlag = library.itemAt(macro)->isFolderOpen;
    desktop.move(w, {100, 35});
    desktop.doubleClick(w, {100, 35});
    EXPECT_EQ(library.itemAt(macro)->isFolderOpen, macroFlag);
    EXPECT_EQ(list->SelectedRow(), 1);
    EXPECT_EQ(dlg->codes(CEditShowList::kId).back(), ControlNotify::Click);
    const auto codes = dlg->codes(CEditShowList::kId);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), ControlNotify::DoubleClick), 1);
    // A double click on the folder's name opens it.
    desktop.move(w, {100, 15});
    desktop.doubleClick(w, {100, 15});
    EXPECT_EQ(library.itemAt(folder)->isFolderOpen, 1);
    EXPECT_EQ(list->RowCount(), 3);
}

TEST_F(ValueControls, EnsureVisibleScrollsASelectionBelowTheViewIntoIt) {
    MacroLibrary library;
    for (int i = 0; i < 20; ++i) library.addMacro(kNoLocation, "m" + std::to_string(i));
    auto dlg = Open(300, 300, {});
    CEditShowList list(dlg->GetSafeHwnd(), 0, RECT{0, 0, 100, 100}, "", TRUE, TRUE, FALSE);
    list.SetLibrary(&library);
    EXPECT_EQ(list.RowsVisible(), 5);
    list.SelectRow(12);
    list.EnsureVisible();
    EXPECT_EQ(list.TopRow(), 8);
    list.SelectRow(2);  // above the view: not scrolled
    list.EnsureVisible();
    EXPECT_EQ(list.TopRow(), 8);
    library.clear();
    list.SelectRow(-1);
    list.EnsureVisible();
    EXPECT_EQ(list.TopRow(), 0);
}

TEST(MacroActionRows, EachKindOfActionReadsAsTheUserExpects) {
    EXPECT_EQ(MacroActionText(MacroAction{3, 0x01, 0x02, 0x03}), "66051ms");
    EXPECT_EQ(MacroActionText(MacroAction{229, 0, 0, 5}), "Move Right 5");
    EXPECT_EQ(MacroActionText(MacroAction{229, 0, 0, 0xFB}), "Move Left 5");
    EXPECT_EQ(MacroActionText(MacroAction{230, 0, 0, 0xFF}), "Move Up 1");
    EXPECT_EQ(MacroActionText(MacroAction{231, 0x80, 0, 2}), "Wheel Down 2");
    EXPECT_EQ(MacroActionText(MacroAction{0x41, 0x80, 0, 0}), "A");
}

TEST_F(ValueControls, TheActionListSelectsOnlyExistingRows) {
    MacroRecord macro;
    macro.insert(0, MacroAction{0x41, 0, 0, 0});
    macro.insert(1, makeDelay(50));
    CImageShowList* list = nullptr;
    auto dlg = Open(300, 300, [&](TestDialog& d) {
        list = d.AddControl(0, std::make_unique<CImageShowList>(d.GetSafeHwnd(), 0, RECT{10, 10, 160, 210}, "", TRUE,
                                                                TRUE, FALSE));
        list->SetMacro(&macro);
    });
    desktop.move(dlg->GetSafeHwnd(), {50, 35});
    desktop.click(dlg->GetSafeHwnd(), {50, 35});
    EXPECT_EQ(list->SelectedRow(), 1);
    desktop.click(dlg->GetSafeHwnd(), {50, 150});
    EXPECT_EQ(list->SelectedRow(), 1);
    EXPECT_EQ(desktop.pixel(dlg->GetSafeHwnd(), {150, 35}), 0xDEA035u);
}

TEST_F(ValueControls, TheActionListSelectsOnlyActionsThatExistWhenScrolled) {
    MacroRecord macro;
    for (int i = 0; i < 6; ++i) macro.insert(static_cast<std::size_t>(i), MacroAction{0x41, 0, 0, 0});
    CImageShowList* list = nullptr;
    auto dlg = Open(300, 300, [&](TestDialog& d) {
        list = d.AddControl(0, std::make_unique<CImageShowList>(d.GetSafeHwnd(), 0, RECT{10, 10, 160, 210}, "", TRUE,
                                                                TRUE, FALSE));
        list->SetMacro(&macro);
    });
    const HWND w = dlg->GetSafeHwnd();
    list->SetTopRow(4);
    // Row 1 shows action 5, the last one; row 2 shows nothing.
    desktop.move(w, {50, 35});
    desktop.click(w, {50, 35});
    EXPECT_EQ(list->SelectedRow(), 5);
    desktop.click(w, {50, 55});
    EXPECT_EQ(list->SelectedRow(), 5);
}

TEST_F(ValueControls, ANegativeTopRowShowsTheListFromItsFirstRow) {
    MacroRecord macro;
    macro.insert(0, MacroAction{0x41, 0, 0, 0});
    macro.insert(1, makeDelay(50));
    MacroLibrary library;
    library.addMacro(kNoLocation, "copy");
    CImageShowList* actions = nullptr;
    CEditShowList* tree = nullptr;
    auto dlg = Open(400, 300, [&](TestDialog& d) {
        actions = d.AddControl(0, std::make_unique<CImageShowList>(d.GetSafeHwnd(), 0, RECT{10, 10, 160, 210}, "",
                                                                   TRUE, TRUE, FALSE));
        actions->SetMacro(&macro);
        tree = d.AddControl(0, std::make_unique<CEditShowList>(d.GetSafeHwnd(), 0, RECT{200, 10, 350, 210}, "", TRUE,
                                                               TRUE, FALSE));
        tree->SetLibrary(&library);
    });
    const HWND w = dlg->GetSafeHwnd();
    // An owner that scrolls a short list by count - rowsVisible.
    actions->SetTopRow(2 - actions->RowsVisible());
    actions->SelectRow(0);
    tree->SetTopRow(1 - tree->RowsVisible());
    tree->SelectRow(0);
    dlg->Invalidate();
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {150, 15}), 0xDEA035u);
    EXPECT_EQ(desktop.pixel(w, {340, 15}), 0xDEA035u);
    desktop.move(w, {50, 35});
    desktop.click(w, {50, 35});
    EXPECT_EQ(actions->SelectedRow(), 1);
    desktop.move(w, {300, 15});
    desktop.click(w, {300, 15});
    EXPECT_EQ(tree->SelectedRow(), 0);
    EXPECT_EQ(tree->SelectedLocation().stage, 0);
}

TEST_F(ValueControls, AnEmptyBatteryStillShowsOneRowOfFill) {
    CBattery* battery = nullptr;
    auto dlg = Open(200, 200, [&](TestDialog& d) {
        battery = d.AddControl(0, std::make_unique<CBattery>(d.GetSafeHwnd(), 0, RECT{10, 10, 40, 74}, "", TRUE, TRUE,
                                                             FALSE));
        battery->LoadEmptyImage(SolidPng("empty", 30, 64, 0x202080));
        battery->LoadFullImage(SolidPng("full", 30, 64, 0x20A020));
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_TRUE(battery->IsDisabled());
    battery->SetCharge(CBattery::OnBattery, 0, 25);
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {20, 66}), 0x20A020u);
    EXPECT_EQ(desktop.pixel(w, {20, 65}), 0x202080u);
    battery->SetCharge(CBattery::OnBattery, 50, 25);
    desktop.pump();
    EXPECT_EQ(desktop.pixel(w, {20, 42}), 0x20A020u);
    EXPECT_EQ(desktop.pixel(w, {20, 41}), 0x202080u);
}

TEST_F(ValueControls, ASelectedHoveredProfileTabShowsTheFourthPictureAndRepaintsTheWindow) {
    ProbeControl* elsewhere = nullptr;
    auto dlg = Open(300, 200, [&](TestDialog& d) {
        for (int i = 0; i < 2; ++i) {
            auto* tab = d.AddControl(0, std::make_unique<CTabControl>(d.GetSafeHwnd(), 2049 + i,
                                                                      RECT{10 + 60 * i, 10, 60 + 60 * i, 35}, "P", 0,
                                                                      TRUE, TRUE, FALSE));
            tab->LoadLook({Look::Normal}, SolidPng("tab0", 10, 10, 0x101080));
            tab->LoadLook({Look::Hover}, SolidPng("tab1", 10, 10, 0x108010));
            tab->LoadLook({Look::Checked}, SolidPng("tab2", 10, 10, 0x801010));
            tab->LoadLook({Look::CheckedHover}, SolidPng("tab3", 10, 10, 0x808010));
        }
        elsewhere = d.AddControl(0, std::make_unique<ProbeControl>(d.GetSafeHwnd(), 2100, RECT{200, 150, 250, 190}));
    });
    const HWND w = dlg->GetSafeHwnd();
    EXPECT_EQ(desktop.pixel(w, {12, 12}), 0x801010u);
    EXPECT_EQ(desktop.pixel(w, {72, 12}), 0x101080u);
    const int before = elsewhere->draws;
    desktop.move(w, {80, 20});
    EXPECT_EQ(elsewhere->draws, before);
    desktop.click(w, {80, 20});
    EXPECT_EQ(currentProfileTab, 1);
    EXPECT_GT(elsewhere->draws, before);
    EXPECT_EQ(desktop.pixel(w, {72, 12}), 0x808010u);
    EXPECT_EQ(desktop.pixel(w, {12, 12}), 0x101080u);
}

}  // namespace
}  // namespace zavrin::test
