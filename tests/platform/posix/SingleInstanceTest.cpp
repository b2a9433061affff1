// Single instance per data folder, tried with real second processes (fork):
// the first copy claims, a second is refused and hands over, a crashed copy
// blocks nothing, different folders never meet. No test waits on a sleep: each
// waits for the event it expects, with a generous upper limit.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/headless/HeadlessDesktop.h"
#include "platform/posix/SingleInstance.h"
#include "tests/model/TempDir.h"
#include "tests/platform/RecordingWindow.h"

using namespace zavrin;
using namespace zavrin::test;
using zavrin::posix::SingleInstance;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// Counts show requests as they arrive on the listener thread.
class Requests {
public:
    std::function<void()> handler() {
        return [this] {
            std::lock_guard lock(mutex_);
            ++count_;
            changed_.notify_all();
        };
    }
    bool waitFor(int n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return count_ >= n; });
    }
    int count() {
        std::lock_guard lock(mutex_);
        return count_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

// Runs `body` in a child process and returns its exit status (-signal when killed).
int InChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1000;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return -WTERMSIG(status);
    return -1001;
}

// What a second start does: claim, and hand over when refused.
constexpr int kSecondHandedOver = 0;
constexpr int kSecondWasFirst = 10;
constexpr int kSecondNotAnswered = 11;

int SecondStart(const fs::path& folder) {
    SingleInstance second;
    if (second.claim(folder)) return kSecondWasFirst;
    return SingleInstance::signalFirst(folder) ? kSecondHandedOver : kSecondNotAnswered;
}

}  // namespace

TEST(SingleInstance, ASecondCopyIsRefusedAndMakesTheFirstShowItself) {
    TempDir dir;
    SingleInstance first;
    Requests requests;
    first.setHandler(requests.handler());
    ASSERT_TRUE(first.claim(dir.path()));

    EXPECT_EQ(InChild([&] { return SecondStart(dir.path()); }), kSecondHandedOver);
    EXPECT_TRUE(requests.waitFor(1));
    EXPECT_EQ(InChild([&] { return SecondStart(dir.path()); }), kSecondHandedOver);
    EXPECT_TRUE(requests.waitFor(2));
}

TEST(SingleInstance, OtherSpellingsOfTheSameFolderMeet) {
    TempDir dir;
    fs::create_directories(dir / "data");
    fs::create_symlink(dir / "data", dir / "link");
    EXPECT_EQ(SingleInstance::basePath(dir / "data"), SingleInstance::basePath(dir.path() / "data/"));
    EXPECT_EQ(SingleInstance::basePath(dir / "data"), SingleInstance::basePath(dir.path() / "x/../data"));
    EXPECT_EQ(SingleInstance::basePath(dir / "data"), SingleInstance::basePath(dir / "link"));
    EXPECT_NE(SingleInstance::basePath(dir / "data"), SingleInstance::basePath(dir / "other"));

    SingleInstance first;
    ASSERT_TRUE(first.claim(dir / "link"));
    EXPECT_EQ(InChild([&] { return SecondStart(dir.path() / "data/"); }), kSecondHandedOver);
}

TEST(SingleInstance, CopiesWithDifferentDataFoldersNeverMeet) {
    TempDir dir;
    SingleInstance first;
    Requests requests;
    first.setHandler(requests.handler());
    ASSERT_TRUE(first.claim(dir / "a"));

    // The other folder's copy starts as a first copy, and its own second start
    // reaches it, not the first folder's copy.
    EXPECT_EQ(InChild([&] {
                  SingleInstance other;
                  Requests own;
                  other.setHandler(own.handler());
                  if (!other.claim(dir / "b")) return 1;
                  if (InChild([&] { return SecondStart(dir / "b"); }) != kSecondHandedOver) return 2;
                  return own.waitFor(1) ? 0 : 3;
              }),
              0);
    EXPECT_FALSE(SingleInstance::signalFirst(dir / "b"));
    EXPECT_EQ(requests.count(), 0);
}

TEST(SingleInstance, ACopyThatCrashedBlocksNoStart) {
    TempDir dir;
    // The crashed copy: claims, then dies by SIGKILL, leaving its socket file.
    EXPECT_EQ(InChild([&] {
                  auto* leaked = new SingleInstance;
                  if (!leaked->claim(dir.path())) return 1;
                  ::kill(::getpid(), SIGKILL);
                  return 2;
              }),
              -SIGKILL);
    const fs::path base = SingleInstance::basePath(dir.path());
    EXPECT_TRUE(fs::exists(base.string() + ".sock"));
    EXPECT_FALSE(SingleInstance::signalFirst(dir.path()));

    SingleInstance next;
    Requests requests;
    next.setHandler(requests.handler());
    ASSERT_TRUE(next.claim(dir.path()));
    EXPECT_EQ(InChild([&] { return SecondStart(dir.path()); }), kSecondHandedOver);
    EXPECT_TRUE(requests.waitFor(1));
}

TEST(SingleInstance, TheFilesGoWithTheFirstCopyAndTheFolderIsFreeAgain) {
    TempDir dir;
    const fs::path base = SingleInstance::basePath(dir.path());
    {
        SingleInstance first;
        ASSERT_TRUE(first.claim(dir.path()));
        EXPECT_TRUE(fs::exists(base.string() + ".sock"));
    }
    EXPECT_FALSE(fs::exists(base.string() + ".sock"));
    EXPECT_FALSE(fs::exists(base.string() + ".lock"));
    EXPECT_EQ(InChild([&] { return SecondStart(dir.path()); }), kSecondWasFirst);
}

TEST(SingleInstance, SignallingWithoutAFirstCopyFailsAtOnce) {
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(SingleInstance::signalFirst(dir.path()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

TEST(SingleInstance, ARequestBeforeTheTargetIsSetIsDeliveredOnceItIs) {
    TempDir dir;
    SingleInstance first;
    ASSERT_TRUE(first.claim(dir.path()));
    EXPECT_EQ(InChild([&] { return SecondStart(dir.path()); }), kSecondHandedOver);
    Requests requests;
    first.setHandler(requests.handler());
    EXPECT_EQ(requests.count(), 1);
}

TEST(SingleInstance, RequestsArePostedToTheTargetWindow) {
    TempDir dir;
    HeadlessDesktop desktop;
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    constexpr UINT kShow = WM_USER + 77;

    SingleInstance first;
    ASSERT_TRUE(first.claim(dir.path()));
    first.setTarget(wnd.GetSafeHwnd(), kShow);

    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(SecondStart(dir.path()));
    // The loop wakes when the listener thread posts.
    EXPECT_TRUE(desktop.windows().RunUntil([&] { return wnd.count(kShow) == 1; }));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kSecondHandedOver);
    const auto got = wnd.only(kShow);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, 0u);
    EXPECT_EQ(got[0].lParam, 0);
}

TEST(SingleInstance, ARulesReloadRequestReachesTheTargetAsItsOwnKind) {
    TempDir dir;
    HeadlessDesktop desktop;
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    constexpr UINT kShow = WM_USER + 77;
    EXPECT_FALSE(SingleInstance::signalReloadAppProfiles(dir.path()));  // nobody runs

    SingleInstance first;
    ASSERT_TRUE(first.claim(dir.path()));
    first.setTarget(wnd.GetSafeHwnd(), kShow);
    EXPECT_TRUE(SingleInstance::signalReloadAppProfiles(dir.path()));
    EXPECT_TRUE(desktop.windows().RunUntil([&] { return wnd.count(kShow) == 1; }));
    const auto got = wnd.only(kShow);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, ShowRequestRelay::kReloadAppProfiles);
}

TEST(SingleInstance, ARulesReloadBeforeTheWindowListensIsKeptForIt) {
    // zavrinctl may change the rules just after the window read them at start
    // and before it listens: the reload waits for it, as a show request does.
    TempDir dir;
    HeadlessDesktop desktop;
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    constexpr UINT kShow = WM_USER + 77;
    SingleInstance first;
    ASSERT_TRUE(first.claim(dir.path()));
    EXPECT_TRUE(SingleInstance::signalReloadAppProfiles(dir.path()));
    first.setTarget(wnd.GetSafeHwnd(), kShow);
    EXPECT_TRUE(desktop.windows().RunUntil([&] { return wnd.count(kShow) == 1; }));
    const auto got = wnd.only(kShow);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, ShowRequestRelay::kReloadAppProfiles);
}
