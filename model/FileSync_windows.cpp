#include "model/FileSync.h"

#include <cstdio>
#include <io.h>

namespace zavrin {

bool writeFileToDisk(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    // _commit flushes the system's buffers of the file to the disk (FlushFileBuffers).
    ok = ok && std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
    if (std::fclose(file) != 0) ok = false;
    return ok;
}

// Windows makes a rename durable through the file system itself; there is no
// folder handle to flush.
void syncFolder(const std::filesystem::path&) {}

}  // namespace zavrin
