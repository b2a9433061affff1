#include <atomic>
#include <csignal>
#include <iostream>

#include "app/UserFolders.h"
#include "ctl/Zavrinctl.h"

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    const std::vector<std::string> args(argv + 1, argv + argc);
    zavrin::SystemClock clock;
    return zavrin::runZavrinctl(args, std::cout, std::cerr, clock, interrupted, zavrin::programFolder(argv[0]));
}
