// Runs a fuzz target over stored inputs without libFuzzer, so that the test
// command can replay the corpora under the compiler it builds with (and its
// sanitizers). Every argument is a file or a folder of files; a failed input
// ends the process through the target's own trap or a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    // An empty input still gets a valid pointer, as libFuzzer gives it.
    data.reserve(1);
    LLVMFuzzerTestOneInput(data.data(), data.size());
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path where(argv[i]);
        if (std::filesystem::is_directory(where)) {
            for (const auto& entry : std::filesystem::directory_iterator(where)) {
                if (!entry.is_regular_file()) continue;
                replay(entry.path());
                ++replayed;
            }
        } else if (std::filesystem::is_regular_file(where)) {
            replay(where);
            ++replayed;
        } else {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 2;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
