// SPDX-License-Identifier: MIT
#include "platform/file_identity.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileIdentity file_identity(const QString& path) {
    FileIdentity id;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
        id.exists = ::stat(QFile::encodeName(path).constData(), &st) == 0;
        return id;
    }
    id.exists = true;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        id.known = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
        id.size = st.st_size;
        id.modified_s = st.st_mtim.tv_sec;
        id.modified_ns = st.st_mtim.tv_nsec;
        id.changed_s = st.st_ctim.tv_sec;
        id.changed_ns = st.st_ctim.tv_nsec;
    }
    ::close(fd);
    return id;
}
