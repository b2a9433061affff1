#include "pages/StandardPages.h"

namespace zavrin {

// FIXME: the button, DPI, polling, lighting and profile pages are not built yet;
// their sections show empty panels.
void AddSettingsPages(CVelmorDlg&) {}

}  // namespace zavrin
