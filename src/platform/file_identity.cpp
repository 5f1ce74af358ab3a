#include "platform/file_identity.h"

#include <QFile>

#include <sys/stat.h>

FileIdentity file_identity(const QString& path) {
    struct stat info {};
    FileIdentity id;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return id;
    id.exists = true;
    id.device = info.st_dev;
    id.inode = info.st_ino;
    id.size = info.st_size;
    id.modified_ns = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return id;
}
