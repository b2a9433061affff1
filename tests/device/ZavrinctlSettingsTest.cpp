#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "DeviceTestSupport.h"
#include "ctl/SettingKeys.h"
#include "ctl/Zavrinctl.h"
#include "model/DataPaths.h"
#include "model/GlobalSettings.h"
#include "model/ProfileFile.h"
#include "model/TextFile.h"

namespace zavrin {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

// The settings commands on a data folder of their own, with the simulated
// mouse; the shipped English language file is put where the program would.
class ZavrinctlSettings : public ::testing::Test {
protected:
    ZavrinctlSettings() {
        std::ifstream source(std::string(ZAVRIN_SOURCE_DIR) + "/config/Lan_EN.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(source, line);) lines.push_back(line);
        fs::create_directories(data() / "config");
        EXPECT_TRUE(writeTextFile(dataPath(data(), kEnglishLanguageFile), lines));
        EXPECT_TRUE(english.loadLines(lines, 1.0f));
    }

    fs::path data() const { return folder.path() / "data"; }
    std::string path(const std::string& name) const { return (folder.path() / name).string(); }

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        std::vector<std::string> full{"--simulate=wired", "--data-dir", data().string(), "--hid-trace", path("t")};
        full.insert(full.end(), args.begin(), args.end());
        return runZavrinctl(full, out, err, clock, stop);
    }

    Json json(std::vector<std::string> args, int expectedStatus = 0) {
        args.insert(args.begin(), "--json");
        EXPECT_EQ(run(args), expectedStatus) << err.str();
        const std::string printed = out.str();
        const Json doc = Json::parse(printed, nullptr, false);
        EXPECT_TRUE(doc.is_object()) << printed;
        EXPECT_EQ(doc.value("schema", 0), 1);
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        return doc;
    }

    // The command reports written, without times: "06 04 ...".
    std::vector<std::string> reportsWritten() const {
        std::ifstream in(path("t"));
        std::vector<std::string> reports;
        for (std::string line; std::getline(in, line);) {
            const std::size_t at = line.find("SET_FEATURE wired ");
            if (at != std::string::npos) reports.push_back(line.substr(at + 18));
        }
        return reports;
    }

    ProfileRecord slotFile(int slot) const {
        GlobalSettings settings;
        settings.resetGlobalSettings(data());
        settings.read(dataPath(data(), kConfigFile));
        auto record = parseProfileFile(settings.profileSlotPath(slot));
        EXPECT_TRUE(record.has_value());
        return record.value_or(ProfileRecord{});
    }

    // Every file of the data folder with its bytes and time.
    std::map<std::string, std::pair<std::string, fs::file_time_type>> snapshot() const {
        std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
        for (const auto& entry : fs::recursive_directory_iterator(data())) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            files[entry.path().string()] = {bytes.str(), entry.last_write_time()};
        }
        return files;
    }

    test::TempFolder folder;
    LanguageTable english;
    VirtualClock clock;
    std::atomic<bool> stop{false};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ZavrinctlSettings, OneChangedSettingIsOneReportAndTheSavedProfile) {
    ASSERT_EQ(run({"set", "rate", "2000"}), 0) << err.str();
    EXPECT_EQ(out.str(), "rate=2000\n");
    const auto reports = reportsWritten();
    ASSERT_EQ(reports.size(), 1u);
    // Command 0x04 with the code of 2000 Hz.
    EXPECT_EQ(reports[0].substr(0, 2), "06");
    EXPECT_EQ(reports[0].substr(3, 2), "04");
    EXPECT_EQ(reports[0].substr(15, 2), "11");
    const ProfileRecord saved = slotFile(0);
    EXPECT_EQ(saved.pollingRateValue[0], 4);
    EXPECT_EQ(saved.pollingRateName, "2000HZ");

    // The same value again differs in nothing: nothing is written.
    fs::remove(path("t"));
    ASSERT_EQ(run({"set", "rate", "2000"}), 0) << err.str();
    EXPECT_TRUE(reportsWritten().empty());

    ASSERT_EQ(run({"set", "debounce", "7"}), 0) << err.str();
    ASSERT_EQ(reportsWritten().size(), 1u);
    EXPECT_EQ(reportsWritten()[0].substr(3, 2), "09");
    EXPECT_EQ(getSettingInt(slotFile(0), Setting::KeyDebounce), 7);
}

TEST_F(ZavrinctlSettings, ResetPutsTheMouseAndTheCurrentProfileBackAsTheWindowDoes) {
    ASSERT_EQ(run({"profile", "use", "2"}), 0) << err.str();
    ASSERT_EQ(run({"set", "rate", "2000"}), 0) << err.str();
    ASSERT_EQ(run({"set", "debounce", "7"}), 0) << err.str();
    const std::string name = getSetting(slotFile(1), Setting::ProfileName, kSettingValue);
    fs::remove(path("t"));

    const Json doc = json({"reset"});
    EXPECT_EQ(doc.value("path", ""), "direct");
    const auto reports = reportsWritten();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].substr(3, 2), "0F") << "the factory reset, and nothing else";
    const ProfileRecord saved = slotFile(1);
    ProfileRecord defaults;
    resetProfile(defaults, 1, english, 0x3311);
    EXPECT_EQ(saved.pollingRateValue, defaults.pollingRateValue);
    EXPECT_EQ(getSettingInt(saved, Setting::KeyDebounce), getSettingInt(defaults, Setting::KeyDebounce));
    EXPECT_NE(getSettingInt(saved, Setting::KeyDebounce), 7);
    EXPECT_EQ(getSetting(saved, Setting::ProfileName, kSettingValue), name) << "the name stays";
}

TEST_F(ZavrinctlSettings, AResetTheMouseDoesNotTakeLeavesTheProfileAsItWas) {
    ASSERT_EQ(run({"set", "rate", "2000"}), 0) << err.str();
    const auto before = snapshot();
    out.str("");
    err.str("");
    EXPECT_EQ(runZavrinctl({"--simulate=none", "--data-dir", data().string(), "reset"}, out, err, clock, stop), 1);
    EXPECT_NE(err.str().find("no mouse"), std::string::npos) << err.str();
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ZavrinctlSettings, ButtonsTakeMenuNamesShortcutsAndLibraryMacros) {
    MacroLibrary library;
    const MacroLocation at = library.addMacro(kNoLocation, "Burst");
    *library.itemAt(at)->macro = test::makeMacro("Burst", library.itemAt(at)->macro->macroKeyIndex, 4);
    ASSERT_TRUE(library.writeLibraryFile(dataPath(data(), kMacroLibraryFile), kNoLocation));

    ASSERT_EQ(run({"set", "button.3", "volume up"}), 0) << err.str();
    EXPECT_EQ(slotFile(0).keys[2].action, (KeyAction{ActionType::Consumer, 0xE9, 0x00}));
    EXPECT_EQ(slotFile(0).keys[2].name, "Volume Up");
    ASSERT_EQ(run({"set", "button.4", "key:Ctrl+Shift+A"}), 0) << err.str();
    EXPECT_EQ(slotFile(0).keys[3].action, (KeyAction{ActionType::Keyboard, 0x03, 0x04}));
    EXPECT_EQ(slotFile(0).keys[3].name, "Ctrl+Shift+A");
    ASSERT_EQ(run({"set", "button.6", "DPI Lock-800"}), 0) << err.str();
    EXPECT_EQ(slotFile(0).keys[5].action, (KeyAction{ActionType::DpiLock, 7, 0}));

    fs::remove(path("t"));
    ASSERT_EQ(run({"set", "button.2", "macro:Burst"}), 0) << err.str();
    const ProfileRecord saved = slotFile(0);
    EXPECT_EQ(saved.keys[1].action.type, ActionType::Macro);
    EXPECT_EQ(saved.keys[1].macro.actionNum, 4u);
    // The keys, then the macro store cleared and the macro sent.
    const auto reports = reportsWritten();
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports[0].substr(3, 2), "01");
    EXPECT_EQ(reports[1].substr(3, 2), "11");
    EXPECT_EQ(reports[2].substr(3, 2), "10");

    ASSERT_EQ(run({"get", "button.2"}), 0);
    EXPECT_EQ(out.str(), "macro:Burst\n");
    ASSERT_EQ(run({"get", "button.4"}), 0);
    EXPECT_EQ(out.str(), "key:Ctrl+Shift+A\n");
}

TEST_F(ZavrinctlSettings, RefusalsNameTheKeyAndTheValuesAndTouchNothing) {
    ASSERT_EQ(run({"set", "dpi.enabled", "1,3"}), 0) << err.str();
    ASSERT_EQ(run({"profile", "use", "1"}), 0) << err.str();  // config.ini too
    fs::remove(path("t"));
    const auto before = snapshot();
    const std::vector<std::vector<std::string>> refused{
        {"set", "rate", "3000"},
        {"set", "rate", "fast"},
        {"set", "dpi.current", "2"},          // level 2 is off
        {"set", "dpi.levels", "400,800,1600"},  // two levels are on
        {"set", "dpi.levels", "400,450"},     // not a step of the sensor
        {"set", "dpi.enabled", ""},
        {"set", "button.1", "Right Click"},   // no button would keep the left click
        {"set", "button.2", "macro:nothing"},
        {"set", "button.2", "fire:4,3"},
        {"set", "lighting.speed", "2"},       // the effect Off has no speed
        {"set", "lighting.effect", "Disco"},
        {"set", "debounce", "31"},
        {"set", "sleep", "0"},
        {"set", "angle-snap", "maybe"},
        {"set", "liftoff", "middle"},
        {"set", "colour", "red"},
        {"profile", "use", "4"},              // not listed
        {"profile", "import", "6", path("x.psf")},
    };
    for (const auto& args : refused) {
        EXPECT_EQ(run(args), CtlExit::Usage) << args[1] << " " << args.back();
        const std::string message = err.str();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        if (args[0] == "set" && findSettingKey(args[1]) != nullptr) {
            EXPECT_EQ(message.rfind("zavrinctl: " + args[1] + ": cannot take", 0), 0u) << message;
            EXPECT_NE(message.find("; allowed: "), std::string::npos) << message;
        }
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(reportsWritten().empty());
    EXPECT_FALSE(fs::exists(path("x.psf")));
}

TEST_F(ZavrinctlSettings, RatesFollowTheConnectionsRateClass) {
    const SettingKey* rate = findSettingKey("rate");
    ASSERT_NE(rate, nullptr);
    ProfileRecord profile;
    test::fillLanguage(english);
    SettingContext context;
    context.english = context.shown = &english;
    context.rateCapability = RateClass::UpTo4000;
    EXPECT_TRUE(rate->set(profile, "8000", context).has_value());
    EXPECT_EQ(rate->allowed(context), "125, 250, 500, 1000, 2000, 4000 (Hz)");
    context.rateCapability = RateClass::UpTo1000;
    EXPECT_TRUE(rate->set(profile, "2000", context).has_value());
    EXPECT_FALSE(rate->set(profile, "500Hz", context).has_value());
    EXPECT_EQ(profile.pollingRateValue[0], 2);
}

TEST_F(ZavrinctlSettings, DisablingTheCurrentLevelMovesItForwardAsTheWindowDoes) {
    ASSERT_EQ(run({"set", "dpi.enabled", "1,2,4"}), 0) << err.str();
    ASSERT_EQ(run({"set", "dpi.current", "2"}), 0) << err.str();
    ASSERT_EQ(run({"set", "dpi.enabled", "1,4"}), 0) << err.str();
    ASSERT_EQ(run({"get", "dpi.current"}), 0);
    EXPECT_EQ(out.str(), "4\n");
    ASSERT_EQ(run({"set", "dpi.levels", "1000,12000"}), 0) << err.str();
    ASSERT_EQ(run({"get", "dpi.levels"}), 0);
    EXPECT_EQ(out.str(), "1000,12000\n");
}

TEST_F(ZavrinctlSettings, JsonDocumentsCarryTheDocumentedFields) {
    Json doc = json({"set", "lighting.effect", "breathing"});
    EXPECT_EQ(doc["command"], "set");
    EXPECT_EQ(doc["ok"], true);
    EXPECT_EQ(doc["path"], "direct");
    EXPECT_EQ(doc["key"], "lighting.effect");
    EXPECT_EQ(doc["value"], "Breathing");
    EXPECT_EQ(doc["profile"]["slot"], 1);
    EXPECT_EQ(doc["saved"], true);
    EXPECT_EQ(doc["written"], true);
    EXPECT_EQ(doc["reports"], 1);

    doc = json({"get"});
    EXPECT_EQ(doc["command"], "get");
    for (const SettingKey& key : settingKeys()) EXPECT_TRUE(doc["settings"][std::string(key.name)].is_string()) << key.name;
    EXPECT_EQ(doc["settings"]["lighting.speed"], "2");

    doc = json({"keys"});
    ASSERT_EQ(doc["keys"].size(), settingKeys().size());
    for (const Json& key : doc["keys"]) {
        EXPECT_TRUE(key["key"].is_string() && key["description"].is_string() && key["allowed"].is_string());
    }

    doc = json({"profile", "list"});
    ASSERT_EQ(doc["profiles"].size(), 5u);
    EXPECT_EQ(doc["profiles"][0]["current"], true);
    EXPECT_EQ(doc["profiles"][3]["listed"], false);
    EXPECT_TRUE(doc["profiles"][2]["name"].is_string() && doc["profiles"][2]["file"].is_string());

    doc = json({"set", "rate", "3000"}, CtlExit::Usage);
    EXPECT_EQ(doc["ok"], false);
    EXPECT_NE(doc["error"].get<std::string>().find("rate: "), std::string::npos);

    doc = json({"info"});
    EXPECT_EQ(doc["connection"], "wired");
    EXPECT_EQ(doc["online"], true);
    doc = json({"list"});
    EXPECT_EQ(doc["connections"][0]["connection"], "wired");
    EXPECT_EQ(doc["connections"][0]["opened"], true);
    doc = json({"reset"});
    EXPECT_EQ(doc["command"], "reset");
}

TEST_F(ZavrinctlSettings, ProfilesAreSwitchedExportedAndImported) {
    ASSERT_EQ(run({"set", "rate", "500"}), 0) << err.str();
    fs::remove(path("t"));
    // Profile 2 differs from profile 1 in its rate only.
    ASSERT_EQ(run({"profile", "use", "2"}), 0) << err.str();
    const auto reports = reportsWritten();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].substr(3, 2), "04");
    GlobalSettings settings;
    ASSERT_TRUE(settings.read(dataPath(data(), kConfigFile)).ok());
    EXPECT_EQ(settings.currentProfile(), 1);

    ASSERT_EQ(run({"profile", "export", "1", path("one.psf")}), 0) << err.str();
    EXPECT_EQ(parseProfileFile(path("one.psf"))->pollingRateValue[0], 2);
    fs::remove(path("t"));
    ASSERT_EQ(run({"profile", "import", "3", path("one.psf")}), 0) << err.str();
    EXPECT_EQ(slotFile(2).pollingRateValue[0], 2);
    EXPECT_TRUE(reportsWritten().empty());
    // A damaged file leaves the slot as it was.
    std::ofstream(path("bad.psf")) << "[Setting]\n";
    const ProfileRecord slot3 = slotFile(2);
    EXPECT_EQ(run({"profile", "import", "3", path("bad.psf")}), CtlExit::Failed);
    EXPECT_NE(err.str().find("unchanged"), std::string::npos);
    EXPECT_EQ(slotFile(2), slot3);
}

TEST_F(ZavrinctlSettings, WithoutAMouseTheChangeIsSavedAndTheFailureSaidSo) {
    std::vector<std::string> args{"--simulate=none", "--data-dir", data().string(), "set", "sleep", "5"};
    EXPECT_EQ(runZavrinctl(args, out, err, clock, stop), CtlExit::Failed);
    EXPECT_NE(err.str().find("saved in profile 1; the mouse was not written: no mouse"), std::string::npos)
        << err.str();
    EXPECT_EQ(getSettingInt(slotFile(0), Setting::PowerDownTime), 5);
}

}  // namespace
}  // namespace zavrin
