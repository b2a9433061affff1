#pragma once

#include <memory>
#include <vector>

#include "pages/SectionColumn.h"
#include "platform/Window.h"

namespace zavrin {

class PageHost;

// One part of the main window: it owns its controls (built into the window's
// lists), their ids and handlers, and its share of the two data-binding steps.
// The main window routes every application message to its pages in turn until
// one handles it. A page reaches the window only through its PageHost. UI
// thread only.
class MainPage {
public:
    virtual ~MainPage() = default;

    // Creates the page's controls; called once from the window's build step,
    // in the order the pages were added (which is the controls' z-order).
    virtual void Build(PageHost& window) = 0;
    // Profile record to controls.
    virtual void RefreshFromProfile() {}
    // Controls to profile record; never touches the device.
    virtual void CollectToProfile() {}
    // Puts the page's controls of an open section in place; `content` is the
    // section's content rectangle in design units. Called whenever the column
    // is laid out (once built, and after the open sections changed), once per
    // open section.
    virtual void LayOut(Section section, const RECT& content) {
        (void)section;
        (void)content;
    }
    // A control notification or pop-up message: true (with `result`) when the
    // page handled it.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)result;
        return false;
    }
};

// The pages of the main window in build, refresh and routing order.
using PageList = std::vector<std::unique_ptr<MainPage>>;

}  // namespace zavrin
