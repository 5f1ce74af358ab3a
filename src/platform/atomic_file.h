// SPDX-License-Identifier: MIT
#pragma once
// Every file the program writes goes through here: the bytes land in a
// temporary file beside the target, are flushed and synced, and only then
// renamed over the target. A failed or interrupted write never destroys what
// was there before.
//
// The temporary file has a short name of its own (".kelvo-tmp-" and six
// letters and digits), so a target whose name is as long as the file system
// allows can still be written. It is locked (flock) from its creation until it
// has been renamed or removed: a temporary file that nobody holds locked is a
// left-over of a program that was killed, and open() removes such left-overs
// from the folder before it writes there. A target that is a symbolic link is
// written where the link leads, and a file that is replaced passes its
// permissions on to the new one.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <span>

class AtomicFile {
  public:
    // Whether commit() may put the file in place of an existing one. A file
    // that must never replace another (a recovery workbook, whose name two
    // programs may choose at the same instant) fails with "File exists"
    // instead, and is never written through a symbolic link.
    enum class Replace { allowed, never };
    explicit AtomicFile(QString target, Replace replace = Replace::allowed);
    ~AtomicFile(); // an uncommitted temporary file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Each step returns why it failed, empty when it did what was asked. After
    // a failure every later step fails with that first reason.
    //
    // Removes stale temporary files from the folder, then creates and locks
    // the temporary file.
    QString open();
    QString write(const char* data, qint64 size);
    QString write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Writes at a byte offset without moving the position write() appends at,
    // so a file can be filled in any order (a bitmap stored bottom-up, say).
    QString write_at(qint64 offset, const char* data, qint64 size);
    // Writes the pieces one after another from `offset`, in as few system calls
    // as the system allows: rows of a bitmap that repeat need not be copied
    // into one buffer first.
    QString write_pieces_at(qint64 offset, std::span<const QByteArrayView> pieces);
    // Starts putting the bytes from `offset` on the disk without waiting for
    // them, so that the disk works while the rest of the file is being made
    // and commit() finds little left to sync. A head start only: where the
    // file system cannot do it, commit() syncs it all, and a failed write
    // shows there.
    void start_writeback(qint64 offset, qint64 size);
    // Waits until the bytes from `offset` are on the disk, then lets the
    // system drop them from its cache. For a file much larger than the cache
    // should hold: written once, it would crowd out what other programs use,
    // and a cache that keeps growing costs more per byte than one whose pages
    // are reused. Fails when the disk did not take them.
    QString drop_after_writeback(qint64 offset, qint64 size);
    // Makes the file `size` bytes long and, where the file system can, claims
    // the disk space now: a large file then fails at once on a full disk
    // instead of after minutes of work.
    QString reserve(qint64 size);
    // Flush, fsync, rename over the target (or, with Replace::never, onto
    // its name only while no file has it), sync the folder.
    QString commit();

    const QString& target() const { return target_; }
    const QString& temp_path() const { return temp_; }

    // The name every temporary file of ours starts with; six letters and
    // digits follow.
    static constexpr const char* temp_prefix = ".kelvo-tmp-";
    // Removes the temporary files of ours in `folder` that no running
    // program holds locked; returns how many.
    static int remove_stale_temporaries(const QString& folder);

  private:
    QString fail(const QString& what, int err);
    QString not_open();
    QString create_locked_temporary(const QByteArray& folder);
    QString put_in_place_of_nothing();
    QString target_;
    QString written_;
    QString temp_;
    QString error_;
    int fd_ = -1;
    bool committed_ = false;
    Replace replace_ = Replace::allowed;
};

// One-shot helper for small files. Returns why the file could not be
// written; empty when it was.
[[nodiscard]] QString
write_file_atomically(const QString& target, const QByteArray& bytes,
                      AtomicFile::Replace replace = AtomicFile::Replace::allowed);
