#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "ctl/SettingKeys.h"
#include "device/DeviceSync.h"
#include "model/ProfileStore.h"

namespace zavrin {

// Exit statuses of zavrinctl.
namespace CtlExit {
inline constexpr int Ok = 0;
inline constexpr int Failed = 1;  // no mouse, no answer, a missing or rejected file
inline constexpr int Usage = 2;   // a wrong command line or a value the window would refuse
}  // namespace CtlExit

// The version of every JSON document zavrinctl prints; a change that breaks a
// documented field raises it.
inline constexpr int kCtlSchema = 1;

// What one command produced: the text printed without --json, the JSON document
// printed with it, and on failure the one line of the error. The same whether
// the command ran in zavrinctl or in the running program.
struct CtlResult {
    int status = CtlExit::Ok;
    std::string text;
    std::string error;
    nlohmann::ordered_json doc = nlohmann::ordered_json::object();

    static CtlResult failure(std::string command, std::string error, int status);
};

// What became of a write to the mouse.
struct DeviceWrite {
    bool written = false;  // everything reached the mouse and was acknowledged
    int reports = 0;       // command reports written, resends included
    std::string failure;   // why not, when not written
};

// Where the profile commands run: zavrinctl on the files and the mouse itself
// ("direct"), or the running program on its model and its connection
// ("program"). UI thread of whichever process runs them.
class SettingHost {
public:
    virtual ~SettingHost() = default;
    virtual std::string_view path() const = 0;
    virtual ProfileStore& store() = 0;
    virtual SettingContext context() = 0;
    // The current profile changed from `before`; sends what differs in the
    // groups given, through the command builders in their order.
    virtual DeviceWrite write(const ProfileRecord& before, std::initializer_list<DirtyGroup> groups) = 0;
    // Saves one profile file (the crash-safe save); false when it could not be written.
    virtual bool saveProfile(int index) = 0;
    // Saves config.ini with the current profile's number.
    virtual bool saveSettings() = 0;
    // Saves config.ini and every profile file.
    virtual bool saveAll() = 0;
    // The model changed outside the pages: the window shows it.
    virtual void showChange() {}
};

// Runs one profile command ("get", "set", "keys", "profile ...") with its
// operands on `host`. Unknown commands are usage errors.
CtlResult runProfileCommand(SettingHost& host, const std::string& command, const std::vector<std::string>& operands);

// Whether `command` is one runProfileCommand takes.
bool isProfileCommand(std::string_view command);

// Prints a result: the document (one line) with --json, else the text; the
// error line goes to `err` either way.
void printResult(const CtlResult& result, bool json, std::ostream& out, std::ostream& err);

// A command for the running program as one JSON line, and back:
// {"schema": 1, "command": "set", "operands": ["rate", "2000"]}.
struct CtlRequest {
    std::string command;
    std::vector<std::string> operands;
};
std::string encodeRequest(const CtlRequest& request);
std::optional<CtlRequest> decodeRequest(std::string_view line);

// The result as one JSON line for the request channel, and back.
std::string encodeResult(const CtlResult& result);
std::optional<CtlResult> decodeResult(std::string_view line);

}  // namespace zavrin
