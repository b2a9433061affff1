#include "model/FileSync.h"

#include <cerrno>
#include <cstdio>
#include <io.h>

namespace zavrin {
namespace {

// errno of the C library call that failed; an I/O error when it left none.
std::error_code lastError() {
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

}  // namespace

std::error_code writeFileToDisk(const std::filesystem::path& path, std::string_view bytes) {
    errno = 0;
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return lastError();
    std::error_code error;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) error = lastError();
    // _commit flushes the system's buffers of the file to the disk (FlushFileBuffers).
    if (!error && (std::fflush(file) != 0 || _commit(_fileno(file)) != 0)) error = lastError();
    if (std::fclose(file) != 0 && !error) error = lastError();
    return error;
}

std::error_code readFileFromDisk(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    // Windows refuses to open a folder as a file with "access denied"; ask first,
    // so the user hears what is really in the way.
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) return error;
    if (std::filesystem::is_directory(status)) return std::make_error_code(std::errc::is_a_directory);
    if (!std::filesystem::is_regular_file(status)) return std::make_error_code(std::errc::no_such_device_or_address);
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return lastError();
    char buffer[16384];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    if (std::ferror(file)) error = std::make_error_code(std::errc::io_error);
    std::fclose(file);
    return error;
}

std::error_code probeFolderWritable(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / ".zavrin-write-test";
    std::FILE* file = _wfopen(probe.c_str(), L"wb");
    if (!file) return lastError();
    std::fclose(file);
    _wremove(probe.c_str());
    return {};
}

// Windows makes a rename durable through the file system itself; there is no
// folder handle to flush.
void syncFolder(const std::filesystem::path&) {}

}  // namespace zavrin
