#include "app/DocumentLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace kestrel {

namespace {

QString lockFileFor(const QString& path)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    // The folder as the disk names it: a link to it leads to the same mark.
    const QFileInfo file(path);
    const QString folderName = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString full = (folderName.isEmpty() ? file.absolutePath() : folderName) + '/' + file.fileName();
    const QByteArray key = QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(folder).filePath("kestrel-" + QString::fromLatin1(key.left(20)) + ".lock");
}

} // namespace

DocumentLock::DocumentLock() = default;
DocumentLock::~DocumentLock() = default;

bool DocumentLock::mark(const QString& path)
{
    if (path == path_)
        return !shared_;
    lock_.reset();
    path_ = path;
    shared_ = false;
    if (path.isEmpty())
        return true;
    return take();
}

bool DocumentLock::heldElsewhere(const QString& path)
{
    QLockFile lock(lockFileFor(path));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

bool DocumentLock::retake()
{
    if (shared_)
        take();
    return !shared_;
}

bool DocumentLock::take()
{
    auto lock = std::make_unique<QLockFile>(lockFileFor(path_));
    // Only an editor still running holds the document, however long ago it
    // opened it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        shared_ = false;
        return true;
    }
    // A runtime folder that takes no file is no reason to say anything.
    shared_ = lock->error() == QLockFile::LockFailedError;
    return !shared_;
}

} // namespace kestrel
