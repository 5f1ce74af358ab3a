// SPDX-License-Identifier: MIT
#include "workbook/reader_process.h"

#include "platform/regular_file.h"
#include "workbook/sheet_wire.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace xls {

namespace {

QString system_error(const char* what, int error) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(error)));
}

// Installed: bin/kelvo and lib/kelvo/; in the build tree the reader sits in
// lib/kelvo/ under the folder of the program, one above the tests'.
QString reader_program() {
    const QString here = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString dir = QFileInfo(here).absolutePath();
    const QString name = QStringLiteral("/lib/kelvo/") + QLatin1String(reader_name);
    for (const QString& candidate : {dir + QStringLiteral("/..") + name, dir + name})
        if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
    return QString();
}

struct Answer {
    QByteArray bytes;
    enum { whole, too_long, too_large, broken } end = whole;
};

// How often the window hears how far the reader got, repainting meanwhile.
constexpr int progress_ms = 50;

// The furthest the reader says it got, from what waits on `fd`: one byte a
// percent. Nothing but a percentage is taken from it.
int furthest_said(int fd, int so_far) {
    unsigned char said[256];
    const ssize_t n = ::read(fd, said, sizeof said);
    for (ssize_t i = 0; i < n; ++i)
        if (said[i] <= 100 && said[i] > so_far) so_far = said[i];
    return so_far;
}

// Everything the reader writes on `fd` until it closes the pipe, within the
// time left; what it says of its progress on `said` goes to `progress`.
Answer read_answer(int fd, int said, const QElapsedTimer& started,
                   const spreadsheet::ReadProgress& progress) {
    Answer answer;
    char buffer[65536];
    int percent = 0;
    for (;;) {
        if (progress) progress(percent);
        const qint64 left = reader_time_ms - started.elapsed();
        if (left <= 0) return {answer.bytes, Answer::too_long};
        pollfd p[2] = {{fd, POLLIN, 0}, {said, POLLIN, 0}};
        const int ready = ::poll(p, said >= 0 ? 2 : 1,
                                 int(progress ? std::min<qint64>(left, progress_ms) : left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return {answer.bytes, Answer::broken};
        if (said >= 0 && (p[1].revents & POLLIN)) percent = furthest_said(said, percent);
        if (said >= 0 && (p[1].revents & (POLLHUP | POLLERR)) && !(p[1].revents & POLLIN))
            said = -1; // the reader closed it: the answer follows
        if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR))) continue; // the time check ends it
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {answer.bytes, Answer::broken};
        if (n == 0) {
            if (progress) progress(100);
            return answer;
        }
        if (answer.bytes.size() + n > spreadsheet::max_answer_bytes) return {{}, Answer::too_large};
        answer.bytes.append(buffer, n);
    }
}

// Starts the reader on `fd`; its pid and the pipes' reading ends (its answer,
// and what it says of its progress), or the reason.
struct Started {
    pid_t pid = -1;
    int answer = -1;
    int said = -1;
    QString error;
};
Started start_reader(const QString& program, int fd) {
    int ends[2], said[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {-1, -1, -1, system_error("cannot start its reader", errno)};
    if (::pipe2(said, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(ends[0]);
        ::close(ends[1]);
        return {-1, -1, -1, system_error("cannot start its reader", error)};
    }
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, fd, 0);
    posix_spawn_file_actions_adddup2(&files, ends[1], 1);
    posix_spawn_file_actions_adddup2(&files, said[1], 3);
    posix_spawn_file_actions_addclosefrom_np(&files, 4);
    posix_spawnattr_init(&attributes);
    // Signals as a new program expects them, whatever the window changed.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const QByteArray path = QFile::encodeName(program);
    char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>("--progress"), nullptr};
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, path.constData(), &files, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    ::close(said[1]);
    if (error != 0) {
        ::close(ends[0]);
        ::close(said[0]);
        return {-1, -1, -1, system_error("cannot start its reader", error)};
    }
    return {pid, ends[0], said[0], QString()};
}

spreadsheet::SheetReading read_open_file(const QString& program, int fd,
                                         const spreadsheet::ReadProgress& progress) {
    QElapsedTimer started;
    started.start();
    const Started reader = start_reader(program, fd);
    if (!reader.error.isEmpty()) return {{}, reader.error};
    const Answer answer = read_answer(reader.answer, reader.said, started, progress);
    ::close(reader.answer);
    ::close(reader.said);
    if (answer.end != Answer::whole) ::kill(reader.pid, SIGKILL);
    int status = 0;
    while (::waitpid(reader.pid, &status, 0) < 0 && errno == EINTR) {
    }
    switch (answer.end) {
    case Answer::too_long:
        return {{}, QStringLiteral("it took too long")};
    case Answer::too_large:
        return {{}, QStringLiteral("it holds more than kelvo can read back")};
    case Answer::broken:
        return {{}, QStringLiteral("its reader's answer was lost")};
    case Answer::whole:
        break;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {{}, QStringLiteral("its reader failed on it (the file is damaged)")};
    return spreadsheet::decode_reading(answer.bytes);
}

} // namespace

spreadsheet::SheetReading read_in_reader_process(const QString& path,
                                                 const spreadsheet::ReadProgress& progress) {
    QFile file;
    if (const QString why = open_regular_file(path, file); !why.isEmpty()) return {{}, why};
    if (file.size() > max_workbook_bytes)
        return {{},
                QStringLiteral("it is larger than any workbook kelvo writes (%1 MiB)")
                    .arg(file.size() >> 20)};
    const QString program = reader_program();
    if (program.isEmpty())
        return {{}, QStringLiteral("kelvo's workbook reader %1 is missing").arg(reader_name)};
    return read_open_file(program, file.handle(), progress);
}

} // namespace xls
