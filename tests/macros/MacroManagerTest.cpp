#include <gtest/gtest.h>

#include "FileBytes.h"
#include "dialogs/CActionKeyModifyDlg.h"
#include "dialogs/CActionNumberDlgs.h"
#include "dialogs/CAttentionDlg.h"
#include "macros/CMacroManagerDlg.h"
#include "tests/macros/MacroTestSupport.h"
#include "ui/PopupMenus.h"

namespace zavrin::test {
namespace {

constexpr std::uint32_t kShift = 0xA0;
constexpr std::uint32_t kA = 0x41;
// Design-unit points: the first rows of the tree list and of the action list.
constexpr POINT kTreeRow0{60, 64};
constexpr POINT kTreeRow1{60, 84};

class MacroManager : public MacroUiTest {
protected:
    MacroManager() { profile.keys[2].action = KeyAction{ActionType::MouseButton, 0x04, 0}; }

    std::unique_ptr<CMacroManagerDlg> Make() {
        return std::make_unique<CMacroManagerDlg>(
            CMacroManagerDlg::Environment{library, services, libraryFile(), profile}, HWND{});
    }
    std::filesystem::path libraryFile() const { return dir / "MacroLibraryFile.mlf"; }

    // Answers the message box in front with OK after checking its text.
    void AnswerMessage(int textId, std::uint32_t button = ControlId::DialogOk) {
        Then([this, textId, button] {
            auto* box = FrontAs<CAttentionDlg>();
            ASSERT_NE(box, nullptr) << "expected message " << textId;
            EXPECT_EQ(box->message(), languageText(textId));
            Click(button);
        });
    }
    void NameNewItem(const std::string& name) {
        Then([this, name] {
            Type(name);
            Click(ControlId::DialogOk);
        });
    }
    // The row of the open pop-up menu.
    void ChooseMenuRow(int row) {
        for (HWND h : WindowSystem::Current()->ZOrder()) {
            auto* menu = dynamic_cast<CItemPopup*>(CWnd::FromHandle(h));
            if (menu == nullptr || !IsWindowVisible(h)) continue;
            const RECT& r = menu->Items()[static_cast<std::size_t>(row)].itemRect;
            const POINT p =
                ClientToScreen(h, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            desktop.move(p);
            desktop.click(p);
            return;
        }
        ADD_FAILURE() << "no menu open";
    }

    MacroLibrary library;
    ProfileRecord profile;
};

TEST_F(MacroManager, RecordingShiftAIntoANewMacroSavesItOnStop) {
    auto manager = Make();
    Then([&] { Click(CMacroManagerDlg::kNewMacroButton); });
    NameNewItem("shift-a");
    Then([&] {
        EXPECT_NE(manager->currentMacro(), nullptr) << "the new macro is selected";
        Click(CMacroManagerDlg::kRecordButton);
        EXPECT_TRUE(manager->recording());
        EXPECT_EQ(services.CaptureTarget(), manager->GetSafeHwnd());
        Capture(kShift, false, 1000);
        Capture(kA, false, 1150);
        Capture(kA, false, 1180);  // auto-repeat
        Capture(kA, true, 1250);
        Capture(kShift, true, 6400);  // a long pause
        Shoot("macro_manager_recording_shift_a_1x");
        Click(CMacroManagerDlg::kRecordButton);
        EXPECT_FALSE(manager->recording());
        EXPECT_FALSE(services.CaptureTarget());
        EXPECT_TRUE(std::filesystem::exists(libraryFile())) << "stopping saves";
        Capture(kA, false, 7000);  // after the stop: nothing
        Click(ControlId::DialogClose);
    });
    EXPECT_EQ(manager->DoModal(), IDOK);

    MacroLibrary saved;
    ASSERT_TRUE(saved.readLibraryFile(libraryFile()));
    const MacroRecord& m = *saved.itemAt(MacroLocation{0, 0, 0, 0})->macro;
    ASSERT_EQ(m.actionNum, 7u);
    const MacroAction expected[] = {{0xA0, 0x00, 0, 0}, {0x03, 0, 0, 150},  {0x41, 0x00, 0, 0},
                                    {0x03, 0, 0, 100},  {0x41, 0x80, 0, 0}, {0x03, 0, 0x0F, 0xFF},
                                    {0xA0, 0x80, 0, 0}};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(m.actions[i], expected[i]) << i;
    EXPECT_EQ(m.commandActionNum, 4);
    EXPECT_EQ(saved.fileSelection, kNoLocation);
}

TEST_F(MacroManager, The126thKeyEventStopsTheRecordingWithMessage235) {
    library.addMacro(kNoLocation, "long");
    auto manager = Make();
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(CMacroManagerDlg::kRecordButton);
        std::uint32_t t = 0;
        for (int i = 0; i < 125; ++i) Capture(kA, i % 2 == 1, t += 20);
        EXPECT_TRUE(manager->recording());
        Capture(kShift, false, t + 20);  // the message box opens here; the next step answers it
        EXPECT_FALSE(manager->recording());
        EXPECT_FALSE(services.CaptureTarget());
        Click(ControlId::DialogClose);
    });
    AnswerMessage(235);
    manager->DoModal();
    EXPECT_EQ(library.itemAt(MacroLocation{0, 0, 0, 0})->macro->commandActionNum, 125);
    MacroLibrary saved;
    ASSERT_TRUE(saved.readLibraryFile(libraryFile()));
    EXPECT_EQ(saved.itemAt(MacroLocation{0, 0, 0, 0})->macro->actionNum, 249u);
}

TEST_F(MacroManager, RecordingWithoutAMacroIsRefused) {
    auto manager = Make();
    Then([&] {
        Click(CMacroManagerDlg::kRecordButton);
        EXPECT_FALSE(manager->recording());
        EXPECT_FALSE(services.CaptureTarget());
        Click(ControlId::DialogClose);
    });
    AnswerMessage(234);
    manager->DoModal();
}

TEST_F(MacroManager, AMacroUsedByTheCurrentProfileCannotBeDeletedUntilTheButtonChanges) {
    const MacroLocation used = library.addMacro(kNoLocation, "used");
    library.addMacro(kNoLocation, "free");
    profile.keys[2].action = KeyAction{ActionType::Macro, 0x21, 1};
    profile.keys[2].macroKeyIndex = library.itemAt(used)->macro->macroKeyIndex;
    auto manager = Make();
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(CMacroManagerDlg::kDeleteItemButton);
    });
    AnswerMessage(232);  // confirm
    AnswerMessage(257);  // refused
    Then([&] {
        EXPECT_EQ(library.itemCount(), 2);
        profile.keys[2].action = KeyAction{ActionType::MouseButton, 0x04, 0};
        Click(CMacroManagerDlg::kDeleteItemButton);
    });
    AnswerMessage(232);
    Then([&] {
        EXPECT_EQ(library.itemCount(), 1);
        EXPECT_EQ(library.itemAt(MacroLocation{0, 0, 0, 0})->name, "free");
        Click(CMacroManagerDlg::kDeleteItemButton);  // nothing selected now
    });
    AnswerMessage(233);
    Then([&] { Click(ControlId::DialogClose); });
    manager->DoModal();
    EXPECT_EQ(library.itemCount(), 1);
}

TEST_F(MacroManager, TheCountFieldKeepsTheRepeatCountBetween1And255) {
    library.addMacro(kNoLocation, "m");
    auto manager = Make();
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        auto* field = dynamic_cast<CEditBox*>(manager->FindControl(CMacroManagerDlg::kCountField));
        ASSERT_NE(field, nullptr);
        Click(CMacroManagerDlg::kLoopToggle);
        EXPECT_EQ(manager->currentMacro()->loopType, 4);
        EXPECT_GT(field->Rect().left, manager->WindowWidth()) << "out of view unless counting";
        Click(CMacroManagerDlg::kLoopCount);
        EXPECT_EQ(manager->currentMacro()->loopType, 2);
        EXPECT_EQ(field->GetText(), "1");
        EXPECT_EQ(manager->GetKeyboardFocus(), field);
        desktop.key(VK_BACK);
        Type("0");
        EXPECT_EQ(field->GetText(), "1");
        EXPECT_EQ(manager->currentMacro()->loopNum, 1);
        desktop.key(VK_BACK);
        Type("300");
        EXPECT_EQ(field->GetText(), "255");
        EXPECT_EQ(manager->currentMacro()->loopNum, 255);
        Type("x");
    });
    AnswerMessage(175);
    Then([&] { Click(ControlId::DialogClose); });
    manager->DoModal();
}

TEST_F(MacroManager, TheInsertMenuAddsClicksKeysAndDelaysAfterTheSelection) {
    library.addMacro(kNoLocation, "m");
    auto manager = Make();
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(CMacroManagerDlg::kInsertCombo);
        ChooseMenuRow(0);  // left click
        desktop.pump();
        EXPECT_EQ(manager->selectedAction(), 2);
        Click(CMacroManagerDlg::kInsertCombo);
        ChooseMenuRow(4);  // key: the key dialog opens
    });
    Then([&] {
        ASSERT_NE(FrontAs<CActionKeyModifyDlg>(), nullptr);
        Capture(0x42, false, 10);
        Capture(0x42, true, 20);
        Click(ControlId::DialogOk);
    });
    Then([&] {
        Click(CMacroManagerDlg::kInsertCombo);
        ChooseMenuRow(3);  // delay after the key release: a new 100 ms delay
    });
    Then([&] {
        ASSERT_NE(FrontAs<CActionTimeModifyDlg>(), nullptr);
        Click(ControlId::DialogOk);
    });
    Then([&] {
        Click(CMacroManagerDlg::kInsertCombo);
        ChooseMenuRow(3);  // right after a delay: that delay is edited instead
    });
    Then([&] {
        desktop.key(VK_BACK);
        Type("7");
        Click(ControlId::DialogOk);
    });
    Then([&] {
        Shoot("macro_manager_actions_1x");
        Click(CMacroManagerDlg::kDeleteActionButton);  // the delay, the last action
        EXPECT_EQ(manager->selectedAction(), 5);
        Click(ControlId::DialogClose);
    });
    manager->DoModal();
    const MacroRecord& m = *library.itemAt(MacroLocation{0, 0, 0, 0})->macro;
    ASSERT_EQ(m.actionNum, 6u);
    const MacroAction expected[] = {{0xE0, 0x00, 0, 0}, {0x03, 0, 0, 50}, {0xE0, 0x80, 0, 0},
                                    {0x42, 0x00, 0, 0}, {0x03, 0, 0, 50}, {0x42, 0x80, 0, 0}};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(m.actions[i], expected[i]) << i;
    EXPECT_EQ(m.commandActionNum, 4);
}

TEST_F(MacroManager, TheTreeMenuMakesFoldersAndMacrosInside) {
    auto manager = Make();
    Then([&] {
        ClickAt(100, 300, MouseButton::Right);  // empty space
        ChooseMenuRow(1);                       // new folder
    });
    NameNewItem("Games");
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y, MouseButton::Right);
        ChooseMenuRow(0);  // new macro, inside the folder
    });
    NameNewItem("jump");
    Then([&] {
        EXPECT_EQ(manager->selection(), (MacroLocation{1, 0, 0, 0}));
        EXPECT_EQ(library.itemAt(MacroLocation{0, 0, 0, 0})->isFolderOpen, 1);
        Click(CMacroManagerDlg::kNewMacroButton);
    });
    NameNewItem("jump");  // a macro is selected: the new one goes to the top level
    Then([&] {
        EXPECT_EQ(manager->selection(), (MacroLocation{0, 1, 0, 0}));
        Click(CMacroManagerDlg::kNewMacroButton);
    });
    NameNewItem("jump");
    AnswerMessage(241);
    Then([&] {
        ClickAt(kTreeRow1.x, kTreeRow1.y, MouseButton::Right);
        ChooseMenuRow(4);  // rename (the macro menu lists all eight)
    });
    Then([&] {
        desktop.key(VK_BACK);
        Type("duck");
        Click(ControlId::DialogOk);
    });
    Then([&] {
        EXPECT_EQ(library.itemAt(MacroLocation{1, 0, 0, 0})->name, "jumduck");
        EXPECT_EQ(library.itemAt(MacroLocation{1, 0, 0, 0})->macro->name, "jump");
        Shoot("macro_manager_folders_1x");
        Click(ControlId::DialogClose);
    });
    manager->DoModal();
    EXPECT_EQ(library.itemCount(), 3);
}

}  // namespace
}  // namespace zavrin::test
