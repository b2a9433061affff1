#pragma once

#include <cstdint>

#include "dialogs/CSmallDlg.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// One colour for a lighting colour slot or a DPI level, picked from the
// pixels of the palette picture: its spectrum or one of its 48 swatches. The
// picture is stretched with nearest-neighbour sampling, so a click reads
// exactly the colour painted there at every scale. Nothing reaches the record
// before OK or Enter. UI thread only.
class CColorPaletteDlg : public CSmallDlg {
public:
    enum class Target { LightingSlot = 0, DpiLevel = 1 };

    static constexpr COLORREF kPictureBackground = 0x0F0F0F;
    static constexpr std::uint32_t kRedText = 2011;
    static constexpr std::uint32_t kGreenText = 2012;
    static constexpr std::uint32_t kBlueText = 2013;

    // `group`: the lighting effect (LightingSlot) or the DPI level (DpiLevel,
    // levels 8 and up meaning level 0); `slot`: the colour slot of the effect.
    CColorPaletteDlg(ProfileRecord& record, Target target, int group, int slot, HWND owner);

    BOOL OnInitDialog() override;
    void DrawWindow(Canvas& dc, const RECT& client) override;

    COLORREF chosenColor() const { return chosenColor_; }

protected:
    void BuildExtras() override;
    void OnOkButton() override;
    BOOL PreTranslateMessage(MSG& msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The record's colour this dialog edits; null for a slot outside the tables.
    std::uint32_t* AddressedColor() const;
    void PickAt(POINT p);
    void ShowNumbers();
    void Confirm();

    ProfileRecord& record_;
    Target target_;
    int group_;
    int slot_;
    COLORREF chosenColor_ = 0;
    std::shared_ptr<const Image> picture_;
};

}  // namespace zavrin
