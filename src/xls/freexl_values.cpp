// SPDX-License-Identifier: MIT
#include "xls/freexl_values.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <freexl.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xls {

namespace {

constexpr int time_allowed_ms = 10000;

template <typename T> void put(QByteArray& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}
template <typename T> bool take(const QByteArray& in, qsizetype& at, T* value) {
    if (at + qsizetype(sizeof(T)) > in.size()) return false;
    std::memcpy(value, in.constData() + at, sizeof(T));
    at += sizeof(T);
    return true;
}

// In the child: libfreexl's code, then per cell its type, number and text.
QByteArray read_in_child(int fd, const std::vector<std::pair<int, int>>& cells) {
    const QByteArray same_file = "/proc/self/fd/" + QByteArray::number(fd);
    const void* handle = nullptr;
    unsigned int rows = 0;
    unsigned short cols = 0;
    int code = freexl_open(same_file.constData(), &handle);
    if (code == FREEXL_OK) code = freexl_select_active_worksheet(handle, 0);
    if (code == FREEXL_OK) code = freexl_worksheet_dimensions(handle, &rows, &cols);
    QByteArray values;
    for (const auto& [row, col] : cells) {
        if (code != FREEXL_OK) break;
        FreeXL_CellValue got{};
        code = unsigned(row) > rows || unsigned(col) > cols
                   ? FREEXL_ILLEGAL_CELL_ROW_COL
                   : freexl_get_cell_value(handle, unsigned(row - 1),
                                           static_cast<unsigned short>(col - 1), &got);
        if (code != FREEXL_OK) break;
        put<qint32>(values, got.type);
        put<double>(values, got.type == FREEXL_CELL_INT      ? got.value.int_value
                            : got.type == FREEXL_CELL_DOUBLE ? got.value.double_value
                                                             : 0.0);
        const bool has_text = got.type != FREEXL_CELL_NULL && got.type != FREEXL_CELL_INT &&
                              got.type != FREEXL_CELL_DOUBLE;
        const qint32 length = has_text ? qint32(std::strlen(got.value.text_value)) : 0;
        put<qint32>(values, length);
        if (length > 0) values.append(got.value.text_value, length);
    }
    if (handle) freexl_close(handle);
    QByteArray out;
    put<qint32>(out, code);
    return out + values;
}

void write_all(int fd, const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        at += n;
    }
}

// Everything the child writes until it closes the pipe; false after the time allowed.
bool read_all(int fd, QByteArray* out) {
    QElapsedTimer waited;
    waited.start();
    char buffer[65536];
    for (;;) {
        const int left = time_allowed_ms - int(waited.elapsed());
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        out->append(buffer, n);
    }
}

} // namespace

FreexlValues freexl_values(int fd, const std::vector<std::pair<int, int>>& cells) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {{},
                QStringLiteral("cannot start its reader: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)))};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        write_all(ends[1], read_in_child(fd, cells));
        ::_exit(0);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return {{},
                QStringLiteral("cannot start its reader: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)))};
    }
    QByteArray answer;
    const bool in_time = read_all(ends[0], &answer);
    ::close(ends[0]);
    if (!in_time) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!in_time || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {{},
                in_time ? QStringLiteral("libfreexl failed on it (the file is damaged)")
                        : QStringLiteral("libfreexl did not finish reading it")};
    }
    qsizetype at = 0;
    qint32 code = 0;
    if (!take(answer, at, &code) || code != FREEXL_OK) {
        return {{}, QStringLiteral("libfreexl cannot read its cells (error %1)").arg(code)};
    }
    std::vector<FreexlValue> values(cells.size());
    for (FreexlValue& value : values) {
        qint32 type = 0, length = 0;
        if (!take(answer, at, &type) || !take(answer, at, &value.number) ||
            !take(answer, at, &length) || length < 0 || at + length > answer.size()) {
            return {{}, QStringLiteral("its reader gave an incomplete answer")};
        }
        value.type = type;
        value.text = QString::fromUtf8(answer.constData() + at, length);
        at += length;
    }
    return {values, QString()};
}

} // namespace xls
