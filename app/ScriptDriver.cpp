#include "app/ScriptDriver.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "device/TransportFactory.h"
#include "device/sim/SimulatedMouse.h"
#include "model/Utf8.h"
#include "pages/AutoProfileIds.h"
#include "pages/CVelmorDlg.h"
#include "platform/BenchMarks.h"
#include "platform/PlatformServices.h"
#include "platform/Snapshot.h"
#include "ui/CDlgBase.h"
#include "ui/CWndPopup.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr std::chrono::milliseconds kHoverWait{500};
constexpr std::chrono::milliseconds kDeviceSettleLimit{2000};
constexpr int kDragSteps = 8;
constexpr UINT kTrayCallback = MainMessage::TrayCallback;
constexpr WPARAM kTrayIconId = CVelmorDlg::kTrayIconId;
constexpr UINT kShowCommand = ControlId::ShowWindowCommand;
constexpr UINT kExitCommand = ControlId::ExitCommand;
constexpr UINT kPauseCommand = AutoProfileId::PauseCommand;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::optional<long> Number(const std::string& text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    auto [ptr, ec] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (ec != std::errc{} || ptr != end || begin == end) return std::nullopt;
    return value;
}

CDlgBase* SkinnedWindow(HWND hwnd) {
    return dynamic_cast<CDlgBase*>(CWnd::FromHandle(hwnd));
}

const CControlBase* DisplayedControl(const CDlgBase& dialog, std::uint32_t id) {
    for (const auto& list : dialog.ControlLists()) {
        for (const auto& control : list) {
            if (control && control->id == id && control->IsDisplayed()) return control.get();
        }
    }
    return nullptr;
}

std::optional<ConnectionKind> KindNamed(const std::string& name) {
    auto kinds = parseKindList(Lower(name));
    if (!kinds || kinds->size() != 1) return std::nullopt;
    return kinds->front();
}

}  // namespace

ScriptDriver::ScriptDriver(std::vector<std::string> lines, Hooks hooks)
    : lines_(std::move(lines)), hooks_(std::move(hooks)) {}

std::optional<std::vector<std::string>> ScriptDriver::ReadScript(const std::filesystem::path& path,
                                                                 std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the script " + path.string();
        return std::nullopt;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::uint32_t> ScriptDriver::KeyCode(const std::string& name) {
    static const std::map<std::string, std::uint32_t> named{
        {"enter", 0x0D},     {"escape", 0x1B},   {"tab", 0x09},    {"space", 0x20},
        {"backspace", 0x08}, {"delete", 0x2E},   {"home", 0x24},   {"end", 0x23},
        {"left", 0x25},      {"right", 0x27},    {"up", 0x26},     {"down", 0x28},
        {"pageup", 0x21},    {"pagedown", 0x22}, {"shift", 0x10},  {"ctrl", 0x11},
        {"alt", 0x12},       {"lshift", 0xA0},   {"rshift", 0xA1}, {"lctrl", 0xA2},
        {"rctrl", 0xA3},     {"lalt", 0xA4},     {"ralt", 0xA5},
    };
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    const std::string lower = Lower(name);
    if (auto it = named.find(lower); it != named.end()) return it->second;
    if (lower.size() >= 2 && lower[0] == 'f') {
        if (auto n = Number(lower.substr(1)); n && *n >= 1 && *n <= 24)
            return static_cast<std::uint32_t>(0x70 + *n - 1);
    }
    if (lower.rfind("0x", 0) == 0) {
        if (auto n = Number(lower); n && *n >= 1 && *n <= 0xFE)
            return static_cast<std::uint32_t>(*n);
    }
    return std::nullopt;
}

std::optional<Clock::Duration> ScriptDriver::NextIdleDue() const {
    return waitUntil_;
}

bool ScriptDriver::RunIdleStep() {
    if (failed()) return false;
    if (waitUntil_) {
        if (GetUiClock().now() < *waitUntil_) return false;
        waitUntil_.reset();
    }
    while (next_ < lines_.size()) {
        const std::size_t number = next_ + 1;
        const std::string line = lines_[next_++];
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::string why;
        if (!Execute(line.substr(first), why)) {
            error_ = "script line " + std::to_string(number) + ": " + why;
            next_ = lines_.size();
            if (hooks_.exitProgram) hooks_.exitProgram();
        }
        // One command per idle moment: what it caused is handled before the next.
        return true;
    }
    return false;
}

void ScriptDriver::WaitFor(std::chrono::milliseconds d) {
    waitUntil_ = GetUiClock().now() + d;
}

HWND ScriptDriver::FrontWindow() const {
    WindowSystem* windows = hooks_.windows;
    if (windows == nullptr) return HWND{};
    for (HWND h : windows->ZOrder()) {
        if (IsWindowVisible(h) && SkinnedWindow(h) != nullptr) return h;
    }
    return hooks_.mainWindow;
}

void ScriptDriver::Move(POINT screen) {
    InputEvent e;
    e.kind = InputEvent::Kind::MouseMove;
    e.screen = screen;
    hooks_.windows->InjectInput(e);
}

void ScriptDriver::Click(POINT screen, MouseButton button, int clicks) {
    Move(screen);
    for (int i = 1; i <= clicks; ++i) {
        InputEvent e;
        e.kind = InputEvent::Kind::ButtonDown;
        e.screen = screen;
        e.button = button;
        e.clickCount = i;
        hooks_.windows->InjectInput(e);
        e.kind = InputEvent::Kind::ButtonUp;
        hooks_.windows->InjectInput(e);
    }
}

bool ScriptDriver::ClickControl(const std::vector<std::string>& args, std::string& why,
                                MouseButton button, int clicks) {
    auto id = args.size() == 2 ? Number(args[1]) : std::nullopt;
    if (!id) {
        why = "expected one control id";
        return false;
    }
    const HWND front = FrontWindow();
    const CDlgBase* dialog = SkinnedWindow(front);
    const CControlBase* control =
        dialog ? DisplayedControl(*dialog, static_cast<std::uint32_t>(*id)) : nullptr;
    if (control == nullptr) {
        why = "no shown control " + args[1] + " in the front window";
        return false;
    }
    const POINT centre{(control->Rect().left + control->Rect().right) / 2,
                       (control->Rect().top + control->Rect().bottom) / 2};
    // The benchmark of opening a dialog measures from here to its first frame.
    ReportBenchMark("click " + args[1]);
    Click(ClientToScreen(front, centre), button, clicks);
    return true;
}

bool ScriptDriver::HoverControl(const std::vector<std::string>& args, std::string& why) {
    auto id = args.size() == 2 ? Number(args[1]) : std::nullopt;
    const HWND front = FrontWindow();
    const CDlgBase* dialog = SkinnedWindow(front);
    const CControlBase* control =
        id && dialog ? DisplayedControl(*dialog, static_cast<std::uint32_t>(*id)) : nullptr;
    if (control == nullptr) {
        why =
            id ? "no shown control " + args[1] + " in the front window" : "expected one control id";
        return false;
    }
    Move(ClientToScreen(front, POINT{(control->Rect().left + control->Rect().right) / 2,
                                     (control->Rect().top + control->Rect().bottom) / 2}));
    WaitFor(kHoverWait);
    return true;
}

bool ScriptDriver::ClickAt(const std::vector<std::string>& args, std::string& why,
                           MouseButton button) {
    auto x = args.size() == 3 ? Number(args[1]) : std::nullopt;
    auto y = args.size() == 3 ? Number(args[2]) : std::nullopt;
    if (!x || !y) {
        why = "expected X Y";
        return false;
    }
    const POINT client{static_cast<int>(static_cast<float>(*x) * uiScale),
                       static_cast<int>(static_cast<float>(*y) * uiScale)};
    Click(ClientToScreen(FrontWindow(), client), button, 1);
    return true;
}

bool ScriptDriver::Drag(const std::vector<std::string>& args, std::string& why) {
    std::array<long, 4> v{};
    for (std::size_t i = 0; i < 4; ++i) {
        auto n = args.size() == 5 ? Number(args[i + 1]) : std::nullopt;
        if (!n) {
            why = "expected X1 Y1 X2 Y2";
            return false;
        }
        v[i] = *n;
    }
    const HWND front = FrontWindow();
    auto at = [&](double t) {
        const double x = static_cast<double>(v[0]) + (static_cast<double>(v[2] - v[0])) * t;
        const double y = static_cast<double>(v[1]) + (static_cast<double>(v[3] - v[1])) * t;
        return ClientToScreen(front,
                              POINT{static_cast<int>(x * uiScale), static_cast<int>(y * uiScale)});
    };
    Move(at(0));
    InputEvent e;
    e.kind = InputEvent::Kind::ButtonDown;
    e.screen = at(0);
    hooks_.windows->InjectInput(e);
    for (int i = 1; i <= kDragSteps; ++i) Move(at(static_cast<double>(i) / kDragSteps));
    e.kind = InputEvent::Kind::ButtonUp;
    e.screen = at(1);
    hooks_.windows->InjectInput(e);
    return true;
}

bool ScriptDriver::MenuRow(const std::vector<std::string>& args, std::string& why) {
    auto row = args.size() == 2 ? Number(args[1]) : std::nullopt;
    if (!row || *row < 0) {
        why = "expected a row number";
        return false;
    }
    WindowSystem* windows = hooks_.windows;
    for (HWND h : windows->ZOrder()) {
        auto* menu = dynamic_cast<CItemPopup*>(CWnd::FromHandle(h));
        if (menu == nullptr || !IsWindowVisible(h)) continue;
        if (static_cast<std::size_t>(*row) >= menu->Items().size()) {
            why = "the menu has no row " + args[1];
            return false;
        }
        const RECT& r = menu->Items()[static_cast<std::size_t>(*row)].itemRect;
        Click(ClientToScreen(h, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}),
              MouseButton::Left, 1);
        return true;
    }
    why = "no open menu";
    return false;
}

bool ScriptDriver::Key(const std::vector<std::string>& args, std::string& why, bool down, bool up) {
    auto code = args.size() == 2 ? KeyCode(args[1]) : std::nullopt;
    if (!code) {
        why = args.size() == 2 ? "unknown key " + args[1] : "expected one key name";
        return false;
    }
    InputEvent e;
    e.key = *code;
    if (down) {
        e.kind = InputEvent::Kind::KeyDown;
        hooks_.windows->InjectInput(e);
        if (hooks_.captureKey) hooks_.captureKey(*code, false);
    }
    if (up) {
        e.kind = InputEvent::Kind::KeyUp;
        hooks_.windows->InjectInput(e);
        if (hooks_.captureKey) hooks_.captureKey(*code, true);
    }
    return true;
}

bool ScriptDriver::Type(const std::string& text) {
    for (char32_t cp : utf8ToCodePoints(text)) {
        InputEvent e;
        e.kind = InputEvent::Kind::Char;
        e.key = static_cast<std::uint32_t>(cp);
        hooks_.windows->InjectInput(e);
    }
    return true;
}

bool ScriptDriver::Screenshot(const std::vector<std::string>& args, std::string& why,
                              bool wholeScreen) {
    if (args.size() != 2) {
        why = "expected one file name";
        return false;
    }
    // What is on screen now: paint everything that waits first.
    hooks_.windows->PumpPending();
    const bool written =
        wholeScreen
            ? WriteImagePng(
                  ComposeScreen(SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}),
                  args[1])
            : WriteWindowPng(FrontWindow(), args[1]);
    if (!written) why = "cannot write " + args[1];
    return written;
}

bool ScriptDriver::Tray(const std::vector<std::string>& args, std::string& why) {
    if (args.size() == 2 && args[1] == "dblclick") {
        PostMessage(hooks_.mainWindow, kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
        return true;
    }
    if (args.size() == 3 && args[1] == "menu") {
        const std::string command = Lower(args[2]);
        std::optional<long> id = command == "show"    ? std::optional<long>(kShowCommand)
                                 : command == "exit"  ? std::optional<long>(kExitCommand)
                                 : command == "pause" ? std::optional<long>(kPauseCommand)
                                                      : Number(args[2]);
        if (!id || (*id != kShowCommand && *id != kExitCommand && *id != kPauseCommand)) {
            why = "the tray menu has no command " + args[2];
            return false;
        }
        PostMessage(hooks_.mainWindow, kTrayCallback, kTrayIconId, WM_RBUTTONUP);
        PostMessage(hooks_.mainWindow, WM_COMMAND, static_cast<WPARAM>(*id), 0);
        return true;
    }
    why = "expected 'tray dblclick' or 'tray menu CMD'";
    return false;
}

void ScriptDriver::SettleDevice(std::uint64_t before) {
    // The simulated mouse answers on its reader threads: wait (in real time,
    // bounded) until the window has applied what the action caused.
    if (!hooks_.deviceEventsHandled) return;
    const auto deadline = std::chrono::steady_clock::now() + kDeviceSettleLimit;
    while (hooks_.deviceEventsHandled() == before && std::chrono::steady_clock::now() < deadline) {
        hooks_.windows->PumpPending();
        if (hooks_.deviceEventsHandled() != before) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool ScriptDriver::Device(const std::vector<std::string>& args, std::string& why) {
    SimulatedMouse* mouse = hooks_.mouse;
    if (mouse == nullptr) {
        why = "'device' needs --simulate";
        return false;
    }
    if (args.size() < 2) {
        why = "expected a device action";
        return false;
    }
    const std::string& action = args[1];
    auto number = [&](std::size_t i) { return args.size() > i ? Number(args[i]) : std::nullopt; };
    const std::uint64_t before = hooks_.deviceEventsHandled ? hooks_.deviceEventsHandled() : 0;
    if (action == "dpi" && number(2) && *number(2) >= 0 && *number(2) < 8) {
        mouse->setDpiLevel(static_cast<int>(*number(2)));
    } else if (action == "rate" && number(2) && *number(2) >= 0 && *number(2) <= 6) {
        mouse->setPollingRateIndex(static_cast<int>(*number(2)));
    } else if (action == "effect" && number(2) && *number(2) >= 0 && *number(2) <= 255) {
        mouse->setLightingMode(static_cast<std::uint8_t>(*number(2)));
    } else if (action == "battery" && number(2) && *number(2) >= 0 && *number(2) <= 100 &&
               args.size() <= 4) {
        ChargeState state = ChargeState::OnBattery;
        if (args.size() == 4 && args[3] == "charging")
            state = ChargeState::Charging;
        else if (args.size() == 4 && args[3] == "full")
            state = ChargeState::Full;
        else if (args.size() == 4) {
            why = "battery state is charging or full";
            return false;
        }
        mouse->setBattery(static_cast<std::uint8_t>(*number(2)), state);
    } else if (action == "unlink" && args.size() == 2) {
        mouse->loseLink();
    } else if (action == "link" && args.size() == 2) {
        mouse->regainLink();
    } else if ((action == "unplug" || action == "plug") && args.size() == 3 && KindNamed(args[2])) {
        if (action == "plug")
            mouse->plug(*KindNamed(args[2]));
        else
            mouse->unplug(*KindNamed(args[2]));
    } else if (action == "launch" && number(2) && *number(2) >= 0 && *number(2) <= 255) {
        if (*number(2) == 0)
            mouse->releaseQuickLaunch();
        else
            mouse->pressQuickLaunch(static_cast<int>(*number(2)));
    } else {
        why = "cannot carry out 'device " + action + "' with these arguments";
        return false;
    }
    SettleDevice(before);
    return true;
}

namespace {

// A count of milliseconds (or of anything else) in argument `index`; the
// reason in `why` when it is missing or negative.
std::optional<long> CountArg(const std::vector<std::string>& args, std::size_t index, std::size_t argCount,
                             const char* expected, std::string& why) {
    const auto n = args.size() == argCount ? Number(args[index]) : std::nullopt;
    if (!n || *n < 0) {
        why = expected;
        return std::nullopt;
    }
    return n;
}

constexpr const char* kExpectedMilliseconds = "expected a number of milliseconds";

}  // namespace

bool ScriptDriver::Wait(const std::vector<std::string>& args, std::string& why) {
    const auto ms = CountArg(args, 1, 2, kExpectedMilliseconds, why);
    if (!ms) return false;
    WaitFor(std::chrono::milliseconds(*ms));
    return true;
}

bool ScriptDriver::FileAnswer(const std::vector<std::string>& args, std::string& why) {
    if (args.size() != 2) {
        why = "expected a path or 'cancel'";
        return false;
    }
    if (hooks_.answerFileDialog) {
        hooks_.answerFileDialog(args[1] == "cancel" ? std::nullopt : std::optional<std::filesystem::path>(args[1]));
    }
    return true;
}

bool ScriptDriver::SecondStart() {
    if (hooks_.services == nullptr || !hooks_.services->SignalFirstInstance(hooks_.dataFolder)) {
        PostMessage(hooks_.mainWindow, MainMessage::ShowRequest, 0, 0);
    }
    return true;
}

bool ScriptDriver::Front(const std::vector<std::string>& args, std::string& why) {
    // The headless desktop's front program: a path, a bare name, or
    // "unknown" for focus that cannot be tied to a program.
    auto* fake = hooks_.services == nullptr
                     ? nullptr
                     : dynamic_cast<FakeForegroundWatcher*>(hooks_.services->FrontProgramWatcher());
    if (fake == nullptr || args.size() != 2) {
        why = fake == nullptr ? "'front' needs the headless desktop" : "expected a program or 'unknown'";
        return false;
    }
    const std::string& program = args[1];
    const bool path = program.find_first_of("/\\") != std::string::npos;
    fake->bringToFront(program == "unknown"
                           ? ForegroundProgram{}
                           : ForegroundProgram{path ? program : "", program.substr(program.find_last_of("/\\") + 1)});
    return true;
}

bool ScriptDriver::WaitInRealTime(std::chrono::milliseconds limit, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        hooks_.windows->PumpPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool ScriptDriver::WaitForShow(const std::vector<std::string>& args, std::string& why) {
    // For tests of the hand-over between two processes: the other copy
    // runs in real time, so this waits in real time, bounded.
    const auto ms = CountArg(args, 1, 2, kExpectedMilliseconds, why);
    if (!ms) return false;
    const bool shown = WaitInRealTime(std::chrono::milliseconds(*ms), [this] {
        return IsWindowVisible(hooks_.mainWindow) && !IsIconic(hooks_.mainWindow);
    });
    if (!shown) why = "the window was not shown within " + args[1] + " ms";
    return shown;
}

bool ScriptDriver::WaitForRequests(const std::vector<std::string>& args, std::string& why) {
    // For the two-process tests of zavrinctl: it runs in real time, so
    // this waits in real time, bounded, until N requests were carried out.
    constexpr const char* kExpected = "expected a number of requests and of milliseconds";
    const auto count = CountArg(args, 1, 3, kExpected, why);
    const auto ms = CountArg(args, 2, 3, kExpected, why);
    if (!count || !ms || !hooks_.controlRequestsHandled) {
        why = kExpected;
        return false;
    }
    const bool done = WaitInRealTime(std::chrono::milliseconds(*ms), [&] {
        return hooks_.controlRequestsHandled() >= static_cast<std::uint64_t>(*count);
    });
    if (!done) why = "no " + args[1] + " zavrinctl requests within " + args[2] + " ms";
    return done;
}

// The script's commands: a name and what carries it out, given the line's
// words (the command first), the whole line and the reason to fill in.
struct ScriptDriver::Command {
    std::string_view name;
    bool (*run)(ScriptDriver& d, const std::vector<std::string>& args, const std::string& line, std::string& why);
};

const std::vector<ScriptDriver::Command>& ScriptDriver::Commands() {
    using Args = const std::vector<std::string>&;
    using Line = const std::string&;
    static const std::vector<Command> commands{
        {"click", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.ClickControl(a, w, MouseButton::Left, 1); }},
        {"rclick", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.ClickControl(a, w, MouseButton::Right, 1); }},
        {"dblclick", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.ClickControl(a, w, MouseButton::Left, 2); }},
        {"hover", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.HoverControl(a, w); }},
        {"click-at", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.ClickAt(a, w, MouseButton::Left); }},
        {"rclick-at", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.ClickAt(a, w, MouseButton::Right); }},
        {"drag", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Drag(a, w); }},
        {"menu", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.MenuRow(a, w); }},
        {"key", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Key(a, w, true, true); }},
        {"keydown", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Key(a, w, true, false); }},
        {"keyup", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Key(a, w, false, true); }},
        {"type",
         [](ScriptDriver& d, Args, Line line, std::string&) {
             // Everything after the command word, spaces inside kept.
             const auto start = line.find_first_not_of(" \t", 4);
             return d.Type(start == std::string::npos ? std::string() : line.substr(start));
         }},
        {"wait", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Wait(a, w); }},
        {"screenshot", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Screenshot(a, w, false); }},
        {"screenshot-screen", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Screenshot(a, w, true); }},
        {"file-answer", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.FileAnswer(a, w); }},
        {"tray", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Tray(a, w); }},
        {"second-start", [](ScriptDriver& d, Args, Line, std::string&) { return d.SecondStart(); }},
        {"device", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Device(a, w); }},
        {"front", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.Front(a, w); }},
        {"wait-for-show", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.WaitForShow(a, w); }},
        {"wait-for-requests", [](ScriptDriver& d, Args a, Line, std::string& w) { return d.WaitForRequests(a, w); }},
    };
    return commands;
}

bool ScriptDriver::Execute(const std::string& line, std::string& why) {
    const std::vector<std::string> args = Words(line);
    const std::string& command = args[0];
    for (const Command& c : Commands()) {
        if (c.name == command) return c.run(*this, args, line, why);
    }
    why = "unknown command '" + command + "'";
    return false;
}

}  // namespace zavrin
