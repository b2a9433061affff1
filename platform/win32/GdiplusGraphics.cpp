#include "platform/win32/GdiplusGraphics.h"

#include <cstring>
#include <vector>

#include "platform/win32/GdiplusCanvas.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

namespace zavrin {

namespace gp = Gdiplus;

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() {
        if (p_ != nullptr) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

bool PngEncoder(CLSID& clsid) {
    UINT count = 0;
    UINT size = 0;
    if (gp::GetImageEncodersSize(&count, &size) != gp::Ok || size == 0) return false;
    std::vector<std::uint8_t> buffer(size);
    auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buffer.data());
    if (gp::GetImageEncoders(count, size, codecs) != gp::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType != nullptr && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool IsPng(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

bool IsBmp(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kHeaders = 14 + 12;  // file header and the smallest info header
    return bytes.size() >= kHeaders && bytes[0] == 'B' && bytes[1] == 'M';
}

class GdiplusGraphics final : public Graphics {
public:
    GdiplusGraphics() {
        gp::GdiplusStartupInput input;
        started_ = gp::GdiplusStartup(&token_, &input, nullptr) == gp::Ok;
        fonts_ = CreateGdiplusFontCache();
    }

    ~GdiplusGraphics() override {
        fonts_.reset();
        if (started_) gp::GdiplusShutdown(token_);
    }

    std::unique_ptr<Canvas> CreateCanvas(Image& target) override { return CreateGdiplusCanvas(target, fonts_); }

    bool DecodeImage(std::span<const std::uint8_t> bytes, Image& out) override {
        // Only the two formats the skins use; GDI+ would take many more.
        if (!IsPng(bytes) && !IsBmp(bytes)) return false;
        ComPtr<IStream> stream(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
        if (stream.get() == nullptr) return false;
        gp::Bitmap bitmap(stream.get());
        if (bitmap.GetLastStatus() != gp::Ok) return false;
        const int w = static_cast<int>(bitmap.GetWidth());
        const int h = static_cast<int>(bitmap.GetHeight());
        if (w <= 0 || h <= 0) return false;
        Image image(w, h);
        // GDI+ converts whatever the file holds into premultiplied ARGB, written
        // straight into the picture's own memory.
        gp::BitmapData data{};
        data.Width = static_cast<UINT>(w);
        data.Height = static_cast<UINT>(h);
        data.Stride = image.strideBytes();
        data.PixelFormat = PixelFormat32bppPARGB;
        data.Scan0 = image.data();
        gp::Rect all(0, 0, w, h);
        if (bitmap.LockBits(&all, gp::ImageLockModeRead | gp::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                            &data) != gp::Ok) {
            return false;
        }
        bitmap.UnlockBits(&data);
        // Bitmaps carry no transparency: a 32-bit one's fourth byte is not alpha,
        // as GDI treats it.
        if (IsBmp(bytes)) {
            for (int i = 0; i < w * h; ++i) image.data()[i] |= 0xFF000000u;
        }
        out = std::move(image);
        return true;
    }

    bool EncodePng(const Image& image, std::vector<std::uint8_t>& out) override {
        CLSID png;
        if (image.empty() || !PngEncoder(png)) return false;
        gp::Bitmap bitmap(image.width(), image.height(), image.strideBytes(), PixelFormat32bppPARGB,
                          reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(image.data())));
        ComPtr<IStream> stream(SHCreateMemStream(nullptr, 0));
        if (stream.get() == nullptr || bitmap.Save(stream.get(), &png, nullptr) != gp::Ok) return false;
        STATSTG stat{};
        if (stream.get()->Stat(&stat, STATFLAG_NONAME) != S_OK) return false;
        out.assign(static_cast<std::size_t>(stat.cbSize.QuadPart), 0);
        LARGE_INTEGER zero{};
        stream.get()->Seek(zero, STREAM_SEEK_SET, nullptr);
        ULONG read = 0;
        if (stream.get()->Read(out.data(), static_cast<ULONG>(out.size()), &read) != S_OK || read != out.size()) {
            out.clear();
            return false;
        }
        return true;
    }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
    std::shared_ptr<GdiplusFontCache> fonts_;
};

}  // namespace

std::unique_ptr<Graphics> CreateGdiplusGraphics() { return std::make_unique<GdiplusGraphics>(); }

}  // namespace zavrin
