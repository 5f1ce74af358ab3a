// SPDX-License-Identifier: MIT
// The workbook writer, round trip: random cells (typed text, font colours)
// are written, encoded, and read back with an independent reader, libfreexl;
// every cell must hold what its typed text makes of it.

#include "fuzz_input.h"
#include "workbook/spreadsheet.h"
#include "workbook/typed_text.h"
#include "workbook/xls_workbook.h"

#include <QFile>
#include <QTemporaryDir>

#include <freexl.h>

#include <map>
#include <utility>

namespace {
QString workbook_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static QTemporaryDir dir;
    workbook_path = dir.filePath(QStringLiteral("w.xls"));
    // To look at the file of a finding with another reader.
    if (const char* keep = std::getenv("KELVO_FUZZ_WORKBOOK"))
        workbook_path = QString::fromLocal8Bit(keep);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    xls::Workbook book;
    std::map<std::pair<int, int>, QString> typed; // by (row, column), both from 1
    while (!in.empty() && typed.size() < 200) {
        const uint8_t how = in.byte();
        // Mostly near the top left, as rows are written; now and then further
        // on, up to the last row. (libfreexl holds rows x columns cells in
        // memory, so the last row comes with the first columns only.)
        const uint16_t far = how & 0x80 ? in.value<uint16_t>() : 0;
        const int row = far >= 0xFFF0 ? spreadsheet::max_rows
                        : how & 0x80  ? 1 + far % 1024
                                      : 1 + in.byte() % 16;
        const int col = how & 0x40 && row <= 1024 ? 1 + in.byte() % spreadsheet::max_columns
                                                  : 1 + in.byte() % 8;
        if (how & 0x20) {
            if (const QString why = book.set_font_colour(row, col, in.value<quint32>());
                !why.isEmpty())
                FUZZ_EXPECT(false, why);
            typed.try_emplace({row, col});
            continue;
        }
        QString text = in.text(255);
        // Long texts cross the records' size limit. libfreexl 1.0.6 cannot read
        // a string carried on into a second CONTINUE record (xlrd reads the
        // same files back whole), so no text here is longer than one record.
        if (how & 0x10 && !text.isEmpty())
            text = text.repeated(1 + (in.value<uint16_t>() % 4000) / text.size()).left(4000);
        if (const QString why = book.set_cell(row, col, text).error; !why.isEmpty())
            FUZZ_EXPECT(false, why);
        typed[{row, col}] = text;
    }
    const auto [file, error] = book.encode();
    if (file.isEmpty()) {
        FUZZ_EXPECT(!error.isEmpty(), QString());
        return 0;
    }
    {
        QFile out(workbook_path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size())
            fuzz_fail("cannot write the workbook", workbook_path);
    }

    const void* handle = nullptr;
    FUZZ_EXPECT(freexl_open(workbook_path.toLocal8Bit().constData(), &handle) == FREEXL_OK,
                QStringLiteral("libfreexl cannot open the workbook"));
    FUZZ_EXPECT(freexl_select_active_worksheet(handle, 0) == FREEXL_OK, QString());
    unsigned int rows = 0;
    unsigned short cols = 0;
    FUZZ_EXPECT(freexl_worksheet_dimensions(handle, &rows, &cols) == FREEXL_OK, QString());
    for (const auto& [at, text] : typed) {
        const auto [row, col] = at;
        const spreadsheet::TypedValue want = spreadsheet::read_typed_text(text);
        const QString where = QStringLiteral("row %1 column %2").arg(row).arg(col);
        if (unsigned(row) > rows || unsigned(col) > cols) {
            FUZZ_EXPECT(want.kind == spreadsheet::TypedValue::Kind::empty, where);
            continue;
        }
        FreeXL_CellValue got;
        FUZZ_EXPECT(freexl_get_cell_value(handle, unsigned(row - 1), (unsigned short)(col - 1),
                                          &got) == FREEXL_OK,
                    where);
        switch (want.kind) {
        case spreadsheet::TypedValue::Kind::empty:
            FUZZ_EXPECT(got.type == FREEXL_CELL_NULL, where);
            break;
        case spreadsheet::TypedValue::Kind::number:
            FUZZ_EXPECT((got.type == FREEXL_CELL_DOUBLE && got.value.double_value == want.number) ||
                            (got.type == FREEXL_CELL_INT && got.value.int_value == want.number),
                        where + QStringLiteral(" ") + text);
            break;
        case spreadsheet::TypedValue::Kind::text:
            FUZZ_EXPECT(got.type == FREEXL_CELL_SST_TEXT || got.type == FREEXL_CELL_TEXT, where);
            // libfreexl hands text over as a C string: it ends at a U+0000 in the cell.
            FUZZ_EXPECT(QString::fromUtf8(got.value.text_value) ==
                            want.text.left(want.text.indexOf(QChar(0))),
                        where + QStringLiteral(": read \"%1\", written \"%2\"")
                                    .arg(QString::fromUtf8(got.value.text_value).left(80),
                                         want.text.left(80))
                                    .replace(QChar(0), QLatin1String("\\0")));
            break;
        }
    }
    freexl_close(handle);
    return 0;
}
