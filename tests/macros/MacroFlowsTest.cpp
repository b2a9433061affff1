// The flows that start in the main window and end on the simulated mouse or
// in the shell: a macro chosen for a button and uploaded, a shortcut, a
// program launch, and the macro manager opened from its button.

#include <gtest/gtest.h>

#include "app/Startup.h"
#include "device/TransportFactory.h"
#include "device/sim/SimulatedMouse.h"
#include "dialogs/CAttentionDlg.h"
#include "macros/CMacroManagerDlg.h"
#include "macros/CMacroSelectDlg.h"
#include "model/DataPaths.h"
#include "pages/CQuickLaunchDlg.h"
#include "pages/CShortcutDlg.h"
#include "pages/CVelmorDlg.h"
#include "pages/ExternalChoices.h"
#include "tests/macros/MacroTestSupport.h"

namespace zavrin::test {
namespace {

constexpr int kButton3 = 2;  // key index of the middle button
constexpr POINT kTreeRow0{60, 64};
constexpr POINT kTreeRow1{60, 84};

class MainWindowFlows : public MacroUiTest {
protected:
    MainWindowFlows() {
        prepareDataFolder(dir.path());
        installLanguageFiles(ZAVRIN_BIN_DIR, dir.path(), false);
        model = std::make_unique<AppModel>(dir.path());
        model->load(uiScale);
        TransportOptions options;
        options.simulate = true;
        options.simulatedKinds = {ConnectionKind::Wired};
        transport = makeTransport(options, desktop.clock());
        window = std::make_unique<CVelmorDlg>(
            CVelmorDlg::Environment{*model, *transport.transport, services, dir.path()});
    }
    ~MainWindowFlows() override {
        if (window->GetSafeHwnd()) window->DestroyWindow();
        desktop.pump();
    }
    void Open() {
        ASSERT_TRUE(window->Create());
        desktop.pump();
    }
    ProfileRecord& profile() { return model->store.currentProfile(); }
    SimulatedMouse& mouse() { return *transport.simulatedMouse; }

    // What the function menu does after a dialog's choice.
    void ApplyChoice(int keyIndex) {
        enforceLeftClick(profile(), keyIndex, model->language);
        window->sync().markDirty(DirtyGroup::Buttons);
        window->sync().ApplyToDevice();
        desktop.pump();
    }
    StatusReport StatusWithLaunch(std::uint8_t index) {
        StatusReport status;
        status.dpiLevel = profile().currentDpiLevel;
        status.pollingRateIndex = profile().pollingRateValue[0];
        status.lightingMode = profile().lighting1.modeValue[0];
        status.battery = 80;
        status.launchIndex = index;
        return status;
    }

    std::unique_ptr<AppModel> model;
    TransportChoice transport;
    std::unique_ptr<CVelmorDlg> window;
};

TEST_F(MainWindowFlows, AMacroChosenForButton3ReachesTheMouseByteForByte) {
    const MacroLocation folder = model->library.addFolder(kNoLocation, "Games");
    MacroRecord& hit = *model->library.itemAt(model->library.addMacro(folder, "hit"))->macro;
    hit.insert(0, MacroAction{0x41, kMacroPress, 0, 0});
    hit.insert(1, makeDelay(100));
    hit.insert(2, MacroAction{0x41, kMacroRelease, 0, 0});
    hit.commandActionNum = 2;
    Open();

    Then([&] {
        Shoot("macro_select_dialog_for_button3_1x");
        ClickAt(kTreeRow0.x, kTreeRow0.y);  // the folder: not a macro
        Click(ControlId::DialogOk);
    });
    Then([&] {
        EXPECT_EQ(FrontAs<CAttentionDlg>()->message(), languageText(234));
        Click(ControlId::DialogOk);
    });
    Then([&] {
        ClickAt(30, kTreeRow0.y);  // the folder's icon opens it
        ClickAt(kTreeRow1.x, kTreeRow1.y);
        Shoot("macro_select_dialog_open_1x");
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseMacroForKey(window->pageHost(), kButton3));
    EXPECT_EQ(profile().keys[kButton3].name, "Macro-hit");
    EXPECT_EQ(profile().keys[kButton3].macro.actionNum, 3u);
    mouse().clearTransfers();
    ApplyChoice(kButton3);

    const auto keys = mouse().lastCommand(0x01);
    ASSERT_TRUE(keys.has_value());
    // Button 3's triple: a macro, repeat mode 2 in the high nibble, slot 1, count 1.
    EXPECT_EQ((*keys)[6], 0x90);
    EXPECT_EQ((*keys)[7], 0x21);
    EXPECT_EQ((*keys)[8], 0x01);
    const auto macros = mouse().macros();
    ASSERT_EQ(macros.count(1), 1u);
    // Slot 1 holds A down with the 100 ms after it, then A up.
    const std::vector<std::uint8_t> expected{0x30, 0x64, 0x04, 0xB0, 0x00, 0x04};
    EXPECT_EQ(macros.at(1).bytes, expected);
    EXPECT_EQ(macros.at(1).packetCount, 1);

    // The button keeps its copy: renaming the library item leaves the label.
    model->library.itemAt(MacroLocation{1, 0, 0, 0})->name = "renamed";
    window->RefreshFromProfile();
    EXPECT_EQ(profile().keys[kButton3].name, "Macro-hit");
}

TEST_F(MainWindowFlows, AMacroTooLongForTheMouseIsNeverAssigned) {
    MacroRecord& big = *model->library.itemAt(model->library.addMacro(kNoLocation, "big"))->macro;
    for (int i = 0; i < 126; ++i)
        big.insert(big.actionNum,
                   MacroAction{0x41, static_cast<std::uint8_t>(i % 2 ? 0x80 : 0), 0, 0});
    big.commandActionNum = 126;
    Open();
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(ControlId::DialogOk);
    });
    Then([&] {
        EXPECT_EQ(FrontAs<CAttentionDlg>()->message(), languageText(CMacroSelectDlg::kTooLongText));
        Click(ControlId::DialogOk);
    });
    Then([&] { Click(ControlId::DialogClose); });
    const KeyAssignment before = profile().keys[kButton3];
    EXPECT_FALSE(ChooseMacroForKey(window->pageHost(), kButton3));
    EXPECT_EQ(profile().keys[kButton3], before);
}

TEST_F(MainWindowFlows, CtrlShiftAGivesTheShortcutAndItsBytes) {
    Open();
    Then([&] {
        Shoot("shortcut_dialog_empty_1x");
        Click(CShortcutDlg::kCtrlBox);
        Click(CShortcutDlg::kShiftBox);
        Capture(0x41, false, 1);
        Capture(0xA0, false, 2);  // left Shift: chosen with the boxes, not captured
        Capture(0x41, true, 3);
        EXPECT_EQ(FrontAs<CShortcutDlg>()->keyNameShown(), "A");
        Shoot("shortcut_dialog_ctrl_shift_a_1x");
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseShortcutForKey(window->pageHost(), kButton3));
    EXPECT_FALSE(services.CaptureTarget());
    EXPECT_EQ(profile().keys[kButton3].name, "Ctrl+Shift+A");
    EXPECT_EQ(profile().keys[kButton3].action, (KeyAction{0x70, 0x03, 0x04}));

    // Only a modifier: its name without the "+", no key.
    Then([&] {
        Click(CShortcutDlg::kAltBox);
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseShortcutForKey(window->pageHost(), kButton3));
    EXPECT_EQ(profile().keys[kButton3].name, "Alt");
    EXPECT_EQ(profile().keys[kButton3].action, (KeyAction{0x70, 0x04, 0x00}));

    // Nothing at all, or cancel: the button stays as it is.
    Then([&] { Click(ControlId::DialogOk); });
    EXPECT_FALSE(ChooseShortcutForKey(window->pageHost(), kButton3));
    Then([&] {
        Capture(0x42, false, 1);
        Click(ControlId::DialogCancel);
    });
    EXPECT_FALSE(ChooseShortcutForKey(window->pageHost(), kButton3));
    EXPECT_EQ(profile().keys[kButton3].name, "Alt");
}

TEST_F(MainWindowFlows, AQuickLaunchReportOpensTheProgramOnceUntilTheMouseReportsZero) {
    Open();
    services.fileAnswers.push_back(std::filesystem::path("/opt/tools/editor"));
    Then([&] {
        Click(CQuickLaunchDlg::kBrowseButton);
        Shoot("quick_launch_dialog_editor_1x");
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseLaunchForKey(window->pageHost(), kButton3));
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileRequests[0].initialName, "ab.exe");
    EXPECT_EQ(profile().keys[kButton3].name, "editor");
    EXPECT_EQ(profile().keys[kButton3].url, "/opt/tools/editor");
    EXPECT_EQ(profile().keys[kButton3].action, (KeyAction{0x60, 0x05, 0x00}));

    services.shellOpened.clear();
    window->sync().ApplyStatus(ConnectionKind::Wired, StatusWithLaunch(3));
    window->sync().ApplyStatus(ConnectionKind::Wired, StatusWithLaunch(3));
    EXPECT_EQ(services.shellOpened, (std::vector<std::string>{"/opt/tools/editor"}));
    window->sync().ApplyStatus(ConnectionKind::Wired, StatusWithLaunch(0));
    window->sync().ApplyStatus(ConnectionKind::Wired, StatusWithLaunch(3));
    EXPECT_EQ(services.shellOpened.size(), 2u);

    // OK without browsing still assigns a launch, with no program.
    Then([&] { Click(ControlId::DialogOk); });
    ASSERT_TRUE(ChooseLaunchForKey(window->pageHost(), 4));
    EXPECT_EQ(profile().keys[4].url, "");
    EXPECT_EQ(profile().keys[4].action, (KeyAction{0x60, 0x05, 0x00}));
}

TEST_F(MainWindowFlows, TheManagerButtonSavesReadsBackAndRewritesMacroButtons) {
    MacroRecord& hit = *model->library.itemAt(model->library.addMacro(kNoLocation, "hit"))->macro;
    hit.insert(0, MacroAction{0x41, kMacroPress, 0, 0});
    hit.insert(1, MacroAction{0x41, kMacroRelease, 0, 0});
    hit.commandActionNum = 2;
    Open();
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseMacroForKey(window->pageHost(), kButton3));
    ApplyChoice(kButton3);
    mouse().clearTransfers();

    // In the manager: record a new B press into the same macro, then close.
    Then([&] {
        ASSERT_NE(FrontAs<CMacroManagerDlg>(), nullptr);
        Shoot("macro_manager_from_main_window_1x");
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(CMacroManagerDlg::kRecordButton);
        Capture(0x42, false, 100);
        Capture(0x42, true, 160);
        Click(CMacroManagerDlg::kRecordButton);
        Click(ControlId::DialogClose);
    });
    Click(ControlId::MacroManager);
    desktop.pump();
    const auto macros = mouse().macros();
    ASSERT_EQ(macros.count(1), 1u);
    // The recorded B down with the 60 ms after it, then B up.
    const std::vector<std::uint8_t> expected{0x30, 0x3C, 0x05, 0xB0, 0x00, 0x05};
    EXPECT_EQ(macros.at(1).bytes, expected);
    EXPECT_TRUE(std::filesystem::exists(dataPath(dir.path(), kMacroLibraryFile)));
}

}  // namespace
}  // namespace zavrin::test

namespace zavrin::test {
namespace {

TEST_F(MainWindowFlows, AFailedSaveKeepsTheManagersEditsAndSaysSo) {
    Open();
    // A folder where the library file should be: every write of it fails.
    std::filesystem::create_directories(dataPath(dir.path(), kMacroLibraryFile));
    Then([&] { Click(CMacroManagerDlg::kNewMacroButton); });
    Then([&] {
        Type("kept");
        Click(ControlId::DialogOk);
    });
    Then([&] { Click(ControlId::DialogClose); });
    Click(ControlId::MacroManager);
    desktop.pump();
    ASSERT_NE(model->library.itemAt(MacroLocation{0, 0, 0, 0}), nullptr);
    EXPECT_EQ(model->library.itemAt(MacroLocation{0, 0, 0, 0})->name, "kept");
    // The notice names the file and why; the edits wait for the program's end.
    auto* notice = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(window->fileNoticeWindow()));
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(notice->message().find(pathToUtf8(dataPath(dir.path(), kMacroLibraryFile))), std::string::npos)
        << notice->message();
    EXPECT_NE(notice->message().find(languageText(334)), std::string::npos) << notice->message();
    EXPECT_TRUE(model->libraryPending());
}

}  // namespace
}  // namespace zavrin::test

namespace zavrin::test {
namespace {

TEST_F(MainWindowFlows, AMacroOnAButtonCannotBeDeletedUntilTheButtonGetsAnotherFunction) {
    model->library.addMacro(kNoLocation, "used");
    Open();
    auto answer = [this](int textId) {
        Then([this, textId] {
            EXPECT_EQ(FrontAs<CAttentionDlg>()->message(), languageText(textId));
            Click(ControlId::DialogOk);
        });
    };
    auto deleteFirstItem = [this] {
        Then([this] {
            ClickAt(kTreeRow0.x, kTreeRow0.y);
            Click(CMacroManagerDlg::kDeleteItemButton);
        });
    };
    Then([&] {
        ClickAt(kTreeRow0.x, kTreeRow0.y);
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseMacroForKey(window->pageHost(), kButton3));

    deleteFirstItem();
    answer(232);
    answer(257);
    Then([&] { Click(ControlId::DialogClose); });
    Click(ControlId::MacroManager);
    EXPECT_EQ(model->library.itemCount(), 1);

    Then([&] {
        Capture(0x43, false, 1);
        Click(ControlId::DialogOk);
    });
    ASSERT_TRUE(ChooseShortcutForKey(window->pageHost(), kButton3));
    deleteFirstItem();
    answer(232);
    Then([&] { Click(ControlId::DialogClose); });
    Click(ControlId::MacroManager);
    EXPECT_EQ(model->library.itemCount(), 0);
}

}  // namespace
}  // namespace zavrin::test
