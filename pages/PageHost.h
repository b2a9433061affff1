#pragma once

#include <cstdint>
#include <memory>

#include "device/DeviceSync.h"
#include "model/AppModel.h"
#include "pages/SectionColumn.h"
#include "platform/PlatformServices.h"
#include "ui/CControlBase.h"
#include "ui/RadioGroups.h"

namespace zavrin {

class CWndPopup;

// What a page of the main window may ask of the window: its controls by id,
// the model and the device link's sync, the pop-up slots, timers and messages,
// the column's layout, the two data-binding steps, the notices and the tray
// menu's entries. A
// page holds this and nothing wider, so that it cannot reach the window's
// frame, tray icon or other pages. The names are the window's own (CWnd and
// CDlgBase), so a page reads as it would against the window. UI thread only.
class PageHost {
public:
    virtual ~PageHost() = default;

    // A design-unit length or rectangle at the UI scale.
    static int Scale(int v);
    static RECT Scaled(int left, int top, int right, int bottom);

    // ---- The window and its controls ----
    virtual HWND GetSafeHwnd() const = 0;
    // Appends a control to one of the window's lists (kCommonList, or a
    // section's SectionList); the window owns it from then on.
    template <class Control>
    Control* AddControl(int list, std::unique_ptr<Control> control) {
        Control* raw = control.get();
        AddOwnedControl(list, std::move(control));
        return raw;
    }
    virtual CControlBase* FindControl(std::uint32_t id) const = 0;
    virtual void InvalidateRect(const RECT* rect, BOOL erase) = 0;
    virtual void Invalidate(BOOL erase) = 0;

    // ---- Messages and timers of the window ----
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual std::uintptr_t SetTimer(std::uintptr_t id, std::uint32_t elapseMs) = 0;
    virtual bool KillTimer(std::uintptr_t id) = 0;

    // ---- Pop-up slots (as CDlgBase's) ----
    virtual CWndPopup* OpenPopup(int slot, std::unique_ptr<CWndPopup> menu, POINT at,
                                 UINT reportMessage, int ownerParam) = 0;
    virtual CWndPopup* GetPopup(int slot) const = 0;
    virtual void ClosePopup(int slot) = 0;

    // ---- Model, device and system ----
    virtual AppModel& model() = 0;
    virtual DeviceSync& sync() = 0;
    // The rates the connected mouse offers (RateClass), as the link last heard.
    virtual int pollingCapability() const = 0;
    virtual PlatformServices& services() = 0;
    // The choices of the window's radio buttons.
    virtual RadioGroups& radios() = 0;

    // ---- The column of sections ----
    // The open sections changed: show their controls, lay the column out
    // again and repaint.
    virtual void SectionsChanged() = 0;

    // ---- Data binding and notices ----
    virtual void RefreshFromProfile() = 0;
    virtual void CollectToProfile() = 0;
    virtual void showAttention(int textId) = 0;
    virtual void showSaveFailure(const FileProblem& problem) = 0;

    // ---- Tray menu ----
    // An entry shown above the exit command; pages add theirs while building.
    virtual void AddTrayItem(const TrayMenuItem& item) = 0;
    // Sets an entry's check mark and shows the menu as it now stands.
    virtual void SetTrayItemChecked(UINT id, bool checked) = 0;

protected:
    virtual void AddOwnedControl(int list, std::unique_ptr<CControlBase> control) = 0;
};

}  // namespace zavrin
