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
// So is a refused pixmap over the memory (Prepare): the program goes on
// without it.
bool refused = false;
int NoteRefusal(Display*, XErrorEvent*) {
    refused = true;
    return 0;
}

// Sends `requests` and waits for the server's answers; true when it refused
// any of them.
template <typename Requests>
bool ServerRefuses(Display* display, Requests requests) {
    refused = false;
    XErrorHandler previous = XSetErrorHandler(NoteRefusal);
    requests();
    XSync(display, False);
    XSetErrorHandler(previous);
    return refused;
}

std::size_t SurfaceBytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
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

class SharedMemory {
public:
    // Memory of `bytes` on our side only, every page written once (zero); no
    // X call, so any thread. Null when it cannot be made.
    static std::shared_ptr<SharedMemory> Make(std::size_t bytes);
    // Null when the memory cannot be made or the server refuses it.
    static std::shared_ptr<SharedMemory> Attach(Display* display, std::size_t bytes);
    ~SharedMemory() {
        // The server's side only when it attached; ours when we did. Memory the
        // server never attached is not marked for removal yet.
        if (display_ != nullptr) XShmDetach(display_, &segment_);
        if (segment_.shmaddr != nullptr) shmdt(segment_.shmaddr);
        if (!removalMarked_ && segment_.shmid >= 0) shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    // Attaches the memory to the server (once); false when it refuses.
    bool attachTo(Display* display);

    Display* display() const { return display_; }
    std::size_t bytes() const { return bytes_; }
    // Whether the server has read all of the memory once. Until it has, each
    // page the server touches first costs it a page fault, as fresh memory
    // costs the program; on some machines (virtual ones above all) that is
    // slower than sending the same pixels down the connection.
    bool mappedByServer() const { return mappedByServer_; }
    void noteMappedByServer() { mappedByServer_ = true; }
    XShmSegmentInfo* segment() { return &segment_; }
    void* address() const { return segment_.shmaddr; }

private:
    SharedMemory() { segment_.shmid = -1; }
    Display* display_ = nullptr;
    std::size_t bytes_ = 0;
    bool mappedByServer_ = false;
    bool removalMarked_ = false;
    XShmSegmentInfo segment_{};
};

std::shared_ptr<SharedMemory> SharedMemory::Make(std::size_t bytes) {
    std::shared_ptr<SharedMemory> memory(new SharedMemory());
    XShmSegmentInfo& segment = memory->segment_;
    segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment.shmid < 0) return nullptr;
    void* address = shmat(segment.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) return nullptr;
    segment.shmaddr = static_cast<char*>(address);
    segment.readOnly = False;
    memory->bytes_ = bytes;
    std::memset(address, 0, bytes);
    return memory;
}

bool SharedMemory::attachTo(Display* display) {
    if (display_ != nullptr) return display_ == display;
    const bool attachRefused = ServerRefuses(display, [&] { XShmAttach(display, &segment_); });
    // Once both sides are attached (or the server refused), the segment is
    // marked to go when the last one detaches: nothing is left behind, even
    // when the program ends abruptly.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    removalMarked_ = true;
    if (attachRefused) return false;
    display_ = display;
    return true;
}

std::shared_ptr<SharedMemory> SharedMemory::Attach(Display* display, std::size_t bytes) {
    std::shared_ptr<SharedMemory> memory = Make(bytes);
    if (!memory || !memory->attachTo(display)) return nullptr;
    return memory;
}

struct SharedImage::Parts {
    Display* display = nullptr;
    ::Window window = 0;
    GC gc = nullptr;
    XImage* image = nullptr;
};

std::shared_ptr<SharedMemory> SharedImage::Allocate(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    return SharedMemory::Make(SurfaceBytes(width, height));
}

bool SharedImage::Serves(const std::shared_ptr<SharedMemory>& spare, void* display, int width, int height) {
    return spare && spare->display() == display && spare->bytes() >= SurfaceBytes(width, height) &&
           spare.use_count() == 1;
}

std::unique_ptr<SharedImage> SharedImage::Create(void* display, unsigned long xwindow, int width, int height,
                                                 std::shared_ptr<SharedMemory>& spare,
                                                 std::shared_ptr<SharedMemory> allocated) {
    auto* dpy = static_cast<Display*>(display);
    if (dpy == nullptr || xwindow == 0 || width <= 0 || height <= 0 || !XShmQueryExtension(dpy)) return nullptr;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(dpy, xwindow, &attributes) == 0 || attributes.visual == nullptr) return nullptr;

    const std::size_t bytes = SurfaceBytes(width, height);
    std::shared_ptr<SharedMemory> memory;
    if (Serves(spare, dpy, width, height)) {
        memory = std::move(spare);
        // A new picture is transparent, as fresh memory would be.
        std::memset(memory->address(), 0, bytes);
    } else if (allocated && allocated->bytes() >= bytes && allocated->attachTo(dpy)) {
        memory = std::move(allocated);
    } else {
        memory = SharedMemory::Attach(dpy, bytes);
    }
    if (!memory) return nullptr;

    auto parts = std::make_unique<Parts>();
    parts->display = dpy;
    parts->window = xwindow;
    parts->image = XShmCreateImage(dpy, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap,
                                   static_cast<char*>(memory->address()), memory->segment(),
                                   static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (parts->image == nullptr) return nullptr;
    if (!SamePixels(*parts->image, *attributes.visual) || parts->image->bytes_per_line != width * 4) {
        parts->image->data = nullptr;
        XDestroyImage(parts->image);
        return nullptr;
    }
    parts->gc = XCreateGC(dpy, xwindow, 0, nullptr);

    std::unique_ptr<SharedImage> shared(new SharedImage(std::move(parts)));
    shared->pixels_ = static_cast<std::uint32_t*>(memory->address());
    shared->width_ = width;
    shared->height_ = height;
    shared->memory_ = std::move(memory);
    return shared;
}

SharedImage::SharedImage(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

SharedImage::~SharedImage() {
    XFreeGC(parts_->display, parts_->gc);
    // The memory is not Xlib's to free.
    parts_->image->data = nullptr;
    XDestroyImage(parts_->image);
}

std::shared_ptr<void> SharedImage::keeper() const { return std::shared_ptr<void>(memory_, memory_->address()); }

std::size_t SharedImage::Size(const SharedMemory& memory) { return memory.bytes(); }

bool SharedImage::Holds(const std::shared_ptr<SharedMemory>& memory, int width, int height) {
    return memory && memory->bytes() >= SurfaceBytes(width, height);
}

void SharedImage::put(int x, int y, int width, int height) {
    // Memory the server has not read yet goes down the connection: the first
    // frame is on the screen sooner, and the server maps the memory later,
    // while the program is idle (warm()).
    if (memory_->mappedByServer())
        XShmPutImage(parts_->display, parts_->window, parts_->gc, parts_->image, x, y, x, y,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), False);
    else
        XPutImage(parts_->display, parts_->window, parts_->gc, parts_->image, x, y, x, y,
                  static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(parts_->display, False);
}

bool SharedImage::warm() {
    if (memory_->mappedByServer()) return false;
    // The whole picture again, unchanged: nothing moves on the screen, and the
    // server has read every page before the first large update needs it.
    memory_->noteMappedByServer();
    put(0, 0, width_, height_);
    return true;
}

std::shared_ptr<SharedMemory> SharedImage::Prepare(void* display, int width, int height) {
    auto* dpy = static_cast<Display*>(display);
    if (dpy == nullptr || width <= 0 || height <= 0 || !XShmQueryExtension(dpy)) return nullptr;
    // Our side: every page is written once as the memory is made.
    std::shared_ptr<SharedMemory> memory = SharedMemory::Attach(dpy, SurfaceBytes(width, height));
    if (!memory) return nullptr;
    // The server's side: it clears the memory through a pixmap that lies in
    // it, which maps every page there too. Servers without shared pixmaps
    // map it at the window's first frames instead.
    int major = 0, minor = 0;
    Bool pixmaps = False;
    const int depth = DefaultDepth(dpy, DefaultScreen(dpy));
    if (XShmQueryVersion(dpy, &major, &minor, &pixmaps) && pixmaps && XShmPixmapFormat(dpy) == ZPixmap &&
        depth == 24) {
        const bool clearRefused = ServerRefuses(dpy, [&] {
            const Pixmap pixmap =
                XShmCreatePixmap(dpy, DefaultRootWindow(dpy), static_cast<char*>(memory->address()),
                                 memory->segment(), static_cast<unsigned>(width), static_cast<unsigned>(height),
                                 static_cast<unsigned>(depth));
            GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
            XSetForeground(dpy, gc, 0);
            XFillRectangle(dpy, pixmap, gc, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
            XFreeGC(dpy, gc);
            XFreePixmap(dpy, pixmap);
        });
        if (!clearRefused) memory->noteMappedByServer();
    }
    return memory;
}

}  // namespace zavrin::x11
