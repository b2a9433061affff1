#include "macros/CMacroManagerDlg.h"

#include <algorithm>
#include <utility>

#include "device/MacroTransfer.h"
#include "dialogs/CActionKeyModifyDlg.h"
#include "dialogs/CActionNumberDlgs.h"
#include "dialogs/CAttentionDlg.h"
#include "dialogs/CNameDialogs.h"
#include "dialogs/CSmallDlg.h"
#include "macros/MacroImport.h"
#include "model/DataPaths.h"
#include "model/MacroEditor.h"
#include "ui/CComboButton.h"
#include "ui/CRadioButton.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

// Language texts.
constexpr int kActionListCaption = 192;
constexpr int kRecordDelaysText = 193;
constexpr int kWhileHeldText = 194;
constexpr int kToggleText = 195;
constexpr int kCountText = 196;
constexpr int kInsertCaption = 197;
constexpr int kRecordText = 198;
constexpr int kStopText = 199;
constexpr int kNewText = 200;
constexpr int kEditText = 201;
constexpr int kDeleteText = 202;
constexpr int kApplyText = 203;
constexpr int kCloseText = 204;
constexpr int kWarningTitle = 150;
constexpr int kDigitsOnlyText = 175;
constexpr int kConfirmDeleteText = 232;
constexpr int kNothingToDeleteText = 233;
constexpr int kNoMacroText = 234;
constexpr int kRecordingFullText = 235;
constexpr int kNoMacroToInsertText = 236;
constexpr int kMacroFullText = 237;
constexpr int kNameUsedText = 241;
constexpr int kEmptyNameText = 242;
constexpr int kExportMacroTitle = 253;
constexpr int kImportMacroTitle = 254;
constexpr int kExportLibraryTitle = 255;
constexpr int kImportLibraryTitle = 256;
constexpr int kUsedByProfileText = 257;
constexpr int kTooLongForMouseText = 320;
constexpr int kNothingToImportText = 321;
constexpr int kUnreadableImportText = 322;
constexpr int kExportFailedText = 323;

// Private messages: the two menus' reports, and the chosen command carried out
// once the menu has gone (wParam: which menu, lParam: its choice).
constexpr UINT kInsertMenuReport = WM_USER + 0xA0;
constexpr UINT kTreeMenuReport = WM_USER + 0xA1;
constexpr UINT kRunMenuChoice = WM_USER + 0xA2;
constexpr WPARAM kFromInsertMenu = 0;
constexpr WPARAM kFromTreeMenu = 1;
constexpr int kInsertMenuSlot = 0;
constexpr int kTreeMenuSlot = 1;

// Tree menu modes: on empty space, on a folder, on a macro.
constexpr int kMenuOnNothing = 0;
constexpr int kMenuOnFolder = 2;
constexpr int kMenuOnMacro = 1;

constexpr std::uint8_t kLoopWhileHeldType = 1;
constexpr std::uint8_t kLoopToggleType = 4;
constexpr std::uint8_t kLoopCountType = 2;
constexpr int kMaxLoopCount = 255;
constexpr int kCountFieldAway = 1000;

int LeadingNumber(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (value <= kMaxLoopCount) value = value * 10 + (c - '0');
    }
    return value;
}

std::uint32_t LoopRadioOf(std::uint8_t loopType) {
    if (loopType == kLoopWhileHeldType) return CMacroManagerDlg::kLoopWhileHeld;
    if (loopType == kLoopToggleType) return CMacroManagerDlg::kLoopToggle;
    return CMacroManagerDlg::kLoopCount;
}

}  // namespace

CMacroManagerDlg::CMacroManagerDlg(Environment env, HWND owner)
    : CMacroTreeDlg(env.library, owner, RECT{25, 54, 168, 323}, RECT{169, 53, 187, 324}),
      env_(std::move(env)),
      hook_(env_.services) {}

CMacroManagerDlg::~CMacroManagerDlg() {
    hook_.StopHook();
}

// ---- Building -------------------------------------------------------------------

void CMacroManagerDlg::BuildExtras() {
    AddCaption(kActionListTitle, RECT{189, 35, 289, 52}, languageText(kActionListCaption));
    actions_ = AddControl(kCommonList, std::make_unique<CImageShowList>(GetSafeHwnd(), kActionList,
                                                                        Scaled(190, 54, 333, 323),
                                                                        "", TRUE, TRUE, FALSE));
    actions_->LoadDelayIcon(SkinPath("skins\\macro_time.png"));
    actions_->LoadReleaseIcon(SkinPath("skins\\macro_up.png"));
    actions_->LoadPressIcon(SkinPath("skins\\macro_down.png"));
    auto* bar = AddControl(kCommonList, std::make_unique<CVScrollBar>(
                                            GetSafeHwnd(), kActionScrollBar,
                                            Scaled(334, 53, 352, 324), "", TRUE, TRUE, FALSE));
    bar->LoadArrows();
    actionScroll_ = ListScroll(bar, actions_, actions_->RowsVisible());

    recordButton_ = AddControl(
        kCommonList,
        std::make_unique<CCheckButton>(GetSafeHwnd(), kRecordButton, Scaled(370, 53, 460, 71), "",
                                       DT_CENTER | DT_VCENTER | DT_SINGLELINE, TRUE, TRUE, FALSE));
    recordButton_->LoadLooks("skins\\macro_record");
    recordButton_->SetStateTexts(languageText(kRecordText), languageText(kStopText));
    delaysBox_ =
        AddControl(kCommonList, std::make_unique<CCheckButton>(GetSafeHwnd(), kRecordDelaysBox,
                                                               Scaled(370, 86, 381, 97), "",
                                                               DT_LEFT, TRUE, TRUE, FALSE));
    delaysBox_->LoadLooks("skins\\check");
    delaysBox_->SetChecked(true);
    AddCaption(kRecordDelaysLabel, RECT{390, 84, 590, 102}, languageText(kRecordDelaysText));
    BuildLoopControls();
    BuildButtons();
}

void CMacroManagerDlg::BuildLoopControls() {
    const std::uint32_t radios[] = {kLoopWhileHeld, kLoopToggle, kLoopCount};
    const int texts[] = {kWhileHeldText, kToggleText, kCountText};
    const int tops[] = {113, 141, 169};
    for (int i = 0; i < 3; ++i) {
        auto* radio = AddControl(
            kCommonList, std::make_unique<CRadioButton>(GetSafeHwnd(), radios[i],
                                                        Scaled(368, tops[i], 383, tops[i] + 15), "",
                                                        TRUE, TRUE, FALSE, radios_));
        radio->LoadLooks("skins\\radio");
        AddCaption(kFirstLoopLabel + static_cast<std::uint32_t>(i), RECT{390, tops[i], 590, tops[i] + 17},
                   languageText(texts[i]));
    }
    countFieldRect_ = Scaled(392, 190, 470, 210);
    countField_ = AddControl(
        kCommonList, std::make_unique<CEditBox>(GetSafeHwnd(), kCountField, countFieldRect_, ""));
    countField_->SetFont(CSmallDlg::TahomaHeight(), "Tahoma");
    countField_->SetOnChange([this] { OnCountChanged(); });
    PlaceCountField(false);

    AddCaption(kInsertLabel, RECT{370, 230, 470, 247}, languageText(kInsertCaption));
    auto* combo = AddControl(
        kCommonList, std::make_unique<CComboButton>(GetSafeHwnd(), ComboNotify::MacroManager,
                                                    kInsertCombo, Scaled(370, 250, 487, 264), "",
                                                    DT_LEFT | DT_VCENTER | DT_SINGLELINE, TRUE,
                                                    TRUE, FALSE, "Disable"));
    combo->LoadLooks("skins\\combo3");
}

void CMacroManagerDlg::BuildButtons() {
    AddImageButton(kNewMacroButton, RECT{24, 333, 89, 356}, languageText(kNewText));
    AddImageButton(kDeleteItemButton, RECT{104, 333, 169, 356}, languageText(kDeleteText));
    AddImageButton(kEditActionButton, RECT{189, 333, 254, 356}, languageText(kEditText));
    AddImageButton(kDeleteActionButton, RECT{269, 333, 334, 356}, languageText(kDeleteText));
    // Two buttons of the layout that have no task: kept, never shown.
    AddImageButton(ControlId::DialogOk, RECT{367, 333, 432, 356}, languageText(kApplyText))
        ->SetShown(FALSE);
    AddImageButton(ControlId::DialogCancel, RECT{444, 333, 509, 356}, languageText(kCloseText))
        ->SetShown(FALSE);
    ShowCurrentMacro();
}

// ---- Showing the current macro ----------------------------------------------------

MacroRecord* CMacroManagerDlg::currentMacro() {
    MacroLibraryItem* item = library().itemAt(selection());
    return item != nullptr && item->macro ? &*item->macro : nullptr;
}

bool CMacroManagerDlg::recordDelays() const {
    return delaysBox_ != nullptr && delaysBox_->IsChecked();
}

void CMacroManagerDlg::ShowCurrentMacro() {
    shownLocation_ = selection();
    selectedAction_ = -1;
    if (actions_ != nullptr) actions_->SetTopRow(0);
    RefreshActions(true);
    const MacroRecord* macro = currentMacro();
    ShowLoopType(macro != nullptr ? macro->loopType : 0);
}

void CMacroManagerDlg::RefreshActions(bool toTop) {
    if (actions_ == nullptr) return;
    // The library's storage moves when items come and go: point the list at
    // the macro afresh every time.
    const MacroRecord* macro = currentMacro();
    actions_->SetMacro(macro);
    actions_->SelectRow(selectedAction_);
    const int count = macro != nullptr ? static_cast<int>(macro->actionNum) : 0;
    if (toTop) {
        actionScroll_.sync(count);
    } else {
        actionScroll_.reveal(selectedAction_ >= 0 ? selectedAction_ : count - 1, count);
    }
}

void CMacroManagerDlg::ShowLoopType(std::uint8_t loopType) {
    radios_.ClearGroupOf(kLoopCount);
    const MacroRecord* macro = currentMacro();
    if (macro != nullptr) radios_.Select(LoopRadioOf(loopType));
    const bool counted = macro != nullptr && loopType == kLoopCountType;
    if (counted) countField_->SetText(std::to_string(macro->loopNum));
    PlaceCountField(counted);
    Invalidate(FALSE);
}

void CMacroManagerDlg::PlaceCountField(bool inView) {
    if (countField_ == nullptr) return;
    // The field never hides: out of use it waits beyond the window's right edge.
    const int away = inView ? 0 : static_cast<int>(kCountFieldAway * uiScale);
    const RECT& r = countFieldRect_;
    countField_->SetRect(r.left + away, r.top, r.right + away, r.bottom);
    if (!inView && GetKeyboardFocus() == countField_) SetKeyboardFocus(nullptr);
}

void CMacroManagerDlg::OnCountChanged() {
    MacroRecord* macro = currentMacro();
    if (macro == nullptr || macro->loopType != kLoopCountType) return;
    const std::string text = countField_->GetText();
    // An empty field is a count being typed; the stored count waits for a digit.
    if (text.empty()) return;
    int count = LeadingNumber(text);
    if (count < 1) {
        count = 1;
        countField_->SetText("1");
    } else if (count > kMaxLoopCount) {
        count = kMaxLoopCount;
        countField_->SetText("255");
    }
    macro->loopNum = static_cast<std::uint8_t>(count);
}

void CMacroManagerDlg::OnTreeSelection() {
    // Opening or closing a folder, or a click on the shown item, keeps the view.
    if (selection() == shownLocation_) return;
    // A recording belongs to the macro it started on.
    if (recording_) StopRecording();
    ShowCurrentMacro();
    if (const MacroRecord* macro = currentMacro(); macro != nullptr && !macroFitsDevice(*macro)) {
        Warn(kTooLongForMouseText);
    }
}

bool CMacroManagerDlg::OnWheel(POINT client, int rows) {
    if (CMacroTreeDlg::OnWheel(client, rows)) return true;
    if (actions_ == nullptr || !PtInRect(actions_->Rect(), client)) return false;
    const MacroRecord* macro = currentMacro();
    actionScroll_.scrollBy(rows, macro != nullptr ? static_cast<int>(macro->actionNum) : 0);
    return true;
}

// ---- Recording --------------------------------------------------------------------

void CMacroManagerDlg::OnRecordButton() {
    if (!recordButton_->IsChecked()) {
        StopRecording();
        return;
    }
    if (currentMacro() == nullptr) {
        recordButton_->SetChecked(false);
        Warn(kNoMacroText);
        return;
    }
    StartRecording();
}

void CMacroManagerDlg::StartRecording() {
    hook_.StartHook(GetSafeHwnd());
    recording_ = true;
    recorder_.start(*currentMacro());
    selectedAction_ = -1;
    actions_->SetTopRow(0);
    for (std::uint32_t id : {kTreeScrollBar, kActionScrollBar}) FindControl(id)->SetDisabled(true);
    if (GetKeyboardFocus() == countField_) SetKeyboardFocus(nullptr);
    RefreshActions(true);
    Invalidate(FALSE);
}

void CMacroManagerDlg::StopRecording() {
    hook_.StopHook();
    recording_ = false;
    recordButton_->SetChecked(false);
    for (std::uint32_t id : {kTreeScrollBar, kActionScrollBar}) FindControl(id)->SetDisabled(false);
    SaveLibrary();
    Invalidate(FALSE);
}

void CMacroManagerDlg::OnHookKey(const CKeyboardHook::Key& key) {
    MacroRecord* macro = currentMacro();
    if (macro == nullptr) return;
    const auto outcome =
        recorder_.onKey(*macro, key.virtualKey, key.release, key.stamp, recordDelays());
    if (outcome == MacroRecorder::Outcome::Full) {
        StopRecording();
        RefreshActions(false);
        Warn(kRecordingFullText);
        return;
    }
    if (outcome == MacroRecorder::Outcome::Recorded) RefreshActions(false);
}

// ---- Editing actions --------------------------------------------------------------

void CMacroManagerDlg::OnLoopRadio(std::uint32_t id) {
    MacroRecord* macro = currentMacro();
    if (macro == nullptr) {
        ShowLoopType(0);
        return;
    }
    macro->loopType = id == kLoopWhileHeld ? kLoopWhileHeldType
                      : id == kLoopToggle  ? kLoopToggleType
                                           : kLoopCountType;
    ShowLoopType(macro->loopType);
    if (macro->loopType == kLoopCountType) SetKeyboardFocus(countField_);
}

void CMacroManagerDlg::OpenInsertMenu() {
    auto* combo = dynamic_cast<CComboButton*>(FindControl(kInsertCombo));
    const POINT at = ClientToScreen(GetSafeHwnd(), POINT{combo->Rect().left, combo->Rect().bottom});
    if (OpenPopup(kInsertMenuSlot, std::make_unique<CComboActionInsertPopup>(LoadStandardPopupPictures()), at,
                  kInsertMenuReport, 0) == nullptr)
        return;
    combo->SetPopupOpen(true);
}

void CMacroManagerDlg::InsertAction(InsertChoice choice) {
    // The edit dialogs may capture keys themselves; a recording resumes after.
    const bool resume = recording_;
    hook_.StopHook();
    MacroRecord* macro = currentMacro();
    if (macro == nullptr) {
        Warn(kNoMacroToInsertText);
    } else {
        const auto pos = MacroEditor(*macro).insertionPoint(selectedAction_);
        switch (choice) {
            case InsertChoice::LeftClick:
                InsertClick(MacroEditor::kLeftButtonCode, pos, false);
                break;
            case InsertChoice::RightClick:
                InsertClick(MacroEditor::kRightButtonCode, pos, false);
                break;
            case InsertChoice::MiddleClick:
                InsertClick(MacroEditor::kMiddleButtonCode, pos, false);
                break;
            case InsertChoice::Key:
                InsertClick(MacroEditor::kDefaultKey, pos, true);
                break;
            case InsertChoice::Delay:
                InsertDelay(pos);
                break;
            default:
                InsertMove(choice, pos);
                break;
        }
    }
    if (resume && recording_) hook_.StartHook(GetSafeHwnd());
    RefreshActions(false);
}

// The new actions stand in the list while the dialogs edit them; a cancelled
// dialog takes them out again.
void CMacroManagerDlg::InsertClick(std::uint8_t code, std::size_t pos, bool askKey) {
    MacroRecord& macro = *currentMacro();
    MacroEditor editor(macro);
    if (!editor.clickFits()) {
        Warn(kMacroFullText);
        return;
    }
    const MacroEditor::Insertion click = editor.placeClick(pos, code);
    if (askKey) {
        MacroAction press = macro.actions[click.at];
        CActionKeyModifyDlg dialog(&press, env_.services, GetSafeHwnd());
        if (dialog.DoModal() != IDOK) {
            editor.withdraw(click);
            return;
        }
        editor.setClickKey(click, press.b0);
    }
    editor.commit(click);
    selectedAction_ = click.last();
}

void CMacroManagerDlg::InsertDelay(std::size_t pos) {
    MacroRecord& macro = *currentMacro();
    MacroEditor editor(macro);
    if (editor.delayBefore(pos)) {
        // A delay right before the insertion point grows or shrinks instead.
        MacroAction delay = macro.actions[pos - 1];
        CActionTimeModifyDlg dialog(&delay, GetSafeHwnd());
        if (dialog.DoModal() == IDOK) macro.set(pos - 1, delay);
        selectedAction_ = static_cast<int>(pos) - 1;
        return;
    }
    if (!editor.delayFits()) {
        Warn(kMacroFullText);
        return;
    }
    const MacroEditor::Insertion placed = editor.placeDelay(pos);
    MacroAction delay = macro.actions[placed.at];
    CActionTimeModifyDlg dialog(&delay, GetSafeHwnd());
    if (dialog.DoModal() != IDOK) {
        editor.withdraw(placed);
        return;
    }
    macro.set(placed.at, delay);
    editor.commit(placed);
    selectedAction_ = placed.last();
}

void CMacroManagerDlg::InsertMove(InsertChoice choice, std::size_t pos) {
    MacroRecord& macro = *currentMacro();
    MacroEditor editor(macro);
    if (!editor.moveFits()) {
        Warn(kMacroFullText);
        return;
    }
    // The menu's four moves come in the order of MacroEditor::Move and of the dialog's directions.
    const int offset = static_cast<int>(choice) - static_cast<int>(InsertChoice::MoveLeft);
    const MacroEditor::Insertion placed = editor.placeMove(pos, static_cast<MacroEditor::Move>(offset));
    MacroAction move = macro.actions[placed.at];
    CActionXYModifyDlg dialog(&move, CActionXYModifyDlg::kLeft + offset, GetSafeHwnd());
    if (dialog.DoModal() != IDOK) {
        editor.withdraw(placed);
        return;
    }
    macro.set(placed.at, move);
    editor.commit(placed);
    selectedAction_ = placed.last();
}

void CMacroManagerDlg::EditAction() {
    MacroRecord* macro = currentMacro();
    if (macro == nullptr || !MacroEditor(*macro).editable(selectedAction_)) return;
    const auto at = static_cast<std::size_t>(selectedAction_);
    MacroAction action = macro->actions[at];
    const bool resume = recording_;
    hook_.StopHook();
    int result = IDCANCEL;
    if (MacroEditor::isDelayCode(action.b0)) {
        CActionTimeModifyDlg dialog(&action, GetSafeHwnd());
        result = dialog.DoModal();
    } else {
        CActionKeyModifyDlg dialog(&action, env_.services, GetSafeHwnd());
        result = dialog.DoModal();
    }
    if (result == IDOK) macro->set(at, action);
    if (resume && recording_) hook_.StartHook(GetSafeHwnd());
    RefreshActions(false);
}

void CMacroManagerDlg::DeleteAction() {
    MacroRecord* macro = currentMacro();
    if (macro == nullptr) return;
    MacroEditor editor(*macro);
    if (!editor.holds(selectedAction_)) return;
    selectedAction_ = editor.remove(selectedAction_);
    RefreshActions(false);
}

// ---- Items ------------------------------------------------------------------------

void CMacroManagerDlg::OnTreeRightClick(POINT client) {
    const MacroLibraryItem* item = library().itemAt(selection());
    auto menu = std::make_unique<CMacroListPopup>(LoadStandardPopupPictures());
    menu->SetMode(item == nullptr ? kMenuOnNothing : item->isFolder ? kMenuOnFolder : kMenuOnMacro);
    OpenPopup(kTreeMenuSlot, std::move(menu), ClientToScreen(GetSafeHwnd(), client), kTreeMenuReport, 0);
}

void CMacroManagerDlg::RunTreeCommand(TreeCommand command) {
    switch (command) {
        case TreeCommand::NewMacro:
            NewItem(false);
            break;
        case TreeCommand::NewFolder:
            NewItem(true);
            break;
        case TreeCommand::ExportMacro:
            ExportItem(false);
            break;
        case TreeCommand::ImportMacro:
            ImportFile(false);
            break;
        case TreeCommand::Rename:
            RenameItem();
            break;
        case TreeCommand::Delete:
            DeleteItem();
            break;
        case TreeCommand::ImportLibrary:
            ImportFile(true);
            break;
        case TreeCommand::ExportLibrary:
            ExportItem(true);
            break;
    }
}

void CMacroManagerDlg::NewItem(bool folder) {
    CMacroKeyOrFolderNameDlg prompt(folder ? 1 : 0, GetSafeHwnd());
    const std::optional<std::string> name = prompt.Ask();
    if (!name) return;
    if (name->empty()) {
        Warn(kEmptyNameText);
        return;
    }
    if (recording_) StopRecording();
    const MacroLocation parent = selection();
    MacroLocation selection = parent;
    const auto result = folder ? library().newFolderRelativeTo(selection, *name)
                               : library().newMacroRelativeTo(selection, *name);
    if (result == MacroLibrary::AddResult::NameClash) {
        Warn(kNameUsedText);
        return;
    }
    if (result != MacroLibrary::AddResult::Added) return;
    if (selection.stage > parent.stage && parent.stage >= 0)
        library().itemAt(parent)->isFolderOpen = 1;
    SelectInTree(selection);
    ShowCurrentMacro();
}

void CMacroManagerDlg::RenameItem() {
    const MacroLocation location = selection();
    if (library().itemAt(location) == nullptr) return;
    CMacroKeyRenameDlg prompt(library().itemAt(location)->name, GetSafeHwnd());
    const std::optional<std::string> name = prompt.Ask();
    if (!name) return;
    if (name->empty()) {
        Warn(kEmptyNameText);
        return;
    }
    if (library().nameExists(location.stage, location.stage0Index, location.stage1Index, *name)) {
        Warn(kNameUsedText);
        return;
    }
    // The macro keeps its own name: buttons that carry it show what they were given.
    library().itemAt(location)->name = *name;
    RefreshTree();
}

bool CMacroManagerDlg::UsedByCurrentProfile(const MacroLocation& location) const {
    return std::any_of(env_.currentProfile.keys.begin(), env_.currentProfile.keys.end(),
                       [&](const KeyAssignment& key) {
                           return key.action.type == ActionType::Macro &&
                                  env_.library.usesMacroKeyIndex(location, key.macroKeyIndex);
                       });
}

void CMacroManagerDlg::DeleteItem() {
    const MacroLocation location = selection();
    if (library().itemAt(location) == nullptr) {
        Warn(kNothingToDeleteText);
        return;
    }
    if (!Confirm(kConfirmDeleteText)) return;
    if (UsedByCurrentProfile(location)) {
        Warn(kUsedByProfileText);
        return;
    }
    if (recording_) StopRecording();
    library().deleteItem(location);
    SelectInTree(kNoLocation);
    ShowCurrentMacro();
}

void CMacroManagerDlg::ExportItem(bool wholeLibrary) {
    const MacroLocation location = selection();
    const MacroLibraryItem* item = library().itemAt(location);
    if (!wholeLibrary && (item == nullptr || !item->macro)) return;
    const std::string stem = item != nullptr ? item->name : std::string("AllMacroKey");
    const auto path = env_.services.AskForFile(MacroFileRequest(
        FileDialogRequest::Mode::Save, wholeLibrary ? kExportLibraryTitle : kExportMacroTitle,
        wholeLibrary, stem));
    if (!path) return;
    if (!library().writeLibraryFile(*path, location)) Warn(kExportFailedText);
}

FileDialogRequest CMacroManagerDlg::MacroFileRequest(FileDialogRequest::Mode mode, int titleText,
                                                     bool wholeLibrary, std::string stem) const {
    FileDialogRequest request;
    request.mode = mode;
    request.owner = GetSafeHwnd();
    request.title = languageText(titleText);
    const std::string extension = wholeLibrary ? "mbf" : "mkf";
    request.filters = {FileFilter{extension + " file(*." + extension + ")", "*." + extension}};
    request.defaultExtension = extension;
    // An item's name may hold characters that separate folders; the suggested
    // file name must not.
    std::replace(stem.begin(), stem.end(), '/', '_');
    std::replace(stem.begin(), stem.end(), '\\', '_');
    request.initialName = pathFromUtf8(stem + "." + extension);
    return request;
}

void CMacroManagerDlg::ImportFile(bool wholeLibrary) {
    const auto path = env_.services.AskForFile(
        MacroFileRequest(FileDialogRequest::Mode::Open,
                         wholeLibrary ? kImportLibraryTitle : kImportMacroTitle, wholeLibrary, ""));
    if (!path) return;
    if (recording_) StopRecording();
    MacroLocation imported = selection();
    const ImportOutcome outcome = wholeLibrary
                                      ? importLibraryFile(library(), scratch_, *path, imported)
                                      : importMacroFile(library(), scratch_, *path, imported);
    switch (outcome) {
        case ImportOutcome::Imported:
            SelectInTree(imported);
            ShowCurrentMacro();
            break;
        case ImportOutcome::NameClash:
            Warn(kNameUsedText);
            break;
        case ImportOutcome::Unreadable:
            Warn(kUnreadableImportText);
            break;
        case ImportOutcome::NothingToImport:
            Warn(kNothingToImportText);
            break;
        case ImportOutcome::Full:
            break;
    }
    RefreshTree();
}

// ---- Closing, messages --------------------------------------------------------------

void CMacroManagerDlg::SaveLibrary() {
    saved_ = env_.library.writeLibraryFile(env_.libraryFile, kNoLocation);
}

void CMacroManagerDlg::Warn(int textId) {
    CAttentionDlg warning(languageText(kWarningTitle), languageText(textId), GetSafeHwnd());
    warning.DoModal();
}

bool CMacroManagerDlg::Confirm(int textId) {
    CAttentionDlg question(languageText(kWarningTitle), languageText(textId), GetSafeHwnd());
    return question.DoModal() == IDOK;
}

void CMacroManagerDlg::OnCloseButton() {
    hook_.StopHook();
    recording_ = false;
    ClosePopup(kInsertMenuSlot);
    ClosePopup(kTreeMenuSlot);
    SaveLibrary();
    ReleaseControlImages();
    EndDialog(IDOK);
}

BOOL CMacroManagerDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_CHAR && msg.hwnd == GetSafeHwnd() && GetKeyboardFocus() == countField_) {
        const auto c = static_cast<std::uint32_t>(msg.wParam);
        const MacroRecord* macro = currentMacro();
        // Said, then passed on all the same: the field still gets the character.
        if (macro != nullptr && macro->loopType == kLoopCountType && (c < '0' || c > '9') &&
            c != VK_BACK)
            Warn(kDigitsOnlyText);
    }
    return CMacroTreeDlg::PreTranslateMessage(msg);
}

LRESULT CMacroManagerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<CKeyboardHook::Key> key = hook_.KeyFrom(message, wParam, lParam)) {
        if (recording_) OnHookKey(*key);
        return 0;
    }
    if (OnControlMessage(message, wParam, lParam) || OnMenuMessage(message, wParam, lParam)) return 0;
    return CMacroTreeDlg::WindowProc(message, wParam, lParam);
}

bool CMacroManagerDlg::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool click = lParam == ControlNotify::Click;
    switch (message) {
        case kActionList:
            if (click) selectedAction_ = actions_->SelectedRow();
            if (lParam == ControlNotify::DoubleClick) EditAction();
            return true;
        case kActionScrollBar: {
            const MacroRecord* macro = currentMacro();
            actionScroll_.onBar(lParam, wParam, macro != nullptr ? static_cast<int>(macro->actionNum) : 0);
            return true;
        }
        case kLoopWhileHeld:
        case kLoopToggle:
        case kLoopCount:
            if (click) OnLoopRadio(message);
            return true;
        default:
            break;
    }
    // The buttons act on a click and nothing else.
    static constexpr std::pair<UINT, void (CMacroManagerDlg::*)()> kButtons[] = {
        {kRecordButton, &CMacroManagerDlg::OnRecordButton},
        {kNewMacroButton, &CMacroManagerDlg::NewMacro},
        {kDeleteItemButton, &CMacroManagerDlg::DeleteItem},
        {kEditActionButton, &CMacroManagerDlg::EditAction},
        {kDeleteActionButton, &CMacroManagerDlg::DeleteAction},
        {ComboNotify::MacroManager, &CMacroManagerDlg::OpenInsertMenu},
    };
    for (const auto& [id, run] : kButtons) {
        if (message != id) continue;
        if (click) (this->*run)();
        return true;
    }
    return false;
}

bool CMacroManagerDlg::OnMenuMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case PopupMessage::Closed:
            return true;
        case kInsertMenuReport:
        case kTreeMenuReport: {
            const bool insert = message == kInsertMenuReport;
            const auto* choice = reinterpret_cast<const ButtonChoice*>(lParam);
            PostMessage(kRunMenuChoice, insert ? kFromInsertMenu : kFromTreeMenu, choice->action.type);
            CloseMenu(insert ? kInsertMenuSlot : kTreeMenuSlot);
            return true;
        }
        case PopupMessage::ComboActionInsertDeactivated:
        case PopupMessage::MacroListDeactivated:
            CloseMenu(message == PopupMessage::MacroListDeactivated ? kTreeMenuSlot : kInsertMenuSlot);
            Invalidate(FALSE);
            return true;
        case kRunMenuChoice:
            if (wParam == kFromInsertMenu) {
                // The insert menu reports its row ids less one.
                InsertAction(static_cast<InsertChoice>(lParam + 1));
            } else {
                RunTreeCommand(static_cast<TreeCommand>(lParam));
            }
            return true;
        default:
            return false;
    }
}

void CMacroManagerDlg::CloseMenu(int slot) {
    ClosePopup(slot);
    if (auto* combo = dynamic_cast<CComboButton*>(FindControl(kInsertCombo))) combo->SetPopupOpen(false);
}

}  // namespace zavrin
