// links: zavrin_app zavrin_headless zavrin_canvas_cairo
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
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

// Answers the input's requests on the program's UI thread once it is up, then ends it.
class Requester final : public zavrin::IdleSource {
public:
    Requester(zavrin::ScriptDriver::Hooks hooks, zavrin::CVelmorDlg& window, zavrin::PlatformServices& services,
              std::vector<std::string> requests)
        : hooks_(std::move(hooks)), window_(window), services_(services), requests_(std::move(requests)) {}

    bool RunIdleStep() override {
        if (done_) return false;
        done_ = true;
        zavrin::ControlRequests channel(window_, services_, ZAVRIN_BIN_DIR);
        for (const std::string& request : requests_) {
            const std::optional<zavrin::CtlResult> result = zavrin::decodeResult(channel.answer(request));
            check(result.has_value());
            check(result->status == zavrin::CtlExit::Ok || result->status == zavrin::CtlExit::Failed ||
                  result->status == zavrin::CtlExit::Usage);
            if (result->status != zavrin::CtlExit::Ok) check(!result->error.empty());
        }
        hooks_.exitProgram();
        return true;
    }
    std::optional<zavrin::Clock::Duration> NextIdleDue() const override {
        if (done_) return std::nullopt;
        return zavrin::Clock::Duration{0};
    }

private:
    zavrin::ScriptDriver::Hooks hooks_;
    zavrin::CVelmorDlg& window_;
    zavrin::PlatformServices& services_;
    std::vector<std::string> requests_;
    bool done_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "zavrin-fuzz-requests";
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    std::filesystem::create_directories(scratch / "data");

    std::vector<std::string> requests;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(in, line) && requests.size() < kMaxRequests;)
        requests.push_back(requestOf(line, scratch));
    if (requests.empty()) return 0;

    const zavrin::OptionsResult parsed = zavrin::parseOptions({"--headless", "--simulate=wired,dongle"});
    check(parsed.options.has_value());
    zavrin::CVelmorApp app(*parsed.options, ZAVRIN_BIN_DIR, scratch / "data");
    zavrin::HeadlessBackend backend(zavrin::HeadlessBackend::MetricsForScreen(zavrin::SIZE{1920, 1080}));
    const std::unique_ptr<zavrin::Graphics> graphics = zavrin::CreateCairoGraphics();
    zavrin::HeadlessServices services;
    bool answered = false;
    app.setDriverFactory([&](zavrin::ScriptDriver::Hooks hooks) -> std::unique_ptr<zavrin::IdleSource> {
        auto* window = dynamic_cast<zavrin::CVelmorDlg*>(zavrin::CWnd::FromHandle(hooks.mainWindow));
        check(window != nullptr);
        answered = true;
        return std::make_unique<Requester>(std::move(hooks), *window, services, std::move(requests));
    });
    const int status = app.InitInstance(zavrin::CVelmorApp::Platform{backend, *graphics, services});
    check(status == zavrin::CVelmorApp::kExitOk && answered);
    return 0;
}
