#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceSync.h"
#include "model/ProfileRecord.h"
#include "pages/MainPage.h"
#include "pages/MainWindowIds.h"
#include "pages/PageHost.h"
#include "ui/CDlgBase.h"

namespace zavrin {

class CStaticText;
class CCheckButton;
class CRadioButton;
class CSliderControl;

// Pop-up slots of the main window (CDlgBase::SetPopup), one per kind of menu
// the pages open, so that each can be closed on its own.
namespace MainPopupSlot {
inline constexpr int FunctionMenu = 0;
inline constexpr int Submenu = 1;
inline constexpr int EffectMenu = 2;
inline constexpr int ProfileMenu = 3;
inline constexpr int SlotMenu = 4;
}  // namespace MainPopupSlot

// The shared part of the settings pages: access to the window's host, the current
// profile and the apply pass, and the placing of section controls relative to
// their section. UI thread only.
class SettingsPage : public MainPage {
public:
    explicit SettingsPage(PageHost& window) : window_(window) {}

    void LayOut(Section section, const RECT& content) override;

protected:
    ProfileRecord& profile();
    // The page changed a field of the current profile: DeviceSync marks what
    // to send and arms the 20 ms apply pass (`edited`), or only marks (`editing`).
    void edited(ProfileField field);
    void editing(ProfileField field);

    // Adds a control to a section's list and remembers where it sits inside the
    // section (design units from the content's top-left corner).
    template <class Control>
    Control* AddToSection(Section section, const RECT& place, std::unique_ptr<Control> control) {
        Control* raw = control.get();
        window_.AddControl(SectionList(section), std::move(control));
        places_.push_back(Placement{section, raw, place});
        return raw;
    }
    // A text of the section drawn as it was made (labels and captions).
    CStaticText* AddSectionText(Section section, std::uint32_t id, const RECT& place,
                                const std::string& text, std::uint32_t format);

    template <class Control>
    Control* find(std::uint32_t id) const {
        return dynamic_cast<Control*>(window_.FindControl(id));
    }
    // Controls of the sections' usual kinds, images loaded.
    CCheckButton* AddCheckBox(Section section, std::uint32_t id, const RECT& place, BOOL visible);
    CRadioButton* AddRadio(Section section, std::uint32_t id, const RECT& place,
                           const std::string& picture, BOOL visible);
    // A slider of `stops` stops on its track picture.
    CSliderControl* AddSlider(Section section, std::uint32_t id, std::uint32_t trackId,
                              const RECT& place, int stops, const std::string& track, BOOL visible);

    // A slider drag marks its field changing; the apply pass is armed once the
    // button is up again, wherever it was released. Call first in HandleMessage.
    void NoteDrag(ProfileField field);
    void WatchDragEnd(UINT message, WPARAM wParam);

    // Shows or hides one control and repaints where it is.
    void setVisible(CControlBase* control, bool visible);
    void repaint(const CControlBase* control);
    HWND hwnd() const;

    PageHost& window_;

private:
    struct Placement {
        Section section;
        CControlBase* control;
        RECT place;
    };
    std::vector<Placement> places_;
    std::optional<ProfileField> dragField_;
};

// Text of a static text control: what it shows.
void SetShownText(CStaticText* text, const std::string& value);

}  // namespace zavrin
