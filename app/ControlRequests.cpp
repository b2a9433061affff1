#include "app/ControlRequests.h"

#include <charconv>
#include <deque>
#include <future>
#include <mutex>
#include <string_view>

#include "ctl/ApplyCommand.h"
#include "ctl/CtlCommands.h"
#include "device/CommandPayloads.h"
#include "model/DataPaths.h"
#include "model/TextFile.h"
#include "pages/CVelmorDlg.h"

namespace zavrin {

namespace {

// Posted to the receiver when requests wait.
constexpr UINT kRunRequests = WM_APP + 60;

// The profile commands carried out on the program's model: its store and
// library, its connection and sent images, and the window, which shows the
// change at once.
class ProgramHost final : public SettingHost {
public:
    ProgramHost(CVelmorDlg& window, const LanguageTable& english) : window_(window), english_(english) {}

    std::string_view path() const override { return "program"; }
    ProfileStore& store() override { return window_.model().store; }

    SettingContext context() override {
        SettingContext c;
        c.sensor = sensorTable(store().sensorId());
        c.rateCapability = window_.link().pollingCapability.load();
        c.library = &window_.model().library;
        c.english = &english_;
        c.shown = &window_.model().language;
        return c;
    }

    DeviceWrite write(const ProfileRecord& before, std::initializer_list<DirtyGroup> groups) override {
        DeviceSync& sync = window_.sync();
        for (DirtyGroup group : groups) sync.markDirty(group);
        DeviceWrite result;
        // As in the window, the groups stay marked and go out with the next pass.
        if (!sync.canWriteToDevice()) {
            result.failure = unreachable();
            return result;
        }
        CommandChannel& channel = sync.channel();
        const std::uint8_t firstSequence = channel.sequenceNumber;
        const int unacknowledged = channel.unacknowledgedCount;
        // After a rebuild of the sent images (start, a change made on the
        // mouse) the window's next pass of this group sends the lighting again
        // whether it changed or not. A request that leaves the lighting alone
        // sends only what it changed; the resend stays owed to the window's
        // next pass.
        SentImages::CommandImage& lighting = sync.sentImages().command(Command::Lighting);
        std::optional<SentImages::CommandImage> owed;
        if (lightingPayload(before) == lightingPayload(store().currentProfile())) {
            owed = lighting;
            lighting.bytes = lightingPayload(before);
            lighting.known = true;
        }
        sync.ApplyToDevice(ApplyFeedback::Quiet);
        if (owed) lighting = *owed;
        result.reports = static_cast<std::uint8_t>(channel.sequenceNumber - firstSequence);
        result.written = channel.unacknowledgedCount == unacknowledged;
        if (!result.written) {
            result.failure = "the mouse did not acknowledge " +
                             std::to_string(channel.unacknowledgedCount - unacknowledged) + " of the commands";
        }
        return result;
    }

    // The reset flow's device and profile steps, without its dialogs.
    CtlResult reset() {
        DeviceSync& sync = window_.sync();
        if (!sync.canWriteToDevice()) {
            return CtlResult::failure("reset", unreachable(), CtlExit::Failed);
        }
        const int unacknowledged = sync.channel().unacknowledgedCount;
        sync.resetDeviceAndProfile();
        window_.RefreshFromProfile();
        if (sync.channel().unacknowledgedCount != unacknowledged) {
            return CtlResult::failure("reset", "no answer from the mouse", CtlExit::Failed);
        }
        CtlResult result;
        result.doc = {{"schema", kCtlSchema}, {"command", "reset"}, {"ok", true}, {"path", path()}};
        result.text = "the mouse is back at its factory settings\n";
        return result;
    }

    // A profile file's every setting and macro on the mouse, through the
    // program's own connection; its profiles stay as they are. The sent images
    // afterwards hold what the mouse was sent, so the window's next change
    // sends what differs from that.
    CtlResult apply(const std::string& file, const std::string& library, std::optional<std::uint16_t> sensor) {
        const std::filesystem::path libraryFile =
            library.empty() ? dataPath(store().dataFolder(), kMacroLibraryFile) : pathFromUtf8(library);
        const std::uint16_t sensorId = sensor ? *sensor : store().sensorId();
        std::string error;
        std::optional<ApplyInput> input = readApplyInput(pathFromUtf8(file), libraryFile, !library.empty(), sensorId, error);
        if (!input) return CtlResult::failure("apply", error, CtlExit::Failed);
        DeviceSync& sync = window_.sync();
        if (!sync.canWriteToDevice()) {
            return CtlResult::failure("apply", unreachable(), CtlExit::Failed);
        }
        error = applyPass(*input, sync.channel(), sync.sentImages());
        if (!error.empty()) return CtlResult::failure("apply", error, CtlExit::Failed);
        CtlResult result;
        result.doc = {{"schema", kCtlSchema}, {"command", "apply"}, {"ok", true}, {"path", path()}, {"file", file}};
        result.text = "applied " + file + "\n";
        return result;
    }

    bool saveProfile(int index) override {
        return store().writeProfileFile(index, store().settings.profileSlotPath(index));
    }
    bool saveSettings() override { return store().saveCurrentProfile(); }
    bool saveAll() override {
        const bool settings = store().saveGlobalSettings();
        return store().writeAllProfileFiles() && settings;
    }
    void showChange() override { window_.RefreshFromProfile(); }

private:
    // Why the mouse cannot be written now.
    std::string unreachable() const {
        return window_.link().anyDevice ? "the mouse is not linked to its receiver" : "no mouse found";
    }

    CVelmorDlg& window_;
    const LanguageTable& english_;
};

CtlResult runProfile(ProgramHost& host, const CtlRequest& request) {
    return runProfileCommand(host, request.command, request.operands);
}

CtlResult runReset(ProgramHost& host, const CtlRequest& request) {
    if (!request.operands.empty()) return CtlResult::failure("reset", "reset takes no arguments", CtlExit::Usage);
    return host.reset();
}

CtlResult runApply(ProgramHost& host, const CtlRequest& request) {
    // The file, the macro library and the sensor id (both may be empty).
    if (request.operands.size() != 3) return CtlResult::failure("apply", "apply needs one profile file", CtlExit::Usage);
    const std::string& sensorText = request.operands[2];
    std::optional<std::uint16_t> sensor;
    if (!sensorText.empty()) {
        std::uint16_t value = 0;
        const auto [end, ec] = std::from_chars(sensorText.data(), sensorText.data() + sensorText.size(), value);
        if (ec != std::errc() || end != sensorText.data() + sensorText.size()) {
            return CtlResult::failure("apply", "not a sensor id: " + sensorText, CtlExit::Usage);
        }
        sensor = value;
    }
    return host.apply(request.operands[0], request.operands[1], sensor);
}

// The commands the program carries out for zavrinctl.
struct Route {
    std::string_view command;
    CtlResult (*run)(ProgramHost&, const CtlRequest&);
};
constexpr Route kRoutes[] = {
    {"get", runProfile},
    {"set", runProfile},
    {"keys", runProfile},
    {"profile", runProfile},
    {"reset", runReset},
    {"apply", runApply},
};

}  // namespace

struct ControlRequests::Queue {
    struct Job {
        std::string request;
        std::promise<std::string> answer;
    };
    std::mutex mutex;
    std::deque<std::shared_ptr<Job>> jobs;
    HWND target;
    bool closed = false;
};

class ControlRequests::Receiver final : public CWnd {
public:
    explicit Receiver(ControlRequests& owner) : owner_(owner) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kRunRequests) return CWnd::WindowProc(message, wParam, lParam);
        owner_.runPending();
        return 0;
    }

private:
    ControlRequests& owner_;
};

ControlRequests::ControlRequests(CVelmorDlg& window, PlatformServices& services, std::filesystem::path programFolder)
    : window_(window),
      services_(services),
      programFolder_(std::move(programFolder)),
      queue_(std::make_shared<Queue>()),
      receiver_(std::make_unique<Receiver>(*this)) {
    // A window of its own, never shown, so that requests reach the UI thread
    // through the message queue like everything else.
    receiver_->CreateEx(0, 0, RECT{0, 0, 1, 1}, HWND{}, "zavrinctl requests");
    {
        std::lock_guard lock(queue_->mutex);
        queue_->target = receiver_->GetSafeHwnd();
    }
    std::shared_ptr<Queue> queue = queue_;
    services_.SetControlRequestHandler([queue](const std::string& request) -> std::string {
        auto job = std::make_shared<Queue::Job>();
        job->request = request;
        std::future<std::string> answer = job->answer.get_future();
        HWND target;
        {
            std::lock_guard lock(queue->mutex);
            if (queue->closed) return {};
            queue->jobs.push_back(job);
            target = queue->target;
        }
        if (!PostMessage(target, kRunRequests, 0, 0)) return {};
        if (answer.wait_for(kAnswerWait) != std::future_status::ready) return {};
        try {
            return answer.get();
        } catch (const std::future_error&) {
            return {};  // the program ended first
        }
    });
}

ControlRequests::~ControlRequests() {
    services_.SetControlRequestHandler(nullptr);
    std::lock_guard lock(queue_->mutex);
    queue_->closed = true;
    // Dropping a waiting job's promise answers it: nothing was done.
    queue_->jobs.clear();
}

namespace {

// One request line carried out on the program: an unreadable line or an
// unknown command is refused with a failure result, never ignored.
std::string carryOut(ProgramHost& host, std::string_view line) {
    CtlResult result;
    const std::optional<CtlRequest> request = decodeRequest(line);
    const Route* route = nullptr;
    for (const Route& r : kRoutes) {
        if (request && r.command == request->command) route = &r;
    }
    if (route == nullptr) {
        result = CtlResult::failure(request ? request->command : "", "the running program does not take this request",
                                    CtlExit::Failed);
    } else {
        result = route->run(host, *request);
    }
    return encodeResult(result);
}

}  // namespace

LanguageTable ControlRequests::englishNames() const {
    // The English names the user types; the window's own language may be another.
    LanguageTable english;
    for (const std::filesystem::path& folder : {window_.model().store.dataFolder(), programFolder_}) {
        const auto lines = readTextFile(dataPath(folder, kEnglishLanguageFile));
        if (lines && english.loadLines(*lines, 1.0f)) return english;
    }
    return window_.model().language;
}

std::string ControlRequests::answer(std::string_view request) {
    const LanguageTable english = englishNames();
    ProgramHost host(window_, english);
    std::string answer = carryOut(host, request);
    ++handled_;
    return answer;
}

void ControlRequests::runPending() {
    const LanguageTable english = englishNames();
    ProgramHost host(window_, english);

    for (;;) {
        std::shared_ptr<Queue::Job> job;
        {
            std::lock_guard lock(queue_->mutex);
            if (queue_->jobs.empty()) return;
            job = queue_->jobs.front();
            queue_->jobs.pop_front();
        }
        job->answer.set_value(carryOut(host, job->request));
        ++handled_;
    }
}

}  // namespace zavrin
