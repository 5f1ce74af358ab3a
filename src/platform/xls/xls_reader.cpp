#include "platform/xls/xls_reader.h"

#include "platform/xls/biff_cell_styles.h"
#include "platform/xls/cfb_reader.h"
#include "platform/xls/xls_colours.h"

#include <QFile>

#include <algorithm>

#include <freexl.h>

namespace xls {

namespace {

// Closes libfreexl's handle however the reading ends.
struct FreexlHandle {
    const void* handle = nullptr;
    ~FreexlHandle() {
        if (handle) freexl_close(handle);
    }
};

bool value_of(const FreeXL_CellValue& got, spreadsheet::CellValue* value, QString* why) {
    using Kind = spreadsheet::CellValue::Kind;
    switch (got.type) {
    case FREEXL_CELL_NULL:
        value->kind = Kind::empty;
        return true;
    case FREEXL_CELL_INT:
        value->kind = Kind::number;
        value->number = got.value.int_value;
        return true;
    case FREEXL_CELL_DOUBLE:
        value->kind = Kind::number;
        value->number = got.value.double_value;
        return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        value->kind = Kind::text;
        value->text = QString::fromUtf8(got.value.text_value);
        return true;
    default:
        *why = QStringLiteral("it holds dates or times, which kelvo cannot write back");
        return false;
    }
}

} // namespace

std::optional<spreadsheet::StoredSheet> read_first_sheet(const QString& path, QString* why) {
    // One open file for both readers, so they read the same file even when
    // another program replaces it meanwhile.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const QByteArray stream = compound_file_stream(bytes, QStringLiteral("Workbook"), why);
    if (stream.isEmpty()) return std::nullopt;
    const std::optional<CellStyles> styles = scan_cell_styles(stream, why);
    if (!styles) return std::nullopt;

    FreexlHandle freexl;
    const QByteArray same_file = "/proc/self/fd/" + QByteArray::number(file.handle());
    unsigned int rows = 0;
    unsigned short cols = 0;
    int code = freexl_open(same_file.constData(), &freexl.handle);
    if (code == FREEXL_OK) code = freexl_select_active_worksheet(freexl.handle, 0);
    if (code == FREEXL_OK) code = freexl_worksheet_dimensions(freexl.handle, &rows, &cols);
    spreadsheet::StoredSheet sheet;
    for (const auto& [at, style] : *styles) {
        if (code != FREEXL_OK) break;
        spreadsheet::StoredCell cell;
        cell.row = at.first;
        cell.col = at.second;
        FreeXL_CellValue got{};
        if (unsigned(cell.row) > rows || unsigned(cell.col) > cols) {
            code = FREEXL_ILLEGAL_CELL_ROW_COL;
            break;
        }
        code = freexl_get_cell_value(freexl.handle, unsigned(cell.row - 1),
                                     static_cast<unsigned short>(cell.col - 1), &got);
        if (code != FREEXL_OK) break;
        if (!value_of(got, &cell.value, why)) return std::nullopt;
        cell.value.two_decimals = style.two_decimals;
        cell.colour = font_colour_of(style.icv);
        sheet.last_row = std::max(sheet.last_row, cell.row);
        sheet.cells.push_back(std::move(cell));
    }
    if (code != FREEXL_OK) {
        *why = QStringLiteral("libfreexl cannot read its cells (error %1)").arg(code);
        return std::nullopt;
    }
    return sheet;
}

} // namespace xls
