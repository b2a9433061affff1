#pragma once

#include "pages/MainPage.h"

namespace zavrin {

// The button list of the left column as it is built and shown: its title,
// the numbered markers and the assignment boxes (the first six shown), and
// the macro manager button. The boxes show the names of the current
// profile's functions; what a click on a box opens is ButtonAssignmentPage's.
// UI thread only.
class ButtonListPage final : public MainPage {
public:
    explicit ButtonListPage(PageHost& window) : window_(window) {}

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;

private:
    PageHost& window_;
};

}  // namespace zavrin
