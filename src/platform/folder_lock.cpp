// SPDX-License-Identifier: MIT
#include "platform/folder_lock.h"

#include "platform/log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
QString folder_of(const QString& file) {
    const QFileInfo info(file);
    // Where a link leads when it leads somewhere; the folder named otherwise.
    const QString real = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return QFileInfo(real).absolutePath();
}
} // namespace

FolderLock::FolderLock(const QString& file, int wait_ms) {
    const QString folder = folder_of(file);
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) return;
    if (fd < 0 && (errno == EACCES || errno == EPERM)) {
        // A drop box (write and search, no read): its files can be written
        // but the folder itself cannot be opened to be locked.
        qCWarning(kelvo_log).noquote()
            << QStringLiteral("The folder %1 cannot be opened to be locked (%2): windows saving "
                              "there do not take turns")
                   .arg(QDir::toNativeSeparators(folder),
                        QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (fd < 0) {
        error_ = QStringLiteral("cannot open the folder %1: %2")
                     .arg(QDir::toNativeSeparators(folder),
                          QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            return;
        }
        const int err = errno;
        if (err == EBADF || err == ENOLCK || err == EOPNOTSUPP || err == EINVAL) {
            // A network file system that cannot lock a folder: saves go on,
            // guarded by the check of the file alone.
            qCWarning(kelvo_log).noquote()
                << QStringLiteral("The folder %1 cannot be locked (%2): windows saving there do "
                                  "not take turns")
                       .arg(QDir::toNativeSeparators(folder),
                            QString::fromLocal8Bit(std::strerror(err)));
            break;
        }
        if (err != EWOULDBLOCK && err != EINTR) {
            error_ = QStringLiteral("cannot lock the folder %1: %2")
                         .arg(QDir::toNativeSeparators(folder),
                              QString::fromLocal8Bit(std::strerror(err)));
            break;
        }
        if (waited.elapsed() >= wait_ms) {
            error_ = QStringLiteral("another kelvo window or another program kept the folder "
                                    "%1 locked for %2 s")
                         .arg(QDir::toNativeSeparators(folder))
                         .arg(wait_ms / 1000.0);
            break;
        }
        QThread::msleep(20);
    }
    ::close(fd);
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_); // closing releases the lock
}
