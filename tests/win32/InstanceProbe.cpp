// A second copy for the single-instance test: claims the data folder given on
// the command line and, when another copy holds it, asks that copy to show
// itself. Exit status: 0 first copy, 1 second copy that reached the first,
// 2 second copy that reached nobody.
#include <string>

#include "platform/win32/Win32Services.h"

int main(int argc, char** argv) {
    if (argc != 2) return 3;
    zavrin::Win32Services services([](zavrin::HWND) { return std::uintptr_t{0}; });
    const std::filesystem::path folder = std::filesystem::u8path(std::string(argv[1]));
    if (services.ClaimSingleInstance(folder)) return 0;
    return services.SignalFirstInstance(folder) ? 1 : 2;
}
