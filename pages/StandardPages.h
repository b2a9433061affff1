#pragma once

#include "pages/MainPage.h"

namespace zavrin {

class PageHost;

// The pages of the main window that fill its sections and answer its
// buttons, appended in the order they refresh: the settings pages (buttons,
// DPI, polling and performance, lighting, profiles), the macro pages and the
// automatic profiles. Called once from the window's constructor, after the
// window's own pages of the left column and the column's headers.
void AddStandardPages(PageHost& window, PageList& pages);

// Each group adds its own pages; defined beside the pages themselves.
void AddSettingsPages(PageHost& window, PageList& pages);
void AddMacroPages(PageHost& window, PageList& pages);

}  // namespace zavrin
