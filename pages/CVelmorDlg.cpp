#include "pages/CVelmorDlg.h"

#include <algorithm>
#include <fstream>

#include "device/SensorTables.h"
#include "dialogs/CAttentionDlg.h"
#include "dialogs/COSDDialog.h"
#include "dialogs/CParingDlg.h"
#include "dialogs/CProgressBarDlg.h"
#include "model/NameTables.h"
#include "pages/ButtonListPage.h"
#include "pages/LeftColumn.h"
#include "pages/SectionsPage.h"
#include "pages/StandardPages.h"
#include "pages/StatusAreaPage.h"
#include "platform/Resources.h"
#include "platform/Snapshot.h"
#include "ui/CImageButton.h"
#include "ui/CWndPopup.h"
#include "ui/CStaticImage.h"
#include "ui/ControlIds.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kSettingsText = 1;
constexpr int kExitText = 2;
constexpr int kOsdTicks = 5;
constexpr std::uint32_t kOsdPeriodMs = 300;
constexpr const char* kTrayTip = "Zavrin ZR2";
constexpr std::array<POINT, 9> kOverlayPlaces{{{495, 231},
                                               {608, 231},
                                               {553, 251},
                                               {467, 311},
                                               {471, 380},
                                               {613, 373},
                                               {616, 346},
                                               {487, 284},
                                               {487, 284}}};
// The four fixed frames of the left column.
constexpr std::array<RECT, 4> kLeftFrames{
    {{36, 62, 266, 267}, {36, 311, 266, 354}, {36, 423, 266, 505}, {36, 550, 266, 696}}};

}  // namespace

// Reader threads and the device monitor hand their news over here: queued,
// then the UI thread is told with one posted message.
class CVelmorDlg::EventSink final : public DeviceEventSink {
public:
    EventSink(DeviceEventQueue& queue, CVelmorDlg& window) : queue_(queue), window_(window) {}
    void postStatus(ConnectionKind kind, const StatusReport& status) override {
        queue_.postStatus(kind, status);
        notify();
    }
    void postDeviceChange(DeviceChange change) override {
        queue_.postDeviceChange(change);
        notify();
    }
    void bind(HWND hwnd) { hwnd_.store(hwnd.value); }

private:
    void notify() {
        if (const std::uint64_t h = hwnd_.load())
            ::zavrin::PostMessage(HWND{h}, MainMessage::DeviceEvents, 0, 0);
    }
    DeviceEventQueue& queue_;
    CVelmorDlg& window_;
    std::atomic<std::uint64_t> hwnd_{0};
};

// The window as its pages see it: each service forwards to the window, so a
// page can reach no more of it than this.
class CVelmorDlg::Host final : public PageHost {
public:
    explicit Host(CVelmorDlg& window) : w_(window) {}

    HWND GetSafeHwnd() const override { return w_.GetSafeHwnd(); }
    CControlBase* FindControl(std::uint32_t id) const override { return w_.FindControl(id); }
    void InvalidateRect(const RECT* rect, BOOL erase) override { w_.InvalidateRect(rect, erase); }
    void Invalidate(BOOL erase) override { w_.Invalidate(erase); }
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return w_.SendMessage(message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return w_.PostMessage(message, wParam, lParam);
    }
    std::uintptr_t SetTimer(std::uintptr_t id, std::uint32_t elapseMs) override {
        return w_.SetTimer(id, elapseMs);
    }
    bool KillTimer(std::uintptr_t id) override { return w_.KillTimer(id); }
    CWndPopup* OpenPopup(int slot, std::unique_ptr<CWndPopup> menu, POINT at, UINT reportMessage,
                         int ownerParam) override {
        return w_.OpenPopup(slot, std::move(menu), at, reportMessage, ownerParam);
    }
    CWndPopup* GetPopup(int slot) const override { return w_.GetPopup(slot); }
    void ClosePopup(int slot) override { w_.ClosePopup(slot); }
    AppModel& model() override { return w_.env_.model; }
    DeviceSync& sync() override { return *w_.sync_; }
    int pollingCapability() const override { return w_.link_->pollingCapability.load(); }
    PlatformServices& services() override { return w_.env_.services; }
    RadioGroups& radios() override { return w_.radios_; }
    void SectionsChanged() override {
        w_.ShowSections();
        w_.Invalidate(FALSE);
    }
    void RefreshFromProfile() override { w_.RefreshFromProfile(); }
    void CollectToProfile() override { w_.CollectToProfile(); }
    void showAttention(int textId) override { w_.showAttention(textId); }
    void showSaveFailure(const FileProblem& problem) override { w_.showSaveFailure(problem); }
    void AddTrayItem(const TrayMenuItem& item) override { w_.trayItems_.push_back(item); }
    void SetTrayItemChecked(UINT id, bool checked) override {
        for (TrayMenuItem& item : w_.trayItems_)
            if (item.id == id) item.checked = checked;
        w_.RefreshTrayMenu();
    }

protected:
    void AddOwnedControl(int list, std::unique_ptr<CControlBase> control) override {
        w_.AddControl(list, std::move(control));
    }

private:
    CVelmorDlg& w_;
};

CVelmorDlg::CVelmorDlg(Environment env) : env_(std::move(env)), batteryAlerts_(env_.services) {
    windowWidth = Scale(kDesignWidth);
    windowHeight = Scale(kDesignHeight);
    dialogExStyle = WS_EX_APPWINDOW;
    dialogTitle = kWindowTitle;
    sink_ = std::make_unique<EventSink>(events_, *this);
    link_ = std::make_unique<DeviceLink>(env_.transport, *sink_);
    sync_ = std::make_unique<DeviceSync>(env_.model.store, env_.model.library, *link_, GetUiClock(),
                                         *this, *this);
    host_ = std::make_unique<Host>(*this);
    // Build order is z-order: the left column's fixed parts, the column's
    // headers, then the pages that fill the sections.
    AddPage(std::make_unique<ButtonListPage>(*host_));
    statusArea_ = AddPage(std::make_unique<StatusAreaPage>(*host_));
    sections_ = AddPage(std::make_unique<SectionsPage>(*host_));
    AddStandardPages(*host_, pages_);
}

CVelmorDlg::~CVelmorDlg() {
    // Readers must not post into a window that is going away.
    sink_->bind(HWND{});
    link_->stopReaders();
    CloseOnScreenDisplay();
}

// ---- Start-up --------------------------------------------------------------------

BOOL CVelmorDlg::OnInitDialog() {
    // Not shown at all until the tray icon decides between hidden and minimised.
    if (startInTray_) showAfterInit = SW_HIDE;
    sink_->bind(GetSafeHwnd());
    CDlgBase::OnInitDialog();  // builds the controls once
    PlaceWindow();
    // Until the mouse says otherwise, every rate up to 8000 Hz is offered.
    link_->pollingCapability = 8;
    supportKeyProgress_ = 0;
    openDialogs = {};
    AddTrayIcon();
    if (startInTray_ && !trayAdded_) {
        // Hidden only where the tray can bring it back.
        showAfterInit = SW_MINIMIZE;
        ShowWindow(SW_MINIMIZE);
    }
    env_.services.SetShowRequestTarget(GetSafeHwnd(), MainMessage::ShowRequest);
    RefreshFromProfile();
    env_.services.RegisterDeviceNotifications(GetSafeHwnd());
    link_->RegisterForDevices();
    sync_->RebuildSentImages();
    sync_->ScanDevices();
    if (link_->anyDevice && link_->refreshOnNextDevice) {
        link_->refreshOnNextDevice = false;
        RefreshFromProfile();
    }
    frameSize = SIZE{kDesignWidth, kDesignHeight};
    LoadFrameResource(kBitmapMainFrame);
    setTimer(TimerId::LinkIndicator, std::chrono::milliseconds(2000));
    // A start-up write that failed (a first run on a full disk, in a folder that
    // cannot be written) leaves the settings to be saved, like a change would,
    // and is the run's first failed save unless the start-up notice says more.
    const FileProblem& startWrite = env_.model.store.loadWriteProblem();
    if (startWrite) sync_->markSavePending();
    if (auto text = env_.model.notices.takeStartNotice(env_.model.language)) {
        ShowFileNotice(*text);
    } else if (startWrite) {
        showSaveFailure(startWrite);
    }
    if (afterInit_) afterInit_(*this);
    return TRUE;
}

void CVelmorDlg::PlaceWindow() {
    const int fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int fullHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    const int x = fullWidth > windowWidth ? static_cast<int>((fullWidth - windowWidth) * 0.5) : 0;
    const int y =
        fullHeight > windowHeight ? static_cast<int>((fullHeight - windowHeight) * 0.5) : 0;
    SetWindowPos(HWND_TOP, x, y, windowWidth, windowHeight,
                 showAfterInit == SW_SHOW ? SWP_SHOWWINDOW : 0);
}

void CVelmorDlg::AddTrayIcon() {
    TrayIconRequest request;
    request.target = GetSafeHwnd();
    request.callbackMessage = MainMessage::TrayCallback;
    request.iconId = kTrayIconId;
    request.icon = LoadResourceImage(ResourceType::Icon, kIconMain);
    request.tip = kTrayTip;
    request.menu = TrayMenuItems();
    trayAdded_ = env_.services.AddTrayIcon(request);
}

std::vector<TrayMenuItem> CVelmorDlg::TrayMenuItems() const {
    std::vector<TrayMenuItem> menu{TrayMenuItem{ControlId::ShowWindowCommand, languageText(kSettingsText)},
                                   TrayMenuItem{0, ""}};
    for (const TrayMenuItem& item : trayItems_) menu.push_back(item);
    menu.push_back(TrayMenuItem{TrayCommand::StartWithDesktop, DesktopText(DesktopTextId::StartWithDesktop),
                                env_.services.StartsWithDesktop()});
    menu.push_back(TrayMenuItem{0, ""});
    menu.push_back(TrayMenuItem{ControlId::ExitCommand, languageText(kExitText)});
    return menu;
}

void CVelmorDlg::ToggleStartWithDesktop() {
    env_.services.SetStartWithDesktop(!env_.services.StartsWithDesktop());
    // The mark shows what the system now holds, whether or not it took the change.
    RefreshTrayMenu();
}

void CVelmorDlg::RefreshTrayMenu() { env_.services.UpdateTrayMenu(TrayMenuItems()); }

// ---- Building ----------------------------------------------------------------------

void CVelmorDlg::BuildControls(const RECT&) {
    panelPicture_ = LoadImageFile(SkinPath("skins\\Frame_Lighting_Setting.bmp"));
    for (int n = 1; n <= 9; ++n) {
        hoverOverlays_[static_cast<std::size_t>(n)] =
            LoadImageFile(SkinPath("skins\\mouse\\number" + std::to_string(n) + ".png"));
    }
    BuildFrame();
    for (auto& page : pages_) page->Build(*host_);
    ShowSections();
}

void CVelmorDlg::BuildFrame() {
    const HWND self = GetSafeHwnd();
    auto* close = AddControl(kCommonList, std::make_unique<CImageButton>(
                                              self, ControlId::Close, Scaled(1093, 12, 1108, 27),
                                              "", kCaption, TRUE, TRUE, FALSE));
    close->LoadLooks("skins\\exit");
    auto* minimise =
        AddControl(kCommonList, std::make_unique<CImageButton>(self, ControlId::Minimise,
                                                               Scaled(1068, 12, 1083, 27), "",
                                                               kCaption, TRUE, TRUE, FALSE));
    minimise->LoadLooks("skins\\min");
    auto* logo = AddControl(kCommonList, std::make_unique<CStaticImage>(
                                             self, ControlId::StaticImage, Scaled(36, 8, 196, 38),
                                             "", TRUE, FALSE, FALSE));
    logo->LoadImage(SkinPath("skins\\Logo pic.png"));
    auto* mouse = AddControl(kCommonList, std::make_unique<CStaticImage>(
                                              self, ControlId::StaticImage,
                                              Scaled(457, 171, 672, 569), "", TRUE, TRUE, FALSE));
    mouse->LoadImage(SkinPath("skins\\mouse\\mouse_nr.png"));
    auto* name = AddControl(kCommonList, std::make_unique<CStaticImage>(
                                             self, ControlId::StaticImage,
                                             Scaled(485, 110, 645, 140), "", TRUE, FALSE, FALSE));
    name->LoadImage(SkinPath("skins\\device name.png"));
}

PageHost& CVelmorDlg::pageHost() {
    return *host_;
}

// ---- The column ---------------------------------------------------------------------

const SectionState& CVelmorDlg::sections() const {
    return sections_->state();
}

void CVelmorDlg::OnSectionHeaderClicked(Section clicked) {
    sections_->Toggle(clicked);
}

void CVelmorDlg::ShowSections() {
    const SectionState& state = sections_->state();
    for (const SectionInfo& info : kSections) {
        const int list = SectionList(info.section);
        const BOOL open = state.open[static_cast<std::size_t>(SectionIndex(info.section))] ? TRUE : FALSE;
        for (auto& control : ControlLists()[static_cast<std::size_t>(list)]) control->SetShown(open);
    }
    LayOutColumn();
}

void CVelmorDlg::LayOutColumn() {
    const SectionState& state = sections_->state();
    places_ = LayOutSections(state);
    sections_->PlaceHeaders(places_);
    for (const SectionInfo& info : kSections) {
        const auto i = static_cast<std::size_t>(SectionIndex(info.section));
        if (!state.headerShown[i] || !state.open[i]) continue;
        for (auto& page : pages_) page->LayOut(info.section, places_[i].content);
    }
}

// ---- Painting ------------------------------------------------------------------------

void CVelmorDlg::DrawSectionPanels(Canvas& dc) {
    if (!panelPicture_) return;
    const SectionState& state = sections_->state();
    const RECT src{0, 0, panelPicture_->width(), panelPicture_->height()};
    for (const SectionInfo& info : kSections) {
        const auto i = static_cast<std::size_t>(SectionIndex(info.section));
        if (!state.headerShown[i] || !state.open[i]) continue;
        const RECT& c = places_[i].content;
        dc.DrawImage(*panelPicture_, Scaled(c.left, c.top, c.right, c.bottom), src);
    }
}

void CVelmorDlg::DrawHoverOverlay(Canvas& dc) {
    if (hoveredButton_ < 1 || hoveredButton_ > 9) return;
    const auto& picture = hoverOverlays_[static_cast<std::size_t>(hoveredButton_)];
    if (!picture) return;
    const POINT at = kOverlayPlaces[static_cast<std::size_t>(hoveredButton_ - 1)];
    const RECT dst{Scale(at.x), Scale(at.y), Scale(at.x) + Scale(picture->width()),
                   Scale(at.y) + Scale(picture->height())};
    dc.DrawImage(*picture, dst, RECT{0, 0, picture->width(), picture->height()});
}

void CVelmorDlg::DrawWindow(Canvas& dc, const RECT& client) {
    DrawFrame(dc, client);
    if (panelPicture_) {
        const RECT src{0, 0, panelPicture_->width(), panelPicture_->height()};
        for (const RECT& f : kLeftFrames)
            dc.DrawImage(*panelPicture_, Scaled(f.left, f.top, f.right, f.bottom), src);
    }
    DrawSectionPanels(dc);
    DrawControls(dc, client);
    DrawHoverOverlay(dc);
}

// ---- Data binding ----------------------------------------------------------------------

void CVelmorDlg::RefreshFromProfile() {
    for (auto& page : pages_) page->RefreshFromProfile();
    Invalidate(FALSE);
}

void CVelmorDlg::CollectToProfile() {
    for (auto& page : pages_) page->CollectToProfile();
}

void CVelmorDlg::redrawControls() {
    Invalidate(FALSE);
}

// ---- The device link's view -----------------------------------------------------------

void CVelmorDlg::showStatusIcon(std::optional<ConnectionKind> kind) {
    statusArea_->ShowConnection(kind);
}

void CVelmorDlg::enablePollingRateHeader(bool enabled) {
    sections_->EnableHeader(Section::PollingRate, enabled);
}

void CVelmorDlg::closePollingRateSection() {
    sections_->Close(Section::PollingRate);
}

void CVelmorDlg::enableRateButtons(int) {
    // The rate buttons belong to the polling-rate page, which enables them
    // from the link's rate class when it refreshes.
}

void CVelmorDlg::showAttention(int textId) {
    // One notice at a time: a new one replaces the last, so repeated notices
    // never pile up windows.
    if (IsWindow(notice_)) ::zavrin::DestroyWindow(notice_);
    notice_ = CAttentionDlg::ShowNotice(languageText(textId));
}

void CVelmorDlg::showSaveFailure(const FileProblem& problem) {
    // The save at the window's end reports through the exit status instead.
    if (destroyed_) return;
    if (auto text = env_.model.notices.saveFailureNotice(env_.model.language, problem)) ShowFileNotice(*text);
}

void CVelmorDlg::ShowFileNotice(const std::string& text) {
    if (IsWindow(fileNotice_)) ::zavrin::DestroyWindow(fileNotice_);
    fileNotice_ = CAttentionDlg::ShowNotice(text, CAttentionDlg::kLongMessageHeight);
}

void CVelmorDlg::showProgress(int captionTextId) {
    CProgressBarDlg progress(languageText(captionTextId), "", GetSafeHwnd());
    progress.DoModal();
}

void CVelmorDlg::showNotLinkedText(bool shown) {
    statusArea_->ShowNotLinkedText(shown);
}

void CVelmorDlg::updateBattery(int percent, ChargeState state, int animationStep) {
    // An unlinked receiver reports 0 %: only a mouse that answers has a charge to warn of.
    if (link_->deviceOnline() == 1) batteryAlerts_.update(percent, state);
    statusArea_->ShowBattery(percent, state, animationStep);
}

void CVelmorDlg::showOnScreenDisplay() {
    PostMessage(MainMessage::ShowOnScreenDisplay, 1, 0);
}

void CVelmorDlg::openUrl(const std::string& url) {
    env_.services.ShellOpen(url);
}

void CVelmorDlg::lastDeviceGone() {
    ShowWindow(SW_HIDE);
    CloseOpenDialogs();
    PostQuitMessage(0);
}

void CVelmorDlg::setTimer(int id, std::chrono::milliseconds period) {
    SetTimer(static_cast<std::uintptr_t>(id), static_cast<std::uint32_t>(period.count()));
}
void CVelmorDlg::killTimer(int id) {
    KillTimer(static_cast<std::uintptr_t>(id));
}

// ---- On-screen display ---------------------------------------------------------------

void CVelmorDlg::UpdateOnScreenDisplay(bool withProfileName) {
    const ProfileRecord& profile = env_.model.store.currentProfile();
    // A level beyond the table is never used as an index.
    const int level = profile.currentDpiLevel < kDpiLevelCount ? profile.currentDpiLevel : 0;
    const auto step = profile.xySetting[static_cast<std::size_t>(level)];
    const int dpi = sensorTable(env_.model.store.sensorId()).dpiOfStep(step).value_or(0);
    // A profile switch names the profile where the level stands otherwise.
    std::string line1 = withProfileName
                            ? getSetting(profile, Setting::ProfileName, kSettingValue)
                            : "DPI-" + std::to_string(static_cast<int>(profile.currentDpiLevel) + 1);
    std::string line2 = std::to_string(dpi);
    std::string line3(pollingRateName(profile.pollingRateValue[0]));
    osdCountdown_ = kOsdTicks;
    if (osdWindow_ == nullptr) {
        auto osd = std::make_unique<COSDDialog>();
        if (!osd->Open()) return;
        osdWindow_ = std::move(osd);
        SetTimer(MainTimer::OnScreenDisplay, kOsdPeriodMs);
    }
    osdWindow_->SetTexts(std::move(line1), std::move(line2), std::move(line3));
}

void CVelmorDlg::OnOsdTick() {
    if (osdCountdown_ > 0) {
        --osdCountdown_;
        return;
    }
    KillTimer(MainTimer::OnScreenDisplay);
    CloseOnScreenDisplay();
}

void CVelmorDlg::CloseOnScreenDisplay() {
    if (osdWindow_ == nullptr) return;
    osdWindow_->DestroyWindow();
    osdWindow_.reset();
}

// ---- Show, hide, exit ----------------------------------------------------------------

void CVelmorDlg::ShowFromTray() {
    ShowWindow(SW_SHOWNORMAL);
    SetForegroundWindow(GetSafeHwnd());
}

void CVelmorDlg::HideToTray() {
    // Without a tray icon a hidden window could never be found again.
    ShowWindow(env_.services.TrayIconShown() ? SW_HIDE : SW_MINIMIZE);
}

void CVelmorDlg::ExitProgram() {
    CloseOpenDialogs();
    OnOK();
}

void CVelmorDlg::EndAfter(std::chrono::milliseconds after) {
    SetTimer(MainTimer::RunFor, static_cast<std::uint32_t>(std::max<long long>(1, after.count())));
}

void CVelmorDlg::ScreenshotAndEnd(std::filesystem::path path) {
    screenshotPath_ = std::move(path);
    PostMessage(MainMessage::Screenshot, 0, 0);
}

void CVelmorDlg::OnTrayCallback(WPARAM iconId, LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) ShowFromTray();
    if (mouseMessage == WM_RBUTTONUP) env_.services.ShowTrayMenu();
    (void)iconId;
}

// ---- Flows behind the frame's buttons ------------------------------------------------------

void CVelmorDlg::RunPairing() {
    CParingDlg dialog(GetSafeHwnd(), [this] { return link_->deviceOnline(); });
    dialog.DoModal();
}

void CVelmorDlg::RunResetFlow() {
    if (!sync_->canWriteToDevice()) {
        showAttention(DeviceSync::kNeedsConnectionText);
        return;
    }
    CFirmwareResetDlg confirm(GetSafeHwnd());
    if (confirm.DoModal() != IDOK) return;
    sync_->resetDeviceAndProfile();
    RefreshFromProfile();
    showProgress(DeviceSync::kProgressCaptionText);
}

bool CVelmorDlg::OnFrameControl(UINT id, LPARAM code) {
    if (code != ControlNotify::Click) return false;
    switch (id) {
        case ControlId::Close:
            ExitProgram();
            return true;
        case ControlId::Minimise:
            HideToTray();
            return true;
        case ControlId::FactoryReset:
            RunResetFlow();
            return true;
        case ControlId::Pairing:
            RunPairing();
            return true;
        case ControlId::ApplyAndHide:
            sync_->ApplyToDevice();
            HideToTray();
            return true;
        case ControlId::ImmediateApply:
            sync_->markProfileForApply();
            sync_->ApplyToDevice();
            return true;
        case ControlId::PointerSettings:
            // A desktop without a mouse-settings panel we know of: say so
            // rather than let the click do nothing.
            if (!env_.services.OpenPointerSettings()) showAttention(kNoPointerSettingsText);
            return true;
        case ControlId::MakerLink:
            env_.services.ShellOpen("https://www.zavrin.example/");
            return true;
        default:
            return false;
    }
}

void CVelmorDlg::OnAssignmentHover(WPARAM boxId, LPARAM code) {
    if (code == ControlNotify::Hover) {
        const auto n =
            static_cast<int>(boxId) - static_cast<int>(ControlId::FirstAssignmentBox) + 1;
        hoveredButton_ = n >= 1 && n <= 14 ? n : 0;
    } else {
        hoveredButton_ = 0;
    }
    const RECT picture = Scaled(457, 171, 672, 569);
    InvalidateRect(&picture, FALSE);
}

// ---- Keys, timers, messages ----------------------------------------------------------------

void CVelmorDlg::StepSupportSequence(WPARAM key) {
    int& p = supportKeyProgress_;
    const auto letter = [&](int i) { return key == static_cast<WPARAM>(kSupportCode[i]); };
    if (letter(0)) {
        p = p == 5 ? 6 : 1;
    } else if (letter(1)) {
        p = p == 1 ? 2 : p == 6 ? 7 : 0;
    } else if (letter(2)) {
        p = p == 2 ? 3 : p == 7 ? 8 : 0;
    } else if (letter(3)) {
        p = p == 3 ? 4 : p == 8 ? 9 : 0;
    } else if (letter(4)) {
        if (p == 4) {
            p = 5;
        } else if (p == 9) {
            p = 0;
            CAttentionDlg support("", languageText(kSupportText), GetSafeHwnd());
            support.DoModal();
        } else {
            p = 0;
        }
    } else {
        p = 0;
    }
}

BOOL CVelmorDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd()) {
        if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) {
            supportKeyProgress_ = 0;
            return TRUE;
        }
        StepSupportSequence(msg.wParam);
    }
    return CDlgBase::PreTranslateMessage(msg);
}

void CVelmorDlg::DrainDeviceEvents() {
    while (auto event = events_.tryPop()) {
        sync_->handleEvent(*event);
        ++deviceEventsHandled_;
    }
}

void CVelmorDlg::OnTimer(int id) {
    if (sync_->onTimer(id)) return;
    switch (id) {
        case MainTimer::OnScreenDisplay:
            OnOsdTick();
            return;
        case MainTimer::RunFor:
            KillTimer(MainTimer::RunFor);
            ExitProgram();
            return;
        default:
            return;
    }
}

void CVelmorDlg::OnDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (!sync_->saveIfPending()) exitSaveProblem_ = sync_->saveProblem();
    if (!env_.model.saveLibraryIfPending() && !exitSaveProblem_) exitSaveProblem_ = env_.model.libraryProblem();
    link_->closeAllFeatureHandles();
    if (trayAdded_) env_.services.RemoveTrayIcon();
    trayAdded_ = false;
    CloseOnScreenDisplay();
    if (IsWindow(notice_)) ::zavrin::DestroyWindow(notice_);
    if (IsWindow(fileNotice_)) ::zavrin::DestroyWindow(fileNotice_);
}

LRESULT CVelmorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    for (auto& page : pages_) {
        LRESULT result = 0;
        if (page->HandleMessage(message, wParam, lParam, result)) return result;
    }
    switch (message) {
        case WM_TIMER:
            OnTimer(static_cast<int>(wParam));
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return CDlgBase::WindowProc(message, wParam, lParam);
        case WM_CLOSE:
            // The desktop's close request takes the close button's path.
            ExitProgram();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == ControlId::ShowWindowCommand) ShowFromTray();
            if (LOWORD(wParam) == ControlId::ExitCommand) ExitProgram();
            if (LOWORD(wParam) == TrayCommand::StartWithDesktop) ToggleStartWithDesktop();
            return 0;
        case WM_DEVICECHANGE:
            sync_->onDeviceChange(wParam == DBT_DEVICEREMOVECOMPLETE ? DeviceChange::Removal
                                                                     : DeviceChange::Arrival);
            return TRUE;
        case MainMessage::TrayCallback:
            if (wParam != kTrayIconId) return 1;
            OnTrayCallback(wParam, lParam);
            return 0;
        case MainMessage::ShowRequest:
            ShowFromTray();
            return 0;
        case MainMessage::ShowOnScreenDisplay:
            if (wParam == 1 || wParam == 2) UpdateOnScreenDisplay(wParam == 2);
            return 0;
        case MainMessage::DeviceEvents:
            DrainDeviceEvents();
            return 0;
        case MainMessage::Screenshot:
            UpdateWindow();
            screenshotWritten_ = WriteWindowPng(GetSafeHwnd(), screenshotPath_);
            ExitProgram();
            return 0;
        case CParingDlg::kPairRequest:
            sync_->SendPairing();
            return 0;
        case ComboNotify::ButtonAssignment:
            if (lParam == ControlNotify::Hover || lParam == ControlNotify::Leave)
                OnAssignmentHover(wParam, lParam);
            return 0;
        default:
            break;
    }
    if (message >= WM_USER && message < WM_APP && OnFrameControl(message, lParam)) return 0;
    return CDlgBase::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
