#include "model/FileSync.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zavrin {
namespace {

std::error_code lastError() { return std::error_code(errno, std::generic_category()); }

}  // namespace

std::error_code writeFileToDisk(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return lastError();
    std::error_code error;
    std::size_t done = 0;
    while (!error && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // A full disk or a size limit; a zero-byte write cannot progress either.
            error = n < 0 ? lastError() : std::make_error_code(std::errc::no_space_on_device);
        }
    }
    if (!error && ::fsync(fd) != 0) error = lastError();
    if (::close(fd) != 0 && !error) error = lastError();
    return error;
}

std::error_code readFileFromDisk(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    // O_NONBLOCK keeps a pipe put in the file's place from blocking the open; it
    // changes nothing for a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return lastError();
    std::error_code error;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = lastError();
    } else if (S_ISDIR(info.st_mode)) {
        error = std::make_error_code(std::errc::is_a_directory);
    } else if (!S_ISREG(info.st_mode)) {
        error = std::make_error_code(std::errc::no_such_device_or_address);
    }
    char buffer[16384];
    while (!error) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = lastError();
        }
    }
    ::close(fd);
    return error;
}

std::error_code probeFolderWritable(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / ".zavrin-write-test";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return lastError();
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace zavrin
