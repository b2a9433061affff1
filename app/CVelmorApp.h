#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/Options.h"
#include "app/ScriptDriver.h"
#include "platform/Backend.h"
#include "platform/Canvas.h"
#include "platform/PlatformServices.h"

namespace zavrin {

// The application object: the single-instance rule, the folders, the UI scale,
// the model, the mouse's transport, then the main window run modally; the
// program ends when it ends. One per process; UI thread.
class CVelmorApp {
public:
    // The exit statuses of the program.
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitScriptError = 3;

    struct Platform {
        Backend& backend;
        Graphics& graphics;
        PlatformServices& services;
    };

    CVelmorApp(Options options, std::filesystem::path exeFolder, std::filesystem::path dataFolder);

    // Runs the program on the platform given and returns its exit status.
    int InitInstance(Platform platform);

    // Why the run failed (one line), when it did.
    const std::string& error() const { return error_; }

    // A harness that feeds the program in place of a script (the soak run):
    // called once the main window is up, with the hooks a script gets; what it
    // returns runs as the window layer's idle source until the program ends.
    using DriverFactory = std::function<std::unique_ptr<IdleSource>(ScriptDriver::Hooks)>;
    void setDriverFactory(DriverFactory factory) { driverFactory_ = std::move(factory); }

private:
    Options options_;
    std::filesystem::path exeFolder_;
    std::filesystem::path dataFolder_;
    std::string error_;
    DriverFactory driverFactory_;
};

}  // namespace zavrin
