#include "pages/BatteryAlerts.h"

namespace zavrin {

void BatteryAlerts::update(int percent, ChargeState state) {
    const bool onBattery = state == ChargeState::OnBattery;
    const bool charged = onBattery ? percent > kLowPercent + kUnseenChargeMargin : percent > kLowPercent;
    if (charged) {
        armed_ = Armed::Low;
        return;
    }
    if (!onBattery) return;
    if (armed_ == Armed::Low && percent <= kLowPercent) {
        // A mouse first seen nearly empty gets the stronger warning, once.
        const bool critical = percent <= kCriticalPercent;
        notify(critical ? DesktopTextId::BatteryCritical : DesktopTextId::BatteryLow, percent);
        armed_ = critical ? Armed::None : Armed::Critical;
    } else if (armed_ == Armed::Critical && percent <= kCriticalPercent) {
        notify(DesktopTextId::BatteryCritical, percent);
        armed_ = Armed::None;
    }
}

void BatteryAlerts::notify(DesktopTextId body, int percent) {
    // Without a notification service the warning is simply not shown; the
    // state moves on all the same, so nothing is tried again every second.
    services_.ShowNotification(DesktopText(DesktopTextId::BatteryLowTitle), DesktopText(body, percent));
}

}  // namespace zavrin
