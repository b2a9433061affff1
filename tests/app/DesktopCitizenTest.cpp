// The main window's dealings with the desktop: starting hidden in the tray,
// the tray menu's start-at-login item, and the battery notifications, on the
// headless desktop with the simulated mouse and recording services.
#include "MainWindowHarness.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

class DesktopCitizenTest : public MainWindowTest {
protected:
    void StartInTray() {
        window = std::make_unique<CVelmorDlg>(
            CVelmorDlg::Environment{*model, mouse, services, folder.path()});
        window->SetStartInTray(true);
        ASSERT_TRUE(window->Create());
        desktop.pump();
    }
    const TrayMenuItem* StartItem() const {
        for (const TrayMenuItem& item : services.tray->menu)
            if (item.id == TrayCommand::StartWithDesktop) return &item;
        return nullptr;
    }
};

TEST_F(DesktopCitizenTest, StartingInTheTrayShowsNoWindowUntilTheTrayIsUsed) {
    StartInTray();
    ASSERT_TRUE(services.tray.has_value());
    EXPECT_FALSE(IsWindowVisible(main()));
    desktop.advance(3000ms);  // past the start-up timers
    EXPECT_FALSE(IsWindowVisible(main()));
    PostMessage(main(), MainMessage::TrayCallback, CVelmorDlg::kTrayIconId, WM_LBUTTONDBLCLK);
    desktop.pump();
    EXPECT_TRUE(IsWindowVisible(main()));
}

TEST_F(DesktopCitizenTest, StartingInTheTrayWithoutATrayMinimises) {
    services.trayAvailable = false;
    StartInTray();
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_TRUE(IsIconic(main()));
}

TEST_F(DesktopCitizenTest, TheTrayItemTurnsTheStartWithTheDesktopOnAndOff) {
    Start();
    const TrayMenuItem* item = StartItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, "Start with the desktop");
    EXPECT_EQ(item->checked, std::optional<bool>(false));  // off until the user turns it on

    PostMessage(main(), WM_COMMAND, TrayCommand::StartWithDesktop, 0);
    desktop.pump();
    EXPECT_TRUE(services.startsWithDesktop);
    EXPECT_EQ(StartItem()->checked, std::optional<bool>(true));

    PostMessage(main(), WM_COMMAND, TrayCommand::StartWithDesktop, 0);
    desktop.pump();
    EXPECT_FALSE(services.startsWithDesktop);
    EXPECT_EQ(StartItem()->checked, std::optional<bool>(false));
    EXPECT_EQ(services.startWithDesktopRequests, (std::vector<bool>{true, false}));
}

TEST_F(DesktopCitizenTest, TheTrayItemShowsAnEntryMadeBeforeTheStart) {
    services.startsWithDesktop = true;
    Start();
    ASSERT_NE(StartItem(), nullptr);
    EXPECT_EQ(StartItem()->checked, std::optional<bool>(true));
}

TEST_F(DesktopCitizenTest, ALowBatteryIsAnnouncedOnceButAnUnlinkedMouseIsNotLow) {
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    // Unlinked, the receiver's reading is 0 %: no charge to warn of.
    mouse.loseLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(3000ms);
    EXPECT_TRUE(services.notifications.empty());

    mouse.regainLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    mouse.setBattery(14, ChargeState::OnBattery);
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(3000ms);
    ASSERT_EQ(services.notifications.size(), 1u);
    EXPECT_NE(services.notifications[0].text.find("14%"), std::string::npos);
}

}  // namespace
}  // namespace zavrin::test
