// Automatic profiles in the whole window: what the next start begins with, and
// what the user sees when the mouse cannot take a rule's switch. The front
// program comes from the headless desktop's watcher; time is virtual.
#include "MainWindowHarness.h"
#include "model/AppProfiles.h"
#include "model/DataPaths.h"
#include "pages/ProfileSlotsPage.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

const FrontProgram kGame{"/usr/games/quake", "quake"};
const FrontProgram kEditor{"/usr/bin/editor", "editor"};
constexpr int kGameSlot = 2;
// An apply pass with its progress dialog, then the deferred save.
constexpr auto kAfterPass = DeviceSync::kSaveDelay + 5s;

class AutoProfiles : public MainWindowTest {
protected:
    AutoProfiles() {
        AppProfiles rules;
        rules.add(kGame.path, kGameSlot);
        EXPECT_TRUE(rules.write(appProfilesPath(folder.path())));
    }

    void BringToFront(const FrontProgram& program) {
        services.foreground.bringToFront(ForegroundProgram{program.path, program.name});
        desktop.pump();
    }
    int SavedCurrentProfile() const {
        GlobalSettings saved;
        saved.read(dataPath(folder.path(), kConfigFile));
        return saved.currentProfile();
    }
    // The program's end, then a start on the same folder.
    void Restart() {
        window->DestroyWindow();
        desktop.pump();
        window.reset();
        model = std::make_unique<AppModel>(folder.path());
        model->load(uiScale);
        Start();
    }
    // What the profile menu sends when the user picks the profile at `position`.
    void ChooseByHand(int position) {
        SendMessage(main(), ProfileSlotsPage::kProfileMenuReport, 0, position + 2);
        desktop.pump();
    }
    std::size_t KeyReports() const {
        std::size_t n = 0;
        for (const auto& t : mouse.transfers())
            n += t.op == SimulatedMouse::Transfer::Op::SetFeature && t.bytes.size() > 1 &&
                 t.bytes[0] == ReportId::Command && t.bytes[1] == Command::Keys;
        return n;
    }
};

TEST_F(AutoProfiles, TheNextStartBeginsWithTheHandChoiceAndTheRulesApplyAgain) {
    Start();
    ChooseByHand(1);
    desktop.advance(20ms);
    BringToFront(kGame);
    desktop.advance(300ms);
    ASSERT_EQ(model->store.currentIndex(), kGameSlot);

    // The save after the rule's pass (its progress dialog first), and the one at
    // the end, keep the user's choice.
    desktop.advance(kAfterPass);
    EXPECT_EQ(SavedCurrentProfile(), 1);
    Restart();
    EXPECT_EQ(SavedCurrentProfile(), 1);
    EXPECT_EQ(model->store.currentIndex(), 1);

    // No rule for the program in front: the hand choice stays; the game brings its profile back.
    BringToFront(kEditor);
    desktop.advance(300ms);
    EXPECT_EQ(model->store.currentIndex(), 1);
    BringToFront(kGame);
    desktop.advance(300ms);
    EXPECT_EQ(model->store.currentIndex(), kGameSlot);

    // A hand choice made while the rule is in force is what is kept.
    ChooseByHand(0);
    desktop.advance(kAfterPass);
    EXPECT_EQ(SavedCurrentProfile(), 0);
}

TEST_F(AutoProfiles, AnUnreachableMouseGetsTheRulesProfileWhenItIsBackWithoutANotice) {
    model->store.profiles[kGameSlot].keys[1].action = KeyAction{0x10, 0x04, 0x00};
    Start();
    ASSERT_TRUE(mouse.waitForReader(ConnectionKind::Dongle, 5s));
    desktop.advance(2000ms);
    mouse.loseLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(100ms);
    const std::size_t keysBefore = KeyReports();

    // Focus moving between programs: the window follows, the mouse waits, no notice.
    for (int i = 0; i < 3; ++i) {
        BringToFront(kGame);
        desktop.advance(400ms);
        EXPECT_EQ(model->store.currentIndex(), kGameSlot);
        BringToFront(kEditor);
        desktop.advance(400ms);
        EXPECT_EQ(model->store.currentIndex(), 0);
    }
    BringToFront(kGame);
    desktop.advance(400ms);
    EXPECT_FALSE(IsWindow(window->noticeWindow()));
    EXPECT_EQ(KeyReports(), keysBefore);

    // Back on its receiver, the mouse gets the rule's buttons.
    mouse.regainLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    desktop.advance(100ms);
    EXPECT_EQ(KeyReports(), keysBefore + 1);
    EXPECT_FALSE(IsWindow(window->noticeWindow()));

    // A choice the user makes while the mouse is away still says why nothing happened.
    mouse.loseLink();
    ASSERT_TRUE(AwaitDeviceEvents());
    ChooseByHand(1);
    desktop.advance(20ms);
    EXPECT_TRUE(IsWindow(window->noticeWindow()));
}

}  // namespace
}  // namespace zavrin::test
