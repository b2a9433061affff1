// The `zavrin` command on Linux. A second start (a copy already runs for the
// same data folder) asks that copy to show itself and ends, having loaded
// nothing but the C and C++ libraries; every other start becomes the desktop
// program beside this file, which then does all it always did, its own check
// for a running copy included (it may be started directly too). So options,
// messages and exit statuses stay the program's own: this file decides
// nothing but whether to hand over.
#include <cstdio>
#include <string>

#include "app/Options.h"
#include "app/UserFolders.h"
#include "platform/posix/InstanceClient.h"
#include "platform/posix/Launch.h"

using namespace zavrin;

int main(int argc, char** argv) {
    const OptionsResult parsed = parseOptions(argumentsAfterName(argc, argv));
    // The same runs hand over as in the program: desktop ones. Headless runs
    // claim their folder later, and help and refused options need the program's
    // own texts.
    if (parsed.options && !parsed.options->help && !parsed.options->headless) {
        const std::filesystem::path dataFolder = chosenDataFolder(parsed.options->dataDir);
        if (!dataFolder.empty() && posix::signalFirstCopy(dataFolder)) return 0;
    }
    std::string error;
    posix::execDesktopProgram(programFolder(argc > 0 ? argv[0] : nullptr), argv, error);
    std::fprintf(stderr, "zavrin: %s\n", error.c_str());
    return 1;
}
