#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ForegroundWatcher.h"
#include "platform/Image.h"
#include "platform/Window.h"

namespace zavrin {

// Whether a tray menu entry is a plain command or a check item, and its mark.

// One entry of the tray icon's menu: a command id delivered as WM_COMMAND, or a
// separator (id 0). A check item shows its state with a check mark.
struct TrayMenuItem {
    TrayMenuItem() = default;
    TrayMenuItem(UINT itemId, std::string itemText, std::optional<bool> itemChecked = std::nullopt)
        : id(itemId), text(std::move(itemText)), checked(itemChecked) {}

    UINT id = 0;
    std::string text;
    std::optional<bool> checked;  // set: a check item
};

// The message a later copy of the program sends to the first copy's main
// window, as (ShowRequestMessage, 0, 0). Windows delivers it between processes,
// so the number is fixed; the other desktops relay the request under it too.
inline constexpr UINT ShowRequestMessage = 2999;

struct TrayIconRequest {
    HWND target;                // receives the callback message and WM_COMMAND
    UINT callbackMessage = 0;   // posted as (callbackMessage, iconId, mouse message)
    UINT iconId = 0;
    std::shared_ptr<const Image> icon;
    std::string tip;
    std::vector<TrayMenuItem> menu;  // shown by ShowTrayMenu or by the desktop itself
};

struct FileFilter {
    std::string name;     // "Profile files (*.psf)"
    std::string pattern;  // "*.psf"
};

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    HWND owner;
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;           // without the dot, added when the user typed none
    std::filesystem::path initialName;      // save: the suggested file name
};

// The operating-system services the program uses beside windows and drawing.
// Each backend supplies one implementation; the headless one records what is
// asked and answers from what a test or script prepared.
//
// Threads: every function is called on the UI thread. Implementations that
// learn of something on another thread (a second copy's request, a D-Bus call,
// a key event of a global hook) hand it over with PostMessage.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // ---- Tray icon --------------------------------------------------------
    // Adds the icon. A double click (or the desktop's "activate") posts
    // (callbackMessage, iconId, WM_LBUTTONDBLCLK), a right click posts
    // (callbackMessage, iconId, WM_RBUTTONUP); a chosen menu item posts
    // (WM_COMMAND, item id, 0). False when the desktop has no tray.
    virtual bool AddTrayIcon(const TrayIconRequest& request) = 0;
    virtual void RemoveTrayIcon() = 0;
    // Opens the icon's menu at the cursor, for desktops where the program shows
    // it itself; a desktop that shows the menu on its own does nothing here.
    virtual void ShowTrayMenu() = 0;
    // Changes the check mark of the menu's check item `id` (the menu shown next,
    // or at once where the desktop shows it).
    // Whether an icon is shown now. Without one, hiding the main window would
    // leave it unreachable, so the window minimises instead.
    virtual bool TrayIconShown() const = 0;
    // Replaces the entries of the shown icon's menu (a check item changed its
    // mark); the icon itself stays where it is. Nothing without an icon.
    virtual void UpdateTrayMenu(const std::vector<TrayMenuItem>& menu) = 0;
    // A desktop notification from the program (a bubble from the tray icon on
    // Windows). Returns at once, without waiting for the desktop: false when it
    // is known that no notification service can show it.
    virtual bool ShowNotification(const std::string& title, const std::string& text) = 0;

    // ---- Start with the desktop -------------------------------------------
    // Whether this program is started, hidden in the tray (`--tray`), when the
    // user logs in: an XDG autostart entry on Linux, a value under the user's
    // Run key on Windows. Read from the system each time, so it stays true to
    // what the user may have changed elsewhere.
    virtual bool StartsWithDesktop() const = 0;
    // Writes or removes that entry. False when the system refused the change.
    virtual bool SetStartWithDesktop(bool enabled) = 0;

    // ---- Single instance, per data folder ----------------------------------
    // Claims the data folder for this process. True: this is the first copy, and
    // later copies' requests arrive at the window given to SetShowRequestTarget
    // as (showMessage, 0, 0). False: another live copy holds the folder. A claim
    // left by a copy that died never blocks a start.
    virtual bool ClaimSingleInstance(const std::filesystem::path& dataFolder) = 0;
    // Second copy: asks the first copy of the data folder to show itself.
    // Returns whether it was reached.
    virtual bool SignalFirstInstance(const std::filesystem::path& dataFolder) = 0;
    virtual void SetShowRequestTarget(HWND target, UINT showMessage) = 0;
    // First copy: zavrinctl's requests over the same channel, one line of text
    // each, from processes of the same user only. `handler` runs on a thread
    // of the service (not the UI thread) and returns the one-line answer; it
    // must hand the work to the UI thread itself. A backend without such a
    // channel ignores it, and zavrinctl then finds no program to talk to.
    virtual void SetControlRequestHandler(std::function<std::string(const std::string&)> handler) {
        (void)handler;
    }

    // ---- Shell ------------------------------------------------------------
    // Opens an address, a document or a program the way the desktop's "open"
    // does. Programs are started directly, never through a shell command line.
    // False when nothing could be started (an empty target among others).
    virtual bool ShellOpen(std::string_view target) = 0;
    // Opens the desktop's mouse pointer settings; false where none is known.
    virtual bool OpenPointerSettings() = 0;

    // ---- File dialogs -----------------------------------------------------
    // Modal for the owner; the chosen path, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> AskForFile(const FileDialogRequest& request) = 0;

    // ---- Clipboard ----------------------------------------------------------
    virtual void SetClipboardText(std::string_view text) = 0;
    virtual std::string GetClipboardText() = 0;

    // ---- Keyboard capture ---------------------------------------------------
    // While started, each key press and release the backend can see is posted to
    // `target` as (message, virtual-key code, lParam) with lParam bit 31 set for
    // a release and bits 0..30 a millisecond time stamp counting up modulo 2^31.
    // Left and right modifiers keep their own codes (VK_LSHIFT, VK_RCONTROL, ...).
    // Starting again moves the capture to the new target.
    virtual void StartKeyboardCapture(HWND target, UINT message) = 0;
    virtual void StopKeyboardCapture() = 0;

    // ---- Device notifications ----------------------------------------------
    // Where the system announces HID arrivals and removals to a window (Windows),
    // they reach `target` as WM_DEVICECHANGE. Elsewhere the HID transport
    // reports them itself and this does nothing.
    virtual void RegisterDeviceNotifications(HWND target) = 0;

    // ---- Front program ------------------------------------------------------
    // The watcher of the program in front, owned by the services; null where
    // the desktop offers none.
    virtual ForegroundWatcher* FrontProgramWatcher() { return nullptr; }
};

}  // namespace zavrin
