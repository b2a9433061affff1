#include <gtest/gtest.h>

#include <process.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "../platform/RecordingWindow.h"
#include "Win32TestSupport.h"
#include "platform/win32/NativeProbe.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32ControlPipe.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32SingleInstance.h"

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
        services = std::make_unique<Win32Services>([&backend](HWND h) { return backend.nativeHandle(h.value); });
    }
};

}  // namespace

TEST(SingleInstanceName, OnlyTheUsersOwnFolderUsesTheBareName) {
    const std::filesystem::path own = Win32RoamingAppDataFolder() / "KestruneData20240412A";
    EXPECT_EQ(win32::SingleInstance::objectName(own), "20210610 Mouse 33XX");
    // The same folder written otherwise is still the user's own.
    std::wstring upper = own.wstring();
    for (wchar_t& c : upper) c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    EXPECT_EQ(win32::SingleInstance::objectName(std::filesystem::path(upper + L"\\")), "20210610 Mouse 33XX");
    const std::string a = win32::SingleInstance::objectName("C:\\tests\\a");
    const std::string b = win32::SingleInstance::objectName("C:\\tests\\b");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind("20210610 Mouse 33XX ", 0), 0u);
    EXPECT_EQ(a, win32::SingleInstance::objectName("c:/TESTS/a/"));
    // The program makes its folder absolute; zavrinctl may be given it relative.
    EXPECT_EQ(win32::SingleInstance::objectName("zavrin-relative"),
              win32::SingleInstance::objectName(std::filesystem::current_path() / "zavrin-relative"));
}

TEST(SingleInstance, HeadlessCopiesHandOverWithoutAWindow) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zavrin-instance-headless";
    EXPECT_FALSE(win32::SingleInstance::signalFirst(folder)) << "nobody holds it yet";
    win32::SingleInstance first;
    ASSERT_TRUE(first.claim(folder));
    win32::SingleInstance second;
    EXPECT_FALSE(second.claim(folder));
    std::atomic<int> shown{0};
    first.setHandler([&] { ++shown; });
    EXPECT_TRUE(win32::SingleInstance::signalFirst(folder));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (shown == 0 && std::chrono::steady_clock::now() < end) std::this_thread::yield();
    EXPECT_EQ(shown, 1);
}

TEST(SingleInstance, ControlRequestsReachTheFirstCopyAndItsAnswerComesBack) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zavrin-instance-control";
    constexpr std::chrono::milliseconds kWait{5000};
    EXPECT_FALSE(win32::SingleInstance::sendControlRequest(folder, "{}", kWait)) << "nobody holds it yet";
    std::optional<std::string> answer;
    {
        win32::SingleInstance first;
        ASSERT_TRUE(first.claim(folder));
        first.setControlHandler([](const std::string& request) { return "done " + request; });
        const std::string longRequest(20000, 'x');  // more than one read's worth
        EXPECT_EQ(win32::SingleInstance::sendControlRequest(folder, "{\"command\":\"get\"}", kWait),
                  "done {\"command\":\"get\"}");
        EXPECT_EQ(win32::SingleInstance::sendControlRequest(folder, longRequest, kWait), "done " + longRequest);
        // A refusal is an empty answer, not "nobody there": the caller must not
        // write to the mouse beside the program.
        first.setControlHandler([](const std::string&) { return std::string(); });
        answer = win32::SingleInstance::sendControlRequest(folder, "{}", kWait);
    }
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "");
    EXPECT_FALSE(win32::SingleInstance::sendControlRequest(folder, "{}", kWait)) << "the copy has ended";
}

TEST(SingleInstance, AProgramThatDoesNotAnswerCannotHoldTheRequesterPastItsTimeout) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zavrin-instance-hung";
    win32::SingleInstance first;
    ASSERT_TRUE(first.claim(folder));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    first.setControlHandler([released](const std::string&) {
        released.wait();
        return std::string("late");
    });
    const auto asked = std::chrono::steady_clock::now();
    const std::optional<std::string> answer =
        win32::SingleInstance::sendControlRequest(folder, "{}", std::chrono::milliseconds(300));
    const auto waited = std::chrono::steady_clock::now() - asked;
    release.set_value();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "") << "no answer in time is no answer";
    EXPECT_LT(waited, std::chrono::seconds(10));
}

TEST(SingleInstance, TheControlPipeIsTheUsersOwn) {
    const std::wstring name = win32::ControlPipe::pipeName("20210610 Mouse 33XX");
    EXPECT_EQ(name.rfind(L"\\\\.\\pipe\\20210610 Mouse 33XX control S-1-", 0), 0u) << Utf8FromWide(name);
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

TEST_F(Win32ServicesTest, ControlRequestsReachAHandlerGivenBeforeOrAfterTheClaim) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zavrin-instance-services";
    constexpr std::chrono::milliseconds kWait{5000};
    // The program hands its handler over once its window exists, which may
    // come before or after the claim.
    services->SetControlRequestHandler([](const std::string& request) { return "early " + request; });
    ASSERT_TRUE(services->ClaimSingleInstance(folder));
    EXPECT_EQ(win32::SingleInstance::sendControlRequest(folder, "a", kWait), "early a");
    services->SetControlRequestHandler([](const std::string& request) { return "late " + request; });
    EXPECT_EQ(win32::SingleInstance::sendControlRequest(folder, "b", kWait), "late b");
}

TEST_F(Win32ServicesTest, TrayIconIsAddedAndRemoved) {
    TrayIconRequest request;
    request.target = main.GetSafeHwnd();
    request.callbackMessage = kTrayCallback;
    request.iconId = 128;
    auto icon = std::make_shared<Image>(16, 16);
    icon->fill(RGB(0x35, 0xA0, 0xDE));
    request.icon = icon;
    request.tip = "Zavrin ZR2";
    request.menu = {TrayMenuItem{2075, "Show"}, TrayMenuItem{0, ""}, TrayMenuItem{2076, "Exit"}};
    ASSERT_TRUE(services->AddTrayIcon(request));
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
