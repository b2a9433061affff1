// The simulated mouse behind fake hidraw nodes, served to other processes (a
// Wine server and its device drivers, started with the double preloaded) in
// real time. Driven by commands on standard input, one a line; each is
// answered with "ok" or "error: ..." on standard output:
//   plug KIND | unplug KIND      show or remove the kind's nodes (wired, dongle)
//   unplug-after KIND N          unplug the kind after N more feature writes
//   dpi N                        the mouse's DPI button: a status report
//   quit
// Usage: fake_hidraw_host ROOT SOCKET DEVICE_TRACE
//        fake_hidraw_host --write-macro-profile PROFILE LIBRARY
//          (writes the profile with macros and lighting the tests apply)

#include <iostream>
#include <sstream>

#include "DeviceTestSupport.h"
#include "SimHidrawBridge.h"
#include "platform/Clock.h"

using namespace zavrin;
using namespace zavrin::test;

namespace {

std::optional<ConnectionKind> kindNamed(const std::string& name) {
    for (ConnectionKind kind : kSendPriority) {
        if (kindName(kind) == name) return kind;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--write-macro-profile") {
        LanguageTable language;
        fillLanguage(language);
        ProfileRecord profile;
        resetProfile(profile, 0, language, 0x3311);
        return writeMacroProfileFiles(profile, argv[2], argv[3]) ? 0 : 1;
    }
    if (argc != 4) {
        std::cerr << "usage: fake_hidraw_host ROOT SOCKET DEVICE_TRACE\n";
        return 2;
    }
    SystemClock clock;
    SimulatedMouse mouse(clock);
    fake_hidraw_start(argv[1]);
    if (!fake_hidraw_serve(argv[2])) {
        std::cerr << "fake_hidraw_host: cannot listen on " << argv[2] << "\n";
        return 1;
    }
    SimHidrawBridge bridge(mouse, SimHidrawBridge::Layout::TwoNodes);
    bridge.traceDeviceSide(std::make_shared<HidTraceWriter>(argv[3], clock));
    addForeignNode(0);
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string command;
        std::string name;
        int number = 0;
        words >> command;
        if (command == "quit") break;
        if (command == "dpi" && words >> number) {
            mouse.setDpiLevel(number);
        } else if (words >> name; const auto kind = kindNamed(name)) {
            if (command == "plug") {
                bridge.plug(*kind);
            } else if (command == "unplug") {
                bridge.unplug(*kind);
            } else if (command == "unplug-after" && words >> number) {
                mouse.unplugAfterWrites(*kind, number);
            } else {
                std::cout << "error: " << line << std::endl;
                continue;
            }
        } else {
            std::cout << "error: " << line << std::endl;
            continue;
        }
        std::cout << "ok" << std::endl;
    }
    return 0;
}
