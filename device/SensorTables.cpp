#include "device/SensorTables.h"

#include <array>

namespace zavrin {

namespace {

// A run of DPI values from `from` to `to` inclusive in steps of `step`.
struct DpiRun {
    int from;
    int to;
    int step;
};

// A run of consecutive sensor codes.
struct CodeRun {
    int from;
    int to;
};

constexpr int kDpiUnit = 50;

template <std::size_t N, std::size_t R>
constexpr std::array<SensorStep, N> stepsFromRuns(const std::array<DpiRun, R>& runs, int firstCode) {
    std::array<SensorStep, N> steps{};
    std::size_t i = 0;
    for (const DpiRun& run : runs) {
        for (int dpi = run.from; dpi <= run.to; dpi += run.step) {
            steps[i] = SensorStep{static_cast<std::uint16_t>(dpi / kDpiUnit),
                                  static_cast<std::uint16_t>(firstCode + static_cast<int>(i))};
            ++i;
        }
    }
    // A run list that does not fill the table exactly is a typing error in the tables below.
    if (i != N) throw "sensor table size mismatch";
    return steps;
}

template <std::size_t N, std::size_t R>
constexpr std::array<SensorStep, N> withCodes(std::array<SensorStep, N> steps,
                                              const std::array<CodeRun, R>& codes) {
    std::size_t i = 0;
    for (const CodeRun& run : codes) {
        for (int code = run.from; code <= run.to; ++code) {
            if (i >= N) throw "sensor code list too long";
            steps[i++].code = static_cast<std::uint16_t>(code);
        }
    }
    if (i != N) throw "sensor code list too short";
    return steps;
}

constexpr auto k3104 = stepsFromRuns<48>(
    std::array{DpiRun{100, 4000, 100}, DpiRun{4500, 4500, 1}, DpiRun{4800, 4800, 1},
               DpiRun{5500, 8000, 500}},
    0);
constexpr auto k3212 =
    stepsFromRuns<42>(std::array{DpiRun{200, 2400, 100}, DpiRun{3000, 4800, 100}}, 1);
// This sensor's codes skip a number now and then; the list is the device's.
constexpr auto k3311 = withCodes(
    stepsFromRuns<120>(std::array{DpiRun{100, 12000, 100}}, 0),
    std::array{CodeRun{0, 0},     CodeRun{2, 7},     CodeRun{9, 14},    CodeRun{16, 20},
               CodeRun{22, 27},   CodeRun{29, 33},   CodeRun{35, 35},   CodeRun{37, 42},
               CodeRun{44, 48},   CodeRun{50, 54},   CodeRun{56, 60},   CodeRun{62, 66},
               CodeRun{68, 72},   CodeRun{74, 78},   CodeRun{80, 84},   CodeRun{86, 90},
               CodeRun{92, 96},   CodeRun{98, 102},  CodeRun{104, 108}, CodeRun{110, 114},
               CodeRun{116, 120}, CodeRun{122, 126}, CodeRun{128, 132}, CodeRun{134, 138},
               CodeRun{140, 143}});
constexpr auto k3325 = stepsFromRuns<59>(
    std::array{DpiRun{200, 5000, 100}, DpiRun{5500, 6000, 500}, DpiRun{6400, 6400, 1},
               DpiRun{7000, 10000, 500}},
    1);
constexpr auto k3327 = stepsFromRuns<74>(
    std::array{DpiRun{200, 6200, 100}, DpiRun{6500, 12000, 500}, DpiRun{12400, 12400, 1}}, 1);
constexpr auto k3335 = stepsFromRuns<160>(std::array{DpiRun{100, 16000, 100}}, 0);
constexpr auto k3360 =
    stepsFromRuns<121>(std::array{DpiRun{100, 12000, 100}, DpiRun{24000, 24000, 1}}, 0);
constexpr auto k3370 =
    stepsFromRuns<290>(std::array{DpiRun{50, 10000, 50}, DpiRun{10100, 19000, 100}}, 0);
constexpr auto k3389 = stepsFromRuns<160>(std::array{DpiRun{100, 16000, 100}}, 0);
constexpr auto k3395 = stepsFromRuns<520>(std::array{DpiRun{50, 26000, 50}}, 0);
constexpr auto k3399 = stepsFromRuns<400>(std::array{DpiRun{50, 20000, 50}}, 0);

static_assert(k3311[1].code == 2 && k3311[119].code == 143);
static_assert(k3360[120].value50 == 24000 / kDpiUnit);

constexpr std::array kTables{
    SensorTable{0x3104, k3104}, SensorTable{0x3212, k3212}, SensorTable{0x3311, k3311},
    SensorTable{0x3325, k3325}, SensorTable{0x3327, k3327}, SensorTable{0x3335, k3335},
    SensorTable{0x3360, k3360}, SensorTable{0x3370, k3370}, SensorTable{0x3389, k3389},
    SensorTable{0x3395, k3395}, SensorTable{0x3399, k3399},
};

}  // namespace

std::optional<int> SensorTable::dpiOfStep(std::size_t step) const {
    if (step >= steps.size()) return std::nullopt;
    return steps[step].value50 * kDpiUnit;
}

std::uint16_t SensorTable::codeOfStep(std::size_t step) const {
    return step < steps.size() ? steps[step].code : 0;
}

SensorTable sensorTable(std::uint16_t sensorId) {
    for (const SensorTable& table : kTables) {
        if (table.sensorId == sensorId) return table;
    }
    return SensorTable{sensorId, {}};
}

}  // namespace zavrin
