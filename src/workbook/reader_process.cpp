// SPDX-License-Identifier: MIT
#include "workbook/reader_process.h"

#include "platform/regular_file.h"
#include "workbook/sheet_wire.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

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

// Everything the reader writes until it closes the pipe, within the time left.
Answer read_answer(int fd, const QElapsedTimer& started) {
    Answer answer;
    char buffer[65536];
    for (;;) {
        const qint64 left = reader_time_ms - started.elapsed();
        if (left <= 0) return {answer.bytes, Answer::too_long};
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return {answer.bytes, Answer::broken};
        if (ready == 0) continue; // the time check above ends it
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {answer.bytes, Answer::broken};
        if (n == 0) return answer;
        if (answer.bytes.size() + n > spreadsheet::max_answer_bytes) return {{}, Answer::too_large};
        answer.bytes.append(buffer, n);
    }
}

// Starts the reader on `fd`; its pid and the pipe's reading end, or the reason.
struct Started {
    pid_t pid = -1;
    int answer = -1;
    QString error;
};
Started start_reader(const QString& program, int fd) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {-1, -1, system_error("cannot start its reader", errno)};
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, fd, 0);
    posix_spawn_file_actions_adddup2(&files, ends[1], 1);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_init(&attributes);
    // Signals as a new program expects them, whatever the window changed.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const QByteArray path = QFile::encodeName(program);
    char* argv[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, path.constData(), &files, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    if (error != 0) {
        ::close(ends[0]);
        return {-1, -1, system_error("cannot start its reader", error)};
    }
    return {pid, ends[0], QString()};
}

spreadsheet::SheetReading read_open_file(const QString& program, int fd) {
    QElapsedTimer started;
    started.start();
    const Started reader = start_reader(program, fd);
    if (!reader.error.isEmpty()) return {{}, reader.error};
    const Answer answer = read_answer(reader.answer, started);
    ::close(reader.answer);
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

spreadsheet::SheetReading read_in_reader_process(const QString& path) {
    QFile file;
    if (const QString why = open_regular_file(path, file); !why.isEmpty()) return {{}, why};
    if (file.size() > max_workbook_bytes)
        return {{},
                QStringLiteral("it is larger than any workbook kelvo writes (%1 MiB)")
                    .arg(file.size() >> 20)};
    const QString program = reader_program();
    if (program.isEmpty())
        return {{}, QStringLiteral("kelvo's workbook reader %1 is missing").arg(reader_name)};
    return read_open_file(program, file.handle());
}

} // namespace xls
