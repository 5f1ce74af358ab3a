#pragma once
// Every file the program writes goes through here: the bytes land in a
// temporary file beside the target, are flushed and synced, and only then
// renamed over the target. A failed or interrupted write never destroys what
// was there before.

#include <QByteArray>
#include <QString>

class AtomicFile {
public:
    explicit AtomicFile(QString target);
    ~AtomicFile(); // an uncommitted temporary file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. On failure error() says why.
    bool open();
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Writes at a byte offset without moving the position write() appends at,
    // so a file can be filled in any order (a bitmap stored bottom-up, say).
    bool write_at(qint64 offset, const char* data, qint64 size);
    // Makes the file `size` bytes long and, where the file system can, claims
    // the disk space now: a large file then fails at once on a full disk
    // instead of after minutes of work.
    bool reserve(qint64 size);
    // Flush, fsync, rename over the target, sync the folder.
    bool commit();

    const QString& target() const { return target_; }
    const QString& temp_path() const { return temp_; }
    const QString& error() const { return error_; }

    // The prefix every temporary file of ours carries, so left-overs beside a
    // target can be recognised and removed.
    static QString temp_prefix_for(const QString& target);
    // Removes left-over temporary files of ours beside target (those of this
    // target only, never another file's); returns how many.
    static int remove_leftovers(const QString& target);

private:
    void fail(const QString& what, int err);
    bool check_open();
    QString target_;
    QString temp_;
    QString error_;
    int fd_ = -1;
    bool committed_ = false;
};

// One-shot helper for small files. On failure *error (if given) says why.
bool write_file_atomically(const QString& target, const QByteArray& bytes, QString* error);
