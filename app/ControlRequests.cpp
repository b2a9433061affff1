#include "app/ControlRequests.h"

#include <deque>
#include <future>
#include <mutex>
#include <string_view>

#include "ctl/CtlCommands.h"
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

    DeviceWrite write(const ProfileRecord&, std::initializer_list<DirtyGroup> groups) override {
        DeviceSync& sync = window_.sync();
        for (DirtyGroup group : groups) sync.markDirty(group);
        DeviceWrite result;
        // As in the window, the groups stay marked and go out with the next pass.
        if (!sync.canWriteToDevice()) {
            result.failure = window_.link().anyDevice ? "the mouse is not linked to its receiver" : "no mouse found";
            return result;
        }
        CommandChannel& channel = sync.channel();
        const std::uint8_t firstSequence = channel.sequenceNumber;
        const int unacknowledged = channel.unacknowledgedCount;
        sync.ApplyToDevice(ApplyFeedback::Quiet);
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
            return CtlResult::failure("reset", window_.link().anyDevice ? "the mouse is not linked to its receiver"
                                                                        : "no mouse found",
                                      CtlExit::Failed);
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
