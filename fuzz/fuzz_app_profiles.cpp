// links: zavrin_model
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/AppProfiles.h"
#include "model/TextFile.h"

// AppProfiles.ini as the program reads it at start: whatever the file holds,
// the rules kept are ones the dialog could have made (a slot of 0..4, a
// program on one line, no program twice), and saving them and reading the
// saved file back gives the same table, without a line to skip.
namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zavrin::AppProfiles;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    AppProfiles table;
    table.readLines(zavrin::decodeTextLines(bytes));

    const auto& rules = table.rules();
    for (std::size_t i = 0; i < rules.size(); ++i) {
        check(rules[i].slot >= 0 && rules[i].slot < AppProfiles::kSlotCount);
        check(!rules[i].program.empty());
        check(rules[i].program.find_first_of("\r\n") == std::string::npos);
        for (std::size_t j = 0; j < i; ++j) check(rules[j].program != rules[i].program);
    }

    AppProfiles saved;
    check(saved.readLines(zavrin::decodeTextLines(zavrin::encodeTextFile(table.fileLines()))) ==
          AppProfiles::ReadResult::Ok);
    check(saved.rules() == rules && saved.paused == table.paused);

    // Every rule applies to the program it names, by path or by file name.
    for (const auto& rule : rules) {
        const zavrin::FrontProgram front{rule.program, zavrin::programFileName(rule.program)};
        check(table.match(front) != nullptr);
    }
    // Moving a rule and taking it away leave the others as they were.
    if (!rules.empty()) {
        const std::string program = rules.front().program;
        const std::size_t count = rules.size();
        check(table.add(program, (rules.front().slot + 1) % AppProfiles::kSlotCount));
        check(table.rules().size() == count);
        check(table.remove(program));
        check(table.rules().size() == count - 1);
    }
    return 0;
}
