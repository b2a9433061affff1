#pragma once

#include <cstdint>
#include <memory>

namespace zavrin::x11 {

// A window surface in memory the X server reads too (MIT-SHM). Frames are
// painted straight into it and shown with one request, instead of being
// copied into SDL's window surface first: that saves a window-sized buffer,
// its page faults and a copy per frame. Fresh memory is what a first frame
// costs most, the more so at scale 2.
//
// The memory and the server's attachment live apart: the attachment ends with
// this object (the window is resized or closed), the memory when the last
// holder of keeper() lets go, so a picture painted into it never points at
// memory that is gone.
class SharedImage {
public:
    // Null when the server cannot share memory with the program (a remote
    // display, no MIT-SHM) or the window's pixels are not 32-bit 8:8:8
    // TrueColor in the program's byte order; the caller then copies frames.
    static std::unique_ptr<SharedImage> Create(void* display, unsigned long xwindow, int width, int height);
    ~SharedImage();
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    std::uint32_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::shared_ptr<void> keeper() const { return memory_; }

    // Shows the part at the same place in the window and waits until the
    // server has read it, so that the next paint may write the memory.
    void put(int x, int y, int width, int height);

private:
    struct Parts;
    explicit SharedImage(std::unique_ptr<Parts> parts);

    std::unique_ptr<Parts> parts_;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::shared_ptr<void> memory_;
};

}  // namespace zavrin::x11
