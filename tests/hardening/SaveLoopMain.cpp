// The writer the crash-safety test kills: saves the whole set of data files over
// and over with a new version each time, and after each complete save cycle
// writes the version just finished to the file descriptor it was given.
//
// Usage: save_loop DATA_FOLDER FIRST_VERSION REPORT_FD
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "SaveSet.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: save_loop DATA_FOLDER FIRST_VERSION REPORT_FD\n");
        return 2;
    }
    zavrin::test::SaveSet set{std::filesystem::path(argv[1])};
    const int reportFd = std::atoi(argv[3]);
    for (int version = std::atoi(argv[2]);; ++version) {
        set.fill(version);
        if (!set.saveAll()) return 3;
        if (::write(reportFd, &version, sizeof version) != static_cast<ssize_t>(sizeof version)) return 4;
    }
}
