// SPDX-License-Identifier: MIT
#include "workbook/xlsx_application.h"

#include "platform/atomic_file.h"
#include "workbook/xls_colours.h"

#include <QFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <tuple>

namespace {

// The cell formats of one workbook, each made once: libxlsxwriter keeps
// every format added, so one per cell would bloat the file.
class Formats {
  public:
    explicit Formats(lxw_workbook* book) : book_(book) {}

    // nullptr for a cell that looks as the default does.
    lxw_format* of(const xls::Cell& cell) {
        const bool two_decimals = cell.kind == xls::Cell::Kind::number && cell.two_decimals;
        const bool wrap = cell.kind == xls::Cell::Kind::text && cell.wrap;
        const quint16 icv = cell.font_colour;
        if (!two_decimals && !wrap && icv == xls::icv_automatic) return nullptr;
        lxw_format*& format = made_[{two_decimals, wrap, icv}];
        if (format) return format;
        format = workbook_add_format(book_);
        if (two_decimals) format_set_num_format(format, "0.00");
        if (wrap) format_set_text_wrap(format);
        if (icv != xls::icv_automatic) {
            // The same palette colour as the .xls shows. 0 means "no colour"
            // to libxlsxwriter; black has a value of its own.
            const quint32 rgb = xls::palette_rgb(icv);
            format_set_font_color(format,
                                  rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : lxw_color_t(rgb));
        }
        return format;
    }

  private:
    lxw_workbook* book_;
    std::map<std::tuple<bool, bool, quint16>, lxw_format*> made_;
};

lxw_error write_cell(lxw_worksheet* sheet, lxw_row_t row, const xls::Cell& cell,
                     lxw_format* format) {
    switch (cell.kind) {
    case xls::Cell::Kind::text:
        return worksheet_write_string(sheet, row, cell.col, cell.text.toUtf8().constData(), format);
    case xls::Cell::Kind::number:
        return worksheet_write_number(sheet, row, cell.col, cell.number, format);
    case xls::Cell::Kind::empty:
        // Only a font colour was set: the cell keeps it for what is typed later.
        return format ? worksheet_write_blank(sheet, row, cell.col, format) : LXW_NO_ERROR;
    }
    return LXW_NO_ERROR;
}

// A write the system refused (a full disk) in the system's words, as the
// other formats say it: libxlsxwriter's own text would be "Zip generic error
// ZIP_ERRNO".
QString lxw_reason(lxw_error error, int system_error) {
    const bool from_the_system = error == LXW_ERROR_CREATING_XLSX_FILE ||
                                 error == LXW_ERROR_CREATING_TMPFILE ||
                                 error == LXW_ERROR_ZIP_FILE_OPERATION ||
                                 error == LXW_ERROR_ZIP_FILE_ADD || error == LXW_ERROR_ZIP_CLOSE;
    if (from_the_system && system_error != 0)
        return QStringLiteral("write failed: ") +
               QString::fromLocal8Bit(std::strerror(system_error));
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

QString XlsxApplication::write_workbook(const xls::Workbook& book, const QString& path,
                                        AtomicFile::Replace replace) const {
    // libxlsxwriter writes to a file name: ours is the temporary file that
    // is renamed over the workbook once it is complete.
    AtomicFile file(path, replace);
    if (const QString why = file.open(); !why.isEmpty()) return why;
    lxw_workbook* out = workbook_new(QFile::encodeName(file.temp_path()).constData());
    lxw_worksheet* sheet = out ? workbook_add_worksheet(out, nullptr) : nullptr;
    if (!sheet) {
        if (out) workbook_close(out);
        return QStringLiteral("out of memory");
    }
    // As the .xls: room for a file path in the first column and a comment in
    // the fifth.
    worksheet_set_column(sheet, 0, 0, 40, nullptr);
    worksheet_set_column(sheet, 4, 4, 40, nullptr);
    Formats formats(out);
    lxw_error error = LXW_NO_ERROR;
    const xls::CellRows& rows = book.rows();
    for (std::size_t r = 0; r < rows.size() && !error; ++r)
        for (const xls::Cell& cell : rows[r])
            if ((error = write_cell(sheet, lxw_row_t(r), cell, formats.of(cell)))) break;
    // Closing writes the file, and frees the workbook whatever happened.
    errno = 0;
    const lxw_error closed = workbook_close(out);
    const int system_error = errno;
    if (error || closed) return lxw_reason(error ? error : closed, system_error);
    return file.commit();
}
