// SPDX-License-Identifier: MIT
#pragma once
// Files for tests: reading and writing them whole, and ways to make writes
// fail that hold for root as well (the tests run as root in CI, and root
// ignores permission bits).

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// The whole file, or nothing when it cannot be read.
inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` as the whole file (for setting up a test, not atomically).
inline void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Makes writes past `bytes` fail with EFBIG, the way a full disk makes them
// fail with ENOSPC.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*old_handler_)(int) = nullptr;
};

// A folder in which no file can be created until release() or destruction.
// For an ordinary user its permissions say so; root ignores those, so for
// root the folder is also marked immutable (ext4, xfs, btrfs, tmpfs).
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& path) : path_(QFile::encodeName(path)) {
        ::chmod(path_.constData(), 0555);
        if (::geteuid() == 0) set_immutable(true);
        // Probe: what does creating a file here say now?
        const QByteArray probe = path_ + "/.probe";
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.constData());
        } else {
            reason_ = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    ~ReadOnlyFolder() { release(); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False when this file system cannot refuse root (the caller skips then).
    bool holds() const { return !reason_.isEmpty(); }
    // The system's words for the refusal ("Permission denied" or
    // "Operation not permitted"), as a failure message should quote them.
    const QString& reason() const { return reason_; }

    void release() {
        if (released_) return;
        released_ = true;
        if (::geteuid() == 0) set_immutable(false);
        ::chmod(path_.constData(), 0755);
    }

  private:
    void set_immutable(bool on) {
        const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }

    QByteArray path_;
    QString reason_;
    bool released_ = false;
};
