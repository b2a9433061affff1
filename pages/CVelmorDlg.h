#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "device/DeviceEventQueue.h"
#include "device/DeviceLink.h"
#include "device/DeviceSync.h"
#include "device/SyncView.h"
#include "model/AppModel.h"
#include "pages/BatteryAlerts.h"
#include "pages/DesktopTexts.h"
#include "pages/MainPage.h"
#include "pages/SectionColumn.h"
#include "platform/PlatformServices.h"
#include "ui/RadioGroups.h"
#include "ui/CCheckButton.h"
#include "ui/CDlgBase.h"

namespace zavrin {

class COSDDialog;

// Messages of the main window beside the control notifications.
namespace MainMessage {
inline constexpr UINT TrayCallback = 0x420;         // (iconId, mouse message)
inline constexpr UINT ShowOnScreenDisplay = 0x42B;  // wParam 1; 2: with the profile's name
inline constexpr UINT ShowRequest = ShowRequestMessage;  // a second copy asks us to show
inline constexpr UINT DeviceEvents = WM_APP + 1;    // the device queue has news
inline constexpr UINT Screenshot = WM_APP + 2;      // write the --screenshot picture
}  // namespace MainMessage

// Tray menu commands beside the show (2075) and exit (2076) ones.
namespace TrayCommand {
inline constexpr UINT StartWithDesktop = 2370;  // check item: start at login
}  // namespace TrayCommand

// Window timers of the main window; the device link's own (30, 70, 80, 110)
// are in SyncView.h.
namespace MainTimer {
inline constexpr int FirstColourSlot = 1;     // 1..8: deferred colour-slot toggles
inline constexpr int LeftClickWarning = 20;   // the 100 ms warning of the left-click rule
inline constexpr int OnScreenDisplay = 50;    // display countdown, every 300 ms
inline constexpr int ProfileSlotAction = 60;  // deferred profile-slot operation
inline constexpr int RunFor = 9001;           // --run-for: end through the close path
}  // namespace MainTimer

// The main window: the frame, the button list, the status area and the column
// of collapsible sections, the tray icon, the window timers and the device
// link's view. Page objects own the sections' contents; this class routes
// messages to them and keeps the frame's own handlers. UI thread only; reader
// threads reach it only through posted messages.
class CVelmorDlg : public CDlgBase, public SyncView, public TimerHost {
public:
    static constexpr int kDesignWidth = 1127;
    static constexpr int kDesignHeight = 740;
    static constexpr UINT kTrayIconId = 128;
    static constexpr int kSupportCodeLength = 5;
    // The support code word: five different letters, typed twice in a row.
    static constexpr char kSupportCode[kSupportCodeLength + 1] = "ZAVRN";
    static constexpr int kSupportText = 290;
    static constexpr int kNoPointerSettingsText = 340;

    struct Environment {
        AppModel& model;
        Transport& transport;
        PlatformServices& services;
        std::filesystem::path dataFolder;
    };

    explicit CVelmorDlg(Environment env);
    ~CVelmorDlg() override;

    BOOL OnInitDialog() override;
    void BuildControls(const RECT& client) override;
    void DrawWindow(Canvas& dc, const RECT& client) override;
    BOOL PreTranslateMessage(MSG& msg) override;

    // ---- SyncView ----
    void showStatusIcon(std::optional<ConnectionKind> kind) override;
    void enablePollingRateHeader(bool enabled) override;
    void closePollingRateSection() override;
    void enableRateButtons(int count) override;
    void showAttention(int textId) override;
    void showProgress(int captionTextId) override;
    void showNotLinkedText(bool shown) override;
    void updateBattery(int percent, ChargeState state, int animationStep) override;
    void RefreshFromProfile() override;
    void redrawControls() override;
    void showOnScreenDisplay() override;
    void openUrl(const std::string& url) override;
    void lastDeviceGone() override;
    void showSaveFailure(const FileProblem& problem) override;

    // ---- TimerHost ----
    void setTimer(int id, std::chrono::milliseconds period) override;
    void killTimer(int id) override;

    void CollectToProfile();

    // The sections: the closing rule, then the shown flags, then a refresh.
    void OnSectionHeaderClicked(Section clicked);
    void ApplySectionVisibility();
    void ApplyInitialSections();
    const SectionState& sections() const { return sections_; }

    // Show (tray double click, command 2075, a second copy), hide (to the tray,
    // or minimised where there is no tray) and the three exits.
    void ShowFromTray();
    void HideToTray();
    void ExitProgram();

    // The modeless notice now open (null when none).
    HWND noticeWindow() const { return notice_; }
    // The notice about the settings folder now open (null when none); kept apart
    // from the device notices so that neither replaces the other.
    HWND fileNoticeWindow() const { return fileNotice_; }
    // What the save at the window's end could not write (the settings, or the
    // macro library); nothing when everything was saved.
    const FileProblem& exitSaveProblem() const { return exitSaveProblem_; }
    COSDDialog* osdWindow() const { return osdWindow_; }
    int hoveredButton() const { return hoveredButton_; }
    int supportKeyProgress() const { return supportKeyProgress_; }

    // What runs the modal loop's idle work can ask after a device action.
    std::uint64_t deviceEventsHandled() const { return deviceEventsHandled_; }

    AppModel& model() { return env_.model; }
    // The choices of the window's radio buttons, which the pages read and set.
    RadioGroups& radios() { return radios_; }
    DeviceSync& sync() { return *sync_; }
    DeviceLink& link() { return *link_; }
    PlatformServices& services() { return env_.services; }

    // Pages add themselves here from the constructor (or a test) before the
    // window is created.
    void AddPage(std::unique_ptr<MainPage> page) { pages_.push_back(std::move(page)); }

    // A design-unit rectangle at the UI scale.
    static RECT Scaled(int left, int top, int right, int bottom);
    static int Scale(int v);

    // Tray menu entries pages add in their build step, shown above the exit command.
    std::vector<TrayMenuItem> extraTrayItems;
    // Shows the tray menu as it now stands (check marks included).
    void RefreshTrayMenu();

    // Runs at the end of the window's initialisation (the application wires
    // the script driver and the timed ends here).
    std::function<void(CVelmorDlg&)> afterInit;
    // Set before the window is created: start hidden in the tray (minimised
    // where there is no tray), as after a start with the desktop.
    void SetStartInTray(bool value) { startInTray_ = value; }

    // Ends the program through the close path once `after` has passed.
    void EndAfter(std::chrono::milliseconds after);
    // Writes the window's picture to `path` after start-up, then ends.
    void ScreenshotAndEnd(std::filesystem::path path);
    // Tells whether the last screenshot was written.
    bool screenshotWritten() const { return screenshotWritten_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool startInTray_ = false;
    class EventSink;

    void BuildFrame();
    void BuildButtonList();
    void BuildStatusArea();
    void BuildSections();
    // A title bar of the left column (header2 pictures).
    CCheckButton* AddTitle(std::uint32_t id, const RECT& rect, const std::string& text, BOOL visible);
    void PlaceWindow();
    void AddTrayIcon();
    std::vector<TrayMenuItem> TrayMenuItems() const;
    void ToggleStartWithDesktop();
    void OnDestroy();
    void ShowFileNotice(const std::string& text);
    void OnTimer(int id);
    void OnTrayCallback(WPARAM iconId, LPARAM mouseMessage);
    bool OnFrameControl(UINT id, LPARAM code);
    void OnAssignmentHover(WPARAM boxId, LPARAM code);
    void RunResetFlow();
    void RunPairing();
    void UpdateOnScreenDisplay(bool withProfileName = false);
    void OnOsdTick();
    void DrainDeviceEvents();
    void StepSupportSequence(WPARAM key);
    void DrawHoverOverlay(Canvas& dc);
    void LayOutColumn(Canvas& dc);
    CCheckButton* header(Section s) const {
        return headers_[static_cast<std::size_t>(SectionIndex(s))];
    }

    Environment env_;
    std::unique_ptr<EventSink> sink_;
    DeviceEventQueue events_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<DeviceSync> sync_;
    std::vector<std::unique_ptr<MainPage>> pages_;

    std::array<CCheckButton*, kSectionCount> headers_{};
    SectionState sections_;
    std::array<std::shared_ptr<const Image>, 10> hoverOverlays_{};
    std::shared_ptr<const Image> panelPicture_;
    int hoveredButton_ = 0;
    int supportKeyProgress_ = 0;
    HWND notice_;
    HWND fileNotice_;
    FileProblem exitSaveProblem_;
    COSDDialog* osdWindow_ = nullptr;
    int osdCountdown_ = 0;
    std::uint64_t deviceEventsHandled_ = 0;
    std::filesystem::path screenshotPath_;
    bool screenshotWritten_ = false;
    bool trayAdded_ = false;
    bool destroyed_ = false;
    BatteryAlerts batteryAlerts_;
    RadioGroups radios_;
};

}  // namespace zavrin
