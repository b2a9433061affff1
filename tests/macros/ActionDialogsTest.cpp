#include <gtest/gtest.h>

#include "dialogs/CActionKeyModifyDlg.h"
#include "dialogs/CActionNumberDlgs.h"
#include "dialogs/CAttentionDlg.h"
#include "tests/macros/MacroTestSupport.h"

namespace zavrin::test {
namespace {

class ActionDialogs : public MacroUiTest {
protected:
    // Runs `dialog` modally, replacing the box's text with `text` and confirming.
    int TypeAndConfirm(CDlgBase& dialog, const std::string& text, bool withEnter = false) {
        Then([this, text, withEnter] {
            auto* box = dynamic_cast<CEditBox*>(Front()->FindControl(ControlId::EditBox));
            ASSERT_NE(box, nullptr);
            box->SelectAll();
            Type(text);
            if (withEnter) {
                desktop.key(VK_RETURN);
            } else {
                Click(ControlId::DialogOk);
            }
        });
        return dialog.DoModal();
    }
    void AnswerDigitsOnly() {
        Then([this] {
            auto* box = FrontAs<CAttentionDlg>();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->message(), languageText(175));
            Click(ControlId::DialogOk);
        });
    }
};

TEST_F(ActionDialogs, TheDelayDialogWritesBigEndianMillisecondsUpToItsLimit) {
    MacroAction action = makeDelay(50);
    {
        CActionTimeModifyDlg dialog(&action, HWND{});
        EXPECT_EQ(TypeAndConfirm(dialog, "1000", true), IDOK);
    }
    EXPECT_EQ(action, (MacroAction{0x03, 0x00, 0x03, 0xE8}));
    {
        CActionTimeModifyDlg dialog(&action, HWND{});
        EXPECT_EQ(TypeAndConfirm(dialog, "99999999999"), IDOK);
    }
    EXPECT_EQ(action, (MacroAction{0x03, 0xE9, 0x75, 0xA0})) << "15300000 ms";
}

TEST_F(ActionDialogs, ANegativeOrNonNumericDelayIsRefusedAndTheDialogStays) {
    MacroAction action = makeDelay(50);
    CActionTimeModifyDlg dialog(&action, HWND{});
    Then([&] {
        auto* box = dynamic_cast<CEditBox*>(dialog.FindControl(ControlId::EditBox));
        box->SelectAll();
        Type("-");  // warned as typed, and let through
    });
    AnswerDigitsOnly();
    Then([&] {
        Type("5");
        Click(ControlId::DialogOk);  // "-5": refused
    });
    AnswerDigitsOnly();
    Then([&] {
        EXPECT_EQ(action, makeDelay(50)) << "nothing written while refused";
        EXPECT_EQ(Front(), &dialog);
        Shoot("action_delay_dialog_refused_1x");
        Click(ControlId::DialogCancel);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(action, makeDelay(50));
}

TEST_F(ActionDialogs, TheMoveDialogClampsTheDistanceAndSignsItByDirection) {
    MacroAction action{0xE6, 0, 0, 0x01};
    {
        CActionXYModifyDlg dialog(&action, CActionXYModifyDlg::kUp, HWND{});
        EXPECT_EQ(TypeAndConfirm(dialog, "10"), IDOK);
    }
    EXPECT_EQ(action, (MacroAction{0xE6, 0, 0, 0xF6}));
    {
        CActionXYModifyDlg dialog(&action, CActionXYModifyDlg::kRight, HWND{});
        EXPECT_EQ(TypeAndConfirm(dialog, "300"), IDOK);
    }
    EXPECT_EQ(action, (MacroAction{0xE5, 0, 0, 127}));
    {
        CActionXYModifyDlg dialog(&action, CActionXYModifyDlg::kLeft, HWND{});
        Then([&] {
            EXPECT_EQ(dialog.FindControl(ControlId::EditBox)->GetText(), "-127")
                << "starts from the stored distance";
            Shoot("action_move_dialog_stored_1x");
        });
        EXPECT_EQ(TypeAndConfirm(dialog, "0"), IDOK);
    }
    EXPECT_EQ(action, (MacroAction{0xE5, 0, 0, 0xFF}));
}

TEST_F(ActionDialogs, TheKeyDialogKeepsTheLastKeyAndCancelKeepsTheAction) {
    MacroAction action{0x41, 0x80, 0, 0};
    {
        CActionKeyModifyDlg dialog(&action, services, HWND{});
        Then([&] {
            EXPECT_TRUE(dialog.hookRunning());
            Capture(0x43, false, 1);
            Capture(VK_RETURN, false, 2);  // a key like any other, not the end of the dialog
            desktop.key(VK_RETURN);
            Capture(0x44, false, 3);
            Capture(0x45, true, 4);  // releases change nothing
            EXPECT_EQ(dialog.capturedKey(), 0x44);
            Shoot("action_key_dialog_captured_1x");
            Click(ControlId::DialogCancel);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_FALSE(services.CaptureTarget()) << "the capture ends with the dialog";
    }
    EXPECT_EQ(action, (MacroAction{0x41, 0x80, 0, 0}));
    {
        CActionKeyModifyDlg dialog(&action, services, HWND{});
        Then([&] {
            Capture(0x43, false, 1);
            Capture(0x44, false, 2);
            Click(ControlId::DialogOk);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(action, (MacroAction{0x44, 0x80, 0, 0}));
}

class ActionDialogPictures : public ActionDialogs, public ::testing::WithParamInterface<float> {};

TEST_P(ActionDialogPictures, EveryDialogAtTheScale) {
    uiScale = GetParam();
    LoadEnglishTexts();
    const std::string suffix = "_" + std::to_string(static_cast<int>(GetParam())) + "x";
    MacroAction delay = makeDelay(250);
    MacroAction move{0xE5, 0, 0, 0x0A};
    MacroAction key{0x41, 0, 0, 0};
    CActionTimeModifyDlg time(&delay, HWND{});
    CActionXYModifyDlg xy(&move, CActionXYModifyDlg::kRight, HWND{});
    CActionKeyModifyDlg keyDialog(&key, services, HWND{});
    for (auto [dialog, name] : {std::pair<CDlgBase*, const char*>{&time, "action_delay_dialog"},
                                {&xy, "action_move_dialog"},
                                {&keyDialog, "action_key_dialog"}}) {
        Then([this, name = std::string(name) + suffix] {
            Shoot(name);
            Click(ControlId::DialogCancel);
        });
        dialog->DoModal();
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ActionDialogPictures, ::testing::Values(1.0f, 2.0f));

}  // namespace
}  // namespace zavrin::test
