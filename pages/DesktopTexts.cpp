#include "pages/DesktopTexts.h"

#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

const char* English(DesktopTextId id) {
    switch (id) {
        case DesktopTextId::StartWithDesktop:
            return "Start with the desktop";
        case DesktopTextId::BatteryLowTitle:
            return "Zavrin ZR2: battery low";
        case DesktopTextId::BatteryLow:
            return "The mouse's battery is at %d%%. Connect the cable to charge it.";
        case DesktopTextId::BatteryCritical:
            return "The mouse's battery is almost empty (%d%%). Charge it now to keep using the "
                   "mouse.";
    }
    return "";
}

}  // namespace

std::string DesktopText(DesktopTextId id) {
    const std::string& text = languageText(static_cast<int>(id));
    return text.empty() ? std::string(English(id)) : text;
}

std::string DesktopText(DesktopTextId id, int value) {
    // Only "%d" and "%%" are known; the texts come from an editable file, so
    // nothing else is treated as a format.
    const std::string format = DesktopText(id);
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 'd') {
                out += std::to_string(value);
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

}  // namespace zavrin
