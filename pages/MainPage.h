#pragma once

#include "platform/Window.h"

namespace zavrin {

class CVelmorDlg;

// One part of the main window: it owns its controls (built into the window's
// lists), their ids and handlers, and its share of the two data-binding steps.
// The main window routes every application message to its pages in turn until
// one handles it. UI thread only.
class MainPage {
public:
    virtual ~MainPage() = default;

    // Creates the page's controls; called once from the window's build step.
    virtual void Build(CVelmorDlg& window) = 0;
    // Profile record to controls.
    virtual void RefreshFromProfile() {}
    // Controls to profile record; never touches the device.
    virtual void CollectToProfile() {}
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

}  // namespace zavrin
