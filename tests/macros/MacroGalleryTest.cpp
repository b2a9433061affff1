// Pictures of the macro screens at scale 1 and 2 for the build's gallery:
// the manager empty, with a folder tree and while recording, the select
// dialog, the shortcut and the quick-launch dialogs.

#include <gtest/gtest.h>

#include "macros/CMacroManagerDlg.h"
#include "macros/CMacroSelectDlg.h"
#include "pages/CQuickLaunchDlg.h"
#include "pages/CShortcutDlg.h"
#include "tests/macros/MacroTestSupport.h"

namespace zavrin::test {
namespace {

class MacroGallery : public MacroUiTest, public ::testing::WithParamInterface<float> {
protected:
    void SetUp() override {
        uiScale = GetParam();
        LoadEnglishTexts();
        suffix = "_" + std::to_string(static_cast<int>(GetParam())) + "x";
    }
    void FillLibrary() {
        const MacroLocation games = library.addFolder(kNoLocation, "Games");
        const MacroLocation shooter = library.addFolder(games, "Shooter");
        for (const char* name : {"Reload", "Grenade", "Crouch jump"}) {
            MacroRecord& m = *library.itemAt(library.addMacro(shooter, name))->macro;
            for (int i = 0; i < 30; ++i) {
                m.insert(m.actionNum,
                         MacroAction{static_cast<std::uint8_t>(0x41 + i % 26), 0, 0, 0});
                m.insert(m.actionNum, makeDelay(35 + static_cast<std::uint32_t>(i)));
                m.insert(m.actionNum,
                         MacroAction{static_cast<std::uint8_t>(0x41 + i % 26), 0x80, 0, 0});
            }
        }
        library.addMacro(games, "Quick save");
        library.addFolder(kNoLocation, "Office");
        library.addMacro(kNoLocation, "Signature");
    }
    CMacroManagerDlg::Environment Env() {
        return CMacroManagerDlg::Environment{library, services, dir / "lib.mlf", profile};
    }
    // A design point scaled to the window.
    void Row(int row, int x = 60) { ClickAt(x, 64 + 20 * row); }

    MacroLibrary library;
    ProfileRecord profile;
    std::string suffix;
};

TEST_P(MacroGallery, TheManagerEmptyWithATreeAndRecording) {
    {
        CMacroManagerDlg manager(Env(), HWND{});
        Then([&] {
            Shoot("macro_manager_empty" + suffix);
            Click(ControlId::DialogClose);
        });
        manager.DoModal();
    }
    FillLibrary();
    CMacroManagerDlg manager(Env(), HWND{});
    Then([&] {
        Row(0, 30);  // open Games
        Row(1, 50);  // open Shooter (one level in)
        Row(2);      // Reload
        Click(CMacroManagerDlg::kLoopCount);
        Shoot("macro_manager_tree" + suffix);
        Click(CMacroManagerDlg::kRecordButton);
        Capture(0xA2, false, 10);
        Capture(0x53, false, 90);
        Capture(0x53, true, 140);
        Capture(0xA2, true, 200);
        Shoot("macro_manager_recording" + suffix);
        Click(CMacroManagerDlg::kRecordButton);
        Click(ControlId::DialogClose);
    });
    manager.DoModal();
}

TEST_P(MacroGallery, TheSelectShortcutAndLaunchDialogs) {
    FillLibrary();
    {
        CMacroSelectDlg select(library, HWND{});
        Then([&] {
            Row(0, 30);
            Row(2);  // Quick save
            Shoot("macro_select_dialog" + suffix);
            Click(ControlId::DialogClose);
        });
        select.DoModal();
    }
    {
        CShortcutDlg shortcut(services, HWND{});
        Then([&] {
            Click(CShortcutDlg::kCtrlBox);
            Click(CShortcutDlg::kAltBox);
            Capture(0x75, false, 1);  // F6
            Shoot("shortcut_dialog" + suffix);
            Click(ControlId::DialogCancel);
        });
        shortcut.DoModal();
    }
    {
        services.fileAnswers.push_back(std::filesystem::path("/usr/bin/gnome-calculator"));
        CQuickLaunchDlg launch(services, HWND{});
        Then([&] {
            Click(CQuickLaunchDlg::kBrowseButton);
            Shoot("quick_launch_dialog" + suffix);
            Click(ControlId::DialogCancel);
        });
        launch.DoModal();
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, MacroGallery, ::testing::Values(1.0f, 2.0f));

}  // namespace
}  // namespace zavrin::test
