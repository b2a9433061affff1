// The main window as a whole: start-up, the device on screen, the timers, the
// sections, the notices, the exits. Each case drives real headless windows
// with injected input and virtual time, with the simulated mouse behind them.
#include <fstream>

#include "MainWindowHarness.h"
#include "dialogs/CAttentionDlg.h"
#include "dialogs/COSDDialog.h"
#include "dialogs/CParingDlg.h"
#include "dialogs/CProgressBarDlg.h"
#include "model/TextFile.h"
#include "pages/PollingPage.h"
#include "ui/CCheckButton.h"
#include "ui/CBattery.h"
#include "ui/ControlIds.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

std::string ProfileText(const std::filesystem::path& folder, int index) {
    std::ifstream in(folder / "config" / ("default" + std::to_string(index) + ".psf"),
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The UTF-16 text of a profile file as ASCII (every key and value the tests
// look at is ASCII).
std::string Narrow(const std::string& utf16) {
    std::string out;
    for (std::size_t i = 2; i + 1 < utf16.size(); i += 2) out.push_back(utf16[i]);
    return out;
}

TEST_F(MainWindowTest, ScalesAndCentresOnTheScreen) {
    Start();
    const RECT r = GetWindowRect(main());
    EXPECT_EQ(r.width(), 1127);
    EXPECT_EQ(r.height(), 740);
    EXPECT_EQ(r.left, (1920 - 1127) / 2);
    EXPECT_EQ(r.top, (1017 - 740) / 2);
    EXPECT_TRUE(services.TrayIconShown());
    EXPECT_EQ(services.tray->tip, "Zavrin ZR2");
}

class ScaledMainWindowTest : public MainWindowTest {
protected:
    ScaledMainWindowTest() : MainWindowTest({ConnectionKind::Dongle}, SIZE{2560, 1440}) {}
};

TEST_F(ScaledMainWindowTest, TheColumnStartsWhereTheScaleSays) {
    Start();
    EXPECT_EQ(GetWindowRect(main()).width(), 1690);
    const CControlBase* dpiHeader = window->FindControl(ControlId::DpiHeader);
    EXPECT_EQ(dpiHeader->Rect().left, 1269);
    EXPECT_EQ(dpiHeader->Rect().top, 55);
}

TEST_F(MainWindowTest, ADpiButtonOnTheMouseUpdatesTheWindowAndSendsNothingBack) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    const std::size_t writesBefore = SetFeatureCount();
    mouse.setDpiLevel(3);
    ASSERT_TRUE(AwaitDeviceEvents());
    EXPECT_EQ(model->store.currentProfile().currentDpiLevel, 3);
    EXPECT_TRUE(window->sync().savePending());
    ASSERT_NE(window->osdWindow(), nullptr);
    EXPECT_EQ(window->osdWindow()->line1(), "DPI-4");
    const RECT osd = GetWindowRect(window->osdWindow()->GetSafeHwnd());
    EXPECT_EQ(osd.width(), 180);
    EXPECT_EQ(osd.right, GetWorkArea().right);
    EXPECT_EQ(GetWindowOpacity(window->osdWindow()->GetSafeHwnd()), 128);

    // The display stays between 1.5 and 1.8 s after the last change.
    desktop.advance(1500ms);
    EXPECT_NE(window->osdWindow(), nullptr);
    desktop.advance(300ms);
    EXPECT_EQ(window->osdWindow(), nullptr);
    EXPECT_EQ(SetFeatureCount(), writesBefore);

    // A report that repeats the current values changes nothing and shows nothing.
    mouse.setDpiLevel(3);
    AwaitDeviceEvents();
    EXPECT_EQ(window->osdWindow(), nullptr);
}

TEST_F(MainWindowTest, TwoChangesKeepOneDisplayThatShowsTheSecond) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    mouse.setDpiLevel(3);
    ASSERT_TRUE(AwaitDeviceEvents());
    const HWND first = window->osdWindow()->GetSafeHwnd();
    desktop.advance(1000ms);
    mouse.setPollingRateIndex(6);
    ASSERT_TRUE(AwaitDeviceEvents());
    ASSERT_NE(window->osdWindow(), nullptr);
    EXPECT_EQ(window->osdWindow()->GetSafeHwnd(), first);
    EXPECT_EQ(window->osdWindow()->line3(), "8000Hz");
    desktop.advance(1500ms);
    EXPECT_NE(window->osdWindow(), nullptr);
}

class NoMouseTest : public MainWindowTest {
protected:
    NoMouseTest() : MainWindowTest({}) {}
};

TEST_F(NoMouseTest, TheNotConnectedNoticeComesTwoSecondsAfterStartOnce) {
    Start();
    desktop.advance(1999ms);
    EXPECT_FALSE(IsWindow(window->noticeWindow()));
    desktop.advance(1ms);
    ASSERT_TRUE(IsWindow(window->noticeWindow()));
    auto* notice = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(window->noticeWindow()));
    EXPECT_EQ(notice->message(), languageText(155));
    EXPECT_NE(GetWindowExStyle(window->noticeWindow()) & WS_EX_TOPMOST, 0u);

    // Ending the notice frees it; later timers do not bring it back.
    ClickControl(window->noticeWindow(), ControlId::DialogOk);
    EXPECT_FALSE(IsWindow(window->noticeWindow()));
    desktop.advance(10s);
    EXPECT_FALSE(IsWindow(window->noticeWindow()));
}

TEST_F(MainWindowTest, RepeatedNoticesReplaceEachOther) {
    Start();
    window->showAttention(156);
    const HWND first = window->noticeWindow();
    window->showAttention(156);
    desktop.pump();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(window->noticeWindow()));
}

TEST_F(MainWindowTest, TheNotLinkedTextFollowsTheReceiverWithin100ms) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    desktop.advance(2000ms);
    const CControlBase* text = window->FindControl(ControlId::NotLinkedText);
    EXPECT_FALSE(text->IsVisible());
    mouse.loseLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(100ms);
    EXPECT_TRUE(text->IsVisible());
    EXPECT_EQ(text->GetText(), languageText(284));

    // While unlinked a write shows the needs-connection notice and sends nothing.
    const std::size_t writes = SetFeatureCount();
    window->sync().requestApply(DirtyGroup::Buttons);
    desktop.advance(20ms);
    EXPECT_EQ(SetFeatureCount(), writes);
    ASSERT_TRUE(IsWindow(window->noticeWindow()));

    mouse.regainLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(100ms);
    EXPECT_FALSE(text->IsVisible());
}

TEST_F(MainWindowTest, TheBatteryGaugeFollowsTheMouseEverySecond) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    mouse.setBattery(40, ChargeState::Charging);
    ASSERT_TRUE(AwaitDeviceEvents());
    auto* gauge = dynamic_cast<CBattery*>(window->FindControl(ControlId::BatteryGauge));
    desktop.advance(1000ms);
    EXPECT_EQ(gauge->Level(), 40);
    EXPECT_EQ(gauge->ChargeMode(), CBattery::Charging);
    EXPECT_EQ(window->FindControl(ControlId::BatteryText)->GetText(), "40%");
}

TEST_F(MainWindowTest, TheStatusIconShowsTheConnectionInUse) {
    Start();
    EXPECT_TRUE(window->FindControl(ControlId::StatusWireless)->IsVisible());
    EXPECT_FALSE(window->FindControl(ControlId::StatusWired)->IsVisible());
    mouse.plug(ConnectionKind::Wired);
    ASSERT_TRUE(AwaitDeviceEvents());
    EXPECT_TRUE(window->FindControl(ControlId::StatusWired)->IsVisible());
    EXPECT_FALSE(window->FindControl(ControlId::StatusWireless)->IsVisible());
}

TEST_F(MainWindowTest, AnApplyPassIsSavedTenSecondsLaterAndOnExit) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    // The receiver's first report says the mouse is linked, so writes may go.
    mouse.setBattery(90, ChargeState::OnBattery);
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(2000ms);
    model->store.currentProfile().keys[2].name = "Saved Name";
    model->store.currentProfile().keys[2].action = KeyAction{0x10, 0x02, 0x00};
    window->sync().requestApply(DirtyGroup::Buttons);
    desktop.advance(20ms);
    EXPECT_TRUE(mouse.lastCommand(0x01).has_value());
    // The progress dialog runs modally inside the apply pass; it has ended.
    EXPECT_FALSE(IsWindow(FrontDialog()));
    desktop.advance(9900ms);
    EXPECT_EQ(Narrow(ProfileText(folder.path(), 0)).find("Saved Name"), std::string::npos);
    desktop.advance(200ms);
    EXPECT_NE(Narrow(ProfileText(folder.path(), 0)).find("Saved Name"), std::string::npos);

    // A change made on the mouse waits for the next save, at the latest on exit.
    mouse.setDpiLevel(4);
    ASSERT_TRUE(AwaitDeviceEvents());
    EXPECT_EQ(Narrow(ProfileText(folder.path(), 0)).find("CurrentDPILevelValue=04"),
              std::string::npos);
    window->DestroyWindow();
    EXPECT_NE(Narrow(ProfileText(folder.path(), 0)).find("CurrentDPILevelValue=04"),
              std::string::npos);
    EXPECT_FALSE(services.TrayIconShown());
}

// A save that fails is told once, in a notice that names the file and why;
// it stays pending, the next save point tries again, and so does the end.
TEST_F(MainWindowTest, AFailedSaveIsToldOnceAndTriedAgainUntilTheEnd) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    mouse.setBattery(90, ChargeState::OnBattery);
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(2000ms);
    const std::filesystem::path config = folder.path() / "config" / "config.ini";
    std::filesystem::remove(config);
    std::filesystem::create_directories(config / "in the way");

    window->sync().requestApply(DirtyGroup::Performance);
    desktop.advance(20ms + 11s);
    EXPECT_TRUE(window->sync().savePending());
    ASSERT_TRUE(IsWindow(window->fileNoticeWindow()));
    auto* notice = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(window->fileNoticeWindow()));
    EXPECT_NE(notice->message().find(config.string()), std::string::npos) << notice->message();
    EXPECT_NE(notice->message().find("a folder is in its place"), std::string::npos) << notice->message();
    ClickControl(window->fileNoticeWindow(), ControlId::DialogOk);

    // The next failure is not told again; the save is still pending.
    window->sync().requestApply(DirtyGroup::Performance);
    desktop.advance(20ms + 11s);
    EXPECT_TRUE(window->sync().savePending());
    EXPECT_FALSE(IsWindow(window->fileNoticeWindow()));

    // Once the way is clear, the end saves what waited.
    std::filesystem::remove_all(config);
    window->DestroyWindow();
    EXPECT_FALSE(window->exitSaveProblem());
    EXPECT_EQ(readTextFile(config).value_or(std::vector<std::string>{}).size(), 17u);
}

TEST_F(MainWindowTest, AFirstStartThatCannotSaveItsDefaultsSaysSoAtOnce) {
    const std::filesystem::path config = folder.path() / "config" / "config.ini";
    const std::filesystem::path blocker = folder.path() / "config" / "config.ini.tmp" / "in the way";
    std::filesystem::remove(config);
    std::filesystem::create_directories(blocker);
    model = std::make_unique<AppModel>(folder.path());
    model->load(uiScale);
    Start();
    EXPECT_TRUE(window->sync().savePending());
    ASSERT_TRUE(IsWindow(window->fileNoticeWindow()));
    auto* notice = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(window->fileNoticeWindow()));
    EXPECT_NE(notice->message().find(config.string()), std::string::npos) << notice->message();

    std::filesystem::remove_all(blocker.parent_path());
    window->DestroyWindow();
    EXPECT_FALSE(window->exitSaveProblem());
    EXPECT_EQ(readTextFile(config).value_or(std::vector<std::string>{}).size(), 17u);
}

TEST_F(MainWindowTest, ASaveStillFailingAtTheEndIsKeptForTheExitStatus) {
    Start();
    const std::filesystem::path profile = folder.path() / "config" / "default1.psf";
    std::filesystem::remove(profile);
    std::filesystem::create_directories(profile / "in the way");
    model->store.profiles[1].keys[0].name = "Changed";
    window->sync().markSavePending();
    window->DestroyWindow();
    EXPECT_EQ(window->exitSaveProblem().path, profile);
    EXPECT_EQ(window->exitSaveProblem().error, FileError::IsFolder);
    // The end reports through the exit status, not through a window.
    EXPECT_FALSE(IsWindow(window->fileNoticeWindow()));
}

TEST_F(MainWindowTest, OpeningASectionClosesAllButTheFirstOpenOfItsList) {
    Start();
    ClickControl(main(), ControlId::PollingRateHeader);
    const auto& open = window->sections().open;
    EXPECT_TRUE(open[SectionIndex(Section::Dpi)]);
    EXPECT_TRUE(open[SectionIndex(Section::PollingRate)]);
    EXPECT_FALSE(open[SectionIndex(Section::Lighting)]);
    // Clicking an open header closes only that section.
    ClickControl(main(), ControlId::PollingRateHeader);
    EXPECT_TRUE(open[SectionIndex(Section::Dpi)]);
    EXPECT_FALSE(open[SectionIndex(Section::PollingRate)]);
    // The pairing section's button is shown only while the section is open.
    EXPECT_FALSE(window->FindControl(ControlId::Pairing)->IsDisplayed());
    ClickControl(main(), ControlId::PairingHeader);
    EXPECT_TRUE(window->FindControl(ControlId::Pairing)->IsDisplayed());
    // The debounce header is never shown, so its section can never open.
    EXPECT_FALSE(window->FindControl(ControlId::DebounceHeader)->IsDisplayed());
}

TEST_F(MainWindowTest, ABluetoothLinkClosesThePollingSectionAndTheColumnClosesUp) {
    Start();
    ClickControl(main(), ControlId::PollingRateHeader);
    CControlBase* polling = window->FindControl(ControlId::PollingRateHeader);
    CControlBase* pointer = window->FindControl(ControlId::PointerHeader);
    const int pointerTop = pointer->Rect().top;
    ASSERT_TRUE(window->FindControl(PollingPage::kRateBox)->IsShown());
    // Over Bluetooth the mouse offers no rate to choose.
    mouse.plug(ConnectionKind::Bluetooth);
    ASSERT_TRUE(AwaitDeviceEvents());
    // The state, the header's look, the section's controls and the headers'
    // places all say closed.
    EXPECT_FALSE(window->sections().open[SectionIndex(Section::PollingRate)]);
    EXPECT_TRUE(window->sections().open[SectionIndex(Section::Dpi)]);
    EXPECT_FALSE(dynamic_cast<CCheckButton*>(polling)->IsChecked());
    EXPECT_TRUE(polling->IsDisabled());
    EXPECT_FALSE(window->FindControl(PollingPage::kRateBox)->IsShown());
    const auto places = LayOutSections(window->sections());
    EXPECT_EQ(pointer->Rect().top, CVelmorDlg::Scale(places[SectionIndex(Section::Pointer)].header.top));
    EXPECT_LT(pointer->Rect().top, pointerTop);
    // A click on the disabled header opens nothing.
    ClickControl(main(), ControlId::PollingRateHeader);
    EXPECT_FALSE(window->sections().open[SectionIndex(Section::PollingRate)]);
}

TEST_F(MainWindowTest, ASectionsControlsAreInPlaceAsSoonAsItOpensBeforeAnyPaint) {
    Start();
    CControlBase* pointer = window->FindControl(ControlId::PointerHeader);
    CControlBase* rate = window->FindControl(PollingPage::kFirstSevenRate);
    const int pointerTop = pointer->Rect().top;
    // Nothing is pumped, so nothing is painted in between.
    window->OnSectionHeaderClicked(Section::PollingRate);
    const auto places = LayOutSections(window->sections());
    const RECT& content = places[SectionIndex(Section::PollingRate)].content;
    EXPECT_TRUE(rate->IsShown());
    EXPECT_GE(rate->Rect().top, CVelmorDlg::Scale(content.top));
    EXPECT_LT(rate->Rect().bottom, CVelmorDlg::Scale(content.bottom));
    EXPECT_GT(pointer->Rect().top, pointerTop);
}

TEST(SectionRule, SensorOptionsAndPairingAreNeverTheOneKept) {
    SectionState state;
    state.open[SectionIndex(Section::SensorOptions)] = true;
    state.open[SectionIndex(Section::Pairing)] = true;
    state.open[SectionIndex(Section::Dpi)] = true;
    ApplyClosingRule(state, Section::Dpi);
    EXPECT_TRUE(state.open[SectionIndex(Section::SensorOptions)]);
    EXPECT_TRUE(state.open[SectionIndex(Section::Pairing)]);
    EXPECT_TRUE(state.open[SectionIndex(Section::Dpi)]);
}

TEST(SectionRule, HiddenHeadersTakeNoRoomAndOpenSectionsPushLaterOnesDown) {
    SectionState state;
    state.headerShown.fill(true);
    state.headerShown[SectionIndex(Section::Debounce)] = false;
    state.open[SectionIndex(Section::Dpi)] = true;
    const auto places = LayOutSections(state);
    EXPECT_EQ(places[SectionIndex(Section::Dpi)].header.top, 37);
    EXPECT_EQ(places[SectionIndex(Section::Dpi)].content.top, 62);
    EXPECT_EQ(places[SectionIndex(Section::Lighting)].header.top, 37 + 25 + 196 + 5);
    EXPECT_EQ(places[SectionIndex(Section::Pointer)].header.top,
              places[SectionIndex(Section::LiftOff)].header.top + 30);
}

TEST_F(MainWindowTest, HoveringABoxHighlightsItsButtonOnTheMouse) {
    Start();
    const POINT overlay = ClientToScreen(main(), POINT{495 + 13, 231 + 13});
    const COLORREF before = desktop.pixel(main(), ScreenToClient(main(), overlay));
    desktop.move(CentreOf(main(), ControlId::FirstAssignmentBox));
    desktop.advance(10ms);
    EXPECT_EQ(window->hoveredButton(), 1);
    EXPECT_NE(desktop.pixel(main(), ScreenToClient(main(), overlay)), before);
    desktop.move(ClientToScreen(main(), POINT{700, 700}));
    desktop.advance(10ms);
    EXPECT_EQ(window->hoveredButton(), 0);
    EXPECT_EQ(desktop.pixel(main(), ScreenToClient(main(), overlay)), before);
}

TEST_F(MainWindowTest, TheSupportCodeTypedTwiceInARowOpensTheContactNotice) {
    Start();
    auto type = [&](const std::string& letters) {
        for (char c : letters) desktop.key(static_cast<std::uint32_t>(c));
    };
    std::string shown;
    desktop.backend().whenIdle([&] {
        if (auto* d = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(FrontDialog()))) {
            shown = d->message();
            desktop.backend().keyDown(VK_RETURN);
        }
    });
    type("ZAVRNQZAVRN");  // once, another letter, once more: nothing
    EXPECT_TRUE(shown.empty());
    type("ZAVRN");
    EXPECT_EQ(shown, languageText(CVelmorDlg::kSupportText));
    EXPECT_EQ(window->supportKeyProgress(), 0);
    type("Z");  // a third repetition starts over
    EXPECT_EQ(window->supportKeyProgress(), 1);
    desktop.key(VK_ESCAPE);  // Escape never closes the main window
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_EQ(window->supportKeyProgress(), 0);
}

TEST_F(MainWindowTest, HidingGoesToTheTrayAndTheTrayOrASecondCopyBringsItBack) {
    Start();
    ClickControl(main(), ControlId::Minimise);
    EXPECT_FALSE(IsWindowVisible(main()));
    PostMessage(main(), MainMessage::TrayCallback, 127, WM_LBUTTONDBLCLK);  // a foreign icon
    desktop.pump();
    EXPECT_FALSE(IsWindowVisible(main()));
    PostMessage(main(), MainMessage::TrayCallback, CVelmorDlg::kTrayIconId, WM_LBUTTONDBLCLK);
    desktop.pump();
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_EQ(GetForegroundWindow(), main());

    // A second start with the same data folder reaches this copy through the
    // real single-instance socket.
    ASSERT_TRUE(services.ClaimSingleInstance(folder.path()));
    services.SetShowRequestTarget(main(), MainMessage::ShowRequest);
    ClickControl(main(), ControlId::Minimise);
    ASSERT_TRUE(services.SignalFirstInstance(folder.path()));
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!IsWindowVisible(main()) && std::chrono::steady_clock::now() < deadline) desktop.pump();
    EXPECT_TRUE(IsWindowVisible(main()));
}

TEST_F(MainWindowTest, WithoutATrayHidingMinimisesSoTheWindowStaysReachable) {
    Start();
    services.RemoveTrayIcon();
    ClickControl(main(), ControlId::Minimise);
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_TRUE(IsIconic(main()));
}

class UnlinkedDongleTest : public MainWindowTest {};

TEST_F(UnlinkedDongleTest, PairingSendsOneRequestAndReportsTheLink) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    mouse.loseLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    ClickControl(main(), ControlId::PairingHeader);
    int state = -1;
    int requests = -1;
    std::vector<std::function<void()>> steps{
        [&] {
            const HWND d = FrontDialog();
            ClickControl(d, ControlId::DialogOk);  // pair
            desktop.backend().keyDown(VK_SPACE);   // a second request is not sent
        },
        [&] {
            // The mouse pairs after its delay; the next tick says so.
            mouse.regainLink();
            AwaitDeviceEvents();
            desktop.advance(1000ms);
            auto* d = dynamic_cast<CParingDlg*>(CWnd::FromHandle(FrontDialog()));
            state = d->pairingState();
            requests = mouse.pairingRequests();
            ClickControl(FrontDialog(), ControlId::DialogClose);
        }};
    for (auto& step : steps) desktop.backend().whenIdle(step);
    ClickControl(main(), ControlId::Pairing);
    EXPECT_EQ(state, CParingDlg::Paired);
    EXPECT_EQ(requests, 1);
}

TEST_F(MainWindowTest, AFactoryResetNeedsConfirmingThenResetsMouseAndProfile) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    mouse.setBattery(90, ChargeState::OnBattery);
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(2000ms);
    model->store.currentProfile().keys[1].name = "Custom";
    const std::string name = getSetting(model->store.currentProfile(), 0, 1);
    int progressSeen = -1;
    desktop.backend().whenIdle([&] { desktop.backend().keyDown(VK_ESCAPE); });  // swallowed
    desktop.backend().whenIdle([&] { desktop.backend().keyDown(VK_RETURN); });  // confirms
    desktop.backend().whenIdle([&] {
        if (auto* p = dynamic_cast<CProgressBarDlg*>(CWnd::FromHandle(FrontDialog()))) {
            desktop.advance(600ms);
            progressSeen = p->drawnProgress();
        }
    });
    ClickControl(main(), ControlId::FactoryReset);
    EXPECT_EQ(mouse.factoryResets(), 1);
    EXPECT_NE(model->store.currentProfile().keys[1].name, "Custom");
    EXPECT_EQ(getSetting(model->store.currentProfile(), 0, 1), name);
    EXPECT_EQ(progressSeen, 98);
    EXPECT_FALSE(IsWindow(FrontDialog()));
}

TEST_F(MainWindowTest, TheTrayExitClosesOpenDialogsFirst) {
    Start();
    bool pairingClosed = false;
    // While a dialog is open the main window takes no clicks; the tray menu's
    // exit still reaches it.
    desktop.backend().whenIdle([&] { PostMessage(main(), WM_COMMAND, ControlId::ExitCommand, 0); });
    ClickControl(main(), ControlId::PairingHeader);
    ClickControl(main(), ControlId::Pairing);  // returns once the dialog was closed
    pairingClosed = !IsWindow(FrontDialog());
    EXPECT_TRUE(pairingClosed);
    EXPECT_FALSE(IsWindowVisible(main()));  // the modeless main window's OK path hides it
}

}  // namespace
}  // namespace zavrin::test
