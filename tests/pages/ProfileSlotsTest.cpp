#include "../model/FileBytes.h"
#include "MainWindowFixture.h"
#include "dialogs/CProfileNameDlgs.h"
#include "pages/ProfileShowList.h"
#include "ui/CEditBox.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

TEST(ProfileShowListRules, AHandEditedListIsRepairedBeforeUse) {
    GlobalSettings settings;
    settings.resetGlobalSettings("/tmp");
    settings.setProfileShowCount(9);
    for (int i = 0; i < 5; ++i) settings.setProfileShowList(i, i == 1 ? 7 : (i == 2 ? 0 : 4 - i));
    const ProfileShowList shown = ProfileShowList::Load(settings);
    EXPECT_EQ(shown.count, 5);
    EXPECT_EQ(shown.list, (std::array<int, 5>{4, 0, 1, 2, 3}));
    settings.setProfileShowCount(-3);
    EXPECT_EQ(ProfileShowList::Load(settings).count, 1);
}

TEST(ProfileShowListRules, RemovingMovesTheSlotBehindTheListed) {
    ProfileShowList shown;
    shown.count = 3;
    ASSERT_TRUE(shown.Remove(1));
    EXPECT_EQ(shown.list, (std::array<int, 5>{0, 2, 3, 4, 1}));
    EXPECT_EQ(shown.count, 2);
    EXPECT_FALSE(shown.Remove(4));  // not listed
}

class ProfileSlots : public MainWindowTest {
protected:
    void OpenMenu() {
        click(ControlId::ProfileSelector);
        ASSERT_NE(dynamic_cast<CComboProfilePopup*>(topMenu()), nullptr);
    }
    // Right click on a profile row, then an action of the slot menu.
    void SlotAction(std::size_t profileRow, std::size_t action) {
        OpenMenu();
        CItemPopup* menu = topMenu();
        const POINT p = centre(menu->Items().at(profileRow).itemRect);
        desktop.move(menu->GetSafeHwnd(), p);
        desktop.rightClick(menu->GetSafeHwnd(), p);
        desktop.pump();
        auto* slots = dynamic_cast<CProfileRKeyPopup*>(topMenu());
        ASSERT_NE(slots, nullptr);
        clickRow(slots, action);
    }
    ProfileShowList shown() const { return ProfileShowList::Load(model->store.settings); }
};

TEST_F(ProfileSlots, DefaultsListThreeProfilesAndChoosingOneSwitches) {
    model->store.profiles[1].keys[1].action = KeyAction{0x10, 0x04, 0x00};
    OpenMenu();
    auto* menu = dynamic_cast<CComboProfilePopup*>(topMenu());
    EXPECT_EQ(menu->ProfileNames()[0], "Profile 1");
    EXPECT_EQ(menu->ProfileNames()[3], "");
    clickRow(menu, 2);
    EXPECT_EQ(model->store.currentIndex(), 1);
    desktop.advance(20ms);
    // Only what differs from what the mouse holds goes out.
    EXPECT_EQ(sent(Command::Keys).size(), 1u);
    EXPECT_TRUE(sent(Command::PowerSaving).empty());

    // Choosing the current profile again still refreshes and marks both groups.
    OpenMenu();
    clickRow(topMenu(), 2);
    EXPECT_TRUE(window->sync().isDirty(DirtyGroup::Buttons));
    EXPECT_TRUE(window->sync().isDirty(DirtyGroup::Performance));
}

TEST_F(ProfileSlots, RemovingAndAddingFollowTheShownList) {
    model->store.settings.setProfileShowCount(3);
    SlotAction(2, 3);  // slot 1: remove
    desktop.advance(100ms);
    EXPECT_EQ(shown().count, 2);
    EXPECT_EQ(shown().list, (std::array<int, 5>{0, 2, 3, 4, 1}));

    model->store.profiles[3].settings[Setting::ProfileName].value = "Old";
    model->store.profiles[3].dpiOffOnFlag = 0x01;
    desktop.backend().whenIdle([&] {
        CDlgBase* dialog = frontDialog();
        ASSERT_NE(dynamic_cast<CAddProfileDlg*>(dialog), nullptr);
        dynamic_cast<CEditBox*>(dialog->FindControl(ControlId::EditBox))->SetText("Work");
        SendMessage(dialog->GetSafeHwnd(), ControlId::DialogOk, 0, ControlNotify::Click);
    });
    OpenMenu();
    clickRow(topMenu(), 6);  // New
    desktop.advance(100ms);
    EXPECT_EQ(shown().count, 3);
    ProfileRecord defaults;
    resetProfile(defaults, 3, model->language, model->store.sensorId());
    defaults.settings[Setting::ProfileName].value = "Work";
    EXPECT_EQ(model->store.profiles[3], defaults);
    EXPECT_EQ(savedProfile(3)->settings[Setting::ProfileName].value, "Work");
}

TEST_F(ProfileSlots, AnEmptyNameIsRefusedAndTheRenameDialogStaysOpen) {
    std::string refusal;
    bool stillOpen = false;
    desktop.backend().whenIdle([&] {
        CDlgBase* dialog = frontDialog();
        ASSERT_NE(dynamic_cast<CEditProfileDlg*>(dialog), nullptr);
        auto* box = dynamic_cast<CEditBox*>(dialog->FindControl(ControlId::EditBox));
        EXPECT_EQ(box->GetText(), "Profile 2");
        box->SetText("");
        SendMessage(dialog->GetSafeHwnd(), ControlId::DialogOk, 0, ControlNotify::Click);
    });
    desktop.backend().whenIdle([&] {
        auto* notice = dynamic_cast<CAttentionDlg*>(frontDialog());
        ASSERT_NE(notice, nullptr);
        refusal = notice->message();
        SendMessage(notice->GetSafeHwnd(), ControlId::DialogOk, 0, ControlNotify::Click);
    });
    desktop.backend().whenIdle([&] {
        stillOpen = dynamic_cast<CEditProfileDlg*>(frontDialog()) != nullptr;
        // Escape is swallowed; close leaves without a change.
        desktop.key(VK_ESCAPE);
        SendMessage(frontDialog()->GetSafeHwnd(), ControlId::DialogClose, 0, ControlNotify::Click);
    });
    SlotAction(2, 2);
    desktop.advance(100ms);
    EXPECT_EQ(refusal, "The profile name must not be empty.");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(model->store.profiles[1].settings[Setting::ProfileName].value, "Profile 2");
}

TEST_F(ProfileSlots, TheCurrentProfileCannotBeRemoved) {
    SlotAction(1, 3);
    desktop.advance(100ms);
    EXPECT_EQ(shown().count, 3);
    EXPECT_EQ(notice(), "The current profile cannot be removed.");
}

TEST_F(ProfileSlots, AnExportedProfileImportsIntoAnotherSlotUnchanged) {
    profile().keys[1].action = KeyAction{0x10, 0x04, 0x00};
    profile().keys[1].name = "Middle Click";
    const auto exported = data.path() / "mine.psf";
    services.fileAnswers.push_back(exported);
    SlotAction(1, 1);
    desktop.advance(100ms);
    ASSERT_TRUE(std::filesystem::exists(exported));

    services.fileAnswers.push_back(exported);
    SlotAction(2, 0);
    desktop.advance(100ms);
    model->store.writeAllProfileFiles();
    EXPECT_EQ(model->store.profiles[1], model->store.profiles[0]);
    EXPECT_EQ(readBytes(slotFile(1)), readBytes(exported));
    desktop.advance(500ms);
    EXPECT_EQ(settingsReports(), 0u);
}

TEST_F(ProfileSlots, ADamagedImportChangesNothingAndSaysSo) {
    const auto before = readBytes(slotFile(1));
    const ProfileRecord kept = model->store.profiles[1];
    const auto damaged = data.path() / "damaged.psf";
    writeBytes(damaged, "not a profile");
    services.fileAnswers.push_back(damaged);
    SlotAction(2, 0);
    desktop.advance(100ms);
    EXPECT_EQ(model->store.profiles[1], kept);
    EXPECT_EQ(readBytes(slotFile(1)), before);
    EXPECT_EQ(notice(), languageText(157));
}

TEST_F(ProfileSlots, AFailedExportIsReported) {
    services.fileAnswers.push_back(data.path() / "no-such-folder" / "x.psf");
    SlotAction(1, 1);
    desktop.advance(100ms);
    EXPECT_EQ(notice(), languageText(158));
}

}  // namespace
}  // namespace zavrin::test
