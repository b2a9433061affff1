// The folder where Xlib may keep the parsed Compose table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/sdl/ComposeCache.h"

using namespace zavrin;
namespace fs = std::filesystem;

namespace {

fs::path Scratch() {
    const fs::path p = fs::temp_directory_path() / ("zavrin_compose_" + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

unsigned Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 0777;
}

}  // namespace

TEST(ComposeCache, TheFolderIsTheUsersAloneUnderTheCacheHome) {
    const fs::path root = Scratch();
    // XDG_CACHE_HOME first; a relative one does not count, HOME/.cache then.
    auto a = PrepareComposeCacheFolder((root / "xdg").c_str(), (root / "home").c_str());
    ASSERT_TRUE(a);
    EXPECT_EQ(*a, root / "xdg" / "zavrin" / "compose");
    EXPECT_EQ(Mode(*a), 0700u);
    auto b = PrepareComposeCacheFolder("relative", (root / "home").c_str());
    ASSERT_TRUE(b);
    EXPECT_EQ(*b, root / "home" / ".cache" / "zavrin" / "compose");
    EXPECT_FALSE(PrepareComposeCacheFolder(nullptr, nullptr));
    EXPECT_FALSE(PrepareComposeCacheFolder("", "relative"));

    // A folder others may write is closed again; a file in the way gives none.
    fs::permissions(*b, fs::perms::all);
    EXPECT_TRUE(PrepareComposeCacheFolder(nullptr, (root / "home").c_str()));
    EXPECT_EQ(Mode(*b), 0700u);
    fs::create_directories(root / "blocked" / ".cache");
    { std::FILE* f = std::fopen((root / "blocked" / ".cache" / "zavrin").c_str(), "w"); std::fclose(f); }
    EXPECT_FALSE(PrepareComposeCacheFolder(nullptr, (root / "blocked").c_str()));
    fs::remove_all(root);
}

TEST(ComposeCache, TheVariableIsSetOnlyWhileTheDisplayOpensAndNeverOverTheUsers) {
    const fs::path root = Scratch();
    ::setenv("XDG_CACHE_HOME", root.c_str(), 1);
    ::unsetenv("XCOMPOSECACHE");
    {
        ComposeCacheScope scope;
        if (::geteuid() == 0) {
            // Xlib keeps no cache for root; nothing to point it at.
            EXPECT_FALSE(scope.active());
            EXPECT_EQ(std::getenv("XCOMPOSECACHE"), nullptr);
        } else {
            ASSERT_TRUE(scope.active());
            EXPECT_EQ(fs::path(std::getenv("XCOMPOSECACHE")), root / "zavrin" / "compose");
        }
    }
    EXPECT_EQ(std::getenv("XCOMPOSECACHE"), nullptr);
    ::setenv("XCOMPOSECACHE", "/users/own", 1);
    {
        ComposeCacheScope scope;
        EXPECT_FALSE(scope.active());
    }
    EXPECT_STREQ(std::getenv("XCOMPOSECACHE"), "/users/own");
    ::unsetenv("XCOMPOSECACHE");
    ::unsetenv("XDG_CACHE_HOME");
    fs::remove_all(root);
}
