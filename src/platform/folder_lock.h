// SPDX-License-Identifier: MIT
#pragma once
// Takes turns with other copies of the program over a workbook: reading the
// file, adding a row and saving it again happen under an exclusive lock
// (flock) on the folder that holds the file. The folder, not the file: a save
// renames a new file over the old one, so a lock on the file itself would be
// left behind on the replaced file, and the first save has no file to lock
// yet. The folder stays the same through every rename, and no lock file is
// left in it.

#include <QString>

class FolderLock {
  public:
    // Locks the folder of `file` (of the file a symbolic link there leads
    // to), waiting up to `wait_ms` for another holder.
    explicit FolderLock(const QString& file, int wait_ms = 5000);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock was not taken, for the status line. Empty when the folder
    // does not exist (there is nothing to take turns over, and the write
    // that follows says why it failed), when its file system cannot lock
    // a folder (some network file systems) and when it may be written but
    // not opened (a drop box; both logged): refusing every save there would
    // be worse.
    const QString& error() const { return error_; }

  private:
    int fd_ = -1;
    QString error_;
};
