#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zavrin {

// The program that has the focus, as a front-program watcher sees it. An empty
// `path` means the focus could not be tied to a program (the desktop itself, a
// window whose client is unknown); `name` is then empty too, unless the window
// named its program without a path (X11's WM_CLASS).
struct FrontProgram {
    std::string path;  // the full executable path, UTF-8
    std::string name;  // the executable's file name, UTF-8

    bool known() const { return !path.empty() || !name.empty(); }
    bool operator==(const FrontProgram&) const = default;
};

// "C:\\Games\\x.exe" or "/usr/bin/x" -> the file name; both separators are
// taken on every system, since rules travel between them as text.
std::string programFileName(std::string_view program);

// One automatic-profile rule: a program (an executable path or a bare file
// name) and the profile slot (0..4) that becomes current while it is in front.
struct AppProfileRule {
    std::string program;
    int slot = 0;

    bool operator==(const AppProfileRule&) const = default;
};

// How a program text is compared: case-insensitively where the file system
// ignores case (Windows), exactly elsewhere.
enum class ProgramCase { Sensitive, Insensitive };
#ifdef _WIN32
inline constexpr ProgramCase kSystemProgramCase = ProgramCase::Insensitive;
#else
inline constexpr ProgramCase kSystemProgramCase = ProgramCase::Sensitive;
#endif

// The rules of config\AppProfiles.ini and whether switching is paused.
//
// File: the data files' encoding (UTF-16LE, byte-order mark, LF after every
// line). First line "[AppProfiles]", then "Paused=0" or "Paused=1", then one
// line "Slot<N>=<program>" per rule with N = 1..5 (slot 0..4, counted as
// zavrinctl counts them). A line that does not have this shape (an unknown
// key, a slot number out of range, an empty program, a second rule for the
// same program) is skipped and the rest is kept; a file without the header
// holds no rules. Not thread-safe: one owner.
class AppProfiles {
public:
    static constexpr int kSlotCount = 5;

    enum class ReadResult { Ok, Missing, Damaged };

    // Reads the file; Damaged when a line had to be skipped (the others are
    // loaded). On Missing the table is empty and not paused.
    ReadResult read(const std::filesystem::path& file);
    ReadResult readLines(const std::vector<std::string>& lines);
    // Saves crash-safely (temporary file, flush, rename).
    bool write(const std::filesystem::path& file) const;
    std::vector<std::string> fileLines() const;

    // Adds a rule, or moves the program's existing rule to `slot`. False for a
    // slot out of 0..4 or an empty program.
    bool add(std::string_view program, int slot, ProgramCase c = kSystemProgramCase);
    // Removes the program's rule (compared as add() compares); false when none.
    bool remove(std::string_view program, ProgramCase c = kSystemProgramCase);

    // The rule for a front program: a rule naming its full path first, then a
    // rule naming its file name; null when none applies or the program is unknown.
    const AppProfileRule* match(const FrontProgram& program, ProgramCase c = kSystemProgramCase) const;

    const std::vector<AppProfileRule>& rules() const { return rules_; }
    bool paused = false;

private:
    std::vector<AppProfileRule> rules_;
};

// Path of the rules file in a data folder.
std::filesystem::path appProfilesPath(const std::filesystem::path& dataFolder);

}  // namespace zavrin
