#include "pages/StandardPages.h"

#include "pages/AutoProfilePage.h"
#include "pages/PageHost.h"

namespace zavrin {

void AddStandardPages(PageHost& window, PageList& pages) {
    AddSettingsPages(window, pages);
    AddMacroPages(window, pages);
    pages.push_back(std::make_unique<AutoProfilePage>(window));
}

}  // namespace zavrin
