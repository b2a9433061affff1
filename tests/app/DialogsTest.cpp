// The small dialogs on their own: the edit box, the fire-key limits, the name
// prompts and the message box's keys.
#include <gtest/gtest.h>

#include "../ui/UiTestSupport.h"
#include "dialogs/CAttentionDlg.h"
#include "dialogs/CNameDialogs.h"
#include "dialogs/CProgressBarDlg.h"
#include "platform/Resources.h"
#include "ui/CEditBox.h"
#include "ui/ControlIds.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

class SmallDialogTest : public UiTest {
protected:
    SmallDialogTest() {
        InstallResources(generatedResources());
        skinFolder = ZAVRIN_BIN_DIR;
    }
    // Runs `dialog` modally; `steps` run one per idle moment inside its loop.
    int RunModal(CDialog& dialog, std::vector<std::function<void()>> steps) {
        for (auto& s : steps) desktop.backend().whenIdle(std::move(s));
        return dialog.DoModal();
    }
    HWND Front() {
        for (HWND h : desktop.windows().ZOrder())
            if (IsWindowVisible(h)) return h;
        return HWND{};
    }
    void Type(const std::string& text) {
        for (char c : text) {
            InputEvent e;
            e.kind = InputEvent::Kind::Char;
            e.key = static_cast<unsigned char>(c);
            desktop.backend().inject(e);
        }
    }
    void ClickId(HWND dialog, std::uint32_t id) {
        auto* dlg = dynamic_cast<CDlgBase*>(CWnd::FromHandle(dialog));
        const CControlBase* c = dlg->FindControl(id);
        const POINT p{(c->Rect().left + c->Rect().right) / 2, (c->Rect().top + c->Rect().bottom) / 2};
        desktop.backend().mouseMove(ClientToScreen(dialog, p));
        desktop.backend().click(ClientToScreen(dialog, p));
    }
};

TEST_F(SmallDialogTest, TheEditBoxEditsLikeAnEditBox) {
    std::string clipboard;
    CEditBox::SetClipboard([&](const std::string& t) { clipboard = t; },
                           [&] { return std::string("pasted\nsecond line"); });
    CEditBox* box = nullptr;
    auto dlg = Open(200, 60, [&](TestDialog& d) {
        box = d.AddControl(
            0, std::make_unique<CEditBox>(d.GetSafeHwnd(), 2017, RECT{10, 10, 190, 40}, "abc"));
        d.SetKeyboardFocus(box);
    });
    desktop.key(VK_LEFT);
    Type("X");
    desktop.pump();
    EXPECT_EQ(box->GetText(), "abXc");
    desktop.key(VK_BACK);
    desktop.key(VK_DELETE);
    EXPECT_EQ(box->GetText(), "ab");
    desktop.key(0x24);  // Home
    desktop.backend().keyDown(VK_LSHIFT);
    desktop.key(VK_RIGHT);
    desktop.backend().keyUp(VK_LSHIFT);
    desktop.backend().keyDown(VK_CONTROL);
    desktop.key('C');
    desktop.key('V');
    desktop.backend().keyUp(VK_CONTROL);
    desktop.pump();
    EXPECT_EQ(clipboard, "a");
    // A paste keeps one line only.
    EXPECT_EQ(box->GetText(), "pastedb");
    // Enter is not the box's: it goes on to the dialog.
    EXPECT_FALSE(box->OnKeyDown(VK_RETURN));
    CEditBox::SetClipboard(nullptr, nullptr);
}

TEST_F(SmallDialogTest, TheAttentionDialogEndsWithOkOnEnterAndCancelOnEscape) {
    CAttentionDlg a("title", "message", HWND{});
    EXPECT_EQ(RunModal(a, {[&] { desktop.backend().keyDown(VK_RETURN); }}), IDOK);
    CAttentionDlg b("title", "message", HWND{});
    EXPECT_EQ(RunModal(b, {[&] { desktop.backend().keyDown(VK_ESCAPE); }}), IDCANCEL);
}

TEST_F(SmallDialogTest, RenameReturnsOkOnlyForAChangedName) {
    CMacroKeyRenameDlg same("Macro", HWND{});
    EXPECT_EQ(RunModal(same, {[&] { desktop.backend().keyDown(VK_RETURN); }}), IDCANCEL);
    EXPECT_EQ(same.TypedName(), "Macro");
    CMacroKeyRenameDlg cased("Macro", HWND{});
    EXPECT_EQ(RunModal(cased, {[&] {
                                   desktop.backend().keyDown(0x24);
                                   desktop.backend().keyDown(VK_DELETE);
                                   Type("m");
                               },
                               [&] { desktop.backend().keyDown(VK_RETURN); }}),
              IDOK);
    EXPECT_EQ(cased.TypedName(), "macro");
    CMacroKeyOrFolderNameDlg name(0);
    EXPECT_EQ(RunModal(name, {[&] { Type("abc"); }, [&] { desktop.backend().keyDown(VK_ESCAPE); },
                              [&] { ClickId(Front(), ControlId::DialogCancel); }}),
              IDCANCEL);
    EXPECT_TRUE(name.TypedName().empty());
}

// The parent of the fire-key dialog, which receives its choice.
class ChoiceReceiver : public TestDialog {
public:
    ChoiceReceiver() : TestDialog(300, 200) {}
    std::optional<ButtonChoice> choice;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CFireKeyDlg::kChoiceMessage) {
            choice = *reinterpret_cast<const ButtonChoice*>(lParam);
            return 0;
        }
        return TestDialog::WindowProc(message, wParam, lParam);
    }
};

TEST_F(SmallDialogTest, TheFireKeyDialogKeepsItsLimits) {
    uiLanguage.setText(26, "Fire Key+");
    ChoiceReceiver parent;
    ASSERT_TRUE(parent.Create());
    CFireKeyDlg dialog(parent.GetSafeHwnd());
    std::vector<std::string> warnings;
    auto answerWarning = [&] {
        if (auto* a = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(Front()))) {
            warnings.push_back(a->message());
            desktop.backend().keyDown(VK_RETURN);
        }
    };
    RunModal(dialog, {
                         // Interval 4: refused, the dialog stays.
                         [&] {
                             desktop.backend().keyDown(VK_BACK);
                             desktop.backend().keyDown(VK_BACK);
                             Type("4");
                         },
                         [&] { ClickId(Front(), ControlId::DialogOk); },
                         answerWarning,
                         // A letter is said but still reaches the box; 12a reads as 12.
                         [&] {
                             desktop.backend().keyDown(VK_BACK);
                             Type("12a");
                         },
                         answerWarning,
                         // 300 in the count box becomes 255 within 100 ms.
                         [&] {
                             auto* d = dynamic_cast<CDlgBase*>(CWnd::FromHandle(Front()));
                             d->SetKeyboardFocus(d->FindControl(CFireKeyDlg::kCountBox));
                             desktop.backend().keyDown(VK_BACK);
                             Type("300");
                         },
                         [&] { desktop.advance(100ms); },
                         answerWarning,
                         [&] { ClickId(Front(), ControlId::DialogOk); },
                     });
    ASSERT_EQ(warnings.size(), 3u);
    ASSERT_TRUE(parent.choice.has_value());
    EXPECT_EQ(parent.choice->name, "Fire Key");
    EXPECT_EQ(parent.choice->action, (KeyAction{0x30, 12, 255}));
}

TEST_F(SmallDialogTest, TheProgressBarRunsHalfASecondAndClosesItself) {
    CProgressBarDlg progress("Updating", "", HWND{});
    int drawn = -1;
    RunModal(progress, {[&] {
                 desktop.advance(490ms);
                 drawn = progress.drawnProgress();
             }});
    EXPECT_EQ(drawn, 98);
}

}  // namespace
}  // namespace zavrin::test
