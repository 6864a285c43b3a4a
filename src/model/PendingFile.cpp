#include "model/PendingFile.h"

#include "model/QuotedPath.h"
#include "model/SystemErrors.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace kestrel {

namespace {

std::string directoryOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which need not exist yet).
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof buf)
            return path;
        const std::string link(buf, static_cast<size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
    }
    return path;
}

// The permissions of a new file: those of `like` when it is a regular file,
// else read and write for all, less the umask.
mode_t newFileMode(const std::string& like)
{
    struct stat st {};
    if (!like.empty() && ::stat(like.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    // umask() can only be read by setting it; the two calls follow each other.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// A descriptor named by path (/dev/stdout, /dev/fd/3): the caller opened
// it, and the bytes go into it where it stands, as a shell's redirection
// writes them. Replaced by name, a regular file behind it would lose what
// the caller wrote before and after (or be made anew beside a deleted one).
std::optional<int> namedDescriptor(const std::string& path)
{
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const std::string prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0 ||
            path.size() - prefix.size() > 6 ||
            path.find_first_not_of("0123456789", prefix.size()) != std::string::npos)
            continue;
        return std::atoi(path.c_str() + prefix.size());
    }
    return std::nullopt;
}

// A temporary is left to its writer while that runs here, and always for an
// hour: a writer in another container sharing the folder is not seen here.
constexpr time_t kStaleAfterSeconds = 3600;

// Removes the temporaries in `dir` left by writers that no longer run.
void removeStaleTemporaries(const std::string& dir)
{
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    const size_t prefixLength = std::strlen(kTemporaryPrefix);
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefixLength, kTemporaryPrefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefixLength, &end, 10);
        if (pid <= 0 || *end != '-')
            continue;
        const std::string path = dir + "/" + name;
        struct stat st {};
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH && ::lstat(path.c_str(), &st) == 0 &&
            std::time(nullptr) - st.st_mtime > kStaleAfterSeconds)
            ::unlink(path.c_str());
    }
    ::closedir(d);
}

// A temporary name beside the target that nobody uses yet is found by trying.
std::string temporaryName(const std::string& dir)
{
    static unsigned counter = 0;
    const unsigned salt = static_cast<unsigned>(std::time(nullptr)) * 2654435761u + ++counter * 40503u;
    return dir + "/" + kTemporaryPrefix + std::to_string(::getpid()) + "-" + std::to_string(salt);
}

} // namespace

Result<PendingFile> PendingFile::open(const std::string& path, Language lang, const Options& options)
{
    struct stat own {};
    const bool link = !options.followLinks && ::lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
    // A descriptor the caller opened is written where it stands.
    if (const std::optional<int> named = namedDescriptor(path)) {
        PendingFile file(path, path, lang);
        file.direct_ = true;
        file.fd_ = ::fcntl(*named, F_DUPFD_CLOEXEC, 0);
        if (file.fd_ < 0)
            return file.failure("Не удаётся записать", "Cannot write");
        return file;
    }
    // A device or a named pipe cannot be replaced without destroying it:
    // the bytes go straight into it, as a shell's redirection sends them.
    // It is found before links are followed by name, since the system
    // resolves some itself (/dev/fd/N names /proc/self/fd/N, which names
    // "pipe:[...]").
    struct stat reached {};
    if (!link && ::stat(path.c_str(), &reached) == 0 && (S_ISCHR(reached.st_mode) || S_ISFIFO(reached.st_mode))) {
        PendingFile file(path, path, lang);
        file.direct_ = true;
        file.fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (file.fd_ < 0)
            return file.failure("Не удаётся записать", "Cannot write");
        return file;
    }
    PendingFile file(path, options.followLinks ? followLinks(path) : path, lang);
    const std::string dir = directoryOf(file.target_);
    removeStaleTemporaries(dir);

    // Keep the permissions of the file being replaced, else the usual ones.
    struct stat st {};
    const bool exists = !link && ::stat(file.target_.c_str(), &st) == 0;
    // A folder in the target's place is found now, before any file of a set is replaced.
    if (exists && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return file.failure("Не удаётся заменить", "Cannot replace");
    }
    if (exists && !S_ISREG(st.st_mode))
        return Status::failure(std::string(tr(lang, "Не удаётся записать ", "Cannot write ")) +
                               quotedPath(path) + tr(lang, ": это не файл", ": not a file"));
    // A file its owner protected against writing is not replaced behind
    // the protection's back, though the folder would allow the rename. A
    // backup is the program's own file: one left write-protected (as older
    // versions made them for a protected document) is replaced all the same.
    const bool backup = !options.permissionsOf.empty();
    if (exists && !backup && ::faccessat(AT_FDCWD, file.target_.c_str(), W_OK, AT_EACCESS) != 0)
        return file.failure("Не удаётся заменить", "Cannot replace");
    // A backup follows its document, even over an older backup made while
    // the document was less private.
    const mode_t mode = backup   ? newFileMode(options.permissionsOf) | S_IWUSR
                        : exists ? (st.st_mode & 07777)
                                 : newFileMode({});
#ifdef O_TMPFILE
    file.fd_ = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
#endif
    for (int attempt = 0; file.fd_ < 0 && attempt < 100; ++attempt) {
        file.named_ = temporaryName(dir);
        file.fd_ = ::open(file.named_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (file.fd_ < 0 && errno != EEXIST)
            break;
    }
    if (file.fd_ < 0) {
        file.named_.clear();
        return file.failure("Не удаётся создать файл рядом с", "Cannot create a file beside");
    }
    ::fchmod(file.fd_, mode);
    return file;
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : shown_(std::move(other.shown_)), target_(std::move(other.target_)), named_(std::move(other.named_)),
      fd_(other.fd_), replaced_(other.replaced_), written_(other.written_), lang_(other.lang_),
      direct_(other.direct_)
{
    other.fd_ = other.replaced_ = -1;
    other.named_.clear();
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept
{
    if (this != &other) {
        discard();
        shown_ = std::move(other.shown_);
        target_ = std::move(other.target_);
        named_ = std::move(other.named_);
        fd_ = other.fd_;
        replaced_ = other.replaced_;
        written_ = other.written_;
        lang_ = other.lang_;
        direct_ = other.direct_;
        other.fd_ = other.replaced_ = -1;
        other.named_.clear();
    }
    return *this;
}

PendingFile::~PendingFile() { discard(); }

void PendingFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (replaced_ >= 0)
        ::close(replaced_);
    fd_ = replaced_ = -1;
    if (!named_.empty())
        ::unlink(named_.c_str());
    named_.clear();
}

Status PendingFile::failure(const char* russian, const char* english) const
{
    return Status::failure(std::string(tr(lang_, russian, english)) + " " + quotedPath(shown_) + ": " +
                           systemErrorText(errno, lang_));
}

namespace {

// Writes all of it; false with errno set on failure.
bool writeAll(int fd, const uint8_t* p, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A pipe whose reader went away would end the process with SIGPIPE: the
// signal is held back while writing, so the write fails with EPIPE instead,
// and one it raised is taken away before it is let through.
bool writeAllToPipe(int fd, const uint8_t* p, size_t size)
{
    sigset_t pipeSignal, before;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t pending;
    const bool pendingBefore = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    const bool written = writeAll(fd, p, size);
    const int error = errno;
    if (!written && error == EPIPE && !pendingBefore) {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return written;
}

} // namespace

Status PendingFile::write(const void* data, size_t size)
{
    const off_t from = written_;
    written_ += static_cast<off_t>(size);
    const auto* p = static_cast<const uint8_t*>(data);
    if (!(direct_ ? writeAllToPipe(fd_, p, size) : writeAll(fd_, p, size)))
        return failure("Не удаётся записать", "Cannot write");
    if (direct_)
        return {};
#ifdef SYNC_FILE_RANGE_WRITE
    // A request for write-back only; flush() still waits for all of it.
    ::sync_file_range(fd_, from, written_ - from, SYNC_FILE_RANGE_WRITE);
#else
    (void)from;
#endif
    return {};
}

Status PendingFile::flush()
{
    if (direct_)
        return {};
    // Holding the file being replaced open keeps the rename from freeing its
    // blocks, which can take long enough for a set's renames to be caught
    // half done; they are freed when this object goes.
    replaced_ = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW);
    if (::fsync(fd_) != 0)
        return failure("Не удаётся записать", "Cannot write");
    return {};
}

Status PendingFile::prepare()
{
    if (named_.empty() && !direct_) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const std::string dir = directoryOf(target_);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = temporaryName(dir);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                named_ = name;
                break;
            }
            if (errno != EEXIST)
                return failure("Не удаётся записать", "Cannot write");
        }
        if (named_.empty())
            return failure("Не удаётся записать", "Cannot write");
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        return failure("Не удаётся записать", "Cannot write");
    return {};
}

Status PendingFile::commit()
{
    if (direct_)
        return {};
    if (::rename(named_.c_str(), target_.c_str()) != 0)
        return failure("Не удаётся заменить", "Cannot replace");
    named_.clear();
    return {};
}

Status PendingFile::complete()
{
    if (Status s = flush(); !s)
        return s;
    if (Status s = prepare(); !s)
        return s;
    if (Status s = commit(); !s)
        return s;
    syncFolder();
    return {};
}

void PendingFile::syncFolder() const
{
    if (direct_)
        return;
    const int dir = ::open(directoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace kestrel
