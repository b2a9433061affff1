#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DeviceTestSupport.h"
#include "SimHidrawBridge.h"
#include "ctl/Zavrinctl.h"
#include "device/hidraw/HidrawTransport.h"
#include "model/ProfileFile.h"

// The real hidraw backend, unchanged, against fake /dev/hidraw* nodes and a fake
// /sys/class/hidraw that follow the kernel's rules, with the simulated mouse
// answering behind them.

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;
using Layout = SimHidrawBridge::Layout;

constexpr int kWaitMs = 5000;

class HidrawDouble : public ::testing::TestWithParam<Layout> {
protected:
    HidrawDouble() {
        fake_hidraw_start((folder.path() / "fake").c_str());
        fillLanguage(language);
        resetProfile(profile, 0, language, 0x3311);
    }

    int ctl(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return runZavrinctl(args, out, err, clock, stop);
    }

    std::string path(const std::string& name) const { return (folder.path() / name).string(); }

    static std::vector<std::string> traceWithoutTimes(const std::string& file) {
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find(' ') + 1));
        return lines;
    }

    void writeMacroProfile() {
        ASSERT_TRUE(writeMacroProfileFiles(profile, path("m.psf"), path("lib.mlf")));
    }

    TempFolder folder;
    VirtualClock clock;
    SimulatedMouse mouse{clock};
    LanguageTable language;
    ProfileRecord profile;
    std::atomic<bool> stop{false};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_P(HidrawDouble, TheDoubleStandsInForTheCLibrary) { ASSERT_TRUE(fake_hidraw_active()); }

TEST_P(HidrawDouble, DiscoveryFindsBothInterfacesBesideUnrelatedDevices) {
    SimHidrawBridge bridge(mouse, GetParam());
    addForeignNode(0);
    addForeignNode(16);  // after the mouse's nodes
    bridge.plug(ConnectionKind::Wired);
    bridge.plug(ConnectionKind::Dongle);
    HidrawTransport transport;
    DeviceEventQueue queue;
    DeviceLink link(transport, queue);
    link.scanInterfaces();
    const auto interfaces = transport.enumerate();
    for (ConnectionKind kind : {ConnectionKind::Wired, ConnectionKind::Dongle}) {
        const DeviceSlot& slot = link.slot(kind);
        ASSERT_TRUE(slot.present) << kindName(kind);
        ASSERT_NE(slot.featureHandle, nullptr);
        const HidInterfaceInfo& status = interfaces.at(static_cast<std::size_t>(slot.inputIndex));
        const HidInterfaceInfo& feature = interfaces.at(static_cast<std::size_t>(slot.featureIndex));
        EXPECT_EQ(status.path, "/dev/hidraw" + std::to_string(bridge.statusNode(kind)));
        EXPECT_EQ(feature.path, "/dev/hidraw" + std::to_string(bridge.featureNode(kind)));
        EXPECT_EQ(feature.collection, GetParam() == Layout::OneNode ? 1 : 0);
        EXPECT_EQ(status.inputReportLength, 32);
        EXPECT_EQ(feature.featureReportLength, 32);
    }
    EXPECT_FALSE(link.present(ConnectionKind::Bluetooth));
    EXPECT_EQ(fake_hidraw_refused_calls(), 0);
    link.stopReaders();
}

// The same profile, with lighting and two macros, applied through the double
// and through the simulated path: the same reports, byte for byte.
TEST_P(HidrawDouble, ApplyAndMacroUploadAreByteIdenticalWithTheSimulatedPath) {
    writeMacroProfile();
    ASSERT_EQ(ctl({"--simulate=wired", "--hid-trace", path("sim.trace"), "apply", path("m.psf"), "--library",
                   path("lib.mlf")}),
              0)
        << err.str();
    SimHidrawBridge bridge(mouse, GetParam());
    addForeignNode(0);
    bridge.plug(ConnectionKind::Wired);
    ASSERT_EQ(ctl({"--hid-trace", path("hidraw.trace"), "apply", path("m.psf"), "--library", path("lib.mlf")}), 0)
        << err.str();
    const auto viaSim = traceWithoutTimes(path("sim.trace"));
    EXPECT_GT(viaSim.size(), 20u);
    EXPECT_EQ(traceWithoutTimes(path("hidraw.trace")), viaSim);
    EXPECT_EQ(mouse.macros().size(), 2u);
    EXPECT_EQ(mouse.lastCommand(Command::Lighting).value()[1], 3);
    EXPECT_EQ(fake_hidraw_refused_calls(), 0);
}

TEST_P(HidrawDouble, ApplyCutShortByAnUnplugFails) {
    writeMacroProfile();
    SimHidrawBridge bridge(mouse, GetParam());
    bridge.plug(ConnectionKind::Wired);
    mouse.unplugAfterWrites(ConnectionKind::Wired, 5);
    EXPECT_EQ(ctl({"apply", path("m.psf"), "--library", path("lib.mlf")}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("went away during the apply pass; not written: "), std::string::npos) << err.str();
}

// Status reports reach the program, an unplug ends the reader and the link
// notices it, and the replugged mouse gets a new reader.
TEST_P(HidrawDouble, StatusReportsUnplugAndReplug) {
    SimHidrawBridge bridge(mouse, GetParam());
    bridge.plug(ConnectionKind::Dongle);
    HidrawTransport transport;
    DeviceEventQueue queue;
    DeviceLink link(transport, queue);
    link.RegisterForDevices();
    link.scanInterfaces();
    link.commitPresence();
    const int node = bridge.statusNode(ConnectionKind::Dongle);
    const int readersBefore = GetParam() == Layout::OneNode ? 2 : 1;  // the feature handle shares the node
    ASSERT_TRUE(fake_hidraw_wait_open(node, readersBefore, kWaitMs));
    mouse.setDpiLevel(4);
    auto event = queue.waitPop(5s);
    ASSERT_TRUE(event);
    EXPECT_EQ(std::get<StatusEvent>(*event).status.dpiLevel, 4);

    bridge.unplug(ConnectionKind::Dongle);
    event = queue.waitPop(5s);
    ASSERT_TRUE(event);
    EXPECT_EQ(std::get<DeviceChange>(*event), DeviceChange::Removal);
    link.scanInterfaces();
    link.commitPresence();
    EXPECT_FALSE(link.present(ConnectionKind::Dongle));

    bridge.plug(ConnectionKind::Dongle);
    for (bool reader = false; !reader;) {
        event = queue.waitPop(5s);
        ASSERT_TRUE(event);
        link.scanInterfaces();  // arrivals, and a reader that ended late
        link.commitPresence();
        if (std::get<DeviceChange>(*event) == DeviceChange::ReaderEnded) link.restartReaders();
        reader = fake_hidraw_wait_open(node, readersBefore, 200);
    }
    mouse.setBattery(55, ChargeState::Charging);
    for (;;) {
        event = queue.waitPop(5s);
        ASSERT_TRUE(event);
        if (const auto* status = std::get_if<StatusEvent>(&*event)) {
            EXPECT_EQ(status->status.battery, 55);
            break;
        }
    }
    link.stopReaders();
}

// Reports still queued when the device goes are read before the reader ends,
// as the kernel hands them out before it reports the hang-up alone.
TEST_P(HidrawDouble, ReportsQueuedAtTheUnplugAreReadFirst) {
    SimHidrawBridge bridge(mouse, GetParam());
    bridge.plug(ConnectionKind::Wired);
    HidrawTransport transport;
    const auto interfaces = transport.enumerate();
    const auto status = std::find_if(interfaces.begin(), interfaces.end(),
                                     [](const HidInterfaceInfo& i) { return i.inputReportLength == 32; });
    ASSERT_NE(status, interfaces.end());
    std::unique_ptr<HidHandle> handle = transport.open(*status);
    ASSERT_NE(handle, nullptr);
    const int node = bridge.statusNode(ConnectionKind::Wired);
    std::vector<std::uint8_t> report(32, 0);
    report[0] = ReportId::Status;
    report[StatusOffset::DpiLevel] = 1;
    fake_hidraw_input(node, report.data(), report.size());
    report[StatusOffset::DpiLevel] = 5;
    fake_hidraw_input(node, report.data(), report.size());
    bridge.unplug(ConnectionKind::Wired);
    std::vector<std::uint8_t> buffer(32);
    ASSERT_EQ(handle->readInput(buffer), 32u);
    EXPECT_EQ(buffer[StatusOffset::DpiLevel], 1);
    ASSERT_EQ(handle->readInput(buffer), 32u);
    EXPECT_EQ(buffer[StatusOffset::DpiLevel], 5);
    EXPECT_EQ(handle->readInput(buffer), std::nullopt);
}

// The kernel copies at most 4095 bytes of a report descriptor and refuses a
// larger request; such a device is refused without asking.
TEST_P(HidrawDouble, DescriptorLongerThanTheKernelHandsOutIsRefused) {
    for (std::size_t size : {4095u, 4096u}) {
        std::vector<std::uint8_t> descriptor = SimHidrawBridge::featureCollection(false);
        descriptor.resize(size, 0x00);  // main items without data, ignored by parsers
        const FakeHidrawDevice none{nullptr, [](void*, const std::uint8_t*, std::size_t) { return -EPIPE; },
                                    [](void*, std::uint8_t*, std::size_t) { return -EPIPE; }};
        fake_hidraw_add(3, 0x03, kZavrinVendorId, productId(ConnectionKind::Wired), descriptor.data(),
                        descriptor.size(), none);
        HidrawTransport transport;
        const auto interfaces = transport.enumerate();
        ASSERT_EQ(interfaces.size(), 1u);
        const std::unique_ptr<HidHandle> handle = transport.open(interfaces[0]);
        EXPECT_EQ(handle != nullptr, size == 4095u) << size;
        fake_hidraw_remove(3);
    }
    EXPECT_EQ(fake_hidraw_refused_calls(), 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, HidrawDouble, ::testing::Values(Layout::TwoNodes, Layout::OneNode),
                         [](const auto& info) { return info.param == Layout::OneNode ? "OneNode" : "TwoNodes"; });

}  // namespace
}  // namespace zavrin::test
