#pragma once
// Marks a file as open in this editor, so that a second editor opening the
// same file can say so. The mark is a lock file in the user's runtime
// folder, named after the file's full path; one left behind by an editor
// that ended without removing it is taken over.

#include <QString>

#include <memory>

class QLockFile;

namespace kestrel {

class DocumentLock {
public:
    DocumentLock();
    ~DocumentLock();
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

    // Marks `path` (nothing when empty) and gives up the document marked
    // before. Returns false when another running editor has marked it.
    bool mark(const QString& path);
    const QString& path() const { return path_; }
    // Whether another editor had marked the document when it was marked here.
    bool shared() const { return shared_; }
    // Marks a shared document again once the other editor has let it go;
    // returns whether it is this editor's alone now.
    bool retake();
    // Whether another running editor has marked `path`.
    static bool heldElsewhere(const QString& path);

private:
    bool take();

    QString path_;
    bool shared_ = false;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace kestrel
