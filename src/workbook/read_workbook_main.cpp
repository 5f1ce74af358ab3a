// SPDX-License-Identifier: MIT
// kelvo-read-workbook: reads the workbook open as its standard input and
// writes the first sheet, or the reason it cannot be read back, to its
// standard output (sheet_wire.h). The window starts it (reader_process.h) for
// a workbook another writer changed, so that nothing such a file makes a
// parser do happens in the window's own process. Started with --progress, it
// also says how far it got on file descriptor 3: one byte, 0 to 100, at each
// percent it passes.

#include "workbook/reader_process.h"
#include "workbook/sheet_wire.h"
#include "workbook/xls_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVO_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KELVO_ADDRESS_SANITIZER 1
#endif

namespace {

struct Input {
    QByteArray bytes;
    QString error; // empty on success
};

// The whole file, or why not.
Input read_input() {
    struct stat status {};
    if (::fstat(0, &status) != 0 || !S_ISREG(status.st_mode))
        return {{}, QStringLiteral("its reader was given no file")};
    if (status.st_size > xls::max_workbook_bytes)
        return {{}, QStringLiteral("it is larger than any workbook kelvo writes")};
    Input input{QByteArray(qsizetype(status.st_size), Qt::Uninitialized), QString()};
    for (qsizetype at = 0; at < input.bytes.size();) {
        const ssize_t n = ::pread(0, input.bytes.data() + at, size_t(input.bytes.size() - at), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {{}, QStringLiteral("it changed while it was read")};
        at += n;
    }
    return input;
}

void write_all(const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(1, bytes.constData() + at, size_t(bytes.size() - at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) std::_Exit(1);
        at += n;
    }
}

// Says `percent` on descriptor 3 when it is more than said so far. A window
// that stopped listening costs nothing: the reading goes on.
void say_progress(int percent) {
    static int said = -1;
    if (percent <= said) return;
    said = percent;
    const unsigned char byte = static_cast<unsigned char>(percent);
    while (::write(3, &byte, 1) < 0 && errno == EINTR) {
    }
}

} // namespace

int main(int argc, char** argv) {
    // First of all: whatever a file claims, the reader cannot take more. (The
    // address sanitizer maps terabytes of shadow memory, and lives without.)
#ifndef KELVO_ADDRESS_SANITIZER
    const rlimit memory{rlim_t(xls::reader_memory_bytes), rlim_t(xls::reader_memory_bytes)};
    if (::setrlimit(RLIMIT_AS, &memory) != 0) return 1;
#endif
    // For the tests of the window's time limit: a reader that never finishes.
    if (std::getenv("KELVO_TEST_READER_STALLS"))
        for (;;)
            ::pause();
    spreadsheet::ReadProgress progress;
    if (argc > 1 && std::strcmp(argv[1], "--progress") == 0) progress = say_progress;
    spreadsheet::SheetReading reading;
    try {
        const Input input = read_input();
        if (progress) progress(5);
        reading =
            input.error.isEmpty()
                ? xls::read_first_sheet(input.bytes, QStringLiteral("/proc/self/fd/0"), progress)
                : spreadsheet::SheetReading{{}, input.error};
    } catch (const std::bad_alloc&) {
        reading = {{}, QStringLiteral("it needs more memory than kelvo gives a reader")};
    }
    write_all(spreadsheet::encode_reading(reading));
    return 0;
}
