#pragma once

#include <optional>

#include "device/ConnectionKind.h"
#include "device/Reports.h"
#include "pages/MainPage.h"

namespace zavrin {

// The lower left of the main window and its foot: the connection icons and
// the "not linked" text, the battery gauge with its legend, the power-saving
// dial, the profile selector, the version text, the reset and apply buttons
// and the maker's link. It shows what the device link reports; clicks on its
// buttons are handled by the pages and the window they belong to. UI thread
// only.
class StatusAreaPage final : public MainPage {
public:
    explicit StatusAreaPage(PageHost& window) : window_(window) {}

    void Build(PageHost& window) override;

    // The icon of the connection in use; none when nothing is connected.
    void ShowConnection(std::optional<ConnectionKind> kind);
    void ShowNotLinkedText(bool shown);
    void ShowBattery(int percent, ChargeState state, int animationStep);

private:
    void BuildConnection();
    void BuildBattery();
    void BuildPower();
    void BuildFoot();

    PageHost& window_;
};

}  // namespace zavrin
