#include <algorithm>

#include "macros/CMacroManagerDlg.h"
#include "model/DataPaths.h"
#include "pages/PageHost.h"
#include "pages/StandardPages.h"
#include "ui/ControlIds.h"

namespace zavrin {

namespace {

// The macro manager button of the main window (2062). After the manager
// closes, the library is read back from the file it saved (or, when that save
// failed, kept as it is and the failure shown), the buttons are written again
// when one of them carries a macro (its copy may have changed), and the pages
// show the profile again.
class MacroManagerPage final : public MainPage {
public:
    explicit MacroManagerPage(PageHost& window) : window_(window) {}

    // The macro manager is the largest window the program opens after the
    // main one: memory for its surface is made ready while the program is
    // idle, so that it opens (and every dialog after it, which reuses that
    // memory) without paying for fresh memory.
    void Build(PageHost&) override { ReserveWindowSurface(CMacroTreeDlg::WindowSize()); }

    bool HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message != ControlId::MacroManager || lParam != ControlNotify::Click) return false;
        RunMacroManager();
        result = 0;
        return true;
    }

private:
    void RunMacroManager() {
        PageHost& window = window_;
        AppModel& model = window.model();
        const auto libraryFile = dataPath(window.model().store.dataFolder(), kMacroLibraryFile);
        CMacroManagerDlg manager(
            CMacroManagerDlg::Environment{model.library, window.services(), libraryFile,
                                          model.store.currentProfile()},
            window.GetSafeHwnd());
        manager.DoModal();
        if (manager.librarySaved()) {
            model.library.readLibraryFile(libraryFile);
        } else if (const FileProblem problem = model.saveLibrary();
                   problem && problem.error != FileError::HeldBack) {
            // Reading the old file back would throw the user's edits away:
            // keep them in memory, where the next close or the program's end
            // saves them again. The second try tells why the first failed.
            window.showSaveFailure(problem);
        }
        const auto& keys = model.store.currentProfile().keys;
        const bool carriesMacro = std::any_of(
            keys.begin(), keys.end(),
            [](const KeyAssignment& key) { return key.action.type == ActionType::Macro; });
        if (carriesMacro) {
            window.sync().setMacroLibraryChanged();
            window.sync().editing(ProfileField::KeyAssignments);
            window.sync().ApplyToDevice();
        }
        window.RefreshFromProfile();
    }

    PageHost& window_;
};

}  // namespace

void AddMacroPages(PageHost& window, PageList& pages) {
    pages.push_back(std::make_unique<MacroManagerPage>(window));
}

}  // namespace zavrin
