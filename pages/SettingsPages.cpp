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
void AddSettingsPages(CVelmorDlg& window) {
    window.AddPage(std::make_unique<ProfileSlotsPage>(window));
    window.AddPage(std::make_unique<ButtonAssignmentPage>(window));
    window.AddPage(std::make_unique<DpiPage>(window));
    window.AddPage(std::make_unique<PollingPage>(window));
    window.AddPage(std::make_unique<LightingPage>(window));
    window.AddPage(std::make_unique<PerformancePage>(window));
    window.AddPage(std::make_unique<PointerPage>(window));
}

}  // namespace zavrin
