#include "ctl/Zavrinctl.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <optional>

#include <nlohmann/json.hpp>

#include "app/Startup.h"
#include "app/UserFolders.h"
#include "ctl/AppProfileCommand.h"
#include "ctl/ApplyCommand.h"
#include "device/CommandBuilders.h"
#include "device/CommandChannel.h"
#include "device/DeviceEventQueue.h"
#include "device/DeviceLink.h"
#include "device/MacroTransfer.h"
#include "device/SensorTables.h"
#include "device/TransportFactory.h"
#include "model/DataPaths.h"
#include "model/GlobalSettings.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/NameTables.h"
#include "model/ProfileFile.h"
#include "model/ProfileReset.h"
#include "model/TextFields.h"
#include "model/TextFile.h"
#ifdef _WIN32
#include "platform/win32/Win32SingleInstance.h"
#else
#include "platform/posix/SingleInstance.h"
#endif

namespace zavrin {

namespace {

constexpr std::string_view kHelp =
    "usage: zavrinctl [options] COMMAND [arguments]\n"
    "\n"
    "Configures the Zavrin ZR2 mouse from the command line.\n"
    "\n"
    "commands:\n"
    "  list                 show the connections found (cable, receiver, Bluetooth)\n"
    "                       and their HID interfaces\n"
    "  info                 show whether the mouse is online and its polling-rate class\n"
    "  apply FILE.psf       write every setting of the profile file to the mouse,\n"
    "                       then the macros its buttons carry\n"
    "      --library FILE   take those macros from FILE (default: the macro library\n"
    "                       of the data folder)\n"
    "  watch                print every status report of the mouse (DPI level, polling\n"
    "                       rate, battery, lighting effect, link) until interrupted\n"
    "      --count N        stop after N reports\n"
    "  pair                 ask the receiver to pair with the mouse and wait up to\n"
    "                       25 seconds for the link\n"
    "  reset                reset the mouse to its factory settings and the current\n"
    "                       profile to its defaults (its name stays), as the\n"
    "                       window's reset does\n"
    "  get [KEY]            show one setting of the current profile, or all\n"
    "  set KEY VALUE        change one setting: the profile file is saved and only\n"
    "                       what differs is written to the mouse\n"
    "  keys                 list the settings' keys and the values each takes\n"
    "  profile list         show the five profile slots\n"
    "  profile use SLOT     make a listed profile (1-5) the current one\n"
    "  profile export SLOT FILE   write a listed profile to a profile file\n"
    "  profile import SLOT FILE   read a profile file into a listed profile\n"
    "  app-profile list     show the automatic-profile rules (program -> profile slot)\n"
    "  app-profile add PROGRAM SLOT\n"
    "                       give PROGRAM (an executable path or file name) the\n"
    "                       profile slot SLOT (1-5); a running program follows at once\n"
    "  app-profile remove PROGRAM\n"
    "                       remove PROGRAM's rule\n"
    "\n"
    "While zavrin runs for the same data folder, get, set, keys, profile, apply\n"
    "and reset go through it, so that one program writes to the mouse and the\n"
    "window shows the change.\n"
    "\n"
    "options:\n"
    "  --json               print one JSON document (watch: one per line)\n"
    "  --simulate[=KINDS]   use a simulated mouse instead of the real one; KINDS is a\n"
    "                       comma-separated list of wired, dongle, bluetooth\n"
    "                       (default: dongle; none: no mouse at all)\n"
    "  --hid-trace FILE     append every HID transfer to FILE, one per line:\n"
    "                       <ms> <SET_FEATURE|GET_FEATURE|INPUT> <kind> <bytes>\n"
    "  --data-dir DIR       the program's data folder (default:\n"
    "                       $XDG_CONFIG_HOME/KestruneData20240412A); its\n"
    "                       config/config.ini names the mouse's sensor\n"
    "  --sensor HEX         the sensor id (e.g. 3311), overriding config.ini\n"
    "  -h, --help           show this text\n"
    "\n"
    "Exit status: 0 done, 1 failed (no mouse, no answer, unreadable file), 2 usage\n"
    "error or a value the window would refuse (nothing is written then).\n";

constexpr int kPairingSeconds = 25;
constexpr std::chrono::milliseconds kWatchPoll{200};
// How long the running program may take over a request: an apply pass with
// macro uploads takes seconds.
constexpr std::chrono::milliseconds kProgramAnswerWait{60000};

using Json = nlohmann::ordered_json;

struct Options {
    std::string command;
    std::vector<std::string> operands;
    TransportOptions transport;
    std::filesystem::path dataDir = defaultDataFolder();
    std::optional<std::uint16_t> sensor;
    std::optional<std::filesystem::path> library;
    std::optional<long> count;
    std::filesystem::path programFolder;
    bool json = false;
    bool help = false;
};

class Failure {
public:
    explicit Failure(std::string message, int status = CtlExit::Failed) : message_(std::move(message)), status_(status) {}
    const std::string& message() const { return message_; }
    int status() const { return status_; }

private:
    std::string message_;
    int status_;
};

std::optional<long> parseNumber(std::string_view text, int base) {
    if (base == 16 && (text.starts_with("0x") || text.starts_with("0X"))) text.remove_prefix(2);
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

Options parseOptions(const std::vector<std::string>& args) {
    Options o;
    const auto value = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= args.size()) throw Failure("option " + args[i] + " needs a value", CtlExit::Usage);
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            o.help = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--simulate") {
            o.transport.simulate = true;
        } else if (a.starts_with("--simulate=")) {
            o.transport.simulate = true;
            const std::string_view list = std::string_view(a).substr(11);
            const auto kinds = list == "none" ? std::vector<ConnectionKind>{} : parseKindList(list);
            if (!kinds || (kinds->empty() && list != "none")) {
                throw Failure("unknown connection in " + a, CtlExit::Usage);
            }
            o.transport.simulatedKinds = *kinds;
        } else if (a == "--hid-trace") {
            o.transport.hidTrace = value(i);
        } else if (a == "--data-dir") {
            o.dataDir = value(i);
        } else if (a == "--sensor") {
            const std::string& text = value(i);
            const auto sensor = parseNumber(text, 16);
            if (!sensor || *sensor < 0 || *sensor > 0xFFFF) throw Failure("not a sensor id: " + text, CtlExit::Usage);
            o.sensor = static_cast<std::uint16_t>(*sensor);
        } else if (a == "--library") {
            o.library = value(i);
        } else if (a == "--count") {
            const std::string& text = value(i);
            o.count = parseNumber(text, 10);
            if (!o.count || *o.count < 1) throw Failure("not a count: " + text, CtlExit::Usage);
        } else if (a.starts_with("-")) {
            throw Failure("unknown option " + a, CtlExit::Usage);
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.operands.push_back(a);
        }
    }
    return o;
}

// The sensor from --sensor, else from the data folder's config.ini, else the default.
std::uint16_t sensorOf(const Options& o, std::ostream& err) {
    if (o.sensor) return *o.sensor;
    GlobalSettings settings;
    settings.resetGlobalSettings(o.dataDir);
    const FileRead result = settings.read(dataPath(o.dataDir, kConfigFile));
    if (result.status == ReadStatus::Damaged) {
        err << "zavrinctl: warning: " << pathToUtf8(dataPath(o.dataDir, kConfigFile))
            << " is damaged; using sensor 3311\n";
        return kDefaultSensorId;
    }
    if (result.status == ReadStatus::Unreadable) {
        err << "zavrinctl: warning: cannot read " << pathToUtf8(result.problem.path) << ": "
            << englishReason(result.problem) << "; using sensor 3311\n";
        return kDefaultSensorId;
    }
    return result.ok() ? settings.sensor() : kDefaultSensorId;
}

std::string rateClassText(int capability) {
    switch (capability) {
    case RateClass::UpTo8000: return "up to 8000 Hz";
    case RateClass::UpTo4000: return "up to 4000 Hz";
    default: return "up to 1000 Hz";
    }
}

std::string describe(ConnectionKind kind, const StatusReport& s) {
    std::string line(kindName(kind));
    if (!s.linked) return line + ": mouse not linked to the receiver";
    line += ": DPI level " + std::to_string(s.dpiLevel);
    line += ", " + std::string(pollingRateName(s.pollingRateIndex));
    line += ", battery " + std::to_string(s.battery) + "%";
    line += s.chargeState == ChargeState::Charging ? " charging"
            : s.chargeState == ChargeState::Full   ? " full"
                                                   : " on battery";
    line += ", lighting effect " + std::to_string(s.lightingMode);
    line += ", quick launch " + (s.launchIndex ? "key " + std::to_string(s.launchIndex) : std::string("none"));
    return line;
}

// The start of every document: schema, command, success; the commands that
// talk to the mouse themselves say so in "path".
Json document(const std::string& command) {
    Json doc = Json::object();
    doc["schema"] = kCtlSchema;
    doc["command"] = command;
    doc["ok"] = true;
    doc["path"] = "direct";
    return doc;
}

void printDocument(std::ostream& out, const Json& doc) {
    out << doc.dump(-1, ' ', false, Json::error_handler_t::replace) << std::endl;
}

Json statusDocument(ConnectionKind kind, const StatusReport& s) {
    Json doc = document("watch");
    doc["event"] = "status";
    doc["connection"] = kindName(kind);
    doc["linked"] = s.linked;
    if (!s.linked) return doc;
    doc["dpiLevel"] = s.dpiLevel + 1;
    doc["rate"] = std::string(pollingRateName(s.pollingRateIndex));
    doc["battery"] = s.battery;
    doc["charge"] = s.chargeState == ChargeState::Charging ? "charging"
                    : s.chargeState == ChargeState::Full   ? "full"
                                                           : "battery";
    doc["lightingEffect"] = s.lightingMode;
    doc["quickLaunch"] = s.launchIndex;
    return doc;
}

// The open connection to the mouse for one command.
class Session {
public:
    Session(const Options& o, Clock& clock) : clock_(clock) {
        TransportChoice choice = makeTransport(o.transport, clock);
        if (!choice.transport) throw Failure(choice.error);
        transport_ = std::move(choice.transport);
        link_.emplace(*transport_, queue_);
        link_->RegisterForDevices();
        link_->scanInterfaces();
        link_->commitPresence();
        channel_.emplace(*link_, clock);
    }
    ~Session() {
        if (link_) link_->stopReaders();
    }

    void requireMouse() const {
        if (!link_->anyDevice) throw Failure("no mouse found (is it plugged in, and is the udev rule installed?)");
    }

    // Like the program's apply pass: a receiver alone is enough only while the
    // mouse is linked to it.
    void requireReachable() {
        requireMouse();
        if (link_->featureHandle(ConnectionKind::Wired) || link_->featureHandle(ConnectionKind::Bluetooth)) return;
        if (!channel_->QueryDeviceInfo()) throw Failure("no answer from the mouse");
        if (!link_->deviceOnline()) throw Failure("the mouse is not linked to its receiver (switched off or asleep?)");
    }

    DeviceLink& link() { return *link_; }
    CommandChannel& channel() { return *channel_; }
    DeviceEventQueue& queue() { return queue_; }
    Transport& transport() { return *transport_; }
    Clock& clock() { return clock_; }

private:
    Clock& clock_;
    std::unique_ptr<Transport> transport_;
    DeviceEventQueue queue_;
    std::optional<DeviceLink> link_;
    std::optional<CommandChannel> channel_;
};

int commandList(const Options& o, std::ostream& out, Clock& clock) {
    Session s(o, clock);
    const auto interfaces = s.transport().enumerate();
    const auto where = [&](int index) -> std::string {
        if (index < 0 || index >= static_cast<int>(interfaces.size())) return "none";
        const HidInterfaceInfo& info = interfaces[static_cast<std::size_t>(index)];
        std::string text = "#";
        text += std::to_string(index);
        text += " ";
        text += info.path;
        if (info.collection) {
            text += " (collection ";
            text += std::to_string(info.collection);
            text += ")";
        }
        return text;
    };
    s.requireMouse();
    Json connections = Json::array();
    std::string text;
    for (ConnectionKind kind : kSendPriority) {
        const DeviceSlot& slot = s.link().slot(kind);
        if (!slot.present) continue;
        text += std::string(kindName(kind)) + ": feature interface " + where(slot.featureIndex) +
                ", status interface " + where(slot.inputIndex) + (slot.featureHandle ? "" : " (cannot be opened)") +
                "\n";
        connections.push_back({{"connection", kindName(kind)},
                               {"feature", where(slot.featureIndex)},
                               {"status", where(slot.inputIndex)},
                               {"opened", slot.featureHandle != nullptr}});
    }
    if (o.json) {
        Json doc = document("list");
        doc["connections"] = connections;
        printDocument(out, doc);
    } else {
        out << text;
    }
    return CtlExit::Ok;
}

int commandInfo(const Options& o, std::ostream& out, Clock& clock) {
    Session s(o, clock);
    s.requireMouse();
    const std::optional<ConnectionKind> kind = s.link().sendKind();
    if (!kind) throw Failure("the mouse's interface cannot be opened (is the udev rule installed?)");
    const std::optional<DeviceInfo> info = s.channel().QueryDeviceInfo();
    if (!info) throw Failure("no answer from the mouse");
    if (o.json) {
        Json doc = document("info");
        doc["connection"] = kindName(*kind);
        doc["online"] = info->online;
        doc["maxRate"] = s.link().pollingCapability == RateClass::UpTo8000   ? 8000
                         : s.link().pollingCapability == RateClass::UpTo4000 ? 4000
                                                                             : 1000;
        printDocument(out, doc);
        return CtlExit::Ok;
    }
    out << "connection: " << kindName(*kind) << "\n";
    out << "online: " << (info->online ? "yes" : "no") << "\n";
    out << "polling rates: " << rateClassText(s.link().pollingCapability) << "\n";
    return CtlExit::Ok;
}

std::optional<CtlResult> viaProgram(const Options& o);

int commandApply(const Options& o, std::ostream& out, std::ostream& err, Clock& clock) {
    if (o.operands.size() != 1) throw Failure("apply needs one profile file", CtlExit::Usage);
    // One writer: beside a running program, the program applies the file.
    if (!o.transport.simulate) {
        if (std::optional<CtlResult> result = viaProgram(o)) {
            printResult(*result, o.json, out, err);
            return result->status;
        }
    }
    const std::filesystem::path file = o.operands[0];
    const std::filesystem::path libraryFile = o.library ? *o.library : dataPath(o.dataDir, kMacroLibraryFile);
    std::string error;
    std::optional<ApplyInput> input = readApplyInput(file, libraryFile, o.library.has_value(), sensorOf(o, err), error);
    if (!input) throw Failure(error);

    Session s(o, clock);
    s.requireReachable();
    SentImages images;
    error = applyPass(*input, s.channel(), images);
    if (!error.empty()) throw Failure(error);
    if (o.json) {
        Json doc = document("apply");
        doc["file"] = pathToUtf8(file);
        printDocument(out, doc);
        return CtlExit::Ok;
    }
    out << "applied " << pathToUtf8(file) << "\n";
    return CtlExit::Ok;
}

int commandWatch(const Options& o, std::ostream& out, Clock& clock, const std::atomic<bool>& stop) {
    Session s(o, clock);
    s.requireMouse();
    // Wired polling rates decode by the rate class the mouse reports.
    s.channel().QueryDeviceInfo();
    long printed = 0;
    while (!stop && (!o.count || printed < *o.count)) {
        const std::optional<DeviceEvent> event = s.queue().waitPop(kWatchPoll);
        if (!event) continue;
        if (const auto* status = std::get_if<StatusEvent>(&*event)) {
            if (o.json) {
                printDocument(out, statusDocument(status->kind, status->status));
            } else {
                out << describe(status->kind, status->status) << std::endl;
            }
            ++printed;
            continue;
        }
        s.link().scanInterfaces();
        s.link().commitPresence();
        std::string present;
        Json kinds = Json::array();
        for (ConnectionKind kind : kSendPriority) {
            if (!s.link().present(kind)) continue;
            present += (present.empty() ? "" : ", ") + std::string(kindName(kind));
            kinds.push_back(kindName(kind));
        }
        if (o.json) {
            Json doc = document("watch");
            doc["event"] = "connections";
            doc["connections"] = kinds;
            printDocument(out, doc);
        } else {
            out << "connections: " << (present.empty() ? "none" : present) << std::endl;
        }
    }
    return CtlExit::Ok;
}

int commandPair(const Options& o, std::ostream& out, Clock& clock) {
    Session s(o, clock);
    HidHandle* receiver = s.link().featureHandle(ConnectionKind::Dongle);
    if (!receiver) throw Failure("no receiver found");
    s.channel().SendPairing();
    if (!o.json) {
        out << "pairing requested; switch the mouse on (waiting up to " << kPairingSeconds << " s)" << std::endl;
    }
    for (int second = 0; second < kPairingSeconds; ++second) {
        clock.sleepFor(std::chrono::seconds(1));
        const std::optional<DeviceInfo> info = CommandChannel::readDeviceInfo(*receiver);
        if (info && info->online) {
            if (o.json) {
                Json doc = document("pair");
                doc["paired"] = true;
                printDocument(out, doc);
            } else {
                out << "paired" << std::endl;
            }
            return CtlExit::Ok;
        }
    }
    throw Failure("pairing failed: the mouse did not link within " + std::to_string(kPairingSeconds) + " seconds");
}

// The language tables of the profile commands: the window's own (the names it
// stores) and the English one (the names the user types). The English file
// comes from the data folder, else from beside the program.
struct Languages {
    LanguageTable shown;
    LanguageTable english;

    Languages(const Options& o) {
        bool englishRead = false;
        for (const std::filesystem::path& folder : {o.dataDir, o.programFolder}) {
            if (folder.empty()) continue;
            const auto lines = readTextFile(dataPath(folder, kEnglishLanguageFile));
            if (lines && english.loadLines(*lines, 1.0f)) {
                englishRead = true;
                break;
            }
        }
        if (!englishRead) throw Failure("cannot read the English language file " +
                                        pathToUtf8(dataPath(o.dataDir, kEnglishLanguageFile)));
        if (!shown.loadLanguage(o.dataDir, 1.0f)) shown = english;
    }
};

// The profile commands run by zavrinctl itself: the data folder's files, read
// without writing anything, and the mouse through a connection of its own,
// opened only for a command that writes to it.
class DirectHost final : public SettingHost {
public:
    DirectHost(const Options& o, Clock& clock, bool writes)
        : options_(o), clock_(clock), writes_(writes), languages_(o), store_(o.dataDir, languages_.shown) {
        store_.readWithoutWriting();
        sensorId_ = o.sensor ? *o.sensor : store_.settings.sensor();
        library_.readLibraryFile(dataPath(o.dataDir, kMacroLibraryFile));
    }
    ~DirectHost() override = default;

    std::string_view path() const override { return "direct"; }
    ProfileStore& store() override { return store_; }

    SettingContext context() override {
        SettingContext c;
        c.sensor = sensorTable(sensorId_);
        c.library = &library_;
        c.english = &languages_.english;
        c.shown = &languages_.shown;
        // The rates offered follow the connection, as on the window's polling
        // section; until the mouse says otherwise, every rate is.
        c.rateCapability = RateClass::UpTo8000;
        if (writes_ && open()) c.rateCapability = session_->link().pollingCapability;
        return c;
    }

    DeviceWrite write(const ProfileRecord& before, std::initializer_list<DirtyGroup> groups) override {
        DeviceWrite result;
        if (!open()) {
            result.failure = failure_;
            return result;
        }
        try {
            session_->requireReachable();
        } catch (const Failure& failure) {
            result.failure = failure.message();
            return result;
        }
        CommandChannel& channel = session_->channel();
        SentImages images;
        CommandBuilders builders(channel, images);
        MacroTransfer macros(library_, languages_.shown, channel, images);
        const SensorTable sensor = sensorTable(sensorId_);
        // The mouse holds the profile as it was: only what differs from it is sent.
        ProfileRecord baseline = before;
        macros.AssignMacroSlots(baseline);
        builders.rebuildImages(baseline, sensor, macros.heldKeys());
        images.command(Command::Lighting).bytes = lightingPayload(baseline);
        macros.SyncMacros(baseline, false);

        ProfileRecord& current = store_.currentProfile();
        macros.AssignMacroSlots(current);
        const std::uint8_t firstSequence = channel.sequenceNumber;
        const int unacknowledged = channel.unacknowledgedCount;
        for (DirtyGroup group : groups) {
            if (group == DirtyGroup::Buttons) builders.sendKeys(current, macros.heldKeys());
            if (group == DirtyGroup::Performance) builders.sendPerformance(current, sensor);
            if (group == DirtyGroup::Power) builders.sendPowerSaving(current);
            if (group == DirtyGroup::SensorOptions) builders.sendSensorOptions(current);
        }
        macros.SyncMacros(current, true);
        result.reports = static_cast<std::uint8_t>(channel.sequenceNumber - firstSequence);
        const bool stillThere = session_->link().SendHandle() != nullptr;
        result.written = stillThere && channel.unacknowledgedCount == unacknowledged;
        if (!stillThere) result.failure = "the mouse went away";
        if (stillThere && !result.written) {
            result.failure = "the mouse did not acknowledge " +
                             std::to_string(channel.unacknowledgedCount - unacknowledged) + " of the commands";
        }
        return result;
    }

    // The factory reset as the window does it: the mouse back to its factory
    // settings, then the current profile back to its defaults under its name,
    // so that the profile and the mouse agree (a later apply of the old
    // profile would otherwise undo the reset). The profile is kept as it was
    // when the mouse did not take the reset.
    CtlResult reset() {
        if (!open()) throw Failure(failure_);
        session_->requireReachable();
        Payload payload{};
        payload[0] = kConfirmByte;
        if (!session_->channel().SendCommand(Command::FactoryReset, payload)) throw Failure("no answer from the mouse");
        const int index = store_.currentIndex();
        resetProfileKeepingName(store_, index);
        if (!saveProfile(index)) {
            throw Failure("the mouse is back at its factory settings, but " +
                          pathToUtf8(store_.settings.profileSlotPath(index)) + " could not be written");
        }
        CtlResult result;
        result.doc = document("reset");
        result.text = "the mouse is back at its factory settings\n";
        return result;
    }

    bool saveProfile(int index) override {
        prepareDataFolder(options_.dataDir);
        return store_.writeProfileFile(index, store_.settings.profileSlotPath(index));
    }

    bool saveSettings() override {
        prepareDataFolder(options_.dataDir);
        return store_.saveCurrentProfile();
    }

    bool saveAll() override {
        prepareDataFolder(options_.dataDir);
        const bool settings = store_.saveGlobalSettings();
        return store_.writeAllProfileFiles() && settings;
    }

private:
    bool open() {
        if (session_) return true;
        if (!failure_.empty()) return false;
        try {
            session_.emplace(options_, clock_);
            session_->requireMouse();
            session_->channel().QueryDeviceInfo();
            return true;
        } catch (const Failure& failure) {
            session_.reset();
            failure_ = failure.message();
            return false;
        }
    }

    const Options& options_;
    Clock& clock_;
    bool writes_;
    Languages languages_;
    ProfileStore store_;
    MacroLibrary library_;
    std::uint16_t sensorId_ = kDefaultSensorId;
    std::optional<Session> session_;
    std::string failure_;
};

bool commandWrites(const Options& o) {
    return o.command == "set" ||
           (o.command == "profile" && !o.operands.empty() && o.operands[0] == "use");
}

std::string absoluteText(const std::string& file) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(file), ec);
    return ec ? file : pathToUtf8(absolute);
}

// File names travel to the running program, whose working folder is its own.
// apply's options travel as two more operands: the macro library and the
// sensor id (empty: the program's own).
std::vector<std::string> operandsForProgram(const Options& o) {
    std::vector<std::string> operands = o.operands;
    if (o.command == "profile" && operands.size() == 3 && (operands[0] == "export" || operands[0] == "import")) {
        operands[2] = absoluteText(operands[2]);
    }
    if (o.command == "apply" && operands.size() == 1) {
        operands[0] = absoluteText(operands[0]);
        operands.push_back(o.library ? absoluteText(pathToUtf8(*o.library)) : std::string());
        operands.push_back(o.sensor ? std::to_string(*o.sensor) : std::string());
    }
    return operands;
}

// Asks the program running for the data folder to carry out the command.
// Nullopt when none runs; a failure when one runs but did not answer, so that
// nothing is ever written beside it.
std::optional<CtlResult> viaProgram(const Options& o) {
#ifdef _WIN32
    using Instance = win32::SingleInstance;
#else
    using Instance = posix::SingleInstance;
#endif
    const std::string request = encodeRequest(CtlRequest{o.command, operandsForProgram(o)});
    const std::optional<std::string> answer = Instance::sendControlRequest(o.dataDir, request, kProgramAnswerWait);
    if (!answer) return std::nullopt;
    if (std::optional<CtlResult> result = decodeResult(*answer)) return result;
    return CtlResult::failure(o.command, "zavrin runs for " + pathToUtf8(o.dataDir) +
                                             " but did not take the request (another user's, or busy)",
                              CtlExit::Failed);
}

int commandProfile(const Options& o, std::ostream& out, std::ostream& err, Clock& clock) {
    // A simulated mouse is zavrinctl's own; the program's connection is not asked.
    if (!o.transport.simulate) {
        if (std::optional<CtlResult> result = viaProgram(o)) {
            printResult(*result, o.json, out, err);
            return result->status;
        }
    }
    DirectHost host(o, clock, commandWrites(o));
    const CtlResult result = runProfileCommand(host, o.command, o.operands);
    printResult(result, o.json, out, err);
    return result.status;
}

}  // namespace

int runZavrinctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, Clock& clock,
                 const std::atomic<bool>& stop, const std::filesystem::path& programFolder) {
    bool json = false;
    std::string command;
    try {
        Options o = parseOptions(args);
        o.programFolder = programFolder;
        json = o.json;
        command = o.command;
        if (o.help) {
            out << kHelp;
            return CtlExit::Ok;
        }
        if (o.command.empty()) throw Failure("no command given (try --help)", CtlExit::Usage);
        if (isProfileCommand(o.command)) return commandProfile(o, out, err, clock);
        // The factory reset goes through the running program too: it changes
        // the profile the window shows.
        if (o.command == "reset" && o.operands.empty() && !o.transport.simulate) {
            if (std::optional<CtlResult> result = viaProgram(o)) {
                printResult(*result, o.json, out, err);
                return result->status;
            }
        }
        if (o.command == "app-profile") return runAppProfileCommand(o.operands, o.dataDir, out, err);
        if (o.command != "apply" && !o.operands.empty()) {
            throw Failure(o.command + " takes no arguments", CtlExit::Usage);
        }
        if (o.command == "list") return commandList(o, out, clock);
        if (o.command == "info") return commandInfo(o, out, clock);
        if (o.command == "apply") return commandApply(o, out, err, clock);
        if (o.command == "watch") return commandWatch(o, out, clock, stop);
        if (o.command == "pair") return commandPair(o, out, clock);
        if (o.command == "reset") {
            DirectHost host(o, clock, true);
            const CtlResult result = host.reset();
            printResult(result, o.json, out, err);
            return result.status;
        }
        throw Failure("unknown command " + o.command + " (try --help)", CtlExit::Usage);
    } catch (const Failure& failure) {
        if (json) printResult(CtlResult::failure(command, failure.message(), failure.status()), true, out, err);
        else err << "zavrinctl: " << failure.message() << "\n";
        return failure.status();
    }
}

}  // namespace zavrin
