#pragma once

#include <filesystem>

#include "dialogs/CKeyboardHook.h"
#include "macros/CMacroTreeDlg.h"
#include "macros/MacroRecorder.h"
#include "model/ProfileRecord.h"
#include "platform/PlatformServices.h"
#include "ui/CCheckButton.h"
#include "ui/CEditBox.h"
#include "ui/CImageShowList.h"
#include "ui/RadioGroups.h"

namespace zavrin {

// The macro manager: the library tree, the action list of the selected macro,
// recording from the keyboard, the insert-action menu, editing and deleting
// actions, the loop settings, new/rename/delete of items, export and import.
// It works on the library in memory and writes the library file when a
// recording stops and when it closes. Modal; UI thread only.
class CMacroManagerDlg : public CMacroTreeDlg {
public:
    // Control ids beside the shared ones.
    static constexpr std::uint32_t kActionList = 2020;
    static constexpr std::uint32_t kActionScrollBar = 2022;
    static constexpr std::uint32_t kRecordButton = 2018;
    static constexpr std::uint32_t kRecordDelaysBox = 2017;
    static constexpr std::uint32_t kLoopWhileHeld = 2031;
    static constexpr std::uint32_t kLoopToggle = 2032;
    static constexpr std::uint32_t kLoopCount = 2033;
    static constexpr std::uint32_t kCountField = 2034;
    static constexpr std::uint32_t kInsertCombo = 2035;
    static constexpr std::uint32_t kNewMacroButton = 2012;
    static constexpr std::uint32_t kDeleteItemButton = 2013;
    static constexpr std::uint32_t kEditActionButton = 2023;
    static constexpr std::uint32_t kDeleteActionButton = 2024;
    // Captions. The insert menu's label is a second control under the action
    // list title's id; 2028..2030 label the three loop choices in order.
    static constexpr std::uint32_t kActionListTitle = 2026;
    static constexpr std::uint32_t kInsertLabel = 2026;
    static constexpr std::uint32_t kRecordDelaysLabel = 2027;
    static constexpr std::uint32_t kFirstLoopLabel = 2028;

    // The tree menu's commands (the menu reports command + 1 as its row id).
    enum class TreeCommand {
        NewMacro = 0,
        NewFolder = 1,
        ExportMacro = 2,
        ImportMacro = 3,
        Rename = 4,
        Delete = 5,
        ImportLibrary = 6,
        ExportLibrary = 7,
    };
    // The insert-action menu's row ids.
    enum class InsertChoice {
        LeftClick = 1,
        RightClick = 2,
        MiddleClick = 3,
        Delay = 4,
        Key = 5,
        MoveLeft = 6,
        MoveRight = 7,
        MoveUp = 8,
        MoveDown = 9,
    };

    struct Environment {
        MacroLibrary& library;
        PlatformServices& services;
        std::filesystem::path libraryFile;
        // The buttons whose macros may not be deleted.
        const ProfileRecord& currentProfile;
    };

    CMacroManagerDlg(Environment env, HWND owner);
    ~CMacroManagerDlg() override;

    BOOL PreTranslateMessage(MSG& msg) override;

    // The macro of the selected item, or null for a folder or no selection.
    MacroRecord* currentMacro();
    bool recording() const { return recording_; }
    int selectedAction() const { return selectedAction_; }
    bool recordDelays() const;
    // Whether the last write of the library file succeeded; after a failed one
    // the library in memory is the only complete copy.
    bool librarySaved() const { return saved_; }

    // The menu commands and insertions, as the menus run them.
    void RunTreeCommand(TreeCommand command);
    void InsertAction(InsertChoice choice);

protected:
    void BuildExtras() override;
    void OnTreeSelection() override;
    void OnTreeRightClick(POINT client) override;
    void OnCloseButton() override;
    void OnOK() override {}
    // The desktop's close request (and the main window's exit) saves like the close button.
    void OnCancel() override { OnCloseButton(); }
    bool OnWheel(POINT client, int rows) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The controls' notifications and the menus' reports; true when handled.
    bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMenuMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Closes the menu in `slot`; the insert box no longer shows a menu open.
    void CloseMenu(int slot);

    void BuildLoopControls();
    void BuildButtons();
    // The action list and loop controls after the current macro changed.
    void ShowCurrentMacro();
    void RefreshActions(bool toTop);
    void ShowLoopType(std::uint8_t loopType);
    void PlaceCountField(bool inView);
    void OnCountChanged();

    void OnRecordButton();
    void StartRecording();
    void StopRecording();
    void OnHookKey(const CKeyboardHook::Key& key);

    void OnLoopRadio(std::uint32_t id);
    void OpenInsertMenu();
    // The insertions at `pos`, each asking the user for its values.
    void InsertClick(std::uint8_t code, std::size_t pos, bool askKey);
    void InsertDelay(std::size_t pos);
    void InsertMove(InsertChoice choice, std::size_t pos);
    void EditAction();
    void DeleteAction();

    void NewItem(bool folder);
    void NewMacro() { NewItem(false); }
    void RenameItem();
    void DeleteItem();
    bool UsedByCurrentProfile(const MacroLocation& location) const;
    void ExportItem(bool wholeLibrary);
    // The save or open dialog of a macro file (.mkf) or a library file (.mbf).
    FileDialogRequest MacroFileRequest(FileDialogRequest::Mode mode, int titleText, bool wholeLibrary,
                                       std::string stem) const;
    void ImportFile(bool wholeLibrary);

    void Warn(int textId);
    bool Confirm(int textId);
    void SaveLibrary();

    Environment env_;
    CKeyboardHook hook_;
    // The loop choice's radio buttons.
    RadioGroups radios_;
    MacroRecorder recorder_;
    MacroLibrary scratch_;
    bool recording_ = false;
    int selectedAction_ = -1;
    // The item whose actions are shown; a click on it again keeps the view.
    MacroLocation shownLocation_;
    bool saved_ = true;
    CImageShowList* actions_ = nullptr;
    ListScroll actionScroll_;
    CCheckButton* recordButton_ = nullptr;
    CCheckButton* delaysBox_ = nullptr;
    CEditBox* countField_ = nullptr;
    RECT countFieldRect_{};
};

}  // namespace zavrin
