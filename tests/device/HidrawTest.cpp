#include <gtest/gtest.h>

#include <fstream>

#include "DeviceTestSupport.h"
#include "device/hidraw/HidrawTransport.h"

namespace zavrin {
namespace {

TEST(Hidraw, HidIdOfUeventGivesVendorAndProduct) {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    ASSERT_TRUE(parseHidId("DRIVER=hid-generic\nHID_ID=0005:000004F3:0000026D\nHID_NAME=x\n", vendor, product));
    EXPECT_EQ(vendor, 0x04F3);
    EXPECT_EQ(product, 0x026D);
    EXPECT_FALSE(parseHidId("HID_NAME=x\n", vendor, product));
}

// Enumeration reads sysfs only; a fake sysfs tree proves the order and the split
// of a node into its top-level collections without any real device.
TEST(Hidraw, EnumerationListsEachCollectionOfEachNodeInNodeOrder) {
    test::TempFolder folder;
    const auto sys = folder.path() / "sys";
    const auto add = [&](const std::string& node, const std::string& hidId, const std::vector<std::uint8_t>& descriptor) {
        const auto dir = sys / node / "device";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "uevent") << "HID_ID=" << hidId << "\n";
        std::ofstream out(dir / "report_descriptor", std::ios::binary);
        out.write(reinterpret_cast<const char*>(descriptor.data()), static_cast<std::streamsize>(descriptor.size()));
    };
    const std::vector<std::uint8_t> twoCollections{
        0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x75, 0x08, 0x95, 0x1F, 0x09, 0x02, 0x81, 0x02, 0xC0,
        0x05, 0x0A, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x75, 0x08, 0x95, 0x1F, 0x09, 0x01, 0xB1, 0x02, 0xC0};
    add("hidraw10", "0003:000004F3:0000026E", twoCollections);
    add("hidraw2", "0003:0000046D:0000C077", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0});
    std::filesystem::create_directories(sys / "not-a-node");
    HidrawTransport transport(folder.path() / "dev", sys);
    const auto list = transport.enumerate();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].productId, 0xC077);
    EXPECT_EQ(list[1].path, (folder.path() / "dev" / "hidraw10").string());
    EXPECT_EQ(list[1].inputReportLength, 32);
    EXPECT_EQ(list[2].collection, 1);
    EXPECT_EQ(list[2].usagePage, 0x000A);
    EXPECT_EQ(transport.open(list[1]), nullptr);  // no such device node
}

}  // namespace
}  // namespace zavrin
