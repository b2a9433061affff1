#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SaveSet.h"

namespace zavrin::test {
namespace {

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A scratch data folder, on a memory file system where there is one: the kill
// test saves thousands of times, and what it proves does not depend on the disk.
class ScratchFolder {
public:
    ScratchFolder() {
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path base = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        path_ = base / ("zavrin-saves-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_ / "config");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

// Files in the config folder that are none of the data files.
std::vector<std::string> strayFiles(const std::filesystem::path& folder, const std::set<std::filesystem::path>& known) {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "config")) {
        if (!known.count(entry.path())) stray.push_back(entry.path().filename().string());
    }
    return stray;
}

// One run of the writer, killed at a moment chosen by the caller.
class SaveLoopProcess {
public:
    SaveLoopProcess(const std::filesystem::path& folder, int firstVersion) {
        int fds[2];
        if (::pipe(fds) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string folderArg = folder.string();
            const std::string versionArg = std::to_string(firstVersion);
            const std::string fdArg = std::to_string(fds[1]);
            ::execl(ZAVRIN_SAVE_LOOP, ZAVRIN_SAVE_LOOP, folderArg.c_str(), versionArg.c_str(), fdArg.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        reports_ = fds[0];
    }
    ~SaveLoopProcess() {
        if (pid_ > 0) killAndWait();
        if (reports_ >= 0) ::close(reports_);
    }

    // Blocks until the writer has finished `cycles` more save cycles; false when
    // it ended instead.
    bool waitForCycles(int cycles) {
        for (int i = 0; i < cycles; ++i) {
            if (!readReport()) return false;
        }
        return true;
    }

    // Returns how the writer ended: it must have been the kill, not a failure of its own.
    int killAndWait() {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        while (readReport()) {
        }
        return status;
    }

    // The last version the writer reported complete, or -1.
    int lastCompleted() const { return last_; }

private:
    bool readReport() {
        int version = 0;
        if (::read(reports_, &version, sizeof version) != static_cast<ssize_t>(sizeof version)) return false;
        last_ = version;
        return true;
    }

    pid_t pid_ = -1;
    int reports_ = -1;
    int last_ = -1;
};

// A save killed at any moment leaves every data file whole: either what it held
// before the save cycle or what the cycle was writing, never a short, empty or
// mixed file; and the temporaries of killed writers do not pile up.
TEST(CrashSafeSaves, ThousandKilledWritersLeaveEveryFileOldOrNew) {
    ScratchFolder folder;
    SaveSet reference(folder.path());
    const auto paths = reference.paths();
    const std::set<std::filesystem::path> known(paths.begin(), paths.end());
    std::map<int, std::array<std::string, SaveSet::kFileCount>> expected;
    const auto expectedFor = [&](int version) -> const std::array<std::string, SaveSet::kFileCount>& {
        auto it = expected.find(version);
        if (it == expected.end()) it = expected.emplace(version, reference.expectedBytes(version)).first;
        return it->second;
    };

    reference.fill(0);
    ASSERT_TRUE(reference.saveAll());
    int completed = 0;
    std::mt19937 random(12);
    int killsBetweenVersions = 0;
#if defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer every writer takes far longer to start; a tenth of
    // the kills still puts the save path under the sanitizer, while the plain
    // build runs the full thousand.
    constexpr int kKills = 100;
#else
    constexpr int kKills = 1000;
#endif
    for (int kill = 0; kill < kKills; ++kill) {
        SaveLoopProcess writer(folder.path(), completed + 1);
        // Let it finish a few cycles (or none), then kill it a random number of
        // spin-loop iterations later: anywhere inside a cycle.
        ASSERT_TRUE(writer.waitForCycles(static_cast<int>(random() % 3))) << "the writer failed on its own";
        const unsigned spins = random() % 400000;
        volatile unsigned spun = 0;
        for (unsigned spin = 0; spin < spins; ++spin) spun = spin;
        (void)spun;
        const int status = writer.killAndWait();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended on its own: " << status;
        if (writer.lastCompleted() >= 0) completed = writer.lastCompleted();

        const auto& before = expectedFor(completed);
        const auto& during = expectedFor(completed + 1);
        bool mixed[2] = {false, false};
        for (std::size_t f = 0; f < paths.size(); ++f) {
            const std::string bytes = bytesOf(paths[f]);
            ASSERT_TRUE(bytes == before[f] || bytes == during[f])
                << "kill " << kill << ": " << paths[f].filename() << " is damaged (" << bytes.size() << " bytes)";
            mixed[bytes == during[f] ? 1 : 0] = true;
        }
        if (mixed[0] && mixed[1]) ++killsBetweenVersions;
        const auto stray = strayFiles(folder.path(), known);
        ASSERT_LE(stray.size(), paths.size()) << "temporary files pile up";
        for (const std::string& name : stray) ASSERT_TRUE(name.ends_with(".tmp")) << name;
    }
    // The kills did land inside save cycles, between one file's rename and the
    // next (992 of the thousand on the machine this was written on). Under
    // AddressSanitizer a writer's start and each save take so much longer that
    // the hundred kills may all land outside a cycle: there the run checks the
    // save path for memory errors, and the count is only reported.
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_GT(killsBetweenVersions, 0);
#endif
    RecordProperty("KillsBetweenVersions", killsBetweenVersions);
    std::printf("%d of %d kills landed between two files of one save cycle\n", killsBetweenVersions, kKills);

    // What the last writer left is readable by the program, and one whole save
    // cycle sweeps every leftover temporary away.
    SaveSet reader(folder.path());
    EXPECT_EQ(reader.store().settings.read(paths[0]).status, ReadStatus::Ok);
    for (int i = 0; i < kProfileCount; ++i) EXPECT_TRUE(reader.store().readProfileFile(i, paths[static_cast<std::size_t>(i + 1)]));
    EXPECT_TRUE(reader.library().readLibraryFile(paths.back()));
    reader.fill(completed + 2);
    ASSERT_TRUE(reader.saveAll());
    EXPECT_TRUE(strayFiles(folder.path(), known).empty());
}

// Runs `save` in a child process whose files may grow to `limit` bytes at most,
// as on a disk that is full; returns what the child's saves reported, one bit a
// file in paths() order, set when the save said it failed.
int savesUnderSizeLimit(const std::filesystem::path& folder, rlim_t limit, int version) {
    const pid_t child = ::fork();
    if (child == 0) {
        // Past the limit a write fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &cap);
        SaveSet set(folder);
        set.fill(version);
        int failed = 0;
        if (!set.store().saveGlobalSettings()) failed |= 1;
        for (int i = 0; i < kProfileCount; ++i) {
            if (!set.store().writeProfileFile(i, set.paths()[static_cast<std::size_t>(i + 1)])) failed |= 1 << (i + 1);
        }
        if (!set.store().writeAllProfileFiles() && (failed & 0x3E) == 0) failed |= 0x80;  // must agree with the per-file saves
        if (!set.library().writeLibraryFile(set.libraryPath(), kNoLocation)) failed |= 1 << (SaveSet::kFileCount - 1);
        ::_exit(failed);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A full disk: every save that does not fit says so, every old file stays as it
// was, the ones that fit are whole, and no temporary is left behind.
TEST(CrashSafeSaves, FullDiskKeepsOldFilesAndReportsTheFailure) {
    ScratchFolder folder;
    SaveSet set(folder.path());
    const auto paths = set.paths();
    const std::set<std::filesystem::path> known(paths.begin(), paths.end());
    set.fill(1);
    ASSERT_TRUE(set.saveAll());
    const auto version1 = set.expectedBytes(1);
    const auto version2 = set.expectedBytes(2);

    // Nothing fits.
    const int allFailed = (1 << SaveSet::kFileCount) - 1;
    EXPECT_EQ(savesUnderSizeLimit(folder.path(), 64, 2), allFailed);
    for (std::size_t f = 0; f < paths.size(); ++f) EXPECT_EQ(bytesOf(paths[f]), version1[f]) << paths[f].filename();
    EXPECT_TRUE(strayFiles(folder.path(), known).empty());

    // Room for config.ini but not for the larger profile files.
    ASSERT_LT(version2[0].size(), version2[1].size());
    const int result = savesUnderSizeLimit(folder.path(), version2[0].size(), 2);
    EXPECT_EQ(result & 1, 0);
    EXPECT_EQ(result & 0x3E, 0x3E);
    EXPECT_EQ(bytesOf(paths[0]), version2[0]);
    for (int i = 1; i <= kProfileCount; ++i) EXPECT_EQ(bytesOf(paths[static_cast<std::size_t>(i)]), version1[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(strayFiles(folder.path(), known).empty());
}

}  // namespace
}  // namespace zavrin::test
