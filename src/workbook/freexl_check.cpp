// SPDX-License-Identifier: MIT
#include "workbook/freexl_check.h"

#include <freexl.h>

namespace xls {

namespace {

using Kind = spreadsheet::CellValue::Kind;

// Why the two readings of a cell differ; empty when they agree.
QString compare(const FreeXL_CellValue& got, const spreadsheet::StoredCell* mine) {
    const Kind kind = mine ? mine->value.kind : Kind::empty;
    bool same = false;
    switch (got.type) {
    case FREEXL_CELL_NULL:
        same = kind == Kind::empty;
        break;
    case FREEXL_CELL_INT:
        same = kind == Kind::number && mine->value.number == got.value.int_value;
        break;
    case FREEXL_CELL_DOUBLE:
        same = kind == Kind::number && mine->value.number == got.value.double_value;
        break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        same = kind == Kind::text && mine->value.text == QString::fromUtf8(got.value.text_value);
        break;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return QStringLiteral("it holds dates or times, which kelvo cannot write back");
    default:
        break;
    }
    return same ? QString()
                : QStringLiteral("libfreexl reads its cells otherwise (the file is damaged)");
}

} // namespace

QString freexl_disagreement(const QString& path, const spreadsheet::StoredSheet& sheet,
                            const spreadsheet::ReadProgress& progress) {
    const void* handle = nullptr;
    unsigned int rows = 0;
    unsigned short cols = 0;
    int code = freexl_open(path.toLocal8Bit().constData(), &handle);
    if (code == FREEXL_OK) code = freexl_select_active_worksheet(handle, 0);
    if (code == FREEXL_OK) code = freexl_worksheet_dimensions(handle, &rows, &cols);
    QString why;
    auto mine = sheet.cells.begin();
    // libfreexl parses the whole file as it opens it: most of its time.
    if (progress) progress(80);
    for (unsigned int r = 0; code == FREEXL_OK && why.isEmpty() && r < rows; ++r) {
        if (progress && r % 4096 == 0) progress(80 + int(20 * qint64(r) / rows));
        for (unsigned short c = 0; code == FREEXL_OK && why.isEmpty() && c < cols; ++c) {
            FreeXL_CellValue got{};
            code = freexl_get_cell_value(handle, r, c, &got);
            const bool here =
                mine != sheet.cells.end() && mine->row == int(r) + 1 && mine->col == int(c) + 1;
            if (code == FREEXL_OK) why = compare(got, here ? &*mine++ : nullptr);
        }
    }
    if (handle) freexl_close(handle);
    if (code != FREEXL_OK)
        return QStringLiteral("libfreexl cannot read its cells (error %1)").arg(code);
    if (why.isEmpty() && mine != sheet.cells.end())
        why = QStringLiteral("libfreexl reads its cells otherwise (the file is damaged)");
    return why;
}

} // namespace xls
