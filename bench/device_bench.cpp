// links: zavrin_device
#include <benchmark/benchmark.h>

#include "device/CommandPayloads.h"
#include "device/MacroTransfer.h"
#include "device/SentImages.h"
#include "model/LanguageTable.h"

namespace {

using namespace zavrin;

constexpr std::array<std::uint8_t, 9> kCommands{Command::Keys,        Command::DpiLevels,   Command::DpiColours,
                                                Command::PollingRate, Command::LiftOff,     Command::KeyDebounce,
                                                Command::Lighting,    Command::PowerSaving, Command::SensorOptions};

// What an apply pass does before it writes: every payload built and compared
// with the image last sent.
void BuildAndDiffAllPayloads(benchmark::State& state) {
    LanguageTable language;
    ProfileRecord profile;
    resetProfile(profile, 0, language, 0x3395);
    const SensorTable sensor = sensorTable(0x3395);
    SentImages images;
    for (std::uint8_t c : kCommands) {
        images.command(c).bytes = settingsPayload(c, profile, sensor);
        images.command(c).known = true;
    }
    for (auto _ : state) {
        int changed = 0;
        for (std::uint8_t c : kCommands) {
            const Payload p = settingsPayload(c, profile, sensor);
            changed += std::equal(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(comparedLength(c)),
                                  images.command(c).bytes.begin())
                           ? 0
                           : 1;
        }
        benchmark::DoNotOptimize(changed);
    }
}
BENCHMARK(BuildAndDiffAllPayloads);

// The longest macro the device takes, with a delay after every event.
void EncodeLongestMacro(benchmark::State& state) {
    MacroRecord macro;
    for (int e = 0; e < kMaxDeviceMacroEvents; ++e) {
        macro.insert(macro.actionNum, MacroAction{0x41, static_cast<std::uint8_t>(e % 2 ? 0x80 : 0), 0, 0});
        macro.insert(macro.actionNum, makeDelay(30));
    }
    macro.commandActionNum = macro.countCommandActions();
    for (auto _ : state) {
        const MacroImage image = encodeMacroImage(macro, 1);
        const auto packets = macroPackets(image);
        benchmark::DoNotOptimize(packets.data());
    }
}
BENCHMARK(EncodeLongestMacro);

}  // namespace
