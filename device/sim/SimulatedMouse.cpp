#include "device/sim/SimulatedMouse.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "device/CommandPayloads.h"
#include "device/DeviceLink.h"
#include "device/MacroTransfer.h"

namespace zavrin {

namespace {

constexpr std::uint16_t kInputUsagePage = 0xFF01;
constexpr std::uint16_t kFeatureUsagePage = DeviceLink::kFeatureUsagePage;
constexpr std::uint16_t kStatusReportLength = DeviceLink::kInputReportLength;
constexpr std::uint8_t kDefaultDpiLevel = 2;
constexpr std::uint8_t kDefaultDpiMask = 0x3F;
constexpr std::uint8_t kDefaultRateIndex = 3;
constexpr std::uint8_t kDefaultBattery = 80;

enum class Role { Input, Feature, Foreign };

std::string pathOf(ConnectionKind kind, Role role) {
    return std::string("sim/") + std::string(kindName(kind)) + (role == Role::Input ? "/input" : "/feature");
}

HidInterfaceInfo infoOf(ConnectionKind kind, Role role) {
    HidInterfaceInfo info;
    info.path = pathOf(kind, role);
    info.vendorId = kZavrinVendorId;
    info.productId = productId(kind);
    info.usagePage = role == Role::Input ? kInputUsagePage : kFeatureUsagePage;
    info.inputReportLength = role == Role::Input ? kStatusReportLength : 0;
    info.featureReportLength = role == Role::Feature ? static_cast<std::uint16_t>(kReportLength) : 0;
    return info;
}

bool checksumValid(std::span<const std::uint8_t> report) {
    Report copy{};
    std::copy_n(report.begin(), kReportLength, copy.begin());
    const std::uint8_t expected = copy[CommandOffset::Checksum];
    copy[CommandOffset::Checksum] = 0;
    return reportChecksum(copy) == expected;
}

int rateIndexOfCode(std::uint8_t code) {
    for (int i = 0; i <= kHighestRateIndex; ++i) {
        if (pollingRateCode(i) == code) return i;
    }
    return kDefaultRateIndex;
}

}  // namespace

struct SimulatedMouse::State {
    struct KindState {
        bool plugged = false;
        unsigned generation = 0;
        bool inputMissing = false;
        bool openRefused = false;
        bool readersStalled = false;
        std::uint8_t rateClass = RateClass::UpTo8000;
        std::optional<Report> answer;  // acknowledgement of the last accepted command
        Clock::Duration answerDue{0};   // when a late acknowledgement becomes readable
    };

    struct UnplugTrigger {
        ConnectionKind kind;
        int writesLeft;
        std::optional<std::uint8_t> command;
    };

    explicit State(Clock& c) : clock(c) {
        kinds[static_cast<std::size_t>(kindIndex(ConnectionKind::Bluetooth))].rateClass = RateClass::UpTo1000;
    }

    KindState& kind(ConnectionKind k) { return kinds[static_cast<std::size_t>(kindIndex(k))]; }

    Clock& clock;
    std::mutex mutex;
    std::condition_variable inputReady;
    std::array<KindState, kConnectionKindCount> kinds;
    std::vector<ConnectionKind> plugOrder;
    std::vector<HidInterfaceInfo> foreign;
    DeviceEventSink* sink = nullptr;
    std::vector<Handle*> inputHandles;

    bool acknowledging = true;
    int acknowledgementsToDrop = 0;
    std::chrono::milliseconds acknowledgementDelay{0};
    std::optional<UnplugTrigger> unplugTrigger;
    int writesAfterUnplug = 0;
    bool linked = true;
    std::chrono::milliseconds pairingDelay = kDefaultPairingDelay;
    std::optional<Clock::Duration> pairingDue;

    std::uint8_t dpiLevel = kDefaultDpiLevel;
    std::uint8_t dpiMask = kDefaultDpiMask;
    int rateIndex = kDefaultRateIndex;
    std::uint8_t battery = kDefaultBattery;
    ChargeState charge = ChargeState::OnBattery;
    std::uint8_t lightingMode = 0;
    std::uint8_t launch = 0;

    std::map<std::uint8_t, Payload> commands;
    std::map<int, StoredMacro> macros;
    std::vector<Transfer> transfers;
    int accepted = 0;
    int pairingRequests = 0;
    int resets = 0;

    void runDueLocked();
    void unplugLocked(ConnectionKind kind);
    void countTowardsUnplugLocked(ConnectionKind kind, std::uint8_t command);
    void sendStatusLocked(bool receiverOnly);
    void pushInputLocked(ConnectionKind kind, const std::vector<std::uint8_t>& report);
    void applyCommandLocked(std::span<const std::uint8_t> report);
};

class SimulatedMouse::Handle final : public HidHandle {
public:
    Handle(std::shared_ptr<State> state, ConnectionKind kind, Role role, unsigned generation,
           HidInterfaceInfo info)
        : state_(std::move(state)), kind_(kind), role_(role), generation_(generation), info_(std::move(info)) {
        if (role_ == Role::Input) {
            {
                std::lock_guard lock(state_->mutex);
                state_->inputHandles.push_back(this);
            }
            state_->inputReady.notify_all();
        }
    }

    ~Handle() override {
        std::lock_guard lock(state_->mutex);
        std::erase(state_->inputHandles, this);
    }

    const HidInterfaceInfo& info() const override { return info_; }

    bool setFeature(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(state_->mutex);
        if (role_ == Role::Feature && !aliveLocked()) ++state_->writesAfterUnplug;
        if (!aliveLocked() || role_ != Role::Feature || report.empty()) return false;
        // Like the real device, the mouse refuses a transfer longer than its
        // feature report (the kernel passes such a buffer on whole).
        if (report.size() > info_.featureReportLength) return false;
        state_->runDueLocked();
        state_->transfers.push_back(
            Transfer{Transfer::Op::SetFeature, kind_, std::vector<std::uint8_t>(report.begin(), report.end())});
        if (report[0] == ReportId::Command && report.size() >= kReportLength) {
            auto& self = state_->kind(kind_);
            self.answer.reset();
            const bool reachable = kind_ != ConnectionKind::Dongle || state_->linked;
            if (state_->acknowledging && reachable && checksumValid(report)) {
                state_->applyCommandLocked(report);
                ++state_->accepted;
                if (state_->acknowledgementsToDrop > 0) {
                    --state_->acknowledgementsToDrop;
                } else {
                    Report answer{};
                    std::copy_n(report.begin(), kReportLength, answer.begin());
                    self.answer = answer;
                    self.answerDue = state_->clock.now() + state_->acknowledgementDelay;
                }
            }
            state_->countTowardsUnplugLocked(kind_, report[CommandOffset::Command]);
            return true;
        }
        if (report[0] == ReportId::Pairing && kind_ == ConnectionKind::Dongle &&
            report.size() == kPairingReportLength && report[1] == kPairingCommand) {
            ++state_->pairingRequests;
            state_->pairingDue = state_->clock.now() + state_->pairingDelay;
            return true;
        }
        return false;
    }

    bool getFeature(std::span<std::uint8_t> buffer) override {
        std::lock_guard lock(state_->mutex);
        if (!aliveLocked() || role_ != Role::Feature || buffer.empty()) return false;
        state_->runDueLocked();
        Report answer{};
        if (buffer[0] == ReportId::Command) {
            auto& self = state_->kind(kind_);
            answer[0] = ReportId::Command;
            if (self.answer && state_->clock.now() >= self.answerDue) {
                answer = *self.answer;
                self.answer.reset();
            }
        } else if (buffer[0] == ReportId::DeviceInfo) {
            const bool online = kind_ != ConnectionKind::Dongle || state_->linked;
            answer = encodeDeviceInfo(DeviceInfo{online, state_->kind(kind_).rateClass});
        } else {
            return false;
        }
        const std::size_t n = std::min(buffer.size(), answer.size());
        std::copy_n(answer.begin(), n, buffer.begin());
        state_->transfers.push_back(Transfer{Transfer::Op::GetFeature, kind_,
                                             std::vector<std::uint8_t>(buffer.begin(), buffer.begin() +
                                                                                           static_cast<std::ptrdiff_t>(n))});
        return true;
    }

    std::optional<std::size_t> readInput(std::span<std::uint8_t> buffer) override {
        std::unique_lock lock(state_->mutex);
        if (role_ != Role::Input) return std::nullopt;
        state_->inputReady.wait(lock, [&] {
            return interrupted_ || (!state_->kind(kind_).readersStalled && (!aliveLocked() || !queue_.empty()));
        });
        if (interrupted_ || !aliveLocked()) return std::nullopt;
        std::vector<std::uint8_t> report = std::move(queue_.front());
        queue_.pop_front();
        if (queue_.empty()) state_->inputReady.notify_all();
        const std::size_t n = std::min(buffer.size(), report.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return n;
    }

    void interruptRead() override {
        {
            std::lock_guard lock(state_->mutex);
            interrupted_ = true;
        }
        state_->inputReady.notify_all();
    }

    // Called with the state's mutex held.
    void pushLocked(const std::vector<std::uint8_t>& report) { queue_.push_back(report); }
    std::size_t unreadLocked() const { return queue_.size(); }
    ConnectionKind kind() const { return kind_; }

    bool aliveLocked() const {
        const auto& k = state_->kind(kind_);
        return role_ != Role::Foreign && k.plugged && k.generation == generation_;
    }

private:
    std::shared_ptr<State> state_;
    ConnectionKind kind_;
    Role role_;
    unsigned generation_;
    HidInterfaceInfo info_;
    bool interrupted_ = false;
    std::deque<std::vector<std::uint8_t>> queue_;
};

void SimulatedMouse::State::runDueLocked() {
    if (pairingDue && clock.now() >= *pairingDue) {
        pairingDue.reset();
        linked = true;
        sendStatusLocked(true);
    }
}

void SimulatedMouse::State::unplugLocked(ConnectionKind k) {
    auto& self = kind(k);
    if (!self.plugged) return;
    self.plugged = false;
    ++self.generation;
    std::erase(plugOrder, k);
    if (sink) sink->postDeviceChange(DeviceChange::Removal);
    inputReady.notify_all();
}

void SimulatedMouse::State::countTowardsUnplugLocked(ConnectionKind k, std::uint8_t command) {
    if (!unplugTrigger || unplugTrigger->kind != k) return;
    if (unplugTrigger->command && *unplugTrigger->command != command) return;
    if (--unplugTrigger->writesLeft > 0) return;
    unplugTrigger.reset();
    unplugLocked(k);
}

void SimulatedMouse::State::pushInputLocked(ConnectionKind k, const std::vector<std::uint8_t>& report) {
    for (Handle* h : inputHandles) {
        if (h->kind() == k) h->pushLocked(report);
    }
    inputReady.notify_all();
}

void SimulatedMouse::State::sendStatusLocked(bool receiverOnly) {
    for (ConnectionKind k : plugOrder) {
        if (receiverOnly && k != ConnectionKind::Dongle) continue;
        std::vector<std::uint8_t> report(kStatusReportLength, 0);
        report[StatusOffset::ReportId] = ReportId::Status;
        if (k == ConnectionKind::Dongle && !linked) {
            pushInputLocked(k, report);
            continue;
        }
        report[StatusOffset::Linked] = k == ConnectionKind::Dongle ? 1 : 0;
        report[StatusOffset::DpiLevel] = dpiLevel;
        report[StatusOffset::RateCode] = pollingRateCode(rateIndex);
        report[StatusOffset::Battery] = battery;
        report[StatusOffset::Charge] = static_cast<std::uint8_t>(charge);
        report[StatusOffset::LightingMode] = lightingMode;
        report[StatusOffset::QuickLaunch] = launch;
        pushInputLocked(k, report);
    }
}

void SimulatedMouse::State::applyCommandLocked(std::span<const std::uint8_t> report) {
    const std::uint8_t command = report[CommandOffset::Command];
    Payload payload{};
    std::copy_n(report.begin() + CommandOffset::Payload, kPayloadLength, payload.begin());
    commands[command] = payload;
    switch (command) {
    case Command::DpiLevels:
        dpiLevel = payload[0];
        dpiMask = payload[1];
        break;
    case Command::PollingRate: rateIndex = rateIndexOfCode(payload[0]); break;
    case Command::Lighting: lightingMode = payload[1]; break;
    case Command::FactoryReset:
        commands.clear();
        macros.clear();
        dpiLevel = kDefaultDpiLevel;
        dpiMask = kDefaultDpiMask;
        rateIndex = kDefaultRateIndex;
        lightingMode = 0;
        ++resets;
        break;
    case Command::MacroUploadStart: macros.clear(); break;
    case Command::MacroData: {
        const int index = report[CommandOffset::Packet] >> 4;
        const int count = report[CommandOffset::Packet] & 0x0F;
        const std::size_t length =
            payload[0] >= kFullMacroPacketLength ? kMacroPacketData : static_cast<std::size_t>(std::max(payload[0], std::uint8_t{1}) - 1);
        StoredMacro& macro = macros[payload[1]];
        if (index == 0) macro = StoredMacro{};
        macro.bytes.resize(kMacroPacketData * static_cast<std::size_t>(index));
        macro.bytes.insert(macro.bytes.end(), payload.begin() + 2,
                           payload.begin() + 2 + static_cast<std::ptrdiff_t>(length));
        ++macro.packetsReceived;
        macro.packetCount = count;
        break;
    }
    default: break;
    }
}

SimulatedMouse::SimulatedMouse(Clock& clock) : state_(std::make_shared<State>(clock)) {}

SimulatedMouse::~SimulatedMouse() = default;

std::vector<HidInterfaceInfo> SimulatedMouse::enumerate() {
    std::lock_guard lock(state_->mutex);
    state_->runDueLocked();
    std::vector<HidInterfaceInfo> list = state_->foreign;
    for (ConnectionKind kind : state_->plugOrder) {
        if (!state_->kind(kind).inputMissing) list.push_back(infoOf(kind, Role::Input));
        list.push_back(infoOf(kind, Role::Feature));
    }
    return list;
}

std::unique_ptr<HidHandle> SimulatedMouse::open(const HidInterfaceInfo& where) {
    std::unique_lock lock(state_->mutex);
    for (const HidInterfaceInfo& f : state_->foreign) {
        if (f.path == where.path) {
            lock.unlock();
            return std::make_unique<Handle>(state_, ConnectionKind::Wired, Role::Foreign, 0, f);
        }
    }
    for (ConnectionKind kind : state_->plugOrder) {
        const auto& k = state_->kind(kind);
        if (k.openRefused) continue;
        for (Role role : {Role::Input, Role::Feature}) {
            if (role == Role::Input && k.inputMissing) continue;
            if (pathOf(kind, role) != where.path) continue;
            const unsigned generation = k.generation;
            lock.unlock();
            return std::make_unique<Handle>(state_, kind, role, generation, infoOf(kind, role));
        }
    }
    return nullptr;
}

void SimulatedMouse::watchDeviceChanges(DeviceEventSink* sink) {
    std::lock_guard lock(state_->mutex);
    state_->sink = sink;
}

void SimulatedMouse::plug(ConnectionKind kind) {
    std::lock_guard lock(state_->mutex);
    auto& k = state_->kind(kind);
    if (k.plugged) return;
    k.plugged = true;
    ++k.generation;
    state_->plugOrder.push_back(kind);
    if (state_->sink) state_->sink->postDeviceChange(DeviceChange::Arrival);
}

void SimulatedMouse::unplug(ConnectionKind kind) {
    std::lock_guard lock(state_->mutex);
    state_->unplugLocked(kind);
}

bool SimulatedMouse::plugged(ConnectionKind kind) const {
    std::lock_guard lock(state_->mutex);
    return state_->kind(kind).plugged;
}

void SimulatedMouse::setInputInterfaceMissing(ConnectionKind kind, bool missing) {
    std::lock_guard lock(state_->mutex);
    state_->kind(kind).inputMissing = missing;
}

void SimulatedMouse::addForeignInterface(const HidInterfaceInfo& info) {
    std::lock_guard lock(state_->mutex);
    state_->foreign.push_back(info);
}

void SimulatedMouse::setOpenRefused(ConnectionKind kind, bool refused) {
    std::lock_guard lock(state_->mutex);
    state_->kind(kind).openRefused = refused;
}

void SimulatedMouse::setAcknowledging(bool acknowledging) {
    std::lock_guard lock(state_->mutex);
    state_->acknowledging = acknowledging;
}

void SimulatedMouse::setRateClass(ConnectionKind kind, std::uint8_t rateClass) {
    std::lock_guard lock(state_->mutex);
    state_->kind(kind).rateClass = rateClass;
}

void SimulatedMouse::setPairingDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(state_->mutex);
    state_->pairingDelay = delay;
}

void SimulatedMouse::pressDpiButton() {
    std::lock_guard lock(state_->mutex);
    // The button steps to the next enabled level of the six the device holds.
    for (int step = 1; step <= kDeviceDpiLevels; ++step) {
        const int level = (state_->dpiLevel + step) % kDeviceDpiLevels;
        if (state_->dpiMask & (1u << level)) {
            state_->dpiLevel = static_cast<std::uint8_t>(level);
            break;
        }
    }
    state_->sendStatusLocked(false);
}

void SimulatedMouse::setDpiLevel(int level) {
    std::lock_guard lock(state_->mutex);
    state_->dpiLevel = static_cast<std::uint8_t>(level);
    state_->sendStatusLocked(false);
}

void SimulatedMouse::setPollingRateIndex(int index) {
    std::lock_guard lock(state_->mutex);
    state_->rateIndex = index;
    state_->sendStatusLocked(false);
}

void SimulatedMouse::setLightingMode(std::uint8_t mode) {
    std::lock_guard lock(state_->mutex);
    state_->lightingMode = mode;
    state_->sendStatusLocked(false);
}

void SimulatedMouse::setBattery(std::uint8_t percent, ChargeState state) {
    std::lock_guard lock(state_->mutex);
    state_->battery = percent;
    state_->charge = state;
    state_->sendStatusLocked(false);
}

void SimulatedMouse::pressQuickLaunch(int keyNumber) {
    std::lock_guard lock(state_->mutex);
    state_->launch = static_cast<std::uint8_t>(keyNumber);
    state_->sendStatusLocked(false);
}

void SimulatedMouse::releaseQuickLaunch() { pressQuickLaunch(0); }

void SimulatedMouse::loseLink() {
    std::lock_guard lock(state_->mutex);
    state_->linked = false;
    state_->sendStatusLocked(true);
}

void SimulatedMouse::regainLink() {
    std::lock_guard lock(state_->mutex);
    state_->linked = true;
    state_->sendStatusLocked(true);
}

bool SimulatedMouse::linked() const {
    std::lock_guard lock(state_->mutex);
    return state_->linked;
}

void SimulatedMouse::sendRawInput(ConnectionKind kind, std::vector<std::uint8_t> report) {
    std::lock_guard lock(state_->mutex);
    state_->pushInputLocked(kind, report);
}

void SimulatedMouse::dropAcknowledgements(int count) {
    std::lock_guard lock(state_->mutex);
    state_->acknowledgementsToDrop = count;
}

void SimulatedMouse::setAcknowledgementDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(state_->mutex);
    state_->acknowledgementDelay = delay;
}

void SimulatedMouse::unplugAfterWrites(ConnectionKind kind, int writes, std::optional<std::uint8_t> command) {
    std::lock_guard lock(state_->mutex);
    state_->unplugTrigger = State::UnplugTrigger{kind, writes, command};
}

int SimulatedMouse::writesAfterUnplug() const {
    std::lock_guard lock(state_->mutex);
    return state_->writesAfterUnplug;
}

void SimulatedMouse::stallReaders(ConnectionKind kind, bool stalled) {
    {
        std::lock_guard lock(state_->mutex);
        state_->kind(kind).readersStalled = stalled;
    }
    state_->inputReady.notify_all();
}

std::size_t SimulatedMouse::unreadInput(ConnectionKind kind) const {
    std::lock_guard lock(state_->mutex);
    std::size_t n = 0;
    for (const Handle* h : state_->inputHandles) {
        if (h->kind() == kind) n += h->unreadLocked();
    }
    return n;
}

bool SimulatedMouse::waitUntilInputRead(ConnectionKind kind, std::chrono::milliseconds timeout) {
    std::unique_lock lock(state_->mutex);
    return state_->inputReady.wait_for(lock, timeout, [&] {
        return std::none_of(state_->inputHandles.begin(), state_->inputHandles.end(),
                            [&](const Handle* h) { return h->kind() == kind && h->unreadLocked() != 0; });
    });
}

bool SimulatedMouse::waitForReader(ConnectionKind kind, std::chrono::milliseconds timeout) {
    std::unique_lock lock(state_->mutex);
    const auto hasReader = [&] {
        return std::any_of(state_->inputHandles.begin(), state_->inputHandles.end(),
                           [&](Handle* h) { return h->kind() == kind && h->aliveLocked(); });
    };
    const auto& k = state_->kind(kind);
    if (!k.plugged || k.inputMissing || k.openRefused) return false;
    return state_->inputReady.wait_for(lock, timeout, hasReader);
}

void SimulatedMouse::runDueEvents() {
    std::lock_guard lock(state_->mutex);
    state_->runDueLocked();
}

std::vector<SimulatedMouse::Transfer> SimulatedMouse::transfers() const {
    std::lock_guard lock(state_->mutex);
    return state_->transfers;
}

void SimulatedMouse::clearTransfers() {
    std::lock_guard lock(state_->mutex);
    state_->transfers.clear();
}

std::optional<Payload> SimulatedMouse::lastCommand(std::uint8_t command) const {
    std::lock_guard lock(state_->mutex);
    auto it = state_->commands.find(command);
    if (it == state_->commands.end()) return std::nullopt;
    return it->second;
}

std::map<int, SimulatedMouse::StoredMacro> SimulatedMouse::macros() const {
    std::lock_guard lock(state_->mutex);
    return state_->macros;
}

int SimulatedMouse::commandsAccepted() const {
    std::lock_guard lock(state_->mutex);
    return state_->accepted;
}

int SimulatedMouse::pairingRequests() const {
    std::lock_guard lock(state_->mutex);
    return state_->pairingRequests;
}

int SimulatedMouse::factoryResets() const {
    std::lock_guard lock(state_->mutex);
    return state_->resets;
}

std::uint8_t SimulatedMouse::dpiLevel() const {
    std::lock_guard lock(state_->mutex);
    return state_->dpiLevel;
}

}  // namespace zavrin
