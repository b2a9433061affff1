#pragma once

#include "device/Reports.h"
#include "pages/DesktopTexts.h"
#include "platform/PlatformServices.h"

namespace zavrin {

// Warns once with a desktop notification when the mouse runs low on battery,
// and once more when it is nearly empty; then says nothing until the mouse has
// been charged above the low mark again. Fed with each battery reading of a
// mouse that answers (every second); UI thread only.
//
//   reading                                   armed  ->  notification, armed after
//   on battery, <= 15 %, nothing said yet      Low        "low",      Critical (or none at <= 5 %)
//   on battery, <= 5 %, low said               Critical   "critical", none
//   charging or full, above 15 %               any        -,          Low
//   on battery above 25 % (charged unseen)     any        -,          Low
//
// A charge the program did not see (the mouse charged on another computer or
// while unlinked) shows as a reading well above the mark; the 10 points of
// margin keep a reading that wavers around 15 % from warning again and again.
class BatteryAlerts {
public:
    static constexpr int kLowPercent = 15;
    static constexpr int kCriticalPercent = 5;
    static constexpr int kUnseenChargeMargin = 10;

    explicit BatteryAlerts(PlatformServices& services) : services_(services) {}

    void update(int percent, ChargeState state);

private:
    enum class Armed { Low, Critical, None };

    void notify(DesktopTextId body, int percent);

    PlatformServices& services_;
    Armed armed_ = Armed::Low;
};

}  // namespace zavrin
