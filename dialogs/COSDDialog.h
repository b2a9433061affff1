#pragma once

#include <string>

#include "platform/Dialog.h"

namespace zavrin {

// The on-screen display: a small half-transparent window in the bottom-right
// corner of the work area, above every other window, that never takes the
// focus. It shows the DPI level, its value and the polling rate; the main
// window updates and ends it.
class COSDDialog : public CDialog {
public:
    static constexpr int kDesignWidth = 180;
    static constexpr int kDesignHeight = 140;
    static constexpr std::uint8_t kOpacity = 128;
    static constexpr COLORREF kBackground = 0xA449A4;  // RGB 164, 73, 164

    COSDDialog();

    // Creates and shows the window at the work area's corner.
    bool Open();
    void SetTexts(std::string line1, std::string line2, std::string line3);

    const std::string& line1() const { return line1_; }
    const std::string& line2() const { return line2_; }
    const std::string& line3() const { return line3_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    std::string line1_;
    std::string line2_;
    std::string line3_;
};

}  // namespace zavrin
