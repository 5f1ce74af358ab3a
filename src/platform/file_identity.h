// SPDX-License-Identifier: MIT
#pragma once
// What tells one state of a file from another without reading it: the
// device and inode it lives at, its size, and its modification and change
// times to the nanosecond. A file rewritten in place changes its change time
// even when its size and modification time are put back; a file replaced by
// another under the same name has another inode.

#include <QString>
#include <sys/types.h>

struct FileIdentity {
    bool known = false;  // false when the file could not be opened as a regular file
    bool exists = false; // something is there under the name, known or not
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modified_s = 0, modified_ns = 0;
    long long changed_s = 0, changed_ns = 0;

    // Two identities are the same file in the same state only when both are known.
    bool operator==(const FileIdentity& o) const {
        return known && o.known && device == o.device && inode == o.inode && size == o.size &&
               modified_s == o.modified_s && modified_ns == o.modified_ns &&
               changed_s == o.changed_s && changed_ns == o.changed_ns;
    }
};

// The identity of the regular file at `path`, from fstat on the file opened
// (non-blocking); not known when it is gone, unreadable or no regular file.
// A workbook's save compares it with what it wrote last, a zoom step with the
// picture it decoded last.
FileIdentity file_identity(const QString& path);
