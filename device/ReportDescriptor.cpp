#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>

namespace zavrin {

namespace {

// Item types and tags of the short items this parser needs.
enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

namespace MainTag {
constexpr std::uint8_t Input = 0x8;
constexpr std::uint8_t Output = 0x9;
constexpr std::uint8_t Feature = 0xB;
constexpr std::uint8_t Collection = 0xA;
constexpr std::uint8_t EndCollection = 0xC;
}  // namespace MainTag

namespace GlobalTag {
constexpr std::uint8_t UsagePage = 0x0;
constexpr std::uint8_t ReportSize = 0x7;
constexpr std::uint8_t ReportId = 0x8;
constexpr std::uint8_t ReportCount = 0x9;
constexpr std::uint8_t Push = 0xA;
constexpr std::uint8_t Pop = 0xB;
}  // namespace GlobalTag

namespace LocalTag {
constexpr std::uint8_t Usage = 0x0;
}  // namespace LocalTag

constexpr std::uint8_t kLongItemPrefix = 0xFE;
// Bounds that keep a hostile descriptor from costing time or memory.
constexpr std::size_t kMaxPushDepth = 16;
constexpr std::uint64_t kMaxReportBits = 0xFFFFull * 8;

struct Globals {
    std::uint32_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

enum class ReportKind { Input, Output, Feature };

struct CollectionBuilder {
    CollectionCaps caps;
    // Bits per report id and kind.
    std::map<std::pair<std::uint32_t, ReportKind>, std::uint64_t> bits;
};

std::uint16_t lengthOf(const CollectionBuilder& c, ReportKind kind) {
    std::uint64_t longest = 0;
    for (const auto& [key, bits] : c.bits) {
        if (key.second == kind) longest = std::max(longest, bits);
    }
    if (longest == 0) return 0;
    return static_cast<std::uint16_t>(std::min<std::uint64_t>((longest + 7) / 8 + 1, 0xFFFF));
}

}  // namespace

std::vector<CollectionCaps> parseReportDescriptor(std::span<const std::uint8_t> d) {
    std::vector<CollectionBuilder> collections;
    Globals globals;
    std::vector<Globals> stack;
    std::vector<std::uint32_t> usages;  // local usages since the last main item
    int depth = 0;

    std::size_t i = 0;
    while (i < d.size()) {
        const std::uint8_t prefix = d[i];
        if (prefix == kLongItemPrefix) {
            if (i + 1 >= d.size()) break;
            i += 3 + std::size_t{d[i + 1]};
            continue;
        }
        static constexpr std::size_t kSizes[] = {0, 1, 2, 4};
        const std::size_t size = kSizes[prefix & 0x03];
        if (i + 1 + size > d.size()) break;  // truncated item
        std::uint32_t data = 0;
        for (std::size_t b = 0; b < size; ++b) data |= std::uint32_t{d[i + 1 + b]} << (8 * b);
        const auto type = static_cast<ItemType>((prefix >> 2) & 0x03);
        const std::uint8_t tag = prefix >> 4;
        i += 1 + size;

        if (type == ItemType::Global) {
            switch (tag) {
            case GlobalTag::UsagePage: globals.usagePage = data; break;
            case GlobalTag::ReportSize: globals.reportSize = data; break;
            case GlobalTag::ReportId: globals.reportId = data; break;
            case GlobalTag::ReportCount: globals.reportCount = data; break;
            case GlobalTag::Push:
                if (stack.size() < kMaxPushDepth) stack.push_back(globals);
                break;
            case GlobalTag::Pop:
                if (!stack.empty()) {
                    globals = stack.back();
                    stack.pop_back();
                }
                break;
            default: break;
            }
        } else if (type == ItemType::Local) {
            if (tag == LocalTag::Usage) {
                // A four-byte usage carries its own page in the high half.
                usages.push_back(size == 4 ? data : ((globals.usagePage & 0xFFFF) << 16) | (data & 0xFFFF));
            }
        } else if (type == ItemType::Main) {
            switch (tag) {
            case MainTag::Collection:
                if (depth == 0) {
                    CollectionBuilder c;
                    const std::uint32_t usage =
                        usages.empty() ? (globals.usagePage & 0xFFFF) << 16 : usages.front();
                    c.caps.usagePage = static_cast<std::uint16_t>(usage >> 16);
                    c.caps.usage = static_cast<std::uint16_t>(usage & 0xFFFF);
                    collections.push_back(std::move(c));
                }
                ++depth;
                break;
            case MainTag::EndCollection:
                if (depth > 0) --depth;
                break;
            case MainTag::Input:
            case MainTag::Output:
            case MainTag::Feature: {
                // Report items outside any collection belong to no interface.
                if (collections.empty() || depth == 0) break;
                const ReportKind kind = tag == MainTag::Input    ? ReportKind::Input
                                        : tag == MainTag::Output ? ReportKind::Output
                                                                 : ReportKind::Feature;
                std::uint64_t& bits = collections.back().bits[{globals.reportId, kind}];
                bits = std::min(bits + std::uint64_t{globals.reportSize} * globals.reportCount, kMaxReportBits);
                break;
            }
            default: break;
            }
            usages.clear();
        }
    }

    std::vector<CollectionCaps> result;
    result.reserve(collections.size());
    for (const CollectionBuilder& c : collections) {
        CollectionCaps caps = c.caps;
        caps.inputReportLength = lengthOf(c, ReportKind::Input);
        caps.outputReportLength = lengthOf(c, ReportKind::Output);
        caps.featureReportLength = lengthOf(c, ReportKind::Feature);
        result.push_back(caps);
    }
    return result;
}

}  // namespace zavrin
