#include "ctl/AppProfileCommand.h"

#include "ctl/Zavrinctl.h"
#include "model/AppProfiles.h"
#include "model/DataPaths.h"
#include "model/GlobalSettings.h"
#include "model/ProfileFile.h"
#include "model/ProfileRecord.h"

#ifdef _WIN32
#include "platform/win32/Win32SingleInstance.h"
#else
#include "platform/posix/SingleInstance.h"
#endif

namespace zavrin {

namespace {

constexpr std::string_view kUsage =
    "usage: zavrinctl [--data-dir DIR] app-profile list | add PROGRAM SLOT | remove PROGRAM\n";

// "Name" of a slot as its profile file names it, for the listing.
std::string slotName(const std::filesystem::path& dataDir, int slot) {
    GlobalSettings settings;
    settings.resetGlobalSettings(dataDir);
    settings.read(dataPath(dataDir, kConfigFile));
    const auto profile = parseProfileFile(settings.profileSlotPath(slot));
    return profile ? getSetting(*profile, Setting::ProfileName, kSettingValue) : std::string();
}

// The listed slots of config.ini (a rule for any other slot is kept but inactive).
bool slotListed(const std::filesystem::path& dataDir, int slot) {
    GlobalSettings settings;
    settings.resetGlobalSettings(dataDir);
    settings.read(dataPath(dataDir, kConfigFile));
    const int count = settings.profileShowCount();
    for (int p = 0; p < count && p < kProfileCount; ++p)
        if (settings.profileShowList(p) == slot) return true;
    return false;
}

}  // namespace

bool notifyRunningProgram(const std::filesystem::path& dataDir) {
#ifdef _WIN32
    return win32::SingleInstance::signalReloadAppProfiles(dataDir);
#else
    return posix::SingleInstance::signalReloadAppProfiles(dataDir);
#endif
}

int runAppProfileCommand(const std::vector<std::string>& operands, const std::filesystem::path& dataDir,
                         std::ostream& out, std::ostream& err,
                         const std::function<bool(const std::filesystem::path&)>& notifyRunning) {
    const std::string verb = operands.empty() ? std::string() : operands[0];
    const std::filesystem::path file = appProfilesPath(dataDir);
    AppProfiles rules;
    if (rules.read(file) == AppProfiles::ReadResult::Damaged)
        err << "zavrinctl: warning: " << pathToUtf8(file) << " has damaged lines; they are left out\n";

    if (verb == "list" && operands.size() == 1) {
        if (rules.paused) out << "(switching is paused)\n";
        for (const AppProfileRule& rule : rules.rules()) {
            out << rule.slot + 1 << "\t" << rule.program << "\t" << slotName(dataDir, rule.slot)
                << (slotListed(dataDir, rule.slot) ? "" : " (inactive: the profile is not in the list)") << "\n";
        }
        return CtlExit::Ok;
    }
    bool changed = false;
    if (verb == "add" && operands.size() == 3) {
        const std::string& slotText = operands[2];
        if (slotText.size() != 1 || slotText[0] < '1' || slotText[0] > '5') {
            err << "zavrinctl: SLOT must be 1 to 5, not " << slotText << "\n";
            return CtlExit::Usage;
        }
        if (!rules.add(operands[1], slotText[0] - '1')) {
            err << "zavrinctl: not a program: \"" << operands[1] << "\"\n";
            return CtlExit::Usage;
        }
        changed = true;
    } else if (verb == "remove" && operands.size() == 2) {
        if (!rules.remove(operands[1])) {
            err << "zavrinctl: no rule for " << operands[1] << "\n";
            return CtlExit::Failed;
        }
        changed = true;
    }
    if (!changed) {
        err << "zavrinctl: " << kUsage;
        return CtlExit::Usage;
    }
    if (!rules.write(file)) {
        err << "zavrinctl: cannot write " << pathToUtf8(file) << "\n";
        return CtlExit::Failed;
    }
    const auto notify = notifyRunning ? notifyRunning : notifyRunningProgram;
    if (notify(dataDir)) out << "the running program follows the new rules\n";
    return CtlExit::Ok;
}

}  // namespace zavrin
