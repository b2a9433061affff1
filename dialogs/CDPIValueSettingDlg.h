#pragma once

#include "device/SensorTables.h"
#include "dialogs/CSmallDlg.h"

namespace zavrin {

class CDPIValueShowControl;
class CEditBox;
class CSliderControl;

// The DPI value of one level: a slider with one stop per sensor step, the
// Left and Right keys, or a typed value rounded up to the next step. Works on
// step indexes; the level bar given by the caller holds the result after OK
// and is not touched otherwise. UI thread only.
class CDPIValueSettingDlg : public CSmallDlg {
public:
    static constexpr std::uint32_t kTrack = 2020;
    static constexpr std::uint32_t kSlider = 2021;

    CDPIValueSettingDlg(CDPIValueShowControl& levelBar, int stepCount, SensorTable stepTable,
                        HWND owner);

    BOOL OnInitDialog() override;
    int stepIndex() const { return stepIndex_; }

    // The step a typed text stands for: the first step at or above the number
    // (its leading digits, 0 without any), the last step beyond the range.
    static int StepForText(const std::string& text, const SensorTable& table, int stepCount);

protected:
    void BuildExtras() override;
    void DrawExtras(Canvas& dc) override;
    void OnOkButton() override;
    BOOL PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Shows step i in the value text and the box; moves the slider unless it
    // moved itself.
    void ShowStep(int i, bool moveSlider);
    void ParseTypedValue();
    int ValueOf(int i) const;
    CSliderControl* slider() const;
    CEditBox* edit() const;

    CDPIValueShowControl& levelBar_;
    int stepCount_;
    SensorTable table_;
    int stepIndex_ = 0;
};

}  // namespace zavrin
