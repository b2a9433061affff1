#include "pages/ButtonAssignmentPage.h"
#include "pages/DpiPage.h"
#include "pages/LightingPage.h"
#include "pages/PerformancePage.h"
#include "pages/PointerPage.h"
#include "pages/PollingPage.h"
#include "pages/ProfileSlotsPage.h"
#include "pages/StandardPages.h"

namespace zavrin {

// In refresh order: profile names, assignment boxes, DPI, polling, lighting, then the
// lift-off, debounce, pointer and sensor values.
void AddSettingsPages(PageHost& window, PageList& pages) {
    pages.push_back(std::make_unique<ProfileSlotsPage>(window));
    pages.push_back(std::make_unique<ButtonAssignmentPage>(window));
    pages.push_back(std::make_unique<DpiPage>(window));
    pages.push_back(std::make_unique<PollingPage>(window));
    pages.push_back(std::make_unique<LightingPage>(window));
    pages.push_back(std::make_unique<PerformancePage>(window));
    pages.push_back(std::make_unique<PointerPage>(window));
}

}  // namespace zavrin
