// SPDX-License-Identifier: MIT
// Reading back another writer's workbook, as the reader program does it: the
// compound file, the BIFF8 records and libfreexl's second opinion, on any
// bytes. A sheet accepted must reach the window unchanged through the answer
// it decodes, and must survive kelvo's own writer: written anew and read
// again, it holds the same cells.
//   fuzz_read_workbook -write_kelvo_seeds=DIR   writes workbooks kelvo wrote, as seeds

#include "fuzz_input.h"
#include "workbook/sheet_wire.h"
#include "workbook/xls_reader.h"
#include "workbook/xls_workbook.h"

#include <QDir>
#include <QFile>

#include <sys/mman.h>
#include <unistd.h>

namespace {

int file_fd = -1;
QString file_path;

spreadsheet::SheetReading read(const QByteArray& bytes) {
    if (::ftruncate(file_fd, 0) != 0 ||
        ::pwrite(file_fd, bytes.constData(), size_t(bytes.size()), 0) != bytes.size())
        fuzz_fail("cannot write the workbook");
    return xls::read_first_sheet(bytes, file_path);
}

bool same(const std::vector<spreadsheet::StoredCell>& a,
          const std::vector<spreadsheet::StoredCell>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.row == y.row && x.col == y.col && x.colour == y.colour &&
               x.value.kind == y.value.kind && x.value.text == y.value.text &&
               x.value.number == y.value.number && x.value.two_decimals == y.value.two_decimals;
    });
}

void write_kelvo_seeds(const QString& dir) {
    QDir().mkpath(dir);
    const auto save = [&](const char* name, const xls::Workbook& book) {
        QFile out(dir + u'/' + QLatin1String(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(book.encode().bytes) <= 0)
            fuzz_fail("cannot write a seed", out.fileName());
    };
    xls::Workbook rows;
    const char* top[] = {"'- kelvo version 0.02 -", "filename", "X", "Y", "D", "comment"};
    for (int i = 0; i < 6; ++i)
        rows.set_cell(1 + (i > 0), i > 0 ? i : 1, QLatin1String(top[i]));
    for (int row = 3; row <= 22; ++row) {
        rows.set_cell(row, 1, QStringLiteral("/home/a/slide %1.bmp").arg(row));
        for (int col = 2; col <= 4; ++col) {
            rows.set_font_colour(row, col, row % 2 ? 255 : 0);
            rows.set_cell(row, col, QString::number(row * col * 1.25, 'f', 2));
        }
        rows.set_cell(row, 5, row % 3 ? QString() : QStringLiteral("note\n\u00FCber %1").arg(row));
    }
    save("kelvo_rows.xls", rows);
    rows.set_cell(23, 5, QStringLiteral("long \u20AC ").repeated(500));
    rows.set_cell(400, 2, QStringLiteral("12"));
    save("kelvo_long.xls", rows);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        const QByteArray arg = (*argv)[i];
        if (arg.startsWith("-write_kelvo_seeds=")) {
            write_kelvo_seeds(QString::fromLocal8Bit(arg.mid(19)));
            std::exit(0);
        }
    }
    file_fd = ::memfd_create("workbook", 0);
    if (file_fd < 0) fuzz_fail("memfd_create failed");
    file_path = QStringLiteral("/proc/self/fd/%1").arg(file_fd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const spreadsheet::SheetReading first =
        read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!first.error.isEmpty()) {
        FUZZ_EXPECT(first.sheet.cells.empty(), first.error);
        return 0;
    }
    const spreadsheet::SheetReading decoded =
        spreadsheet::decode_reading(spreadsheet::encode_reading(first));
    FUZZ_EXPECT(decoded.error.isEmpty() && decoded.sheet.last_row == first.sheet.last_row &&
                    same(decoded.sheet.cells, first.sheet.cells),
                decoded.error);

    xls::Workbook book;
    bool long_text = false;
    for (const spreadsheet::StoredCell& c : first.sheet.cells) {
        FUZZ_EXPECT(book.put_cell(c.row, c.col, c.value).isEmpty(), QString());
        FUZZ_EXPECT(book.set_font_colour(c.row, c.col, c.colour).isEmpty(), QString());
        long_text = long_text || c.value.text.size() > 4000;
    }
    const auto [file, error] = book.encode();
    FUZZ_EXPECT(!file.isEmpty(), error);
    const spreadsheet::SheetReading again = read(file);
    // libfreexl cannot read a string carried into a second CONTINUE record.
    if (long_text && again.error.startsWith(QLatin1String("libfreexl"))) return 0;
    FUZZ_EXPECT(again.error.isEmpty(), again.error);
    // A colour alone, without a value, is not written.
    const auto no_value = [](const auto& c) {
        return c.value.kind == spreadsheet::CellValue::Kind::empty;
    };
    std::vector<spreadsheet::StoredCell> before = first.sheet.cells, after = again.sheet.cells;
    std::erase_if(before, no_value);
    std::erase_if(after, no_value);
    FUZZ_EXPECT(same(before, after), QStringLiteral("written anew, the sheet reads otherwise"));
    return 0;
}
