#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace zavrin {

class SimulatedMouse;
class PlatformServices;

// Drives the program from a text file, one command a line, for support,
// demonstrations and end-to-end tests. It runs as the window layer's idle
// source, so it goes on inside modal dialogs and menus on every backend; its
// clicks and keys are injected as input events, so they take the same road as
// a person's. A line that cannot be carried out stops the script with an error
// (`failed()`), and the program then ends through its close path.
//
// UI thread only.
class ScriptDriver final : public IdleSource {
public:
    struct Hooks {
        HWND mainWindow;
        WindowSystem* windows = nullptr;  // the layer the script feeds its input to
        SimulatedMouse* mouse = nullptr;  // null without --simulate
        PlatformServices* services = nullptr;
        std::filesystem::path dataFolder;
        // Queues the answer of the next file dialog (nullopt: cancel).
        std::function<void(std::optional<std::filesystem::path>)> answerFileDialog;
        // Hands a captured key to the keyboard-capture target, if any.
        std::function<void(std::uint32_t key, bool released)> captureKey;
        // Device events the main window has applied so far.
        std::function<std::uint64_t()> deviceEventsHandled;
        // Ends the program through its close path.
        std::function<void()> exitProgram;
        // zavrinctl requests the program has carried out so far.
        std::function<std::uint64_t()> controlRequestsHandled;
    };

    ScriptDriver(std::vector<std::string> lines, Hooks hooks);
    static std::optional<std::vector<std::string>> ReadScript(const std::filesystem::path& path,
                                                              std::string& error);

    bool RunIdleStep() override;
    std::optional<Clock::Duration> NextIdleDue() const override;

    bool finished() const { return next_ >= lines_.size() && !waitUntil_; }
    bool failed() const { return !error_.empty(); }
    // "script line N: <why>"
    const std::string& error() const { return error_; }

    // The virtual-key code of a NAME of the `key` command; nullopt for an unknown name.
    static std::optional<std::uint32_t> KeyCode(const std::string& name);

private:
    // Runs one line; false (with `why`) when it cannot be carried out.
    bool Execute(const std::string& line, std::string& why);
    bool ClickControl(const std::vector<std::string>& args, std::string& why, MouseButton button,
                      int clicks);
    bool HoverControl(const std::vector<std::string>& args, std::string& why);
    bool ClickAt(const std::vector<std::string>& args, std::string& why, MouseButton button);
    bool Drag(const std::vector<std::string>& args, std::string& why);
    bool MenuRow(const std::vector<std::string>& args, std::string& why);
    bool Key(const std::vector<std::string>& args, std::string& why, bool down, bool up);
    bool Type(const std::string& text);
    bool Screenshot(const std::vector<std::string>& args, std::string& why, bool wholeScreen);
    bool Tray(const std::vector<std::string>& args, std::string& why);
    bool Device(const std::vector<std::string>& args, std::string& why);
    bool Wait(const std::vector<std::string>& args, std::string& why);
    bool FileAnswer(const std::vector<std::string>& args, std::string& why);
    bool SecondStart();
    bool Front(const std::vector<std::string>& args, std::string& why);
    bool WaitForShow(const std::vector<std::string>& args, std::string& why);
    bool WaitForRequests(const std::vector<std::string>& args, std::string& why);
    // Pumps the window layer in real time until `done` holds; false when
    // `limit` passed first. Only for waits on another process.
    bool WaitInRealTime(std::chrono::milliseconds limit, const std::function<bool()>& done);
    void WaitFor(std::chrono::milliseconds d);

    struct Command;
    // The table of commands, in the order the script language lists them.
    static const std::vector<Command>& Commands();
    void SettleDevice(std::uint64_t before);

    HWND FrontWindow() const;
    void Click(POINT screen, MouseButton button, int clicks);
    void Move(POINT screen);

    std::vector<std::string> lines_;
    Hooks hooks_;
    std::size_t next_ = 0;
    std::optional<Clock::Duration> waitUntil_;
    std::string error_;
};

}  // namespace zavrin
