// The soak run: the real program, headless on its virtual clock, with the
// simulated mouse on all three connections, driven for many hours of virtual
// time by a seeded generator of user input and of things done on the mouse.
// It measures the resident memory at the end of the first virtual hour (the
// pictures, fonts and dialogs a user meets have been loaded once by then) and
// at the end, each time with only the main window open, and fails when the
// memory grew by a megabyte or more in between.
//
//   soak [--hours H] [--seed N] [--screen WxH] [--keep] [--log FILE]
//
// H may be fractional (default 24); without --seed the seed comes from the
// system and is printed, so that any run can be repeated exactly.

#include <cxxabi.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "app/CVelmorApp.h"
#include "app/ScriptDriver.h"
#include "app/UserFolders.h"
#include "device/sim/SimulatedMouse.h"
#include "pages/CVelmorDlg.h"
#include "platform/WindowSystem.h"
#include "platform/cairo/CairoGraphics.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/CDlgBase.h"
#include "ui/CWndPopup.h"
#include "ui/ControlIds.h"

namespace zavrin {
namespace {

constexpr std::chrono::hours kWarmUp{1};
// How long past a measuring mark the run waits for the program to come to rest.
constexpr std::chrono::minutes kRestWaitLimit{30};
constexpr long kGrowthLimitBytes = 1024 * 1024;
// Exit statuses beside the program's own.
constexpr int kExitMemoryGrew = 4;
constexpr int kExitEndedEarly = 5;
constexpr int kExitUsage = 2;

// Real-time bound of every wait for the simulated mouse's reader threads: they
// answer within microseconds, so reaching it means an event went missing.
constexpr std::chrono::milliseconds kSettleLimit{1000};

constexpr std::array<ConnectionKind, kConnectionKindCount> kKinds{
    ConnectionKind::Wired, ConnectionKind::Bluetooth, ConnectionKind::Dongle};

// The keys a user presses at random, by their script names.
constexpr std::array<const char*, 14> kKeys{"escape", "enter", "tab", "space", "backspace",
                                            "delete", "left",  "up",  "right", "down",
                                            "a",      "z",     "1",   "9"};

bool runningUnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

// The class of the topmost shown window: which dialogs and menus the run reached.
std::string frontWindowKind() {
    for (HWND h : WindowSystem::Current()->ZOrder()) {
        CWnd* window = CWnd::FromHandle(h);
        if (window == nullptr || !IsWindowVisible(h)) continue;
        const char* mangled = typeid(*window).name();
        int status = 0;
        char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
        std::string name = status == 0 && readable ? readable : mangled;
        std::free(readable);
        return name.substr(name.rfind("::") == std::string::npos ? 0 : name.rfind("::") + 2);
    }
    return "(none shown)";
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Resident memory as it stands, and once the allocator has handed back the
// free memory it keeps. glibc keeps freed blocks up to twice its moving mmap
// threshold; at the UI scale of 2 a window surface is some 13 MB, so how much
// it keeps swings by megabytes with the order of past allocations, not with
// anything the program holds. The check compares the second figure.
struct Resident {
    long asIs = 0;
    long held = 0;
};

Resident measureResident() {
    Resident r;
    r.asIs = residentBytes();
    ::malloc_trim(0);
    r.held = residentBytes();
    return r;
}

double megabytes(long bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

double hoursOf(Clock::Duration d) {
    return std::chrono::duration<double, std::ratio<3600>>(d).count();
}

struct SoakOptions {
    double hours = 24.0;
    std::uint64_t seed = 0;
    SIZE screen{1920, 1080};  // larger screens give the program's larger UI scales
    bool keep = false;
    std::filesystem::path log;  // one line a step, for finding where two runs part
};

std::optional<SoakOptions> parseSoakOptions(int argc, char** argv) {
    SoakOptions options;
    options.seed = std::random_device{}();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--screen" && value) {
            // Read as the program reads its own --screen.
            const OptionsResult parsed = parseOptions({"--screen", value});
            if (!parsed.options) return std::nullopt;
            options.screen = SIZE{parsed.options->screenWidth, parsed.options->screenHeight};
            ++i;
        } else if (arg == "--log" && value) {
            options.log = value;
            ++i;
        } else if (arg == "--hours" && value) {
            char* end = nullptr;
            options.hours = std::strtod(value, &end);
            if (*end != '\0' || !(options.hours > 0)) return std::nullopt;
            ++i;
        } else if (arg == "--seed" && value) {
            const std::string_view text(value);
            auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), options.seed);
            if (ec != std::errc{} || ptr != text.data() + text.size()) return std::nullopt;
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The seeded source of every choice the run makes.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}
    int between(int low, int high) {  // inclusive
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_) < p; }
    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(N) - 1))];
    }

private:
    std::mt19937_64 engine_;
};

// Random user input, queued on the headless backend as a person's would come
// from a desktop: clicks on shown controls and at random points of the front
// window, menu rows, drags, the wheel, keys and text. It never clicks the main
// window's close button, the one control that ends the program.
class UserInput {
public:
    UserInput(const ScriptDriver::Hooks& hooks, HeadlessBackend& backend, Dice& dice)
        : hooks_(hooks), backend_(backend), dice_(dice) {}

    void act() {
        if (clickMenuRow()) return;
        if (!IsWindowVisible(hooks_.mainWindow) || IsIconic(hooks_.mainWindow)) {
            // Hidden to the tray: the user brings it back sooner or later.
            if (dice_.chance(0.3))
                PostMessage(hooks_.mainWindow, MainMessage::TrayCallback, CVelmorDlg::kTrayIconId,
                            WM_LBUTTONDBLCLK);
            return;
        }
        const int roll = dice_.between(0, 99);
        if (roll < 45) {
            clickControl();
        } else if (roll < 65) {
            clickAtRandomPoint();
        } else if (roll < 72) {
            drag();
        } else if (roll < 76) {
            wheel();
        } else if (roll < 92) {
            key(ScriptDriver::KeyCode(dice_.pick(kKeys)).value_or(0));
        } else {
            type();
        }
    }

private:
    struct Target {
        std::uint32_t id;
        RECT rect;
    };

    HWND frontWindow() const {
        for (HWND h : WindowSystem::Current()->ZOrder()) {
            if (IsWindowVisible(h) && dynamic_cast<CDlgBase*>(CWnd::FromHandle(h)) != nullptr)
                return h;
        }
        return hooks_.mainWindow;
    }

    // The controls a user can see in `window`, with their client rectangles.
    static std::vector<Target> shownControls(HWND window) {
        std::vector<Target> shown;
        const auto* dialog = dynamic_cast<const CDlgBase*>(CWnd::FromHandle(window));
        if (dialog == nullptr) return shown;
        for (const auto& list : dialog->ControlLists()) {
            for (const auto& control : list) {
                if (control && control->IsDisplayed())
                    shown.push_back({control->id, control->Rect()});
            }
        }
        return shown;
    }

    // Whether a click at `client` of `window` would end the program.
    bool ends(HWND window, POINT client) const {
        if (window != hooks_.mainWindow) return false;
        for (const Target& t : shownControls(window)) {
            if (t.id == ControlId::Close && client.x >= t.rect.left && client.x < t.rect.right &&
                client.y >= t.rect.top && client.y < t.rect.bottom)
                return true;
        }
        return false;
    }

    static POINT centre(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    POINT randomPoint(HWND window) {
        const RECT client = GetClientRect(window);
        return POINT{dice_.between(0, std::max(0, client.right - 1)),
                     dice_.between(0, std::max(0, client.bottom - 1))};
    }

    bool clickMenuRow() {
        for (HWND h : WindowSystem::Current()->ZOrder()) {
            auto* menu = dynamic_cast<CItemPopup*>(CWnd::FromHandle(h));
            if (menu == nullptr || !IsWindowVisible(h) || menu->Items().empty()) continue;
            // Now and then the user thinks better of it and clicks elsewhere.
            if (dice_.chance(0.2)) return false;
            const auto row = static_cast<std::size_t>(
                dice_.between(0, static_cast<int>(menu->Items().size()) - 1));
            click(ClientToScreen(h, centre(menu->Items()[row].itemRect)), MouseButton::Left);
            return true;
        }
        return false;
    }

    void clickControl() {
        const HWND front = frontWindow();
        const std::vector<Target> shown = shownControls(front);
        if (shown.empty()) return;
        const Target& target =
            shown[static_cast<std::size_t>(dice_.between(0, static_cast<int>(shown.size()) - 1))];
        if (front == hooks_.mainWindow && target.id == ControlId::Close) return;
        const int roll = dice_.between(0, 9);
        const MouseButton button = roll == 0 ? MouseButton::Right : MouseButton::Left;
        const POINT at = ClientToScreen(front, centre(target.rect));
        if (roll == 1) {
            backend_.mouseMove(at);
            backend_.doubleClick(at);
        } else {
            click(at, button);
        }
    }

    void clickAtRandomPoint() {
        const HWND front = frontWindow();
        const POINT at = randomPoint(front);
        if (ends(front, at)) return;
        click(ClientToScreen(front, at),
              dice_.chance(0.15) ? MouseButton::Right : MouseButton::Left);
    }

    // Press, a few moves, release: sliders, scroll bars and the window itself.
    void drag() {
        const HWND front = frontWindow();
        const POINT from = randomPoint(front);
        const POINT to = randomPoint(front);
        if (ends(front, from) || ends(front, to)) return;
        constexpr int kSteps = 6;
        backend_.mouseMove(ClientToScreen(front, from));
        backend_.mouseDown(ClientToScreen(front, from));
        for (int i = 1; i <= kSteps; ++i) {
            backend_.mouseMove(ClientToScreen(front, POINT{from.x + (to.x - from.x) * i / kSteps,
                                                           from.y + (to.y - from.y) * i / kSteps}));
        }
        backend_.mouseUp(ClientToScreen(front, to));
    }

    void wheel() {
        const HWND front = frontWindow();
        InputEvent e;
        e.kind = InputEvent::Kind::Wheel;
        e.screen = ClientToScreen(front, randomPoint(front));
        e.wheelDelta = dice_.chance(0.5) ? 120 : -120;
        backend_.mouseMove(e.screen);
        backend_.inject(e);
    }

    void key(std::uint32_t code) {
        backend_.keyDown(code);
        if (hooks_.captureKey) hooks_.captureKey(code, false);
        backend_.keyUp(code);
        if (hooks_.captureKey) hooks_.captureKey(code, true);
    }

    void type() {
        const int length = dice_.between(1, 12);
        for (int i = 0; i < length; ++i) {
            InputEvent e;
            e.kind = InputEvent::Kind::Char;
            e.key = static_cast<std::uint32_t>(dice_.between(0x20, 0x7E));
            backend_.inject(e);
        }
    }

    // The pointer goes there first, so that hover and capture see it arrive.
    void click(POINT screen, MouseButton button) {
        backend_.mouseMove(screen);
        backend_.click(screen, button);
    }

    const ScriptDriver::Hooks& hooks_;
    HeadlessBackend& backend_;
    Dice& dice_;
};

// Things done on the mouse itself through the simulated mouse: the DPI button,
// the rate and lighting keys, the battery, the radio link, the cables and the
// quick-launch keys. The last connection is never pulled, as that ends the
// program by design.
//
// The simulated mouse answers on the program's reader threads, in real time,
// while the program runs on virtual time. So that a seed always gives the same
// run, each action waits (on conditions, bounded) until the program has taken
// in every event it caused before virtual time moves on.
class MouseEvents {
public:
    MouseEvents(const ScriptDriver::Hooks& hooks, CVelmorDlg& window, Backend& backend, Dice& dice)
        : hooks_(hooks), mouse_(*hooks.mouse), window_(window), backend_(backend), dice_(dice) {
        // The receiver pairs when completePairing says so, never on its own.
        mouse_.setPairingDelay(std::chrono::hours(24 * 365 * 100));
    }

    // The receiver's pairing. Left to itself the simulated mouse pairs during
    // whichever transfer comes after the delay, and its status report then
    // races virtual time on the reader thread; here it pairs at the first step
    // a pairing delay after the program asked, as when the user switches the
    // mouse on in time.
    void completePairing(Clock::Duration now) {
        if (const int requests = mouse_.pairingRequests(); requests != pairingRequestsSeen_) {
            pairingRequestsSeen_ = requests;
            pairingDue_ = now + SimulatedMouse::kDefaultPairingDelay;
        }
        if (pairingDue_ && now >= *pairingDue_) {
            pairingDue_.reset();
            status(true, [&] { mouse_.regainLink(); });
        }
    }

    void act() {
        const int roll = dice_.between(0, 99);
        if (roll < 12) {
            status(false, [&] { mouse_.setDpiLevel(dice_.between(0, 7)); });
        } else if (roll < 20) {
            status(false, [&] { mouse_.pressDpiButton(); });
        } else if (roll < 30) {
            status(false, [&] { mouse_.setPollingRateIndex(dice_.between(0, 6)); });
        } else if (roll < 40) {
            status(false,
                   [&] { mouse_.setLightingMode(static_cast<std::uint8_t>(dice_.between(0, 4))); });
        } else if (roll < 60) {
            const auto percent = static_cast<std::uint8_t>(dice_.between(0, 100));
            const int state = dice_.between(0, 2);
            status(false, [&] {
                mouse_.setBattery(percent, state == 0   ? ChargeState::OnBattery
                                           : state == 1 ? ChargeState::Charging
                                                        : ChargeState::Full);
            });
        } else if (roll < 72) {
            if (mouse_.linked())
                status(true, [&] { mouse_.loseLink(); });
            else
                status(true, [&] { mouse_.regainLink(); });
        } else if (roll < 90) {
            plugOrUnplug(
                kKinds[static_cast<std::size_t>(dice_.between(0, kConnectionKindCount - 1))]);
        } else {
            const int key = dice_.between(1, 10);
            status(false, [&] { mouse_.pressQuickLaunch(key); });
            status(false, [&] { mouse_.releaseQuickLaunch(); });
        }
    }

    // Waits that reached their bound: events that never arrived.
    int missedEvents() const { return missed_; }

private:
    template <typename Action>
    void status(bool receiverOnly, Action action) {
        const std::uint64_t expected = listeningReaders(receiverOnly);
        const std::uint64_t before = hooks_.deviceEventsHandled();
        action();
        settle(before + expected);
    }

    void plugOrUnplug(ConnectionKind kind) {
        const bool plugged = mouse_.plugged(kind);
        if (plugged && pluggedCount() == 1) return;
        const std::uint64_t before = hooks_.deviceEventsHandled();
        if (plugged)
            mouse_.unplug(kind);
        else
            mouse_.plug(kind);
        settle(before + 1);
        if (plugged) waitForReaderEnd(kind);
    }

    int pluggedCount() const {
        return static_cast<int>(std::count_if(kKinds.begin(), kKinds.end(),
                                              [&](ConnectionKind k) { return mouse_.plugged(k); }));
    }

    // The connections whose status reports the program will read: those with
    // a reader the program started and that has its interface open.
    std::uint64_t listeningReaders(bool receiverOnly) {
        std::uint64_t readers = 0;
        for (ConnectionKind kind : kKinds) {
            if (receiverOnly && kind != ConnectionKind::Dongle) continue;
            if (!mouse_.plugged(kind) || !window_.link().slot(kind).readerRunning) continue;
            if (mouse_.waitForReader(kind, kSettleLimit))
                ++readers;
            else
                ++missed_;
        }
        return readers;
    }

    // Lets the program handle what it was sent until it has applied `target`
    // device events in all.
    void settle(std::uint64_t target) {
        for (ConnectionKind kind : kKinds) {
            if (!mouse_.waitUntilInputRead(kind, kSettleLimit)) ++missed_;
        }
        const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;
        while (true) {
            WindowSystem::Current()->PumpPending();
            if (hooks_.deviceEventsHandled() >= target) return;
            if (std::chrono::steady_clock::now() >= deadline) {
                ++missed_;
                return;
            }
            // A condition wait for the reader's posted message, not a sleep.
            backend_.WaitForEvent(Clock::Duration{-1});
        }
    }

    // An unplugged connection's reader ends by itself once it sees its device
    // gone; a new cable plugged in before that would find no reader started.
    void waitForReaderEnd(ConnectionKind kind) {
        const auto deadline = std::chrono::steady_clock::now() + kSettleLimit;
        while (window_.link().slot(kind).readerRunning) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ++missed_;
                return;
            }
            std::this_thread::yield();
        }
    }

    const ScriptDriver::Hooks& hooks_;
    SimulatedMouse& mouse_;
    CVelmorDlg& window_;
    Backend& backend_;
    Dice& dice_;
    int missed_ = 0;
    int pairingRequestsSeen_ = 0;
    std::optional<Clock::Duration> pairingDue_;
};

// The run's schedule: one action at a time at random virtual moments, bursts
// of activity with idle stretches between them, the memory marks and the end.
class SoakDriver final : public IdleSource {
public:
    struct Result {
        bool reachedEnd = false;
        std::optional<Resident> afterWarmUp;
        Resident atEnd;
        std::uint64_t steps = 0;
        std::map<std::string, std::uint64_t> frontWindows;  // steps taken with each in front
        std::uint64_t deviceEvents = 0;
        int missedEvents = 0;
    };

    SoakDriver(ScriptDriver::Hooks hooks, CVelmorDlg& window, HeadlessBackend& backend,
               HeadlessServices& services, Clock::Duration length, std::uint64_t seed,
               std::filesystem::path fileFolder, const std::filesystem::path& log, Result& result)
        : hooks_(std::move(hooks)),
          services_(services),
          dice_(seed),
          input_(hooks_, backend, dice_),
          mouse_(hooks_, window, backend, dice_),
          start_(GetUiClock().now()),
          end_(start_ + length),
          nextHourMark_(start_ + kWarmUp),
          next_(start_),
          fileFolder_(std::move(fileFolder)),
          result_(result) {
        if (!log.empty()) log_.open(log);
    }

    bool RunIdleStep() override {
        // A step can run a modal loop (a dialog the click opened); the loop
        // asks for idle work too, and gets none until the step is over.
        if (busy_ || finished_ || GetUiClock().now() < next_) return false;
        busy_ = true;
        step();
        busy_ = false;
        return true;
    }

    std::optional<Clock::Duration> NextIdleDue() const override {
        if (busy_ || finished_) return std::nullopt;
        return next_;
    }

private:
    void step() {
        const Clock::Duration now = GetUiClock().now();
        // Memory is compared with the program at rest: the main window in
        // front, no dialog, menu or notice open, each of which holds its own
        // surface and pictures. The run goes on acting until it is so.
        const bool measurable = atRest() || now >= nextHourMark_ + kRestWaitLimit;
        if (now >= nextHourMark_ && measurable) markHour(now);
        if (now >= end_ && (atRest() || now >= end_ + kRestWaitLimit)) {
            finish();
            return;
        }
        const std::string front = frontWindowKind();
        ++result_.frontWindows[front];
        if (log_) {
            const POINT cursor = GetCursorPos();
            // A wait for the mouse's threads that ran out is where two runs of one
            // seed part, so the count stands on every line.
            log_ << std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count()
                 << ' ' << front << ' ' << hooks_.deviceEventsHandled() << ' ' << cursor.x << ','
                 << cursor.y << " missed " << mouse_.missedEvents() << '\n';
        }
        mouse_.completePairing(now);
        answerNextFileDialog();
        if (dice_.chance(0.12))
            mouse_.act();
        else
            input_.act();
        ++result_.steps;
        forgetRecords();
        next_ = GetUiClock().now() + pause();
    }

    // Mostly a second or two between actions; now and then the user leaves
    // the program alone for minutes.
    std::chrono::milliseconds pause() {
        if (dice_.chance(0.01)) return std::chrono::milliseconds(dice_.between(30'000, 300'000));
        return std::chrono::milliseconds(dice_.between(100, 2000));
    }

    // File dialogs: usually cancelled (the headless default), sometimes given
    // one of a few files of the run's own folder, so that exports are written
    // and imports read what an earlier export left.
    void answerNextFileDialog() {
        if (!services_.fileAnswers.empty() || !dice_.chance(0.3)) return;
        services_.fileAnswers.push_back(fileFolder_ /
                                        ("file" + std::to_string(dice_.between(0, 3))));
    }

    // The test doubles keep a record of everything (transfers, shell
    // requests, file dialogs) for tests to read; over a day that record would
    // be the only thing growing, so the run drops it.
    void forgetRecords() {
        hooks_.mouse->clearTransfers();
        services_.shellOpened.clear();
        services_.fileRequests.clear();
    }

    bool atRest() const {
        for (HWND h : WindowSystem::Current()->ZOrder()) {
            if (IsWindowVisible(h)) return h == hooks_.mainWindow && !IsIconic(h);
        }
        return false;
    }

    void markHour(Clock::Duration now) {
        const Resident resident = measureResident();
        if (!result_.afterWarmUp) result_.afterWarmUp = resident;
        std::printf(
            "soak: %5.1f h  resident %.2f MB (%.2f MB held)  steps %llu  device events %llu\n",
            hoursOf(now - start_), megabytes(resident.asIs), megabytes(resident.held),
            static_cast<unsigned long long>(result_.steps),
            static_cast<unsigned long long>(hooks_.deviceEventsHandled()));
        std::fflush(stdout);
        while (nextHourMark_ <= now) nextHourMark_ += std::chrono::hours(1);
    }

    void finish() {
        finished_ = true;
        result_.reachedEnd = true;
        result_.atEnd = measureResident();
        result_.deviceEvents = hooks_.deviceEventsHandled();
        result_.missedEvents = mouse_.missedEvents();
        hooks_.exitProgram();
    }

    ScriptDriver::Hooks hooks_;
    HeadlessServices& services_;
    Dice dice_;
    UserInput input_;
    MouseEvents mouse_;
    Clock::Duration start_;
    Clock::Duration end_;
    Clock::Duration nextHourMark_;
    Clock::Duration next_;
    std::filesystem::path fileFolder_;
    Result& result_;
    std::ofstream log_;
    bool busy_ = false;
    bool finished_ = false;
};

// A fresh folder under the system's temporary folder.
std::filesystem::path makeRunFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zavrin-soak-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

int run(const SoakOptions& options, const std::filesystem::path& exeFolder) {
    const std::filesystem::path folder = makeRunFolder();
    if (folder.empty()) {
        std::cerr << "soak: cannot make a temporary folder\n";
        return CVelmorApp::kExitFailed;
    }
    const std::filesystem::path dataFolder = folder / "data";
    const std::filesystem::path fileFolder = folder / "files";
    std::filesystem::create_directories(fileFolder);
    std::printf("soak: seed %llu, %.2f virtual hours, data in %s\n",
                static_cast<unsigned long long>(options.seed), options.hours, dataFolder.c_str());
    std::fflush(stdout);

    Options app;
    app.headless = true;
    app.simulate = true;
    app.simulatedKinds = "wired,dongle,bluetooth";
    app.dataDir = dataFolder;
    CVelmorApp program(app, exeFolder, dataFolder);

    HeadlessBackend backend(HeadlessBackend::MetricsForScreen(options.screen));
    // Nothing in the run waits for another thread longer than the mouse's readers take.
    backend.setStallLimit(kSettleLimit);
    const std::unique_ptr<Graphics> graphics = CreateCairoGraphics();
    HeadlessServices services;
    const auto length = std::chrono::duration_cast<Clock::Duration>(
        std::chrono::duration<double, std::ratio<3600>>(options.hours));

    SoakDriver::Result result;
    program.setDriverFactory([&](ScriptDriver::Hooks hooks) -> std::unique_ptr<IdleSource> {
        auto* window = dynamic_cast<CVelmorDlg*>(CWnd::FromHandle(hooks.mainWindow));
        if (window == nullptr || hooks.mouse == nullptr) return nullptr;
        return std::make_unique<SoakDriver>(std::move(hooks), *window, backend, services, length,
                                            options.seed, fileFolder, options.log, result);
    });

    const auto realStart = std::chrono::steady_clock::now();
    const int status = program.InitInstance(CVelmorApp::Platform{backend, *graphics, services});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart).count();
    if (!options.keep) std::filesystem::remove_all(folder);

    if (!program.error().empty()) std::cerr << "soak: " << program.error() << "\n";
    if (status != CVelmorApp::kExitOk) return status;
    const double virtualHours = hoursOf(backend.clock().now());
    std::printf(
        "soak: %llu steps, %llu device events, %d missed, %.1f s real, %.1f virtual hours per "
        "second\n",
        static_cast<unsigned long long>(result.steps),
        static_cast<unsigned long long>(result.deviceEvents), result.missedEvents, seconds,
        virtualHours / seconds);
    std::printf("soak: steps by front window:");
    for (const auto& [kind, steps] : result.frontWindows)
        std::printf(" %s %llu;", kind.c_str(), static_cast<unsigned long long>(steps));
    std::printf("\n");
    if (!result.reachedEnd) {
        std::fprintf(stderr, "soak: the program ended after %.2f of %.2f virtual hours\n",
                     virtualHours, options.hours);
        return kExitEndedEarly;
    }
    if (!result.afterWarmUp) {
        std::printf("soak: shorter than the warm-up hour; no memory comparison\n");
        return CVelmorApp::kExitOk;
    }
    const long growth = result.atEnd.held - result.afterWarmUp->held;
    std::printf(
        "soak: resident after the first hour %.2f MB (%.2f MB held), at the end %.2f MB "
        "(%.2f MB held), growth %+.3f MB\n",
        megabytes(result.afterWarmUp->asIs), megabytes(result.afterWarmUp->held),
        megabytes(result.atEnd.asIs), megabytes(result.atEnd.held), megabytes(growth));
    if (runningUnderAddressSanitizer()) {
        // The sanitizer's allocator holds freed blocks back (its quarantine), so
        // resident memory says nothing about the program here; leaks are its job.
        std::printf("soak: address sanitizer build: growth not checked\n");
        return CVelmorApp::kExitOk;
    }
    if (growth >= kGrowthLimitBytes) {
        std::fprintf(stderr, "soak: resident memory grew by %.3f MB (limit %.3f MB)\n",
                     megabytes(growth), megabytes(kGrowthLimitBytes));
        return kExitMemoryGrew;
    }
    return CVelmorApp::kExitOk;
}

}  // namespace
}  // namespace zavrin

int main(int argc, char** argv) {
    const auto options = zavrin::parseSoakOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: soak [--hours H] [--seed N] [--screen WxH] [--keep] [--log FILE]\n";
        return zavrin::kExitUsage;
    }
    return zavrin::run(*options, zavrin::programFolder(argv[0]));
}
