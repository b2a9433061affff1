#include "ui/UiGlobals.h"

namespace zavrin {

void resetUiGlobals() {
    currentProfileTab = 0;
    currentSectionTab = 0;
}

}  // namespace zavrin
