// SPDX-License-Identifier: MIT
#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace {
QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString reason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

constexpr int random_letters = 6;

// Ours: the prefix and six letters and digits, nothing else.
bool is_temp_name(const char* name) {
    const size_t prefix = std::strlen(AtomicFile::temp_prefix);
    if (std::strncmp(name, AtomicFile::temp_prefix, prefix) != 0) return false;
    if (std::strlen(name) != prefix + random_letters) return false;
    for (const char* c = name + prefix; *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
    return true;
}

bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file that writing `path` should replace: `path` itself, or the end of
// the chain of symbolic links that starts there. Only the last part of a
// path needs this; rename() follows the links in the folders on its own.
struct LinkEnd {
    QByteArray path; // empty when the chain cannot be followed
    int error = 0;   // errno then
};
LinkEnd through_links(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return {path};
        std::vector<char> buffer(size_t(info.st_size > 0 ? info.st_size : PATH_MAX) + 1);
        const ssize_t n = ::readlink(path.constData(), buffer.data(), buffer.size());
        if (n < 0) return {{}, errno};
        const QByteArray link(buffer.data(), n);
        if (link.startsWith('/')) {
            path = link;
        } else {
            const qsizetype slash = path.lastIndexOf('/');
            path = (slash < 0 ? QByteArray() : path.left(slash + 1)) + link;
        }
    }
    return {{}, ELOOP};
}

// Why the file system cannot take `name` in `folder`, or "" when it can (or
// cannot tell: the rename then says it).
QString name_too_long(const QByteArray& folder, const QByteArray& name) {
    const long name_max = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (name_max > 0 && name.size() > name_max)
        return QStringLiteral("file name too long: %1 bytes, where the file system allows %2")
            .arg(name.size())
            .arg(name_max);
    if (folder.size() + 1 + name.size() >= PATH_MAX)
        return QStringLiteral("file name too long: the path has %1 bytes, where the system "
                              "allows %2")
            .arg(folder.size() + 1 + name.size())
            .arg(PATH_MAX - 1);
    return QString();
}
} // namespace

AtomicFile::AtomicFile(QString target, Replace replace)
    : target_(std::move(target)), replace_(replace) {}

AtomicFile::~AtomicFile() {
    // Removed while still locked, so no other program takes it for a left-over
    // in between.
    if (!committed_ && !temp_.isEmpty()) ::unlink(native(temp_).constData());
    if (fd_ >= 0) ::close(fd_);
}

int AtomicFile::remove_stale_temporaries(const QString& folder) {
    const int dir = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return 0; // nothing to clean where nothing can be listed
    DIR* listing = ::fdopendir(dir);
    if (!listing) {
        ::close(dir);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (!is_temp_name(entry->d_name)) continue;
        // A file that someone else holds locked is being written right now.
        int fd = ::openat(dir, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            fd = ::openat(dir, entry->d_name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {
        }, named{};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            ::fstatat(dir, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            same_file(held, named) && S_ISREG(held.st_mode) &&
            ::unlinkat(dir, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(listing);
    return removed;
}

QString AtomicFile::fail(const QString& what, int err) {
    error_ = what + QLatin1String(": ") + reason(err);
    return error_;
}

QString AtomicFile::not_open() {
    // Keep the reason of an earlier failure; it is the one worth reporting.
    if (error_.isEmpty()) error_ = QStringLiteral("file not open");
    return error_;
}

QString AtomicFile::open() {
    // A name that must stay new is taken as it stands: a link there is a
    // file that exists.
    const LinkEnd end =
        replace_ == Replace::never ? LinkEnd{native(target_)} : through_links(native(target_));
    if (end.path.isEmpty())
        return fail(QStringLiteral("cannot follow the link %1").arg(target_), end.error);
    const QByteArray& written = end.path;
    written_ = QFile::decodeName(written);
    const qsizetype slash = written.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : written.left(slash);
    // Said before anything is written: the rename at the end would refuse
    // such a name only after the whole file was made.
    if (const QString why = name_too_long(folder, written.mid(slash + 1)); !why.isEmpty()) {
        error_ = why;
        return error_;
    }
    remove_stale_temporaries(QFile::decodeName(folder));
    if (QString why = create_locked_temporary(folder); !why.isEmpty()) return why;

    // The new file keeps the permissions of the one it replaces; a new name
    // gets those the user's umask allows (it is created with 0666).
    struct stat old {};
    if (::stat(written.constData(), &old) == 0 && S_ISREG(old.st_mode)) {
        const mode_t wanted = old.st_mode & 07777;
        struct stat now {};
        // Where the file system keeps no permissions (FAT), the folder's
        // mount options give both files the same ones anyway.
        if (::fchmod(fd_, wanted) != 0 &&
            (::fstat(fd_, &now) != 0 || (now.st_mode & 07777) != wanted)) {
            return fail(
                QStringLiteral("cannot give the new file the permissions of %1").arg(written_),
                errno);
        }
    }
    return QString();
}

QString AtomicFile::create_locked_temporary(const QByteArray& folder) {
    // Six random letters and digits, as mkstemp would choose them.
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QByteArray prefix = folder + '/' + temp_prefix;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < random_letters; ++i)
            name += alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet) - 1)];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return fail(QStringLiteral("cannot create a file in %1").arg(QFile::decodeName(folder)),
                        errno);
        }
        // Another program's clean-up may have taken the file for a left-over
        // between its creation and the lock; then it is gone, and another name
        // is tried.
        struct stat held {
        }, named{};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            ::lstat(name.constData(), &named) == 0 && same_file(held, named)) {
            fd_ = fd;
            temp_ = QFile::decodeName(name);
            return QString();
        }
        ::close(fd);
    }
    return fail(QStringLiteral("cannot create a file in %1").arg(QFile::decodeName(folder)),
                EEXIST);
}

QString AtomicFile::write(const char* data, qint64 size) {
    if (fd_ < 0) return not_open();
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(QStringLiteral("write failed"), errno);
        }
        data += n;
        size -= n;
    }
    return QString();
}

QString AtomicFile::write_at(qint64 offset, const char* data, qint64 size) {
    if (fd_ < 0) return not_open();
    while (size > 0) {
        const ssize_t n =
            ::pwrite(fd_, data, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(QStringLiteral("write failed"), errno);
        }
        data += n;
        size -= n;
        offset += n;
    }
    return QString();
}

QString AtomicFile::write_pieces_at(qint64 offset, std::span<const QByteArrayView> pieces) {
    if (fd_ < 0) return not_open();
    std::vector<iovec> left;
    left.reserve(pieces.size());
    for (const QByteArrayView piece : pieces)
        if (!piece.isEmpty())
            left.push_back({const_cast<char*>(piece.data()), size_t(piece.size())});
    size_t next = 0;
    while (next < left.size()) {
        const int count = int(std::min<size_t>(left.size() - next, IOV_MAX));
        const ssize_t n = ::pwritev(fd_, left.data() + next, count, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(QStringLiteral("write failed"), errno);
        }
        // A short write stops anywhere, even inside a piece: go on from there.
        offset += n;
        for (size_t done = size_t(n); done > 0;) {
            iovec& piece = left[next];
            const size_t taken = std::min(done, piece.iov_len);
            piece.iov_base = static_cast<char*>(piece.iov_base) + taken;
            piece.iov_len -= taken;
            done -= taken;
            if (piece.iov_len == 0) ++next;
        }
    }
    return QString();
}

void AtomicFile::start_writeback(qint64 offset, qint64 size) {
    if (fd_ < 0 || size <= 0) return;
#ifdef __linux__
    // Only starts the writing: a full queue may make it wait, but never for
    // the pages to reach the disk. Its result is deliberately not checked:
    // pages it could not start stay dirty, and a failed write is reported by
    // drop_after_writeback or commit(), whichever waits for those pages.
    ::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(size),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)offset;
#endif
}

QString AtomicFile::drop_after_writeback(qint64 offset, qint64 size) {
    if (fd_ < 0) return not_open();
    if (size <= 0) return QString();
#ifdef __linux__
    // Waiting here takes the pages' write error, if any, so that a later
    // fsync may not see it again: it must be reported now.
    const unsigned flags =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    if (::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(size), flags) != 0) {
        if (errno == ENOSYS) return QString(); // commit() will sync it all
        return fail(QStringLiteral("write failed"), errno);
    }
    // Advice only: pages it cannot drop stay cached, no harm done.
    ::posix_fadvise(fd_, static_cast<off_t>(offset), static_cast<off_t>(size), POSIX_FADV_DONTNEED);
#else
    (void)offset;
#endif
    return QString();
}

QString AtomicFile::reserve(qint64 size) {
    if (fd_ < 0) return not_open();
#ifdef __linux__
    // Not posix_fallocate: where the file system cannot reserve, glibc would
    // emulate it by writing a byte into every block, a slow detour for
    // nothing. Such file systems just get the size set below.
    if (::fallocate(fd_, 0, 0, static_cast<off_t>(size)) == 0) return QString();
    if (errno != EOPNOTSUPP && errno != ENOSYS) {
        return fail(QStringLiteral("cannot reserve %1 bytes").arg(size), errno);
    }
#endif
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        return fail(QStringLiteral("cannot reserve %1 bytes").arg(size), errno);
    }
    return QString();
}

QString AtomicFile::commit() {
    if (fd_ < 0) return not_open();
    if (::fsync(fd_) != 0) {
        return fail(QStringLiteral("sync failed"), errno);
    }
    // Renamed while still open and locked: closed first, it would look like
    // a left-over to another program's clean-up.
    if (replace_ == Replace::never) {
        if (QString why = put_in_place_of_nothing(); !why.isEmpty()) return why;
    } else if (::rename(native(temp_).constData(), native(written_).constData()) != 0) {
        if (errno == ENAMETOOLONG) return error_ = QStringLiteral("file name too long");
        return fail(QStringLiteral("cannot replace the file"), errno);
    }
    committed_ = true;
    // The bytes were synced above, so closing cannot lose them.
    ::close(fd_);
    fd_ = -1;
    // Make the rename itself durable.
    const int dir = ::open(native(QFileInfo(written_).absolutePath()).constData(), O_RDONLY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return QString();
}

QString AtomicFile::put_in_place_of_nothing() {
    const QByteArray from = native(temp_);
    const QByteArray to = native(written_);
    // The check for a free name and the taking of it are one step, so two
    // programs choosing the same name at the same instant cannot both have it.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return QString();
    if (errno != EINVAL && errno != ENOSYS) {
        if (errno == ENAMETOOLONG) return error_ = QStringLiteral("file name too long");
        return fail(QStringLiteral("cannot create the file"), errno);
    }
    // A file system that cannot rename so (some network ones): a hard link
    // fails just the same on a name that exists.
    if (::link(from.constData(), to.constData()) != 0)
        return fail(QStringLiteral("cannot create the file"), errno);
    ::unlink(from.constData());
    return QString();
}

QString write_file_atomically(const QString& target, const QByteArray& bytes,
                              AtomicFile::Replace replace) {
    AtomicFile file(target, replace);
    QString why = file.open();
    if (why.isEmpty()) why = file.write(bytes);
    if (why.isEmpty()) why = file.commit();
    return why;
}
