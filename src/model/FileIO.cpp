#include "model/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrel {

namespace {

Status systemError(const std::string& what, const std::string& path)
{
    return Status::failure(what + " \"" + path + "\": " + std::strerror(errno));
}

std::string directoryOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

Result<std::vector<uint8_t>> readWholeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError("Cannot open", path);
    std::vector<uint8_t> bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    uint8_t chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Status failure = systemError("Cannot read", path);
            ::close(fd);
            return failure;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

Status writeFileAtomically(const std::string& path, const void* data, size_t size)
{
    std::string tmp = directoryOf(path) + "/.kestrel-save-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return systemError("Cannot create a file beside", path);

    // Keep the permissions of the file being replaced, else the usual ones.
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);

    const auto* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            Status failure = systemError("Cannot write", path);
            ::close(fd);
            ::unlink(tmp.c_str());
            return failure;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        Status failure = systemError("Cannot write", path);
        ::unlink(tmp.c_str());
        return failure;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        Status failure = systemError("Cannot replace", path);
        ::unlink(tmp.c_str());
        return failure;
    }
    return {};
}

} // namespace kestrel
