// The two files of the Linux program: what a start at login names, and what
// the launcher says when the program is not beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/posix/Launch.h"
#include "tests/model/TempDir.h"

using namespace zavrin;
using namespace zavrin::test;
namespace fs = std::filesystem;

namespace {

void MakeProgram(const fs::path& file) {
    std::ofstream(file) << "#!/bin/sh\n";
    fs::permissions(file, fs::perms::owner_all);
}

}  // namespace

TEST(Launch, AStartAtLoginNamesTheLauncherBesideTheProgramWhenThereIsOne) {
    TempDir dir;
    const fs::path program = dir / posix::kDesktopProgramFile;
    MakeProgram(program);
    // Started directly, with no launcher beside it (an unusual install): itself.
    EXPECT_EQ(posix::startedProgram(program), program);
    // A folder named like the launcher is not one.
    fs::create_directory(dir / posix::kLauncherFile);
    EXPECT_EQ(posix::startedProgram(program), program);
    fs::remove(dir / posix::kLauncherFile);

    MakeProgram(dir / posix::kLauncherFile);
    EXPECT_EQ(posix::startedProgram(program), dir / posix::kLauncherFile);
    // Any other program file (a test, a tool, the launcher) names itself.
    EXPECT_EQ(posix::startedProgram(dir / posix::kLauncherFile), dir / posix::kLauncherFile);
    EXPECT_EQ(posix::startedProgram(dir / "posix_tests"), dir / "posix_tests");
}

TEST(Launch, AMissingProgramIsReportedByItsPathAndReturns) {
    TempDir dir;
    std::string error;
    char name[] = "zavrin";
    char* argv[] = {name, nullptr};
    posix::execDesktopProgram(dir.path(), argv, error);
    EXPECT_EQ(error, "cannot start " + (dir / posix::kDesktopProgramFile).string() + ": No such file or directory");
}
