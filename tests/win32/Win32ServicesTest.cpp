#include <gtest/gtest.h>

#include <process.h>

#include <filesystem>
#include <string>
#include <thread>

#include "../platform/RecordingWindow.h"
#include "Win32TestSupport.h"
#include "platform/win32/NativeProbe.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32Services.h"

using namespace zavrin;
using namespace zavrin::test;

namespace {

constexpr UINT kShowMessage = 2999;
constexpr UINT kTrayCallback = 0x420;
constexpr UINT kKeyMessage = 0x401;

// Runs the probe, which sits beside this program, as a separate process for
// `folder` and gives its exit status.
int RunSecondCopy(const std::filesystem::path& folder) {
    const std::wstring program = (Win32ProgramFolder() / ZAVRIN_INSTANCE_PROBE).wstring();
    const std::wstring argument = L"\"" + folder.wstring() + L"\"";
    return static_cast<int>(_wspawnl(_P_WAIT, program.c_str(), program.c_str(), argument.c_str(), nullptr));
}

class Win32ServicesTest : public ::testing::Test {
protected:
    Win32Desktop desktop;
    Recording<CWnd> main;
    std::unique_ptr<Win32Services> services;

    void SetUp() override {
        ASSERT_TRUE(main.CreateEx(WS_EX_APPWINDOW, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100}, HWND{}));
        Win32Backend& backend = desktop.backend();
        services = std::make_unique<Win32Services>([&backend](HWND h) { return backend.nativeHandle(h.value); },
                                                   std::filesystem::path("C:\\users\\nobody\\AppData\\Roaming\\Zavrin"));
    }
};

}  // namespace

TEST(SingleInstanceName, OnlyTheUsersOwnFolderUsesTheBareName) {
    const std::filesystem::path own = "C:\\Users\\ana\\AppData\\Roaming\\KestruneData20240412A";
    EXPECT_EQ(SingleInstanceMutexName(own, own), "20210610 Mouse 33XX");
    // The same folder written otherwise is still the user's own.
    EXPECT_EQ(SingleInstanceMutexName("c:/users/ANA/AppData/Roaming/KestruneData20240412A/", own),
              "20210610 Mouse 33XX");
    const std::string a = SingleInstanceMutexName("C:\\tests\\a", own);
    const std::string b = SingleInstanceMutexName("C:\\tests\\b", own);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind("20210610 Mouse 33XX ", 0), 0u);
    EXPECT_EQ(a, SingleInstanceMutexName("c:\\TESTS\\a\\", own));
}

TEST_F(Win32ServicesTest, ASecondProcessWithTheSameFolderHandsOverAndOneWithAnotherStarts) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zavrin-instance-a";
    ASSERT_TRUE(services->ClaimSingleInstance(folder));
    services->SetShowRequestTarget(main.GetSafeHwnd(), kShowMessage);

    // The other process blocks in its request until this one answers, so this
    // side keeps pumping while it runs.
    int status = -1;
    std::thread second([&] { status = RunSecondCopy(folder); });
    EXPECT_TRUE(desktop.pumpUntil([&] { return main.count(kShowMessage) == 1; }, std::chrono::seconds(60)));
    second.join();
    EXPECT_EQ(status, 1) << "the second copy found the first";

    EXPECT_EQ(RunSecondCopy(std::filesystem::temp_directory_path() / "zavrin-instance-b"), 0)
        << "another data folder is another program";
    EXPECT_EQ(main.count(kShowMessage), 1);
}

TEST_F(Win32ServicesTest, TrayIconIsAddedAndRemoved) {
    TrayIconSpec spec;
    spec.target = main.GetSafeHwnd();
    spec.callbackMessage = kTrayCallback;
    spec.iconId = 128;
    auto icon = std::make_shared<Image>(16, 16);
    icon->fill(RGB(0x35, 0xA0, 0xDE));
    spec.icon = icon;
    spec.tip = "Zavrin ZR2";
    spec.menu = {TrayMenuItem{2075, "Show"}, TrayMenuItem{0, ""}, TrayMenuItem{2076, "Exit"}};
    ASSERT_TRUE(services->AddTrayIcon(spec));
    EXPECT_TRUE(services->TrayIconShown());
    services->RemoveTrayIcon();
    EXPECT_FALSE(services->TrayIconShown());
    services->RemoveTrayIcon();  // a second removal is harmless
}

TEST_F(Win32ServicesTest, ClipboardKeepsUnicodeText) {
    services->SetClipboardText("DPI 1600 \xE2\x80\x94 \xE9\xBC\xA0\xE6\xA0\x87");
    EXPECT_EQ(services->GetClipboardText(), "DPI 1600 \xE2\x80\x94 \xE9\xBC\xA0\xE6\xA0\x87");
}

TEST_F(Win32ServicesTest, KeyboardCapturePostsPressAndReleaseWithSidedCodes) {
    services->StartKeyboardCapture(main.GetSafeHwnd(), kKeyMessage);
    SendNativeKey(0xA0);  // VK_LSHIFT
    SendNativeKey('K');
    ASSERT_TRUE(desktop.pumpUntil([&] { return main.count(kKeyMessage) >= 4; })) << main.count(kKeyMessage);
    const auto keys = main.only(kKeyMessage);
    EXPECT_EQ(keys[0].wParam, 0xA0u);
    EXPECT_EQ(static_cast<std::uint32_t>(keys[0].lParam) & 0x80000000u, 0u) << "press";
    EXPECT_EQ(keys[1].wParam, 0xA0u);
    EXPECT_NE(static_cast<std::uint32_t>(keys[1].lParam) & 0x80000000u, 0u) << "release";
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>('K'));
    services->StopKeyboardCapture();
    SendNativeKey('L');
    desktop.pumpUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(main.count(kKeyMessage), 4) << "nothing after the capture stopped";
}

TEST_F(Win32ServicesTest, ShellRefusesEmptyTargetsAndFileDialogsNeedAnOwner) {
    EXPECT_FALSE(services->ShellOpen(""));
    services->RegisterDeviceNotifications(main.GetSafeHwnd());  // registers without a device; nothing arrives
    EXPECT_EQ(main.count(0x0219), 0);
}
