#include "platform/PaintQueue.h"

#include <algorithm>

#include "platform/Canvas.h"

namespace zavrin {

bool PaintQueue::invalidate(HWND h, const RECT* rect, bool erase) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    const RECT client{0, 0, rec->rect.width(), rec->rect.height()};
    const RECT r = rect != nullptr ? IntersectRect(*rect, client) : client;
    if (IsRectEmpty(r)) return true;
    rec->update = UnionRect(rec->update, r);
    rec->erase = rec->erase || erase;
    return true;
}

bool PaintQueue::validate(HWND h, const RECT* rect) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    // The invalid part is kept as one rectangle, so only a rectangle that covers
    // it validates it.
    if (rect == nullptr || UnionRect(*rect, rec->update) == *rect) {
        rec->update = RECT{};
        rec->erase = false;
    }
    return true;
}

bool PaintQueue::updateWindow(HWND h) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    if (rec->visible && !IsRectEmpty(rec->update)) sendPaint(h);
    return true;
}

void PaintQueue::sendPaint(HWND h) {
    table_.live(h)->beganPaint = false;
    table_.send(h, WM_PAINT, 0, 0);
    // A handler that did not paint must not make WM_PAINT come forever; one that
    // did keeps what it invalidated while painting.
    if (WindowRecord* after = table_.live(h); after != nullptr && !after->beganPaint) {
        after->update = RECT{};
        after->erase = false;
    }
}

Canvas* PaintQueue::beginPaint(HWND h, PAINTSTRUCT& ps) {
    WindowRecord* rec = table_.live(h);
    ps = PAINTSTRUCT{};
    if (rec == nullptr) return nullptr;
    rec->beganPaint = true;
    ps.rcPaint = rec->update;
    ps.fErase = rec->erase ? TRUE : FALSE;
    rec->update = RECT{};
    rec->erase = false;
    if (ps.fErase) {
        table_.send(h, WM_ERASEBKGND, 0, 0);
        rec = table_.live(h);
        if (rec == nullptr) return nullptr;
    }
    if (graphics_ == nullptr || IsRectEmpty(ps.rcPaint) || surfaceOf(*rec).empty()) return nullptr;
    rec->paintCanvas = graphics_->CreateCanvas(rec->surface);
    rec->paintCanvas->PushClip(ps.rcPaint);
    ps.canvas = rec->paintCanvas.get();
    return ps.canvas;
}

void PaintQueue::endPaint(HWND h, const PAINTSTRUCT& ps) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return;
    if (rec->paintCanvas) {
        rec->paintCanvas->Flush();
        rec->paintCanvas.reset();
    }
    if (!IsRectEmpty(ps.rcPaint)) backend_.Present(h.value, rec->surface, ps.rcPaint);
}

bool PaintQueue::updateLayered(HWND h, const Image& picture) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    // Into the surface's own memory, which the desktop may be showing.
    surfaceOf(*rec).copyFrom(picture);
    // The picture is the window's content; nothing is left to paint.
    rec->update = RECT{};
    rec->erase = false;
    backend_.Present(h.value, rec->surface, rec->surface.bounds());
    return true;
}

bool PaintQueue::paintNext() {
    for (HWND w : zorder_.list()) {
        const WindowRecord* rec = table_.live(w);
        if (rec == nullptr || !rec->visible || IsRectEmpty(rec->update)) continue;
        sendPaint(w);
        return true;
    }
    return false;
}

void PaintQueue::resize(WindowRecord& rec) {
    rec.paintCanvas.reset();
    rec.surface = Image();
    invalidate(rec.hwnd, nullptr, true);
}

Image& PaintQueue::surfaceOf(WindowRecord& rec) {
    if (rec.surface.width() != rec.rect.width() || rec.surface.height() != rec.rect.height())
        rec.surface = backend_.CreateSurface(rec.hwnd.value, rec.rect.width(), rec.rect.height());
    return rec.surface;
}

}  // namespace zavrin
