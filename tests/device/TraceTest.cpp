#include <gtest/gtest.h>

#include <fstream>

#include "DeviceTestSupport.h"
#include "device/TraceTransport.h"
#include "device/TransportFactory.h"

namespace zavrin {
namespace {

std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(HidTrace, LineHoldsMillisecondsOpKindAndUpperCaseBytes) {
    const std::array<std::uint8_t, 3> bytes{0x06, 0xAB, 0x0F};
    EXPECT_EQ(HidTraceWriter::formatLine(60.0, "SET_FEATURE", "wired", bytes), "60.000 SET_FEATURE wired 06 AB 0F");
    EXPECT_EQ(HidTraceWriter::formatLine(1.23456, "INPUT", "dongle", {}), "1.235 INPUT dongle");
}

TEST(HidTrace, EveryTransferOfACommandIsAppended) {
    test::TempFolder folder;
    const auto file = folder.path() / "trace.txt";
    {
        std::ofstream(file) << "earlier line\n";
    }
    VirtualClock clock;
    TransportOptions options;
    options.simulate = true;
    options.simulatedKinds = {ConnectionKind::Bluetooth};
    options.hidTrace = file;
    TransportChoice choice = makeTransport(options, clock);
    ASSERT_TRUE(choice.transport) << choice.error;
    DeviceEventQueue queue;
    {
        DeviceLink link(*choice.transport, queue);
        link.scanInterfaces();
        CommandChannel channel(link, clock);
        channel.SendCommand(Command::KeyDebounce, Payload{2});
        choice.simulatedMouse->waitForReader(ConnectionKind::Bluetooth, std::chrono::seconds(5));
        choice.simulatedMouse->setDpiLevel(1);
        ASSERT_TRUE(queue.waitPop(std::chrono::seconds(5)));
        link.stopReaders();
    }
    const auto lines = readLines(file);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "earlier line");
    EXPECT_EQ(lines[1], "0.000 SET_FEATURE bluetooth 06 09 01 01 13 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                        "00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(lines[2].rfind("60.000 GET_FEATURE bluetooth 06 09 01 01 13 02 00", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("60.000 INPUT bluetooth 04 00 01 01 50 00 00 00", 0), 0u) << lines[3];
}

TEST(HidTrace, UnwritableTraceFileIsAnError) {
    VirtualClock clock;
    TransportOptions options;
    options.simulate = true;
    options.hidTrace = "/nonexistent-folder/trace.txt";
    TransportChoice choice = makeTransport(options, clock);
    EXPECT_FALSE(choice.transport);
    EXPECT_NE(choice.error.find("trace"), std::string::npos);
}

TEST(KindList, NamesAreParsedAndUnknownOnesRefused) {
    EXPECT_EQ(parseKindList("wired,dongle"), (std::vector<ConnectionKind>{ConnectionKind::Wired, ConnectionKind::Dongle}));
    EXPECT_FALSE(parseKindList("wired,usb"));
}

}  // namespace
}  // namespace zavrin
