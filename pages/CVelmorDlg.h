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
#include "pages/MainWindowIds.h"
#include "pages/PageHost.h"
#include "pages/SectionColumn.h"
#include "platform/PlatformServices.h"
#include "ui/RadioGroups.h"
#include "ui/CDlgBase.h"

namespace zavrin {

class COSDDialog;
class SectionsPage;
class StatusAreaPage;

// The main window: the frame, the tray icon, the window timers, the
// on-screen display and the device link's view. Page objects own everything
// else on it (the button list, the status area, the column's headers and the
// sections' contents) and reach the window through a PageHost; this class
// routes messages to them, lays the column out when its sections change and
// keeps the frame's own handlers. UI thread only; reader threads reach it
// only through posted messages.
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

    // As a click on a section's header: the closing rule, then the shown
    // sections, then a refresh.
    void OnSectionHeaderClicked(Section clicked);
    const SectionState& sections() const;

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
    COSDDialog* osdWindow() const { return osdWindow_.get(); }
    int hoveredButton() const { return hoveredButton_; }
    int supportKeyProgress() const { return supportKeyProgress_; }

    // What runs the modal loop's idle work can ask after a device action.
    std::uint64_t deviceEventsHandled() const { return deviceEventsHandled_; }

    AppModel& model() { return env_.model; }
    // The window as its pages see it, for driving one page step directly.
    PageHost& pageHost();
    // The choices of the window's radio buttons, which the pages read and set.
    RadioGroups& radios() { return radios_; }
    DeviceSync& sync() { return *sync_; }
    DeviceLink& link() { return *link_; }
    PlatformServices& services() { return env_.services; }

    // A design-unit rectangle at the UI scale.
    static RECT Scaled(int left, int top, int right, int bottom) {
        return PageHost::Scaled(left, top, right, bottom);
    }
    static int Scale(int v) { return PageHost::Scale(v); }

    // Runs at the end of the window's initialisation (the application wires
    // the script driver and the timed ends here).
    void SetAfterInit(std::function<void(CVelmorDlg&)> call) { afterInit_ = std::move(call); }
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
    std::function<void(CVelmorDlg&)> afterInit_;
    class EventSink;
    class Host;

    template <class Page>
    Page* AddPage(std::unique_ptr<Page> page) {
        Page* raw = page.get();
        pages_.push_back(std::move(page));
        return raw;
    }
    void BuildFrame();
    void PlaceWindow();
    void AddTrayIcon();
    std::vector<TrayMenuItem> TrayMenuItems() const;
    // Shows the tray menu as it now stands (check marks included).
    void RefreshTrayMenu();
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
    // Takes the display's window down, whatever ends it.
    void CloseOnScreenDisplay();
    void DrainDeviceEvents();
    void StepSupportSequence(WPARAM key);
    void DrawHoverOverlay(Canvas& dc);
    void DrawSectionPanels(Canvas& dc);
    // Shows the open sections' controls and hides the rest, then lays the
    // column out: headers stacked, the pages' controls in their sections.
    void ShowSections();
    void LayOutColumn();

    Environment env_;
    std::unique_ptr<EventSink> sink_;
    DeviceEventQueue events_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<DeviceSync> sync_;
    std::unique_ptr<Host> host_;
    PageList pages_;
    StatusAreaPage* statusArea_ = nullptr;
    SectionsPage* sections_ = nullptr;
    // Where the column's headers and open sections are, in design units.
    std::array<SectionPlace, kSectionCount> places_{};
    // Tray menu entries pages add in their build step, shown above the exit command.
    std::vector<TrayMenuItem> trayItems_;
    std::array<std::shared_ptr<const Image>, 10> hoverOverlays_{};
    std::shared_ptr<const Image> panelPicture_;
    int hoveredButton_ = 0;
    int supportKeyProgress_ = 0;
    HWND notice_;
    HWND fileNotice_;
    FileProblem exitSaveProblem_;
    std::unique_ptr<COSDDialog> osdWindow_;
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
