#include "app/CVelmorApp.h"

#include <deque>
#include <iostream>
#include <optional>

#include "app/ControlRequests.h"
#include "model/FileNotices.h"
#include "app/ScriptDriver.h"
#include "app/Startup.h"
#include "app/UserFolders.h"
#include "device/TransportFactory.h"
#include "device/sim/SimulatedMouse.h"
#include "pages/CVelmorDlg.h"
#include "platform/ForwardingServices.h"
#include "platform/KeyCaptureTarget.h"
#include "platform/Resources.h"
#include "platform/WindowSystem.h"
#include "ui/CControlBase.h"
#include "ui/CEditBox.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

// The services as the program sees them: a script may answer the next file
// dialog and hand keys to the keyboard capture; everything else goes to the
// platform.
class ScriptableServices final : public ForwardingServices {
public:
    using ForwardingServices::ForwardingServices;

    std::deque<std::optional<std::filesystem::path>> scriptedAnswers;

    std::optional<std::filesystem::path> AskForFile(const FileDialogRequest& request) override {
        if (scriptedAnswers.empty()) return ForwardingServices::AskForFile(request);
        auto answer = scriptedAnswers.front();
        scriptedAnswers.pop_front();
        return answer;
    }
    void StartKeyboardCapture(HWND target, UINT message) override {
        scriptedKeys_.start(target, message);
        ForwardingServices::StartKeyboardCapture(target, message);
    }
    void StopKeyboardCapture() override {
        scriptedKeys_.stop();
        ForwardingServices::StopKeyboardCapture();
    }
    // A key from the script, delivered as the capture delivers the desktop's.
    void CaptureScriptedKey(std::uint32_t key, bool released, std::uint32_t timeMs) const {
        scriptedKeys_.deliver(key, released, timeMs);
    }

private:
    KeyCaptureTarget scriptedKeys_;
};

std::uint32_t MillisecondsNow() {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(GetUiClock().now());
    return static_cast<std::uint32_t>(now.count()) & 0x7FFFFFFFu;
}

}  // namespace

CVelmorApp::CVelmorApp(Options options, std::filesystem::path exeFolder,
                       std::filesystem::path dataFolder)
    : options_(std::move(options)),
      exeFolder_(std::move(exeFolder)),
      dataFolder_(std::move(dataFolder)) {}

int CVelmorApp::InitInstance(Platform platform) {
    ScriptableServices services(platform.services);
    // A second copy with the same data folder hands over and leaves no trace.
    if (!services.ClaimSingleInstance(dataFolder_)) {
        services.SignalFirstInstance(dataFolder_);
        return kExitOk;
    }

    std::optional<std::vector<std::string>> script;
    if (options_.script) {
        script = ScriptDriver::ReadScript(*options_.script, error_);
        if (!script) return kExitFailed;
    }

    WindowSystem windows(platform.backend, &platform.graphics);
    SetGraphics(&platform.graphics);
    InstallResources(generatedResources());

    const bool chinese = userLocaleIsChinese();
    const FileProblem folderProblem = prepareDataFolder(dataFolder_);
    if (!folderProblem) installLanguageFiles(exeFolder_, dataFolder_, chinese);
    skinFolder = exeFolder_;
    uiScale = computeUiScale(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
    systemDpiFactor = static_cast<float>(GetLogicalDpi()) / 96.0f;
    AppModel model(dataFolder_);
    model.load(LoadOptions{uiScale, exeFolder_, chinese});
    model.notices.noteStartProblems(folderProblem, model.unreadableFiles());
    // The window tells the user too; the error output keeps a line for whoever
    // started the program from a terminal or a script.
    if (folderProblem) std::cerr << "zavrin: " << folderProblemLine(folderProblem) << "\n";
    for (const FileProblem& problem : model.unreadableFiles()) {
        std::cerr << "zavrin: " << unreadableFileLine(problem) << "\n";
    }
    uiLanguage = model.language;
    CEditBox::SetClipboard(
        [&services](const std::string& text) { services.SetClipboardText(text); },
        [&services] { return services.GetClipboardText(); });

    TransportOptions transportOptions;
    transportOptions.simulate = options_.simulate;
    transportOptions.hidTrace = options_.hidTrace;
    if (options_.simulate) {
        auto kinds = parseKindList(options_.simulatedKinds);
        if (!kinds) {
            error_ = "unknown connection kind in --simulate=" + options_.simulatedKinds;
            return kExitFailed;
        }
        transportOptions.simulatedKinds = *kinds;
    }
    TransportChoice transport = makeTransport(transportOptions, GetUiClock());
    if (!transport.transport) {
        error_ = transport.error;
        return kExitFailed;
    }

    std::unique_ptr<ScriptDriver> driver;
    std::unique_ptr<IdleSource> harness;
    CVelmorDlg window(CVelmorDlg::Environment{model, *transport.transport, services, dataFolder_});
    window.SetStartInTray(options_.tray);
    std::unique_ptr<ControlRequests> requests;
    window.SetAfterInit([&](CVelmorDlg& w) {
        // zavrinctl's requests are taken once the model and the connection are up.
        requests = std::make_unique<ControlRequests>(w, services, exeFolder_);
        if (options_.runFor) w.EndAfter(*options_.runFor);
        if (options_.screenshot) w.ScreenshotAndEnd(*options_.screenshot);
        if (!script && !driverFactory_) return;
        ScriptDriver::Hooks hooks;
        hooks.mainWindow = w.GetSafeHwnd();
        hooks.windows = &windows;
        hooks.mouse = transport.simulatedMouse;
        hooks.services = &services;
        hooks.dataFolder = dataFolder_;
        hooks.answerFileDialog = [&services](std::optional<std::filesystem::path> answer) {
            services.scriptedAnswers.push_back(std::move(answer));
        };
        hooks.captureKey = [&services](std::uint32_t key, bool released) {
            services.CaptureScriptedKey(key, released, MillisecondsNow());
        };
        hooks.deviceEventsHandled = [&w] { return w.deviceEventsHandled(); };
        hooks.exitProgram = [&w] { PostMessage(w.GetSafeHwnd(), WM_COMMAND, ControlId::ExitCommand, 0); };
        hooks.controlRequestsHandled = [&requests] { return requests ? requests->handled() : 0; };
        if (!script) {
            harness = driverFactory_(std::move(hooks));
            windows.SetIdleSource(harness.get());
            return;
        }
        driver = std::make_unique<ScriptDriver>(std::move(*script), std::move(hooks));
        windows.SetIdleSource(driver.get());
    });
    window.DoModal();
    requests.reset();
    windows.SetIdleSource(nullptr);
    SetGraphics(nullptr);

    // Settings that could not be saved even at the end are lost: say so, and end
    // with the failure status unless another failure says more.
    const FileProblem& unsaved = window.exitSaveProblem();
    if (options_.screenshot && !window.screenshotWritten()) {
        if (unsaved) std::cerr << "zavrin: " << unsavedLine(unsaved) << "\n";
        error_ = "cannot write the screenshot " + options_.screenshot->string();
        return kExitFailed;
    }
    if (driver && driver->failed()) {
        if (unsaved) std::cerr << "zavrin: " << unsavedLine(unsaved) << "\n";
        error_ = driver->error();
        return kExitScriptError;
    }
    if (unsaved) {
        error_ = unsavedLine(unsaved);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace zavrin
