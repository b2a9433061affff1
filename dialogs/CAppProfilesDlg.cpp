#include "dialogs/CAppProfilesDlg.h"

#include "dialogs/CAppRuleList.h"
#include "model/DataPaths.h"
#include "ui/CCheckButton.h"
#include "ui/CVScrollBar.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kTitleText = 351;
constexpr int kProgramColumnText = 352;
constexpr int kProfileColumnText = 353;
constexpr int kAddText = 354;
constexpr int kRemoveText = 355;
constexpr int kPauseText = 356;
constexpr int kChooseFileText = 357;
constexpr int kInactiveText = 358;
constexpr int kProgramFilterText = 362;
constexpr int kNoRulesText = 364;
constexpr int kChooseProgramTitle = 365;
constexpr int kInactiveNote = 367;

// The list, and its scroll bar beside it reaching one unit past either end,
// as the macro lists have it.
constexpr RECT kListPlace{20, 62, 489, 254};
constexpr RECT kBarPlace{490, 61, 508, 255};
constexpr int kWheelRows = 1;
constexpr std::uint32_t kLeftLine = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

// A menu of texts given by its owner; picking row i reports a ButtonChoice
// whose action type is i.
class CChoicePopup final : public CItemPopup {
public:
    explicit CChoicePopup(std::vector<std::string> rows)
        : CItemPopup(PopupKind::ProfileRKey, kWidePopup, LoadStandardPopupPictures()), rows_(std::move(rows)) {}
    void InitItems() override {
        for (std::size_t i = 0; i < rows_.size(); ++i) AddItem(rows_[i], static_cast<int>(i) + 1);
    }

private:
    std::vector<std::string> rows_;
};

}  // namespace

CAppProfilesDlg::CAppProfilesDlg(Environment env, HWND owner)
    : CSmallDlg(owner, kDesignSize, "skins\\Frame_Macro_Manager.bmp", true), env_(std::move(env)) {}

CAppProfilesDlg::~CAppProfilesDlg() = default;

void CAppProfilesDlg::BuildExtras() {
    AddText(ControlId::DialogMessage, RECT{10, 4, 400, 24}, UiColor::White, kLeftLine, languageText(kTitleText));
    AddCloseButton();
    AddText(ControlId::DialogMessage, RECT{24, 38, 310, 60}, UiColor::TextNormal, kLeftLine,
            languageText(kProgramColumnText));
    AddText(ControlId::DialogMessage, RECT{316, 38, 504, 60}, UiColor::TextNormal, kLeftLine,
            languageText(kProfileColumnText));
    list_ = AddControl(kCommonList, std::make_unique<CAppRuleList>(
                                        GetSafeHwnd(), kRuleList,
                                        Scaled(kListPlace.left, kListPlace.top, kListPlace.right, kListPlace.bottom),
                                        env_.rules));
    list_->SetSlots(env_.slots.names, env_.slots.listed);
    list_->SetTexts(languageText(kInactiveText), languageText(kNoRulesText));
    ruleBar_ = AddControl(kCommonList, std::make_unique<CVScrollBar>(
                                           GetSafeHwnd(), kRuleScrollBar,
                                           Scaled(kBarPlace.left, kBarPlace.top, kBarPlace.right, kBarPlace.bottom),
                                           "", TRUE, TRUE, FALSE));
    ruleBar_->LoadArrows();
    list_->SetScrollBar(ruleBar_);
    inactiveNote_ = AddText(ControlId::DialogMessage, RECT{20, 258, 508, 277}, UiColor::TextNormal, kLeftLine,
                            languageText(kInactiveNote));
    if (!env_.note.empty()) {
        AddText(ControlId::DialogMessage, RECT{20, 278, 508, 297}, UiColor::Accent, kLeftLine, env_.note);
    }
    ShowInactiveNote();
    pause_ = AddControl(kCommonList, std::make_unique<CCheckButton>(GetSafeHwnd(), kPauseBox,
                                                                     Scaled(24, 305, 35, 316), "", DT_LEFT, TRUE,
                                                                     TRUE, FALSE));
    pause_->LoadLooks("skins\\check");
    pause_->SetChecked(env_.rules.paused);
    AddText(ControlId::DialogMessage, RECT{42, 300, 340, 321}, UiColor::TextNormal, kLeftLine,
            languageText(kPauseText));
    AddButton(kAddButton, RECT{356, 330, 421, 353}, languageText(kAddText));
    AddButton(kRemoveButton, RECT{436, 330, 501, 353}, languageText(kRemoveText));
}

POINT CAppProfilesDlg::MenuPlace() const {
    const RECT add = Scaled(356, 330, 421, 353);
    return ClientToScreen(GetSafeHwnd(), POINT{add.left, add.bottom});
}

void CAppProfilesDlg::OpenProgramMenu() {
    CloseMenus();
    std::vector<std::string> rows{languageText(kChooseFileText)};
    for (const FrontProgram& p : env_.recentPrograms) rows.push_back(p.path.empty() ? p.name : p.path);
    OpenPopup(kProgramMenuSlot, std::make_unique<CChoicePopup>(std::move(rows)), MenuPlace(), kProgramChosen,
              kProgramMenuSlot);
}

void CAppProfilesDlg::OnProgramChosen(int index) {
    chosenProgram_.clear();
    if (index == 0) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Open;
        request.owner = GetSafeHwnd();
        request.title = languageText(kChooseProgramTitle);
#ifdef _WIN32
        request.filters = {FileFilter{languageText(kProgramFilterText), "*.exe"}};
#else
        request.filters = {FileFilter{languageText(kProgramFilterText), "*"}};
#endif
        const auto path = env_.services.AskForFile(request);
        if (!path) return;
        chosenProgram_ = pathToUtf8(*path);
    } else if (index - 1 < static_cast<int>(env_.recentPrograms.size())) {
        const FrontProgram& p = env_.recentPrograms[static_cast<std::size_t>(index - 1)];
        chosenProgram_ = p.path.empty() ? p.name : p.path;
    }
    if (!chosenProgram_.empty()) OpenProfileMenu();
}

void CAppProfilesDlg::OpenProfileMenu() {
    std::vector<std::string> rows;
    for (int i = 0; i < env_.slots.listedCount; ++i)
        rows.push_back(env_.slots.names[static_cast<std::size_t>(env_.slots.order[static_cast<std::size_t>(i)])]);
    OpenPopup(kProfileMenuSlot, std::make_unique<CChoicePopup>(std::move(rows)), MenuPlace(), kProfileChosen,
              kProfileMenuSlot);
}

void CAppProfilesDlg::AddRule(int position) {
    CloseMenus();
    if (chosenProgram_.empty() || position < 0 || position >= env_.slots.listedCount) return;
    const int slot = env_.slots.order[static_cast<std::size_t>(position)];
    if (!env_.rules.add(chosenProgram_, slot)) return;
    const auto& rules = env_.rules.rules();
    for (std::size_t i = 0; i < rules.size(); ++i)
        if (rules[i].program == chosenProgram_) list_->SelectRow(static_cast<int>(i));
    chosenProgram_.clear();
    Changed();
}

void CAppProfilesDlg::RemoveSelected() {
    const auto& rules = env_.rules.rules();
    const int row = list_->SelectedRow();
    if (row < 0 || row >= static_cast<int>(rules.size())) return;
    env_.rules.remove(std::string(rules[static_cast<std::size_t>(row)].program));
    Changed();
}

void CAppProfilesDlg::CloseMenus() {
    ClosePopup(kProgramMenuSlot);
    ClosePopup(kProfileMenuSlot);
}

void CAppProfilesDlg::ShowInactiveNote() {
    bool any = false;
    for (const AppProfileRule& rule : env_.rules.rules()) any |= !env_.slots.listed[static_cast<std::size_t>(rule.slot)];
    inactiveNote_->SetVisible(any ? TRUE : FALSE);
}

void CAppProfilesDlg::OnRuleBar(LPARAM code, WPARAM part) { list_->OnScrollBar(code, part); }

void CAppProfilesDlg::OnWheel(POINT client, int rows) {
    if (PtInRect(list_->Rect(), client) || PtInRect(ruleBar_->Rect(), client)) list_->ScrollTo(list_->TopRow() + rows);
}

void CAppProfilesDlg::Changed() {
    list_->RulesChanged();
    ShowInactiveNote();
    Invalidate(FALSE);
    if (env_.changed) env_.changed();
}

LRESULT CAppProfilesDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kAddButton:
            if (lParam == ControlNotify::Click) OpenProgramMenu();
            return 0;
        case kRemoveButton:
            if (lParam == ControlNotify::Click) RemoveSelected();
            return 0;
        case kPauseBox:
            if (lParam == ControlNotify::Click) {
                env_.rules.paused = pause_->IsChecked();
                Changed();
            }
            return 0;
        case kRuleList:
            Invalidate(FALSE);
            return 0;
        case kRuleScrollBar:
            OnRuleBar(lParam, wParam);
            return 0;
        case WM_MOUSEWHEEL: {
            // One row a notch, whatever the notch's size, as in the other lists.
            const auto delta = static_cast<std::int16_t>(HIWORD(wParam));
            if (delta != 0)
                OnWheel(ScreenToClient(GetSafeHwnd(), PointFromLParam(lParam)), delta > 0 ? -kWheelRows : kWheelRows);
            return 0;
        }
        case kProgramChosen:
            // The next step opens a dialog or a menu: it runs once this menu is gone.
            CloseMenus();
            if (lParam != 0)
                PostMessage(kNextStep, reinterpret_cast<const ButtonChoice*>(lParam)->action.type, 0);
            return 0;
        case kNextStep:
            OnProgramChosen(static_cast<int>(wParam));
            return 0;
        case kProfileChosen:
            if (lParam != 0) AddRule(reinterpret_cast<const ButtonChoice*>(lParam)->action.type);
            return 0;
        case PopupMessage::ProfileRKeyDeactivated:
            // A menu left without a choice: wParam tells which.
            ClosePopup(static_cast<int>(wParam));
            return 0;
        default:
            return CSmallDlg::WindowProc(message, wParam, lParam);
    }
}

}  // namespace zavrin
