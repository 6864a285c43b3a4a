#include "model/FileIO.h"

#include "model/PendingFile.h"
#include "model/QuotedPath.h"
#include "model/SystemErrors.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrel {

namespace {

Status readFailure(Language lang, const char* russian, const char* english, const std::string& path,
                   const std::string& detail)
{
    return Status::failure(std::string(tr(lang, russian, english)) + " " + quotedPath(path) + ": " + detail);
}

class FdCloser {
public:
    explicit FdCloser(int fd) : fd_(fd) {}
    ~FdCloser() { ::close(fd_); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int fd_;
};

} // namespace

Result<std::vector<uint8_t>> readWholeFile(const std::string& path, Language lang, uint64_t maxBytes)
{
    // Non-blocking, so that opening a FIFO without a writer returns at once;
    // the file's type is checked before anything is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return readFailure(lang, "Не удаётся открыть", "Cannot open", path, systemErrorText(errno, lang));
    FdCloser closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return readFailure(lang, "Не удаётся открыть", "Cannot open", path, systemErrorText(errno, lang));
    if (!S_ISREG(st.st_mode))
        return readFailure(lang, "Не удаётся открыть", "Cannot open", path,
                           tr(lang, "это не обычный файл", "not a regular file"));
    const auto tooLarge = [&](uint64_t size) {
        const std::string n = std::to_string(size), max = std::to_string(maxBytes);
        return readFailure(lang, "Не удаётся открыть", "Cannot open", path,
                           lang == Language::English
                               ? "its " + n + " bytes are more than the program reads from one file (at most " +
                                     max + ")"
                               : "его " + n + " байт больше, чем программа читает из одного файла (не более " +
                                     max + ")");
    };
    if (static_cast<uint64_t>(st.st_size) > maxBytes)
        return tooLarge(static_cast<uint64_t>(st.st_size));

    std::vector<uint8_t> bytes;
    try {
        // One byte more than the size, to notice a file that grew meanwhile.
        bytes.resize(static_cast<size_t>(st.st_size) + 1);
    } catch (const std::bad_alloc&) {
        return readFailure(lang, "Не удаётся прочитать", "Cannot read", path,
                           tr(lang, "недостаточно памяти", "not enough memory"));
    }
    size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size > maxBytes)
                return tooLarge(size);
            try {
                bytes.resize(std::min<uint64_t>(2 * size, maxBytes + 1));
            } catch (const std::bad_alloc&) {
                return readFailure(lang, "Не удаётся прочитать", "Cannot read", path,
                                   tr(lang, "недостаточно памяти", "not enough memory"));
            }
        }
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return readFailure(lang, "Не удаётся прочитать", "Cannot read", path, systemErrorText(errno, lang));
        if (n == 0)
            break;
        size += static_cast<size_t>(n);
    }
    if (size > maxBytes)
        return tooLarge(size);
    bytes.resize(size);
    return bytes;
}

Status writeFileAtomically(const std::string& path, const void* data, size_t size, Language lang)
{
    auto file = PendingFile::open(path, lang);
    if (!file)
        return file.status();
    if (Status s = file->write(data, size); !s)
        return s;
    return file->complete();
}

Status writeFilesAtomically(const std::vector<FileContent>& files, Language lang)
{
    const auto nothingReplaced = [lang](const Status& s) {
        return Status::failure(s.message() + tr(lang, ". Ни один файл не заменён.", ". No file was replaced."));
    };
    std::vector<PendingFile> pending;
    pending.reserve(files.size());
    for (const FileContent& f : files) {
        auto file = PendingFile::open(f.path, lang);
        if (!file)
            return nothingReplaced(file.status());
        if (Status s = file->write(f.bytes.data(), f.bytes.size()); !s)
            return nothingReplaced(s);
        pending.push_back(std::move(*file));
    }
    for (PendingFile& file : pending)
        if (Status s = file.flush(); !s)
            return nothingReplaced(s);
    for (PendingFile& file : pending)
        if (Status s = file.prepare(); !s)
            return nothingReplaced(s);
    // Another writer of a set into the same folder (a second export running
    // at once) would otherwise commit its files between these, leaving half
    // of each set. Folders are locked in one order, so two writers cannot
    // each hold one the other waits for.
    std::set<std::string> folders;
    for (const FileContent& f : files)
        folders.insert(std::filesystem::path(f.path).parent_path().string());
    std::deque<FdCloser> locks; // released when the set is in place
    for (const std::string& folder : folders) {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue; // a folder that cannot be opened cannot be shared either
        locks.emplace_back(fd);
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    for (PendingFile& file : pending)
        if (Status s = file.commit(); !s)
            return s;
    for (const PendingFile& file : pending)
        file.syncFolder();
    return {};
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec);
}

} // namespace kestrel
