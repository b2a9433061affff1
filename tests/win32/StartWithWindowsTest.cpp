// The start at login through the user's Run key, and the balloon that carries
// the program's notifications, against Wine's registry and tray.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../platform/RecordingWindow.h"
#include "Win32TestSupport.h"
#include "platform/win32/Win32Services.h"

#include <windows.h>

// Inside the program's namespace: its window types share their names with
// windows.h's, and these lookups must find the program's first.
namespace zavrin {
using namespace test;
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The Run value the program writes, or nothing.
std::optional<std::wstring> RunValue() {
    wchar_t value[1024] = {};
    ::DWORD bytes = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Zavrin ZR2", RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

class StartWithWindowsTest : public ::testing::Test {
protected:
    Win32Desktop desktop;
    Recording<CWnd> main;
    std::unique_ptr<Win32Services> services;

    void SetUp() override {
        ASSERT_TRUE(main.CreateEx(WS_EX_APPWINDOW, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100}, HWND{}));
        Win32Backend& backend = desktop.backend();
        services = std::make_unique<Win32Services>([&backend](HWND h) { return backend.nativeHandle(h.value); });
        services->SetStartWithDesktop(false);
    }
    void TearDown() override { services->SetStartWithDesktop(false); }
};

TEST_F(StartWithWindowsTest, TheRunValueStartsThisProgramInTheTrayAndGoesAgain) {
    EXPECT_FALSE(services->StartsWithDesktop());
    ASSERT_TRUE(services->SetStartWithDesktop(true));
    EXPECT_TRUE(services->StartsWithDesktop());
    std::vector<wchar_t> self(32768);
    const ::DWORD n = ::GetModuleFileNameW(nullptr, self.data(), static_cast<::DWORD>(self.size()));
    EXPECT_EQ(RunValue(), L"\"" + std::wstring(self.data(), n) + L"\" --tray");

    ASSERT_TRUE(services->SetStartWithDesktop(false));
    EXPECT_FALSE(services->StartsWithDesktop());
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_TRUE(services->SetStartWithDesktop(false));  // removing what is gone is no failure
}

TEST_F(StartWithWindowsTest, NotificationsNeedTheTrayIcon) {
    EXPECT_FALSE(services->ShowNotification("Zavrin ZR2: battery low", "15%"));
    TrayIconRequest request;
    request.target = main.GetSafeHwnd();
    request.callbackMessage = 0x420;
    request.iconId = 128;
    request.tip = "Zavrin ZR2";
    ASSERT_TRUE(services->AddTrayIcon(request));
    EXPECT_TRUE(services->ShowNotification("Zavrin ZR2: battery low",
                                           "The mouse's battery is at 15%. Connect the cable to charge it."));
    services->RemoveTrayIcon();
}

}  // namespace
}  // namespace zavrin
