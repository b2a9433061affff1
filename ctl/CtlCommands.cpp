#include "ctl/CtlCommands.h"

#include <ostream>

#include "model/DataPaths.h"

namespace zavrin {

namespace {

using Json = nlohmann::ordered_json;

Json header(const std::string& command) {
    Json doc = Json::object();
    doc["schema"] = kCtlSchema;
    doc["command"] = command;
    doc["ok"] = true;
    return doc;
}

std::string profileName(const ProfileRecord& p) { return getSetting(p, Setting::ProfileName, kSettingValue); }

// Slots as the user counts them, 1-5.
std::optional<int> slotNumber(std::string_view text) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '5') return std::nullopt;
    return text[0] - '1';
}

std::vector<int> listedSlots(const GlobalSettings& settings) {
    std::vector<int> slots;
    const int count = std::clamp(settings.profileShowCount(), 0, kProfileCount);
    for (int position = 0; position < count; ++position) {
        const int slot = settings.profileShowList(position);
        if (slot >= 0 && slot < kProfileCount) slots.push_back(slot);
    }
    return slots;
}

std::string slotsText(const std::vector<int>& slots) {
    std::string text;
    for (int slot : slots) text += (text.empty() ? "" : ", ") + std::to_string(slot + 1);
    return text.empty() ? "none" : text;
}

// A listed slot named by its number, or the usage failure that says which are.
std::optional<int> listedSlot(SettingHost& host, const std::string& command, std::string_view text,
                              CtlResult& failure) {
    const std::vector<int> listed = listedSlots(host.store().settings);
    const auto slot = slotNumber(text);
    if (slot && std::find(listed.begin(), listed.end(), *slot) != listed.end()) return slot;
    failure = CtlResult::failure(command,
                                 "slot " + std::string(text) + " is not a listed profile; listed: " + slotsText(listed),
                                 CtlExit::Usage);
    return std::nullopt;
}

void noteWrite(CtlResult& result, const DeviceWrite& write, const std::string& what) {
    result.doc["written"] = write.written;
    result.doc["reports"] = write.reports;
    if (write.written) return;
    result.status = CtlExit::Failed;
    result.error = what + "; the mouse was not written: " + write.failure;
    result.doc["ok"] = false;
    result.doc["error"] = result.error;
}

CtlResult commandGet(SettingHost& host, const std::vector<std::string>& operands) {
    if (operands.size() > 1) return CtlResult::failure("get", "get takes at most one key", CtlExit::Usage);
    const SettingContext context = host.context();
    const ProfileRecord& profile = host.store().currentProfile();
    CtlResult result;
    result.doc = header("get");
    result.doc["path"] = host.path();
    result.doc["profile"] = {{"slot", host.store().currentIndex() + 1}, {"name", profileName(profile)}};
    Json settings = Json::object();
    for (const SettingKey& key : settingKeys()) {
        if (!operands.empty() && operands[0] != key.name) continue;
        const std::string value = key.get(profile, context);
        settings[std::string(key.name)] = value;
        result.text += operands.empty() ? std::string(key.name) + "=" + value + "\n" : value + "\n";
    }
    if (!operands.empty() && settings.empty()) {
        return CtlResult::failure("get", "unknown key " + operands[0] + " (see zavrinctl keys)", CtlExit::Usage);
    }
    result.doc["settings"] = settings;
    return result;
}

CtlResult commandSet(SettingHost& host, const std::vector<std::string>& operands) {
    if (operands.size() != 2) return CtlResult::failure("set", "set needs a key and a value", CtlExit::Usage);
    const SettingKey* key = findSettingKey(operands[0]);
    if (key == nullptr) {
        return CtlResult::failure("set", "unknown key " + operands[0] + " (see zavrinctl keys)", CtlExit::Usage);
    }
    const SettingContext context = host.context();
    ProfileStore& store = host.store();
    ProfileRecord edited = store.currentProfile();
    if (const auto why = key->set(edited, operands[1], context)) {
        return CtlResult::failure("set", refusalLine(*key, operands[1], *why, context), CtlExit::Usage);
    }
    const ProfileRecord before = store.currentProfile();
    const int slot = store.currentIndex();
    // Saved first: a change that cannot be kept is not sent to the mouse either.
    store.currentProfile() = edited;
    if (!host.saveProfile(slot)) {
        store.currentProfile() = before;
        return CtlResult::failure("set", "cannot write " + pathToUtf8(store.settings.profileSlotPath(slot)),
                                  CtlExit::Failed);
    }
    const DeviceWrite write = host.write(before, {GroupOf(key->field)});
    // Writing gives a macro its device slot, which the button's action names.
    const bool saved = store.currentProfile() == edited || host.saveProfile(slot);
    host.showChange();

    CtlResult result;
    const std::string value = key->get(store.currentProfile(), context);
    result.doc = header("set");
    result.doc["path"] = host.path();
    result.doc["key"] = key->name;
    result.doc["value"] = value;
    result.doc["profile"] = {{"slot", slot + 1}, {"name", profileName(store.currentProfile())}};
    result.doc["saved"] = saved;
    result.text = std::string(key->name) + "=" + value + "\n";
    noteWrite(result, write, "saved in profile " + std::to_string(slot + 1));
    return result;
}

CtlResult commandKeys(SettingHost& host) {
    const SettingContext context = host.context();
    CtlResult result;
    result.doc = header("keys");
    Json keys = Json::array();
    for (const SettingKey& key : settingKeys()) {
        const std::string allowed = key.allowed(context);
        keys.push_back({{"key", key.name}, {"description", key.description}, {"allowed", allowed}});
        result.text += std::string(key.name) + "\t" + std::string(key.description) + "; " + allowed + "\n";
    }
    result.doc["keys"] = keys;
    return result;
}

CtlResult profileList(SettingHost& host) {
    const ProfileStore& store = host.store();
    const std::vector<int> listed = listedSlots(store.settings);
    CtlResult result;
    result.doc = header("profile list");
    result.doc["path"] = host.path();
    Json profiles = Json::array();
    for (int slot = 0; slot < kProfileCount; ++slot) {
        const bool shown = std::find(listed.begin(), listed.end(), slot) != listed.end();
        const bool current = slot == store.currentIndex();
        const std::string name = profileName(store.profiles[static_cast<std::size_t>(slot)]);
        profiles.push_back({{"slot", slot + 1},
                            {"name", name},
                            {"listed", shown},
                            {"current", current},
                            {"file", pathToUtf8(store.settings.profileSlotPath(slot))}});
        result.text += std::to_string(slot + 1) + (current ? " * " : "   ") + name + (shown ? "" : " (not listed)") + "\n";
    }
    result.doc["profiles"] = profiles;
    return result;
}

CtlResult profileUse(SettingHost& host, const std::vector<std::string>& operands) {
    if (operands.size() != 1) return CtlResult::failure("profile use", "profile use needs a slot (1-5)", CtlExit::Usage);
    CtlResult failure;
    const auto slot = listedSlot(host, "profile use", operands[0], failure);
    if (!slot) return failure;
    ProfileStore& store = host.store();
    const ProfileRecord before = store.currentProfile();
    const int previous = store.currentIndex();
    store.settings.setCurrentProfile(*slot);
    if (!host.saveSettings()) {
        store.settings.setCurrentProfile(previous);
        return CtlResult::failure("profile use", "cannot write " + pathToUtf8(dataPath(store.dataFolder(), kConfigFile)),
                                  CtlExit::Failed);
    }
    // Switching profiles writes the buttons and the performance group, as the
    // profile menu does.
    const DeviceWrite write = host.write(before, {DirtyGroup::Buttons, DirtyGroup::Performance});
    host.showChange();
    CtlResult result;
    result.doc = header("profile use");
    result.doc["path"] = host.path();
    result.doc["profile"] = {{"slot", *slot + 1}, {"name", profileName(store.currentProfile())}};
    result.doc["saved"] = true;
    result.text = "profile " + std::to_string(*slot + 1) + " (" + profileName(store.currentProfile()) + ") is current\n";
    noteWrite(result, write, "profile " + std::to_string(*slot + 1) + " is current");
    return result;
}

CtlResult profileExport(SettingHost& host, const std::vector<std::string>& operands) {
    if (operands.size() != 2) return CtlResult::failure("profile export", "profile export needs a slot and a file", CtlExit::Usage);
    CtlResult failure;
    const auto slot = listedSlot(host, "profile export", operands[0], failure);
    if (!slot) return failure;
    const std::filesystem::path file = pathFromUtf8(operands[1]);
    if (!host.store().writeProfileFile(*slot, file)) {
        return CtlResult::failure("profile export", "cannot write " + operands[1], CtlExit::Failed);
    }
    CtlResult result;
    result.doc = header("profile export");
    result.doc["path"] = host.path();
    result.doc["profile"] = {{"slot", *slot + 1}, {"name", profileName(host.store().profiles[static_cast<std::size_t>(*slot)])}};
    result.doc["file"] = operands[1];
    result.text = "exported profile " + operands[0] + " to " + operands[1] + "\n";
    return result;
}

CtlResult profileImport(SettingHost& host, const std::vector<std::string>& operands) {
    if (operands.size() != 2) return CtlResult::failure("profile import", "profile import needs a slot and a file", CtlExit::Usage);
    CtlResult failure;
    const auto slot = listedSlot(host, "profile import", operands[0], failure);
    if (!slot) return failure;
    const std::filesystem::path file = pathFromUtf8(operands[1]);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return CtlResult::failure("profile import", "no such file: " + operands[1], CtlExit::Failed);
    }
    // A damaged file leaves the slot as it was.
    if (!host.store().importProfileFile(*slot, file)) {
        return CtlResult::failure("profile import", operands[1] + " is not a readable profile file; profile " +
                                                        operands[0] + " is unchanged",
                                  CtlExit::Failed);
    }
    // Imported profiles are saved at once and not written to the mouse, even
    // into the current slot, as the window does.
    const bool saved = host.saveAll();
    host.showChange();
    if (!saved) return CtlResult::failure("profile import", "cannot save the profiles", CtlExit::Failed);
    CtlResult result;
    result.doc = header("profile import");
    result.doc["path"] = host.path();
    result.doc["profile"] = {{"slot", *slot + 1}, {"name", profileName(host.store().profiles[static_cast<std::size_t>(*slot)])}};
    result.doc["file"] = operands[1];
    result.doc["saved"] = true;
    result.text = "imported " + operands[1] + " into profile " + operands[0] + "\n";
    return result;
}

}  // namespace

CtlResult CtlResult::failure(std::string command, std::string error, int status) {
    CtlResult result;
    result.status = status;
    result.doc = header(command);
    result.doc["ok"] = false;
    result.doc["error"] = error;
    result.error = std::move(error);
    return result;
}

bool isProfileCommand(std::string_view command) {
    return command == "get" || command == "set" || command == "keys" || command == "profile";
}

CtlResult runProfileCommand(SettingHost& host, const std::string& command, const std::vector<std::string>& operands) {
    if (command == "get") return commandGet(host, operands);
    if (command == "set") return commandSet(host, operands);
    if (command == "keys") {
        if (!operands.empty()) return CtlResult::failure("keys", "keys takes no arguments", CtlExit::Usage);
        return commandKeys(host);
    }
    if (command == "profile" && !operands.empty()) {
        const std::string& sub = operands[0];
        const std::vector<std::string> rest(operands.begin() + 1, operands.end());
        if (sub == "list" && rest.empty()) return profileList(host);
        if (sub == "use") return profileUse(host, rest);
        if (sub == "export") return profileExport(host, rest);
        if (sub == "import") return profileImport(host, rest);
    }
    if (command == "profile") {
        return CtlResult::failure("profile", "profile needs list, use SLOT, export SLOT FILE or import SLOT FILE",
                                  CtlExit::Usage);
    }
    return CtlResult::failure(command, "unknown command " + command + " (try --help)", CtlExit::Usage);
}

void printResult(const CtlResult& result, bool json, std::ostream& out, std::ostream& err) {
    if (json) {
        out << result.doc.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    } else {
        out << result.text;
    }
    if (result.status != CtlExit::Ok) err << "zavrinctl: " << result.error << "\n";
    out.flush();
}

std::string encodeRequest(const CtlRequest& request) {
    Json line = {{"schema", kCtlSchema}, {"command", request.command}, {"operands", request.operands}};
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::optional<CtlRequest> decodeRequest(std::string_view line) {
    const Json parsed = Json::parse(line, nullptr, false);
    // A request of a newer schema may mean something this program cannot do.
    // Each field's type is checked before it is read: reading a field of
    // another type would throw, and a bad line must be a refusal, not the end
    // of the running program.
    if (!parsed.is_object() || !parsed.contains("schema") || !parsed["schema"].is_number_integer() ||
        parsed["schema"] != kCtlSchema || !parsed.contains("command") ||
        !parsed["command"].is_string() || !parsed.contains("operands") || !parsed["operands"].is_array()) {
        return std::nullopt;
    }
    CtlRequest request;
    request.command = parsed["command"].get<std::string>();
    for (const Json& operand : parsed["operands"]) {
        if (!operand.is_string()) return std::nullopt;
        request.operands.push_back(operand.get<std::string>());
    }
    return request;
}

std::string encodeResult(const CtlResult& result) {
    Json line = {{"status", result.status}, {"text", result.text}, {"error", result.error}, {"doc", result.doc}};
    // Names and paths are the user's bytes; they need not be valid UTF-8.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::optional<CtlResult> decodeResult(std::string_view line) {
    const Json parsed = Json::parse(line, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("status") || !parsed["status"].is_number_integer()) return std::nullopt;
    CtlResult result;
    result.status = parsed["status"].get<int>();
    // As with requests, a field of another type is left empty instead of throwing.
    const auto text = [&](const char* key) {
        return parsed.contains(key) && parsed[key].is_string() ? parsed[key].get<std::string>() : std::string();
    };
    result.text = text("text");
    result.error = text("error");
    result.doc = parsed.contains("doc") ? parsed["doc"] : Json::object();
    return result;
}

}  // namespace zavrin
