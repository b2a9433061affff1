#pragma once

namespace zavrin {

class CVelmorDlg;

// The pages of the main window, added in the order they refresh: the
// settings pages (buttons, DPI, polling and performance, lighting, profiles)
// and the macro pages. Called once from the window's constructor.
void AddStandardPages(CVelmorDlg& window);

// Each group adds its own pages; defined beside the pages themselves.
void AddSettingsPages(CVelmorDlg& window);
void AddMacroPages(CVelmorDlg& window);

}  // namespace zavrin
