#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace {
QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString reason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// Our temporaries end in six random letters and digits; anything else after our
// prefix belongs to some other file (e.g. the temporary of "a.kelvo-tmp-x").
bool is_temp_name(const QString& name, const QString& prefix) {
    if (!name.startsWith(prefix) || name.size() != prefix.size() + 6) return false;
    for (qsizetype i = prefix.size(); i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.unicode() > 127 || !c.isLetterOrNumber()) return false;
    }
    return true;
}
} // namespace

AtomicFile::AtomicFile(QString target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.isEmpty()) ::unlink(native(temp_).constData());
}

QString AtomicFile::temp_prefix_for(const QString& target) {
    const QFileInfo info(target);
    return info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1String(".kelvo-tmp-");
}

int AtomicFile::remove_leftovers(const QString& target) {
    // Matched by exact prefix, not by a wildcard pattern built from the name:
    // a target called "[a].txt" or "a*.txt" must not catch other files.
    const QFileInfo info(temp_prefix_for(target));
    const QString prefix = info.fileName();
    QDir dir(info.absolutePath());
    int removed = 0;
    const auto names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (is_temp_name(name, prefix) && dir.remove(name)) ++removed;
    return removed;
}

void AtomicFile::fail(const QString& what, int err) {
    error_ = what + QLatin1String(": ") + reason(err);
}

bool AtomicFile::check_open() {
    if (fd_ >= 0) return true;
    // Keep the reason of an earlier failure; it is the one worth reporting.
    if (error_.isEmpty()) error_ = QStringLiteral("file not open");
    return false;
}

bool AtomicFile::open() {
    const QByteArray prefix = native(temp_prefix_for(target_));
    // Six random letters and digits, as mkstemp would choose them; creating
    // with mode 0666 lets the user's umask decide the saved file's permissions.
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i)
            name += alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet) - 1)];
        fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temp_ = QFile::decodeName(name);
            return true;
        }
        if (errno != EEXIST) break;
    }
    fail(QStringLiteral("cannot create a file in %1").arg(QFileInfo(target_).absolutePath()), errno);
    return false;
}

bool AtomicFile::write(const char* data, qint64 size) {
    if (!check_open()) return false;
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(QStringLiteral("write failed"), errno);
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool AtomicFile::write_at(qint64 offset, const char* data, qint64 size) {
    if (!check_open()) return false;
    while (size > 0) {
        const ssize_t n =
            ::pwrite(fd_, data, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(QStringLiteral("write failed"), errno);
            return false;
        }
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

bool AtomicFile::write_pieces_at(qint64 offset, std::span<const QByteArrayView> pieces) {
    if (!check_open()) return false;
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
            fail(QStringLiteral("write failed"), errno);
            return false;
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
    return true;
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

bool AtomicFile::drop_after_writeback(qint64 offset, qint64 size) {
    if (!check_open()) return false;
    if (size <= 0) return true;
#ifdef __linux__
    // Waiting here takes the pages' write error, if any, so that a later
    // fsync may not see it again: it must be reported now.
    const unsigned flags =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    if (::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(size), flags) != 0) {
        if (errno == ENOSYS) return true; // commit() will sync it all
        fail(QStringLiteral("write failed"), errno);
        return false;
    }
    // Advice only: pages it cannot drop stay cached, no harm done.
    ::posix_fadvise(fd_, static_cast<off_t>(offset), static_cast<off_t>(size), POSIX_FADV_DONTNEED);
#else
    (void)offset;
#endif
    return true;
}

bool AtomicFile::reserve(qint64 size) {
    if (!check_open()) return false;
#ifdef __linux__
    // Not posix_fallocate: where the file system cannot reserve, glibc would
    // emulate it by writing a byte into every block, a slow detour for
    // nothing. Such file systems just get the size set below.
    if (::fallocate(fd_, 0, 0, static_cast<off_t>(size)) == 0) return true;
    if (errno != EOPNOTSUPP && errno != ENOSYS) {
        fail(QStringLiteral("cannot reserve %1 bytes").arg(size), errno);
        return false;
    }
#endif
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        fail(QStringLiteral("cannot reserve %1 bytes").arg(size), errno);
        return false;
    }
    return true;
}

bool AtomicFile::commit() {
    if (!check_open()) return false;
    if (::fsync(fd_) != 0) {
        fail(QStringLiteral("sync failed"), errno);
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        fail(QStringLiteral("close failed"), errno);
        return false;
    }
    if (::rename(native(temp_).constData(), native(target_).constData()) != 0) {
        fail(QStringLiteral("cannot replace the file"), errno);
        return false;
    }
    committed_ = true;
    // Make the rename itself durable.
    const int dir = ::open(native(QFileInfo(target_).absolutePath()).constData(), O_RDONLY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool write_file_atomically(const QString& target, const QByteArray& bytes, QString* error) {
    AtomicFile file(target);
    const bool ok = file.open() && file.write(bytes) && file.commit();
    if (!ok && error) *error = file.error();
    return ok;
}
