#include "pages/PageHost.h"

#include "ui/UiGlobals.h"

namespace zavrin {

int PageHost::Scale(int v) {
    return static_cast<int>(static_cast<float>(v) * uiScale);
}

RECT PageHost::Scaled(int left, int top, int right, int bottom) {
    return RECT{Scale(left), Scale(top), Scale(right), Scale(bottom)};
}

}  // namespace zavrin
