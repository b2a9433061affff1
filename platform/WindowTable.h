#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/WindowRecord.h"

namespace zavrin {

// The windows by handle, and the calls into their objects. A record outlives
// its window while a handler of that window is still running, so that a
// handler may destroy its own window; the object's PostNcDestroy comes when the
// last such handler has returned. UI thread only.
class WindowTable {
public:
    WindowTable() = default;
    ~WindowTable();
    WindowTable(const WindowTable&) = delete;
    WindowTable& operator=(const WindowTable&) = delete;

    // The record of a window that exists and is not destroyed, or null.
    WindowRecord* live(HWND h);
    const WindowRecord* live(HWND h) const;

    // A new record with a fresh handle, hidden, with an empty paint state.
    WindowRecord& add(CWnd* object, std::uint32_t exStyle, std::uint32_t style, const RECT& rect, HWND owner,
                      std::string_view title, std::uint32_t classStyle);
    // The object is going; a record that outlives it must not call it.
    void detachObject(CWnd* object);
    // The window is gone: its handle no longer names it, and the record goes as
    // soon as no handler of it runs.
    void markDestroyed(WindowRecord& rec);

    // Calls the window's handler at once (SendMessage); 0 for a window that is
    // gone or has no object.
    LRESULT send(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
    // Delivers a queued message: the window and then each of its owners in
    // turn may take it in PreTranslateMessage, else it is sent to the window.
    void dispatch(const MSG& msg);

private:
    void finish(WindowRecord* rec);

    std::unordered_map<std::uint64_t, std::unique_ptr<WindowRecord>> windows_;
    std::uint64_t nextHandle_ = 0x10;
};

}  // namespace zavrin
