#include "platform/sdl/X11SharedImage.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace zavrin::x11 {

namespace {

// The attach is the request a server refuses when it cannot reach our memory
// (another machine, another IPC namespace); its error is expected, not logged.
bool attachFailed = false;
int NoteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

bool LittleEndian() {
    const std::uint32_t one = 1;
    std::uint8_t first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// Pixels as the program paints them: 32-bit words with red, green and blue in
// the low three bytes, as cairo's ARGB32 in the machine's byte order. SDL
// prefers a DirectColor visual where there is one (for gamma ramps); its
// colour map is the identity unless a gamma is set, which the program never
// does.
bool SamePixels(const XImage& image, const Visual& visual) {
    return image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 &&
           image.blue_mask == 0xFF && (visual.c_class == TrueColor || visual.c_class == DirectColor) &&
           image.byte_order == (LittleEndian() ? LSBFirst : MSBFirst);
}

}  // namespace

struct SharedImage::Parts {
    Display* display = nullptr;
    ::Window window = 0;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
};

std::unique_ptr<SharedImage> SharedImage::Create(void* display, unsigned long xwindow, int width, int height) {
    auto* dpy = static_cast<Display*>(display);
    if (dpy == nullptr || xwindow == 0 || width <= 0 || height <= 0 || !XShmQueryExtension(dpy)) return nullptr;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(dpy, xwindow, &attributes) == 0 || attributes.visual == nullptr) return nullptr;

    auto parts = std::make_unique<Parts>();
    parts->display = dpy;
    parts->window = xwindow;
    parts->image = XShmCreateImage(dpy, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, nullptr,
                                   &parts->segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (parts->image == nullptr) return nullptr;
    auto dropImage = [&] {
        parts->image->data = nullptr;
        XDestroyImage(parts->image);
    };
    if (!SamePixels(*parts->image, *attributes.visual) || parts->image->bytes_per_line != width * 4) {
        dropImage();
        return nullptr;
    }

    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    parts->segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (parts->segment.shmid < 0) {
        dropImage();
        return nullptr;
    }
    void* address = shmat(parts->segment.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(parts->segment.shmid, IPC_RMID, nullptr);
        dropImage();
        return nullptr;
    }
    parts->segment.shmaddr = parts->image->data = static_cast<char*>(address);
    parts->segment.readOnly = False;

    attachFailed = false;
    XErrorHandler previous = XSetErrorHandler(NoteAttachError);
    XShmAttach(dpy, &parts->segment);
    XSync(dpy, False);
    XSetErrorHandler(previous);
    // Once both sides are attached (or the server refused), the segment is
    // marked to go when the last one detaches: nothing is left behind, even
    // when the program ends abruptly.
    shmctl(parts->segment.shmid, IPC_RMID, nullptr);
    if (attachFailed) {
        shmdt(address);
        dropImage();
        return nullptr;
    }
    parts->gc = XCreateGC(dpy, xwindow, 0, nullptr);

    std::unique_ptr<SharedImage> shared(new SharedImage(std::move(parts)));
    shared->pixels_ = static_cast<std::uint32_t*>(address);
    shared->width_ = width;
    shared->height_ = height;
    shared->memory_ = std::shared_ptr<void>(address, [](void* a) { shmdt(a); });
    return shared;
}

SharedImage::SharedImage(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

SharedImage::~SharedImage() {
    XShmDetach(parts_->display, &parts_->segment);
    XFreeGC(parts_->display, parts_->gc);
    // The memory is not Xlib's to free.
    parts_->image->data = nullptr;
    XDestroyImage(parts_->image);
}

void SharedImage::put(int x, int y, int width, int height) {
    XShmPutImage(parts_->display, parts_->window, parts_->gc, parts_->image, x, y, x, y,
                 static_cast<unsigned>(width), static_cast<unsigned>(height), False);
    XSync(parts_->display, False);
}

}  // namespace zavrin::x11
