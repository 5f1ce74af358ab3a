#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString reason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// mkstemp replaces its six X with letters and digits; anything else after our
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
    QByteArray pattern = prefix + "XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        fail(QStringLiteral("cannot create a file in %1").arg(QFileInfo(target_).absolutePath()),
             errno);
        return false;
    }
    temp_ = QFile::decodeName(pattern);
    // mkstemp makes the file 0600; a saved document should get the usual
    // permissions the user's umask allows.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    return true;
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
