#include "device/win32hid/Win32HidTransport.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include <windows.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

namespace zavrin {

namespace {

std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string out(static_cast<std::size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring out(static_cast<std::size_t>(length - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), length);
    return out;
}

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE release() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h;
    }
    void reset() {
        if (valid()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

// Vendor, product, usage page and input report length of an open interface.
bool ReadIdentity(HANDLE h, HidInterfaceInfo& info) {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(h, &attributes)) return false;
    info.vendorId = attributes.VendorID;
    info.productId = attributes.ProductID;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(h, &preparsed)) return true;  // identity known, capabilities not
    HIDP_CAPS caps{};
    if (HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
        info.usagePage = caps.UsagePage;
        info.inputReportLength = caps.InputReportByteLength;
        info.featureReportLength = caps.FeatureReportByteLength;
    }
    HidD_FreePreparsedData(preparsed);
    return true;
}

class Win32HidHandle final : public HidHandle {
public:
    Win32HidHandle(HANDLE device, HidInterfaceInfo info)
        : device_(device),
          readDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          // Manual reset: once interrupted, every later read fails as well.
          interrupt_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          info_(std::move(info)) {}

    const HidInterfaceInfo& info() const override { return info_; }

    bool setFeature(std::span<const std::uint8_t> report) override {
        std::vector<std::uint8_t> copy(report.begin(), report.end());
        return HidD_SetFeature(device_.get(), copy.data(), static_cast<ULONG>(copy.size())) != FALSE;
    }

    bool getFeature(std::span<std::uint8_t> buffer) override {
        return HidD_GetFeature(device_.get(), buffer.data(), static_cast<ULONG>(buffer.size())) != FALSE;
    }

    std::optional<std::size_t> readInput(std::span<std::uint8_t> buffer) override {
        if (WaitForSingleObject(interrupt_.get(), 0) == WAIT_OBJECT_0) return std::nullopt;
        OVERLAPPED overlapped{};
        overlapped.hEvent = readDone_.get();
        ResetEvent(readDone_.get());
        DWORD got = 0;
        if (!ReadFile(device_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) return std::nullopt;  // the device is gone
            const HANDLE waits[] = {readDone_.get(), interrupt_.get()};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                // The buffer stays in use until the cancelled read has ended.
                CancelIoEx(device_.get(), &overlapped);
                GetOverlappedResult(device_.get(), &overlapped, &got, TRUE);
                return std::nullopt;
            }
            if (!GetOverlappedResult(device_.get(), &overlapped, &got, FALSE)) return std::nullopt;
        }
        return static_cast<std::size_t>(got);
    }

    void interruptRead() override { SetEvent(interrupt_.get()); }

private:
    Handle device_;
    Handle readDone_;
    Handle interrupt_;
    HidInterfaceInfo info_;
};

// The hexadecimal number after `key` in `text` (lower case), up to `digits` long.
bool HexAfter(const std::string& text, std::string_view key, int digits, unsigned& value) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return false;
    value = 0;
    int n = 0;
    for (std::size_t i = at + key.size(); i < text.size() && n < digits; ++i, ++n) {
        const char c = text[i];
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0) break;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return n > 0;
}

}  // namespace

bool ParseHidInterfacePath(std::string_view path, HidPathIds& out) {
    std::string text(path);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    unsigned vendor = 0;
    unsigned product = 0;
    if (!HexAfter(text, "vid_", 4, vendor) || !HexAfter(text, "pid_", 4, product)) {
        // Bluetooth LE HID paths name the ids as "vid&02xxxx_pid&xxxx".
        if (!HexAfter(text, "vid&02", 4, vendor) || !HexAfter(text, "pid&", 4, product)) return false;
    }
    unsigned collection = 0;
    // "&col01" is the first collection; a device with one collection has none.
    const bool hasCollection = HexAfter(text, "&col", 2, collection);
    out.vendorId = static_cast<std::uint16_t>(vendor);
    out.productId = static_cast<std::uint16_t>(product);
    out.collection = hasCollection && collection > 0 ? static_cast<int>(collection) - 1 : 0;
    return true;
}

std::vector<HidInterfaceInfo> Win32HidTransport::enumerate() {
    std::vector<HidInterfaceInfo> list;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set = SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return list;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, index, &data)) break;
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
        // The detail structure is variable-sized; the buffer is aligned for it.
        std::vector<std::uint64_t> storage((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr)) continue;

        // Every interface keeps its place in the list, even one that cannot be
        // opened, so that positions mean the same in every scan.
        HidInterfaceInfo info;
        info.path = Utf8(detail->DevicePath);
        HidPathIds ids;
        if (ParseHidInterfacePath(info.path, ids)) {
            info.vendorId = ids.vendorId;
            info.productId = ids.productId;
            info.collection = ids.collection;
        }
        // No access rights asked: keyboards and mice held by the system still
        // answer queries of identity and capabilities.
        Handle query(CreateFileW(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr));
        if (query.valid()) ReadIdentity(query.get(), info);
        list.push_back(std::move(info));
    }
    SetupDiDestroyDeviceInfoList(set);
    return list;
}

std::unique_ptr<HidHandle> Win32HidTransport::open(const HidInterfaceInfo& where) {
    const std::wstring path = Wide(where.path);
    if (path.empty()) return nullptr;
    Handle device(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!device.valid()) return nullptr;
    // Identity and capabilities come from the interface itself, so one that
    // changed hands since the enumeration is recognised as a different device.
    HidInterfaceInfo info;
    info.path = where.path;
    info.collection = where.collection;
    if (!ReadIdentity(device.get(), info)) return nullptr;
    return std::make_unique<Win32HidHandle>(device.release(), std::move(info));
}

void Win32HidTransport::watchDeviceChanges(DeviceEventSink*) {}

}  // namespace zavrin
