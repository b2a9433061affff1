// links: zavrin_app zavrin_headless zavrin_canvas_cairo
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CVelmorApp.h"
#include "app/ControlRequests.h"
#include "app/Options.h"
#include "ctl/CtlCommands.h"
#include "pages/CVelmorDlg.h"
#include "platform/cairo/CairoGraphics.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessServices.h"

// zavrinctl's requests to the running program, one JSON line each, carried out
// by the whole program (headless, on the simulated mouse and the virtual
// clock): every line, readable or not, gets one result line that zavrinctl can
// read, with one of its documented statuses, and a refusal says why. Nothing
// crashes and the program goes on to the next request.
//
// The program starts once and stays up, as it does for zavrinctl: it runs on a
// thread of its own (its UI thread) and answers each input there. Before each
// input the current profile slot goes back to slot 1 at its defaults and the
// exchange file is removed, so that an input starts from the same mouse and
// profile; the other slots keep what earlier inputs set, as they would in a
// program that has been running for a while.
namespace {

constexpr std::size_t kMaxRequests = 8;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// The request as the program gets it. A file a request names could be
// anywhere; the input does not choose where files are written or read.
std::string requestOf(const std::string& line, const std::filesystem::path& scratch) {
    std::optional<zavrin::CtlRequest> request = zavrin::decodeRequest(line);
    if (!request) return line;
    // A request read back from its own line is the same request.
    const std::optional<zavrin::CtlRequest> again = zavrin::decodeRequest(zavrin::encodeRequest(*request));
    check(again && again->command == request->command && again->operands == request->operands);
    auto& operands = request->operands;
    if (request->command == "profile" && operands.size() >= 3 && (operands[0] == "export" || operands[0] == "import")) {
        operands[2] = (scratch / "exchange.psf").string();
        return zavrin::encodeRequest(*request);
    }
    return line;
}

void checkAnswer(const std::string& line) {
    const std::optional<zavrin::CtlResult> result = zavrin::decodeResult(line);
    check(result.has_value());
    check(result->status == zavrin::CtlExit::Ok || result->status == zavrin::CtlExit::Failed ||
          result->status == zavrin::CtlExit::Usage);
    if (result->status != zavrin::CtlExit::Ok) check(!result->error.empty());
}

// Hands inputs from the fuzzer's thread to the program's UI thread, one at a time.
struct Mailbox {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<std::vector<std::string>> input;  // waiting to be answered
    bool answered = false;
    bool quit = false;
    bool up = false;  // the program is answering
};

// Answers the inputs on the program's UI thread, waiting for the next while
// the program is idle, and ends the program when told to.
class Requester final : public zavrin::IdleSource {
public:
    Requester(zavrin::ScriptDriver::Hooks hooks, zavrin::CVelmorDlg& window, zavrin::PlatformServices& services,
              Mailbox& mailbox)
        : hooks_(std::move(hooks)), channel_(window, services, ZAVRIN_BIN_DIR), mailbox_(mailbox) {}

    bool RunIdleStep() override {
        if (done_) return false;
        std::unique_lock lock(mailbox_.mutex);
        mailbox_.up = true;
        mailbox_.changed.notify_all();
        mailbox_.changed.wait(lock, [&] { return mailbox_.quit || mailbox_.input.has_value(); });
        if (mailbox_.quit) {
            done_ = true;
            hooks_.exitProgram();
            return true;
        }
        const std::vector<std::string> requests = std::move(*mailbox_.input);
        mailbox_.input.reset();
        lock.unlock();
        startOver();
        for (const std::string& request : requests) checkAnswer(channel_.answer(request));
        lock.lock();
        mailbox_.answered = true;
        mailbox_.changed.notify_all();
        return true;
    }
    std::optional<zavrin::Clock::Duration> NextIdleDue() const override {
        if (done_) return std::nullopt;
        return zavrin::Clock::Duration{0};
    }

private:
    // Slot 1 at its defaults on the mouse and in the program, as zavrinctl
    // itself would ask for it.
    void startOver() {
        for (const char* line : {R"({"schema": 1, "command": "profile", "operands": ["use", "1"]})",
                                 R"({"schema": 1, "command": "reset", "operands": []})"}) {
            const std::optional<zavrin::CtlResult> result = zavrin::decodeResult(channel_.answer(line));
            check(result && result->status == zavrin::CtlExit::Ok);
        }
    }

    zavrin::ScriptDriver::Hooks hooks_;
    zavrin::ControlRequests channel_;
    Mailbox& mailbox_;
    bool done_ = false;
};

// The program, started once on its own thread and ended when the process exits.
class Program {
public:
    explicit Program(std::filesystem::path scratch) : scratch_(std::move(scratch)) {
        std::error_code ec;
        std::filesystem::remove_all(scratch_, ec);
        std::filesystem::create_directories(scratch_ / "data");
        thread_ = std::thread([this] { run(); });
        std::unique_lock lock(mailbox_.mutex);
        mailbox_.changed.wait(lock, [&] { return mailbox_.up; });
    }

    const std::filesystem::path& scratch() const { return scratch_; }

    void answer(std::vector<std::string> requests) {
        std::unique_lock lock(mailbox_.mutex);
        mailbox_.input = std::move(requests);
        mailbox_.answered = false;
        mailbox_.changed.notify_all();
        mailbox_.changed.wait(lock, [&] { return mailbox_.answered; });
    }

    void stop() {
        {
            std::lock_guard lock(mailbox_.mutex);
            mailbox_.quit = true;
            mailbox_.changed.notify_all();
        }
        if (thread_.joinable()) thread_.join();
    }

private:
    void run() {
        const zavrin::OptionsResult parsed = zavrin::parseOptions({"--headless", "--simulate=wired,dongle"});
        check(parsed.options.has_value());
        zavrin::CVelmorApp app(*parsed.options, ZAVRIN_BIN_DIR, scratch_ / "data");
        zavrin::HeadlessBackend backend(zavrin::HeadlessBackend::MetricsForScreen(zavrin::SIZE{1920, 1080}));
        const std::unique_ptr<zavrin::Graphics> graphics = zavrin::CreateCairoGraphics();
        zavrin::HeadlessServices services;
        app.setDriverFactory([&](zavrin::ScriptDriver::Hooks hooks) -> std::unique_ptr<zavrin::IdleSource> {
            auto* window = dynamic_cast<zavrin::CVelmorDlg*>(zavrin::CWnd::FromHandle(hooks.mainWindow));
            check(window != nullptr);
            return std::make_unique<Requester>(std::move(hooks), *window, services, mailbox_);
        });
        const int status = app.InitInstance(zavrin::CVelmorApp::Platform{backend, *graphics, services});
        check(status == zavrin::CVelmorApp::kExitOk);
    }

    std::filesystem::path scratch_;
    Mailbox mailbox_;
    std::thread thread_;
};

Program& program() {
    static Program* running = [] {
        auto* p = new Program(std::filesystem::temp_directory_path() / "zavrin-fuzz-requests");
        // The program ends before the process does, on its own thread.
        std::atexit([] { program().stop(); });
        return p;
    }();
    return *running;
}

}  // namespace

// The program keeps what it allocates from one input to the next (its windows,
// caches, the mouse's state), which libFuzzer's per-input leak check would take
// for a leak and answer with a stop-the-world heap scan after almost every
// input. Leaks are still looked for when the process ends (the corpus replay
// under the sanitizers), after the program has ended.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args(*argv, *argv + *argc);
    static char noLeakCheck[] = "-detect_leaks=0";
    args.insert(args.begin() + 1, noLeakCheck);  // the command line's own setting, later, still wins
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size() - 1);
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> requests;
    Program& running = program();
    std::error_code ec;
    std::filesystem::remove(running.scratch() / "exchange.psf", ec);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(in, line) && requests.size() < kMaxRequests;)
        requests.push_back(requestOf(line, running.scratch()));
    if (requests.empty()) return 0;
    running.answer(std::move(requests));
    return 0;
}
