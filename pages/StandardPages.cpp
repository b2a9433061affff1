#include "pages/StandardPages.h"

#include "pages/AutoProfilePage.h"
#include "pages/CVelmorDlg.h"

namespace zavrin {

void AddStandardPages(CVelmorDlg& window) {
    AddSettingsPages(window);
    AddMacroPages(window);
    window.AddPage(std::make_unique<AutoProfilePage>(window));
}

}  // namespace zavrin
