#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformServices.h"

typedef struct _GDBusConnection GDBusConnection;

namespace zavrin::linuxdesktop {

class GLibLoop;

// The tray icon as a StatusNotifierItem (the freedesktop/KDE protocol that
// GNOME's AppIndicator extension, KDE Plasma, XFCE and others show): the item
// at /StatusNotifierItem, its menu at /MenuBar over com.canonical.dbusmenu,
// registered with org.kde.StatusNotifierWatcher under a well-known name of
// its own. The desktop calls in on the loop's thread; each call becomes a
// PostMessage to the request's target:
//
//   Activate (a click, or a double click on some hosts)  -> (callbackMessage, iconId, WM_LBUTTONDBLCLK)
//   ContextMenu / SecondaryActivate                       -> (callbackMessage, iconId, WM_RBUTTONUP)
//   a menu entry clicked                                  -> (WM_COMMAND, entry id, 0)
class StatusNotifierItem {
public:
    StatusNotifierItem(GLibLoop& loop, GDBusConnection* bus);
    ~StatusNotifierItem();  // unregisters
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    // Registers the item. False, with nothing left registered, when no watcher
    // runs on the session bus or it refuses the item.
    bool show(const TrayIconRequest& request);
    void hide();
    // Changes the check mark of the menu's check item `id`; UI thread.
    bool shown() const { return registered_; }
    // Replaces the menu's entries and tells the host (LayoutUpdated).
    void updateMenu(const std::vector<TrayMenuItem>& menu);

    // Runs (on the loop's thread) before each click of the item or its menu is posted.
    void setUserActionHook(std::function<void()> hook) { userActionHook_ = std::move(hook); }

    // The well-known bus name the item is registered under.
    const std::string& busName() const { return busName_; }

    struct State;

private:
    GLibLoop& loop_;
    GDBusConnection* bus_;
    std::shared_ptr<State> state_;
    std::string busName_;
    unsigned itemObject_ = 0;
    unsigned menuObject_ = 0;
    unsigned watcherSubscription_ = 0;
    bool nameOwned_ = false;
    bool registered_ = false;
    std::function<void()> userActionHook_;
};

}  // namespace zavrin::linuxdesktop
