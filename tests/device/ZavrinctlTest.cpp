#include <algorithm>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DeviceTestSupport.h"
#include "ctl/AppProfileCommand.h"
#include "ctl/CtlCommands.h"
#include "ctl/Zavrinctl.h"
#include "model/AppProfiles.h"
#include "device/TransportFactory.h"
#include "model/ProfileFile.h"

namespace zavrin {
namespace {

// The reports the protocol prescribes for these profiles, worked out by hand
// from the frame, checksum, key order, sensor codes, colours, lighting byte and
// macro packet rules, each command followed by its acknowledgement read.
#include "ExpectedTraces.inc"

class Zavrinctl : public ::testing::Test {
protected:
    Zavrinctl() {
        test::fillLanguage(language);
        resetProfile(profile, 0, language, 0x3311);
    }

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return runZavrinctl(args, out, err, clock, stop);
    }

    std::string path(const std::string& name) const { return (folder.path() / name).string(); }

    // Trace lines without their time stamps; the stamps must be "<ms>.<3 digits>".
    std::vector<std::string> traceWithoutTimes(const std::string& file) const {
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            const std::size_t space = line.find(' ');
            EXPECT_NE(space, std::string::npos);
            const std::string time = line.substr(0, space);
            EXPECT_EQ(time.size() - time.find('.'), 4u) << time;
            lines.push_back(line.substr(space + 1));
        }
        return lines;
    }

    test::TempFolder folder;
    LanguageTable language;
    ProfileRecord profile;
    VirtualClock clock;
    std::atomic<bool> stop{false};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Zavrinctl, ApplyOfTheDefaultProfileWritesEveryGroupInFull) {
    ASSERT_TRUE(writeProfileRecord(profile, path("p.psf")));
    EXPECT_EQ(run({"--simulate=wired", "--hid-trace", path("t"), "--data-dir", path("data"), "apply", path("p.psf")}), 0)
        << err.str();
    EXPECT_EQ(traceWithoutTimes(path("t")), kDefaultProfileTrace);
}

TEST_F(Zavrinctl, ApplyOfAProfileWithMacrosSendsTheMacrosFromTheLibrary) {
    MacroLibrary library;
    const MacroLocation a = library.addMacro(kNoLocation, "A");
    const MacroLocation b = library.addMacro(kNoLocation, "B");
    MacroRecord& macroA = *library.itemAt(a)->macro;
    MacroRecord& macroB = *library.itemAt(b)->macro;
    macroA = test::makeMacro("A", macroA.macroKeyIndex, 8);
    macroB = test::makeMacro("B", macroB.macroKeyIndex, 10, 20);
    for (std::size_t i = 0; i < macroB.actionNum; ++i) {
        if (!isDelay(macroB.actions[i])) macroB.actions[i].b0 = 0x42;
    }
    ASSERT_TRUE(library.writeLibraryFile(path("lib.mlf"), kNoLocation));
    assignKey(profile, 1, "A", "", KeyAction{ActionType::Macro, 0x21, 1}, &macroA);
    assignKey(profile, 3, "B", "", KeyAction{ActionType::Macro, 0x21, 1}, &macroB);
    ASSERT_TRUE(writeProfileRecord(profile, path("m.psf")));
    EXPECT_EQ(run({"--simulate=wired", "--hid-trace", path("t"), "apply", path("m.psf"), "--library", path("lib.mlf")}),
              0)
        << err.str();
    EXPECT_EQ(traceWithoutTimes(path("t")), kMacroProfileTrace);
}

TEST_F(Zavrinctl, MacroContentComesFromTheLibraryNotFromTheProfilesCopy) {
    MacroLibrary library;
    const MacroLocation at = library.addMacro(kNoLocation, "A");
    MacroRecord& stored = *library.itemAt(at)->macro;
    const MacroRecord oldCopy = test::makeMacro("A", stored.macroKeyIndex, 2);
    stored = test::makeMacro("A", stored.macroKeyIndex, 8);
    ASSERT_TRUE(library.writeLibraryFile(path("lib.mlf"), kNoLocation));
    assignKey(profile, 1, "A", "", KeyAction{ActionType::Macro, 0x21, 1}, &oldCopy);
    ASSERT_TRUE(writeProfileRecord(profile, path("m.psf")));
    EXPECT_EQ(run({"--simulate=wired", "--hid-trace", path("t"), "apply", path("m.psf"), "--library", path("lib.mlf")}),
              0)
        << err.str();
    // The library's eight events, in slot 1, as the eleventh write.
    const auto trace = traceWithoutTimes(path("t"));
    EXPECT_NE(std::find(trace.begin(), trace.end(), kMacroProfileTrace[20]), trace.end());

    // A library macro too long for the mouse is refused even when the copy is short.
    stored = test::makeMacro("A", stored.macroKeyIndex, 130);
    ASSERT_TRUE(library.writeLibraryFile(path("lib.mlf"), kNoLocation));
    std::filesystem::remove(path("t"));
    EXPECT_EQ(run({"--simulate=wired", "--hid-trace", path("t"), "apply", path("m.psf"), "--library", path("lib.mlf")}),
              1);
    EXPECT_NE(err.str().find("130 events"), std::string::npos) << err.str();
    EXPECT_TRUE(traceWithoutTimes(path("t")).empty());
}

// The cable pulled after the third command: the pass must not call itself done.
TEST_F(Zavrinctl, ApplyCutShortByAnUnplugFailsAndNamesWhatWasNotWritten) {
    MacroLibrary library;
    const MacroLocation at = library.addMacro(kNoLocation, "A");
    MacroRecord& macro = *library.itemAt(at)->macro;
    macro = test::makeMacro("A", macro.macroKeyIndex, 8);
    ASSERT_TRUE(library.writeLibraryFile(path("lib.mlf"), kNoLocation));
    assignKey(profile, 1, "A", "", KeyAction{ActionType::Macro, 0x21, 1}, &macro);
    ASSERT_TRUE(writeProfileRecord(profile, path("m.psf")));
    setSimulatedMouseSetUp([](SimulatedMouse& mouse) { mouse.unplugAfterWrites(ConnectionKind::Wired, 3); });
    const int status = run({"--simulate=wired", "apply", path("m.psf"), "--library", path("lib.mlf")});
    setSimulatedMouseSetUp({});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "zavrinctl: the mouse went away during the apply pass; not written: DPI colours, polling rate, "
              "lift-off distance, key debounce, lighting, power saving, sensor options, macros\n");
}

// Found by fuzzing: both ended the program with an uncaught exception.
TEST_F(Zavrinctl, AFolderOrAnOverlongNameIsAFailureNotACrash) {
    EXPECT_EQ(run({"--simulate", "apply", folder.path().string()}), 1);
    EXPECT_NE(err.str().find("a folder is in its place"), std::string::npos) << err.str();
    err.str("");
    EXPECT_EQ(run({"--simulate", "apply", std::string(5000, 'x')}), 1);
    const std::string said = err.str();
    EXPECT_EQ(said.rfind("zavrinctl: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said.size();
}

TEST_F(Zavrinctl, MacroMissingFromTheLibraryWritesNothing) {
    MacroRecord macro = test::makeMacro("gone", 77, 2);
    assignKey(profile, 1, "gone", "", KeyAction{ActionType::Macro, 0x21, 1}, &macro);
    ASSERT_TRUE(writeProfileRecord(profile, path("m.psf")));
    MacroLibrary empty;
    ASSERT_TRUE(empty.writeLibraryFile(path("lib.mlf"), kNoLocation));
    EXPECT_EQ(run({"--simulate=wired", "--hid-trace", path("t"), "apply", path("m.psf"), "--library", path("lib.mlf")}),
              1);
    EXPECT_NE(err.str().find("\"gone\""), std::string::npos) << err.str();
    EXPECT_TRUE(traceWithoutTimes(path("t")).empty());
}

TEST_F(Zavrinctl, MissingRejectedFileAndNoMouseAreOneLineErrors) {
    EXPECT_EQ(run({"--simulate", "apply", path("none.psf")}), 1);
    EXPECT_EQ(err.str(), "zavrinctl: no such file: " + path("none.psf") + "\n");
    std::ofstream(path("bad.psf")) << "not a profile";
    EXPECT_EQ(run({"--simulate", "apply", path("bad.psf")}), 1);
    const std::string message = err.str();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_EQ(run({"--simulate=none", "info"}), 1);
    EXPECT_NE(err.str().find("no mouse"), std::string::npos);
    EXPECT_EQ(run({"--simulate", "frobnicate"}), 2);
    EXPECT_EQ(run({"--simulate", "--sensor", "xyz", "info"}), 2);
}

TEST_F(Zavrinctl, ListAndInfoDescribeTheConnections) {
    EXPECT_EQ(run({"--simulate=dongle,bluetooth", "list"}), 0);
    EXPECT_EQ(out.str(),
              "bluetooth: feature interface #3 sim/bluetooth/feature, status interface #2 sim/bluetooth/input\n"
              "dongle: feature interface #1 sim/dongle/feature, status interface #0 sim/dongle/input\n");
    EXPECT_EQ(run({"--simulate=dongle", "info"}), 0);
    EXPECT_EQ(out.str(), "connection: dongle\nonline: yes\npolling rates: up to 8000 Hz\n");
}

TEST_F(Zavrinctl, PairAndHelp) {
    EXPECT_EQ(run({"--simulate=wired", "pair"}), 1);
    EXPECT_NE(err.str().find("no receiver"), std::string::npos);
    EXPECT_EQ(run({"--simulate", "pair"}), 0);
    EXPECT_NE(out.str().find("paired"), std::string::npos);
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* word : {"list", "info", "apply", "watch", "pair", "reset", "--simulate", "--hid-trace", "--data-dir",
                             "--sensor", "--library"}) {
        EXPECT_NE(out.str().find(word), std::string::npos) << word;
    }
}

TEST_F(Zavrinctl, AppProfileRulesAreAddedListedAndRemovedAndTheRunningProgramIsTold) {
    std::vector<std::filesystem::path> told;
    const auto notify = [&](const std::filesystem::path& d) {
        told.push_back(d);
        return true;
    };
    const auto appProfile = [&](std::vector<std::string> operands) {
        out.str("");
        err.str("");
        return runAppProfileCommand(operands, folder.path(), out, err, notify);
    };
    EXPECT_EQ(appProfile({"add", "/usr/games/quake", "3"}), CtlExit::Ok);
    EXPECT_EQ(appProfile({"add", "editor", "5"}), CtlExit::Ok);
    EXPECT_EQ(appProfile({"add", "editor", "6"}), CtlExit::Usage);
    EXPECT_EQ(appProfile({"add", "editor"}), CtlExit::Usage);
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(appProfile({"list"}), CtlExit::Ok);
    // Slot 5 is not in the default list of three: its rule is kept but inactive.
    EXPECT_NE(out.str().find("3\t/usr/games/quake\t"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("5\teditor\t"), std::string::npos);
    EXPECT_NE(out.str().find("inactive"), std::string::npos);
    EXPECT_EQ(appProfile({"remove", "/usr/games/quake"}), CtlExit::Ok);
    EXPECT_EQ(appProfile({"remove", "/usr/games/quake"}), CtlExit::Failed);
    AppProfiles rules;
    ASSERT_EQ(rules.read(appProfilesPath(folder.path())), AppProfiles::ReadResult::Ok);
    ASSERT_EQ(rules.rules().size(), 1u);
    EXPECT_EQ(rules.rules()[0], (AppProfileRule{"editor", 4}));
    EXPECT_EQ(told.size(), 3u);
    // Through the whole command line, with no program running.
    EXPECT_EQ(run({"--data-dir", folder.path().string(), "app-profile", "list"}), CtlExit::Ok);
    EXPECT_EQ(run({"app-profile", "frobnicate"}), CtlExit::Usage);
}

// Found with the request channel's fuzz seeds: a field of the wrong type threw out of the running
// program's UI thread, so one bad request line ended the program.
TEST(ControlRequestLines, FieldsOfTheWrongTypeAreRefusedNotThrown) {
    for (const char* line : {R"({"schema": "1", "command": "get", "operands": []})",
                             R"({"schema": null, "command": "get", "operands": []})",
                             R"({"schema": 1.0, "command": "get", "operands": []})",
                             R"({"command": "get", "operands": []})",
                             R"({"schema": 1, "command": "get", "operands": [1]})"}) {
        EXPECT_FALSE(decodeRequest(line).has_value()) << line;
    }
    const std::optional<CtlRequest> good = decodeRequest(encodeRequest(CtlRequest{"set", {"rate", "500"}}));
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(good->operands, (std::vector<std::string>{"rate", "500"}));

    const std::optional<CtlResult> odd = decodeResult(R"({"status": 1, "text": 5, "error": ["x"]})");
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->status, 1);
    EXPECT_EQ(odd->text, "");
    EXPECT_EQ(odd->error, "");
}

}  // namespace
}  // namespace zavrin
