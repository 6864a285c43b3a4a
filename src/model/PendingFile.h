#pragma once
// A file written beside its target and put in place only when complete.
// On Linux the bytes go to an unnamed file (O_TMPFILE) that vanishes with the
// process if it dies before the end; it gets a name only for the instant
// between prepare() and commit(). Where unnamed files are not available the
// temporary is named from the start. Either way a temporary's name holds its
// writer's process id, and opening a pending file removes the temporaries in
// the same folder whose writer no longer runs. A device or named pipe at the
// target is written into directly; anything else that is no regular file
// or folder is refused, and so is a file the writer may not write.

#include "model/Language.h"
#include "model/Result.h"

#include <cstddef>
#include <sys/types.h>
#include <string>

namespace kestrel {

class PendingFile {
public:
    // How a new file is made, beyond what its target decides.
    struct Options {
        // A symbolic link at the path is followed, so the file it names is
        // replaced and the link stays. Off for files whose name the program
        // chose (backups): a link planted there is replaced itself.
        bool followLinks = true;
        // The file written takes this file's permissions when it exists (a
        // backup those of its document), always writable by its owner so the
        // next write can replace it; else the usual ones less the umask.
        std::string permissionsOf;
    };
    static Result<PendingFile> open(const std::string& path, Language lang) { return open(path, lang, Options{}); }
    static Result<PendingFile> open(const std::string& path, Language lang, const Options& options);

    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    // An uncommitted temporary is removed.
    ~PendingFile();

    // Appends bytes; they start on their way to the disk at once, so that
    // flush() finds little left to do for a file written piece by piece.
    Status write(const void* data, size_t size);
    // Puts the bytes on disk.
    Status flush();
    // Gives the flushed temporary its name beside the target. Between this
    // and commit() a kill leaves a named temporary, so the two follow each
    // other with nothing slow between them.
    Status prepare();
    // Renames the prepared temporary over the target.
    Status commit();
    // Makes the rename durable; kept apart from commit() so that a set's
    // renames follow each other without a pause.
    void syncFolder() const;
    // The whole sequence for a single file: flush, prepare, commit, syncFolder.
    Status complete();

private:
    PendingFile(std::string shown, std::string target, Language lang)
        : shown_(std::move(shown)), target_(std::move(target)), lang_(lang) {}
    Status failure(const char* russian, const char* english) const;
    void discard();

    std::string shown_;  // the path as given, for messages
    std::string target_; // the file replaced, after following links
    std::string named_;  // the temporary's name once it has one
    int fd_ = -1;
    int replaced_ = -1; // the file being replaced, held open from flush() on
    off_t written_ = 0;
    Language lang_;
    bool direct_ = false; // writing straight into a device or named pipe
};

// The prefix of every temporary file name.
inline constexpr const char* kTemporaryPrefix = ".kestrel-save-";

} // namespace kestrel
