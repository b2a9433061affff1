#include "pages/CVelmorDlg.h"

#include <algorithm>
#include <fstream>

#include "device/SensorTables.h"
#include "dialogs/CAttentionDlg.h"
#include "dialogs/COSDDialog.h"
#include "dialogs/CParingDlg.h"
#include "dialogs/CProgressBarDlg.h"
#include "model/NameTables.h"
#include "pages/StandardPages.h"
#include "platform/Resources.h"
#include "platform/Snapshot.h"
#include "ui/CBattery.h"
#include "ui/CComboButton.h"
#include "ui/CImageButton.h"
#include "ui/CLinkButton.h"
#include "ui/CPowerManageButton.h"
#include "ui/CStaticImage.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kSettingsText = 1;
constexpr int kExitText = 2;
constexpr int kVersionText = 3;
constexpr int kResetText = 7;
constexpr int kMacroManagerText = 8;
constexpr int kButtonListText = 9;
constexpr int kProfilesText = 10;
constexpr int kBatteryText = 15;
constexpr int kPowerSavingText = 265;
constexpr int kPairText = 277;
constexpr int kNotLinkedText = 284;
constexpr int kOsdTicks = 5;
constexpr std::uint32_t kOsdPeriodMs = 300;
constexpr const char* kVersionSuffix = ":1.1.2";
constexpr const char* kTrayTip = "Zavrin ZR2";
constexpr int kVisibleRows = 6;
constexpr std::array<int, ControlId::AssignmentBoxCount> kRowTops{81,  111, 140, 169, 198,
                                                                  227, 256, 285, 314};
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
constexpr std::uint32_t kCaption = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

// The main window's texts show what they were made with.
CStaticText* ShowingItsText(CStaticText* text) {
    text->ShowCaption();
    return text;
}

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

CVelmorDlg::CVelmorDlg(Environment env) : env_(std::move(env)), batteryAlerts_(env_.services) {
    windowWidth = Scale(kDesignWidth);
    windowHeight = Scale(kDesignHeight);
    dialogExStyle = WS_EX_APPWINDOW;
    dialogTitle = kWindowTitle;
    sink_ = std::make_unique<EventSink>(events_, *this);
    link_ = std::make_unique<DeviceLink>(env_.transport, *sink_);
    sync_ = std::make_unique<DeviceSync>(env_.model.store, env_.model.library, *link_, GetUiClock(),
                                         *this, *this);
    AddStandardPages(*this);
}

CVelmorDlg::~CVelmorDlg() {
    // Readers must not post into a window that is going away.
    sink_->bind(HWND{});
    link_->stopReaders();
    if (osdWindow_ != nullptr) {
        osdWindow_->DestroyWindow();
        delete osdWindow_;
        osdWindow_ = nullptr;
    }
}

int CVelmorDlg::Scale(int v) {
    return static_cast<int>(static_cast<float>(v) * uiScale);
}
RECT CVelmorDlg::Scaled(int left, int top, int right, int bottom) {
    return RECT{Scale(left), Scale(top), Scale(right), Scale(bottom)};
}

// ---- Start-up --------------------------------------------------------------------

BOOL CVelmorDlg::OnInitDialog() {
    // Not shown at all until the tray icon decides between hidden and minimised.
    if (startInTray) showAfterInit = SW_HIDE;
    sink_->bind(GetSafeHwnd());
    CDlgBase::OnInitDialog();  // builds the controls once
    PlaceWindow();
    // Until the mouse says otherwise, every rate up to 8000 Hz is offered.
    link_->pollingCapability = 8;
    supportKeyProgress_ = 0;
    openDialogs = {};
    AddTrayIcon();
    if (startInTray && !trayAdded_) {
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
    // The frame is compiled in as pixel runs; a build that holds it as a PNG decodes it.
    if (auto runs = PixelRunsImage::Open(FindResourceBytes(ResourceType::Bitmap, kBitmapMainFrame)))
        SetFrameRuns(std::move(runs));
    else
        SetFrameBitmap(LoadBitmapResource(kBitmapMainFrame));
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
    if (afterInit) afterInit(*this);
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
    for (const TrayMenuItem& item : extraTrayItems) menu.push_back(item);
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
    BuildButtonList();
    BuildStatusArea();
    BuildSections();
    for (auto& page : pages_) page->Build(*this);
    ApplyInitialSections();
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

CCheckButton* CVelmorDlg::AddTitle(std::uint32_t id, const RECT& rect, const std::string& text,
                                   BOOL visible) {
    auto* title =
        AddControl(kCommonList, std::make_unique<CCheckButton>(GetSafeHwnd(), id, rect, text,
                                                               kCaption, TRUE, visible, FALSE));
    title->LoadLooks("skins\\header2");
    title->SetRepaintsWholeWindow(true);
    return title;
}

void CVelmorDlg::BuildButtonList() {
    const HWND self = GetSafeHwnd();
    AddTitle(ControlId::AssignmentTitle, Scaled(36, 37, 266, 62), languageText(kButtonListText),
             TRUE);
    for (int row = 0; row < ControlId::AssignmentBoxCount; ++row) {
        const int top = kRowTops[static_cast<std::size_t>(row)];
        const BOOL visible = row < kVisibleRows ? TRUE : FALSE;
        auto* marker =
            AddControl(kCommonList, std::make_unique<CStaticImage>(self, ControlId::StaticImage,
                                                                   Scaled(52, top, 73, top + 21),
                                                                   "", TRUE, visible, FALSE));
        marker->LoadImage(
            SkinPath("skins\\mouse\\serial_number" + std::to_string(row + 1) + ".png"));
        auto* box = AddControl(
            kCommonList,
            std::make_unique<CComboButton>(
                self, ComboNotify::ButtonAssignment,
                ControlId::FirstAssignmentBox + static_cast<std::uint32_t>(row),
                Scaled(82, top, 244, top + 21), "", kCaption, TRUE, visible, FALSE, "Disable"));
        box->LoadLooks("skins\\combo2");
    }
    auto* macros =
        AddControl(kCommonList, std::make_unique<CImageButton>(
                                    self, ControlId::MacroManager, Scaled(70, 320, 232, 344),
                                    languageText(kMacroManagerText), kCaption, TRUE, TRUE, FALSE));
    macros->LoadLooks("skins\\button1");
}

void CVelmorDlg::BuildStatusArea() {
    const HWND self = GetSafeHwnd();
    const std::array<std::pair<std::uint32_t, const char*>, 3> icons{
        {{ControlId::StatusWired, "skins\\Status_Wired.png"},
         {ControlId::StatusWireless, "skins\\Status_Wireless.png"},
         {ControlId::StatusBluetooth, "skins\\Status_BLE.png"}}};
    for (const auto& [id, picture] : icons) {
        auto* icon = AddControl(
            kCommonList, std::make_unique<CStaticImage>(self, id, Scaled(550, 600, 580, 630), "",
                                                        TRUE, FALSE, FALSE));
        icon->LoadImage(SkinPath(picture));
    }
    ShowingItsText(AddControl(
        kCommonList,
        std::make_unique<CStaticText>(self, ControlId::NotLinkedText, Scaled(420, 640, 710, 662),
                                      UiColor::TextNormal, kCaption, "", TRUE, FALSE, FALSE)));

    AddTitle(ControlId::BatteryTitle, Scaled(36, 398, 266, 423), languageText(kBatteryText), TRUE);
    auto* battery = AddControl(
        kCommonList, std::make_unique<CBattery>(self, ControlId::BatteryGauge,
                                                Scaled(62, 432, 94, 496), "", TRUE, TRUE, FALSE));
    battery->LoadFullImage(SkinPath("skins\\battery_full.png"));
    battery->LoadEmptyImage(SkinPath("skins\\battery_empty.png"));
    battery->LoadChargingImage(SkinPath("skins\\battery_charging.png"));
    battery->LoadLightningImage(SkinPath("skins\\battery_lighting.png"));
    ShowingItsText(AddControl(
        kCommonList,
        std::make_unique<CStaticText>(self, ControlId::BatteryText, Scaled(52, 480, 104, 500),
                                      UiColor::TextNormal, kCaption, "100%", FALSE, TRUE, FALSE)));
    const std::array<const char*, 3> dots{"skins\\battery_green.png", "skins\\battery_orange.png",
                                          "skins\\battery_red.png"};
    for (int i = 0; i < 3; ++i) {
        const int top = 442 + 18 * i;
        auto* dot = AddControl(
            kCommonList, std::make_unique<CStaticImage>(self, ControlId::BatteryLegendDot,
                                                        Scaled(120, top + 3, 130, top + 13), "",
                                                        TRUE, TRUE, FALSE));
        dot->LoadImage(SkinPath(dots[static_cast<std::size_t>(i)]));
        ShowingItsText(AddControl(
            kCommonList,
            std::make_unique<CStaticText>(self, ControlId::BatteryLegendText,
                                          Scaled(136, top, 262, top + 16), UiColor::TextNormal,
                                          kLeftCaption, languageText(16 + i), TRUE, TRUE, FALSE)));
    }

    AddTitle(ControlId::PowerTitle, Scaled(36, 525, 266, 550), languageText(kPowerSavingText),
             TRUE);
    auto* power = AddControl(kCommonList, std::make_unique<CPowerManageButton>(
                                              self, ControlId::PowerSelector,
                                              Scaled(81, 556, 221, 636), "", 0, TRUE, TRUE, FALSE));
    for (int position = 1; position <= 8; ++position) {
        power->LoadPositionImage(
            position, SkinPath("skins\\power_manage_" + std::to_string(position + 2) + "min.png"));
    }
    ShowingItsText(AddControl(
        kCommonList,
        std::make_unique<CStaticText>(self, ControlId::PowerCaption, Scaled(36, 638, 266, 656),
                                      UiColor::TextNormal, kCaption, "", TRUE, TRUE, FALSE)));
    auto* profiles = AddControl(
        kCommonList,
        std::make_unique<CImageButton>(self, ControlId::ProfileSelector, Scaled(118, 664, 183, 687),
                                       languageText(kSettingsText), kCaption, TRUE, TRUE, FALSE));
    profiles->LoadLooks("skins\\button2");
    AddTitle(ControlId::HiddenTitle, Scaled(36, 700, 266, 725), languageText(kProfilesText), FALSE);

    ShowingItsText(AddControl(
        kCommonList,
        std::make_unique<CStaticText>(
            self, ControlId::VersionText, Scaled(36, 708, 336, 728), UiColor::TextNormal,
            kLeftCaption, languageText(kVersionText) + kVersionSuffix, TRUE, TRUE, FALSE)));
    auto* reset = AddControl(
        kCommonList,
        std::make_unique<CImageButton>(self, ControlId::FactoryReset, Scaled(1043, 705, 1108, 728),
                                       languageText(kResetText), kCaption, TRUE, TRUE, FALSE));
    reset->LoadLooks("skins\\button2");
    auto* apply = AddControl(
        kCommonList,
        std::make_unique<CImageButton>(self, ControlId::ImmediateApply, Scaled(968, 705, 1033, 728),
                                       languageText(6), kCaption, TRUE, FALSE, FALSE));
    apply->LoadLooks("skins\\button2");
    AddControl(kCommonList,
               std::make_unique<CLinkButton>(self, ControlId::MakerLink, Scaled(500, 708, 630, 728),
                                             "Zavrin", kCaption, TRUE, FALSE, FALSE));
}

void CVelmorDlg::BuildSections() {
    const HWND self = GetSafeHwnd();
    const bool liftOffSelectable = sensorTable(env_.model.store.sensorId()).size() > 0;
    for (const SectionInfo& info : kSections) {
        const auto i = static_cast<std::size_t>(SectionIndex(info.section));
        BOOL visible = TRUE;
        if (info.section == Section::Debounce) visible = FALSE;
        if (info.section == Section::LiftOff && !liftOffSelectable) visible = FALSE;
        auto* h = AddControl(kCommonList,
                             std::make_unique<CCheckButton>(
                                 self, info.headerId, Scaled(846, 37, 1108, 62),
                                 languageText(info.labelText), kCaption, TRUE, visible, FALSE));
        h->LoadLook({Look::Normal}, SkinPath("skins\\header_nr.png"));
        // An open section keeps its header lit.
        h->LoadLook({Look::Hover, Look::Checked}, SkinPath("skins\\header_ov.png"));
        h->SetRepaintsWholeWindow(true);
        h->SetChecked(info.section == Section::Dpi || info.section == Section::Lighting);
        headers_[i] = h;
        sections_.headerShown[i] = visible != FALSE;
        sections_.open[i] = h->IsChecked();
    }
    // The pairing section's one control: the button that opens the pairing dialog.
    auto* pair = AddControl(
        SectionList(Section::Pairing),
        std::make_unique<CImageButton>(self, ControlId::Pairing, RECT{}, languageText(kPairText),
                                       kCaption, TRUE, TRUE, FALSE));
    pair->LoadLooks("skins\\button1");
}

void CVelmorDlg::ApplyInitialSections() {
    for (int list = 1; list < kListCount; ++list) {
        const bool shown =
            list == SectionList(Section::Dpi) || list == SectionList(Section::Lighting);
        for (auto& control : controlLists[static_cast<std::size_t>(list)])
            control->SetShown(shown ? TRUE : FALSE);
    }
}

void CVelmorDlg::ApplySectionVisibility() {
    for (const SectionInfo& info : kSections) {
        const int list = SectionList(info.section);
        const BOOL open = header(info.section)->IsChecked() ? TRUE : FALSE;
        for (auto& control : controlLists[static_cast<std::size_t>(list)]) control->SetShown(open);
    }
}

void CVelmorDlg::OnSectionHeaderClicked(Section clicked) {
    for (const SectionInfo& info : kSections) {
        sections_.open[static_cast<std::size_t>(SectionIndex(info.section))] =
            header(info.section)->IsChecked();
    }
    ApplyClosingRule(sections_, clicked);
    for (const SectionInfo& info : kSections) {
        header(info.section)->SetChecked(
            sections_.open[static_cast<std::size_t>(SectionIndex(info.section))]);
    }
    ApplySectionVisibility();
    RefreshFromProfile();
}

// ---- Painting ------------------------------------------------------------------------

void CVelmorDlg::LayOutColumn(Canvas& dc) {
    for (const SectionInfo& info : kSections) {
        sections_.open[static_cast<std::size_t>(SectionIndex(info.section))] =
            header(info.section)->IsChecked();
    }
    const auto places = LayOutSections(sections_);
    for (const SectionInfo& info : kSections) {
        const auto i = static_cast<std::size_t>(SectionIndex(info.section));
        if (!sections_.headerShown[i]) continue;
        const RECT& h = places[i].header;
        header(info.section)->SetRect(Scale(h.left), Scale(h.top), Scale(h.right), Scale(h.bottom));
        if (!sections_.open[i]) continue;
        const RECT& c = places[i].content;
        if (panelPicture_) {
            dc.DrawImage(*panelPicture_, Scaled(c.left, c.top, c.right, c.bottom),
                         RECT{0, 0, panelPicture_->width(), panelPicture_->height()});
        }
        for (auto& page : pages_) page->LayOut(info.section, c);
        if (info.section == Section::Pairing) {
            if (CControlBase* pair = FindControl(ControlId::Pairing)) {
                const int left = c.left + (kColumnWidth - 162) / 2;
                const int top = c.top + 30;
                pair->SetRect(Scale(left), Scale(top), Scale(left + 162), Scale(top + 24));
            }
        }
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
    LayOutColumn(dc);
    DrawControls(dc, client);
    DrawHoverOverlay(dc);
}

// ---- Data binding ----------------------------------------------------------------------

void CVelmorDlg::RefreshFromProfile() {
    const ProfileRecord& profile = env_.model.store.currentProfile();
    for (int row = 0; row < kKeyCount && row < ControlId::AssignmentBoxCount; ++row) {
        if (auto* box = dynamic_cast<CComboButton*>(
                FindControl(ControlId::FirstAssignmentBox + static_cast<std::uint32_t>(row)))) {
            box->SetValueText(profile.keys[static_cast<std::size_t>(row)].name);
        }
    }
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
    const std::array<std::pair<std::uint32_t, ConnectionKind>, 3> icons{
        {{ControlId::StatusWired, ConnectionKind::Wired},
         {ControlId::StatusWireless, ConnectionKind::Dongle},
         {ControlId::StatusBluetooth, ConnectionKind::Bluetooth}}};
    for (const auto& [id, k] : icons) {
        if (CControlBase* icon = FindControl(id)) {
            icon->SetVisible(kind && *kind == k ? TRUE : FALSE);
            InvalidateRect(&icon->Rect(), FALSE);
        }
    }
}

void CVelmorDlg::enablePollingRateHeader(bool enabled) {
    CCheckButton* h = header(Section::PollingRate);
    h->SetDisabled(!enabled);
}

void CVelmorDlg::closePollingRateSection() {
    CCheckButton* h = header(Section::PollingRate);
    if (!h->IsChecked()) return;
    h->SetChecked(false);
    ApplySectionVisibility();
    Invalidate(FALSE);
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
    if (auto* text = dynamic_cast<CStaticText*>(FindControl(ControlId::NotLinkedText))) {
        if (shown) text->ShowText(languageText(kNotLinkedText));
        text->SetVisible(shown ? TRUE : FALSE);
        InvalidateRect(&text->Rect(), FALSE);
    }
}

void CVelmorDlg::updateBattery(int percent, ChargeState state, int animationStep) {
    // An unlinked receiver reports 0 %: only a mouse that answers has a charge to warn of.
    if (link_->deviceOnline() == 1) batteryAlerts_.update(percent, state);
    if (auto* battery = dynamic_cast<CBattery*>(FindControl(ControlId::BatteryGauge))) {
        battery->SetCharge(static_cast<CBattery::Mode>(state),
                           static_cast<std::uint8_t>(std::clamp(percent, 0, 100)), animationStep);
    }
    if (auto* text = dynamic_cast<CStaticText*>(FindControl(ControlId::BatteryText))) {
        // Kept current but never drawn: the gauge already shows the charge, and
        // the text stays readable for scripts and tests.
        text->ShowText(std::to_string(percent) + "%");
    }
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
        osdWindow_ = new COSDDialog();
        if (!osdWindow_->Open()) {
            delete osdWindow_;
            osdWindow_ = nullptr;
            return;
        }
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
    if (osdWindow_ != nullptr) {
        osdWindow_->DestroyWindow();
        delete osdWindow_;
        osdWindow_ = nullptr;
    }
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
    for (const SectionInfo& info : kSections) {
        if (id == info.headerId) {
            if (code == ControlNotify::Click) OnSectionHeaderClicked(info.section);
            return true;
        }
    }
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
    if (osdWindow_ != nullptr) {
        osdWindow_->DestroyWindow();
        delete osdWindow_;
        osdWindow_ = nullptr;
    }
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
