#pragma once

#include <cstdint>
#include <memory>

namespace zavrin::x11 {

// Memory the X server reads too (MIT-SHM), attached to it once. A window's
// surface lies in one such piece; when the window goes, the piece may serve
// the next window that fits, so that opening a dialog does not pay again for
// fresh memory, on either side (new pages are what a frame costs most).
class SharedMemory;

// A window surface in shared memory. Frames are painted straight into it and
// shown with one request, instead of being copied into SDL's window surface
// first: that saves a window-sized buffer, its page faults and a copy per
// frame.
//
// The memory outlives this object while a picture painted into it holds
// keeper(), so a picture never points at memory that is gone.
class SharedImage {
public:
    // Null when the server cannot share memory with the program (a remote
    // display, no MIT-SHM) or the window's pixels are not 32-bit 8:8:8 in the
    // program's byte order; the caller then copies frames. `spare`, memory a
    // window no longer uses, is taken (and cleared) when it is large enough
    // and nothing else holds it; else `allocated` (see Allocate), when large
    // enough, is attached and taken.
    static std::unique_ptr<SharedImage> Create(void* display, unsigned long xwindow, int width, int height,
                                               std::shared_ptr<SharedMemory>& spare,
                                               std::shared_ptr<SharedMemory> allocated = nullptr);
    // Memory for a surface of `width` x `height`, on the program's side only,
    // each page written once; no X call, so it may be made on another thread
    // while the window's contents are being built. Null when it cannot be made.
    static std::shared_ptr<SharedMemory> Allocate(int width, int height);
    ~SharedImage();
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    std::uint32_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::shared_ptr<void> keeper() const;
    // The memory, to be kept for a later window once this one is gone.
    const std::shared_ptr<SharedMemory>& memory() const { return memory_; }
    // The bytes of the memory, for choosing which piece to keep.
    static std::size_t Size(const SharedMemory& memory);
    // Whether `memory` is large enough for a surface of `width` x `height`.
    static bool Holds(const std::shared_ptr<SharedMemory>& memory, int width, int height);
    // Whether Create would take `spare` for such a surface on `display`: large
    // enough, on that display, and held by nothing else.
    static bool Serves(const std::shared_ptr<SharedMemory>& spare, void* display, int width, int height);

    // Shows the part at the same place in the window and waits until the
    // server has read it, so that the next paint may write the memory.
    void put(int x, int y, int width, int height);
    // For when the program is idle: lets the server read all of memory it has
    // not read yet (see put); false when there was nothing to do.
    bool warm();

    // For when the program is idle: memory for a window of `width` x `height`
    // to come, written once on both sides of the connection so that the
    // window's first frame pays for no fresh page. Null when memory cannot be
    // shared with the server.
    static std::shared_ptr<SharedMemory> Prepare(void* display, int width, int height);

private:
    struct Parts;
    explicit SharedImage(std::unique_ptr<Parts> parts);

    std::unique_ptr<Parts> parts_;
    std::shared_ptr<SharedMemory> memory_;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace zavrin::x11
