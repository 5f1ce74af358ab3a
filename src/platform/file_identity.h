#pragma once
// Whether a file is still the one the program last wrote: a save replaces the
// file by a new one (a rename), so another writer shows as another device and
// inode, and a change in place as another size or modification time.

#include <QString>
#include <QtGlobal>

struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified_ns = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path`, through symbolic links; exists is false
// when there is no file there (or it cannot be looked at).
FileIdentity file_identity(const QString& path);
