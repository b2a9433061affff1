#include "pages/StandardPages.h"

namespace zavrin {

void AddStandardPages(CVelmorDlg& window) {
    AddSettingsPages(window);
    AddMacroPages(window);
}

}  // namespace zavrin
