#include "platform/WindowTable.h"

namespace zavrin {

WindowTable::~WindowTable() {
    // Records kept alive by a dispatch that never returned (cannot happen once
    // every handler has returned) are simply dropped.
    windows_.clear();
}

WindowRecord* WindowTable::live(HWND h) {
    auto it = windows_.find(h.value);
    if (it == windows_.end() || it->second->destroyed) return nullptr;
    return it->second.get();
}

const WindowRecord* WindowTable::live(HWND h) const {
    auto it = windows_.find(h.value);
    if (it == windows_.end() || it->second->destroyed) return nullptr;
    return it->second.get();
}

WindowRecord& WindowTable::add(CWnd* object, std::uint32_t exStyle, std::uint32_t style, const RECT& rect,
                               HWND owner, std::string_view title, std::uint32_t classStyle) {
    auto rec = std::make_unique<WindowRecord>();
    const HWND h{nextHandle_++};
    rec->hwnd = h;
    rec->object = object;
    rec->owner = live(owner) != nullptr ? owner : HWND{};
    rec->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    rec->exStyle = exStyle;
    rec->classStyle = classStyle;
    rec->rect = rect;
    rec->title = std::string(title);
    rec->enabled = (style & WS_DISABLED) == 0;
    WindowRecord& added = *rec;
    windows_.emplace(h.value, std::move(rec));
    return added;
}

void WindowTable::detachObject(CWnd* object) {
    for (auto& [value, rec] : windows_) {
        if (rec->object == object) rec->object = nullptr;
    }
}

void WindowTable::markDestroyed(WindowRecord& rec) {
    rec.destroyed = true;
    rec.paintCanvas.reset();
    if (rec.object != nullptr) rec.object->hwnd_ = HWND{};
    if (rec.dispatchDepth == 0) finish(&rec);
}

void WindowTable::finish(WindowRecord* rec) {
    CWnd* object = rec->object;
    windows_.erase(rec->hwnd.value);
    if (object != nullptr) object->PostNcDestroy();
}

LRESULT WindowTable::send(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = windows_.find(h.value);
    if (it == windows_.end() || it->second->destroyed) return 0;
    WindowRecord* rec = it->second.get();
    if (rec->object == nullptr) return 0;
    ++rec->dispatchDepth;
    const LRESULT result = rec->object->WindowProc(message, wParam, lParam);
    --rec->dispatchDepth;
    // The handler may have destroyed its own window; the object's last rites
    // wait until no handler of it is running.
    if (rec->destroyed && rec->dispatchDepth == 0) finish(rec);
    return result;
}

void WindowTable::dispatch(const MSG& queued) {
    if (live(queued.hwnd) == nullptr) return;
    MSG msg = queued;
    // A dialog takes the keys pressed in a pop-up it opened this way. An owner
    // is always older than the window it owns, so the chain ends.
    for (HWND w = msg.hwnd; w;) {
        const WindowRecord* rec = live(w);
        if (rec == nullptr) break;
        if (rec->object != nullptr && rec->object->PreTranslateMessage(msg)) return;
        const WindowRecord* after = live(w);
        w = after != nullptr ? after->owner : HWND{};
    }
    send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

}  // namespace zavrin
