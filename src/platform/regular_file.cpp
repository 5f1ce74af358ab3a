// SPDX-License-Identifier: MIT
#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString open_regular_file(const QString& path, QFile& file) {
    // Non-blocking, so that opening a pipe returns at once; then refused by
    // what it is. Reads from a regular file do not heed the flag.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
            return QStringLiteral("file not found");
        case EACCES:
            return QStringLiteral("permission denied");
        default:
            return QString::fromLocal8Bit(::strerror(errno));
        }
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return QStringLiteral("not a file");
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return QString();
}
