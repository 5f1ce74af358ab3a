// SPDX-License-Identifier: MIT
#include "workbook/workbook_formats.h"

#include "workbook/csv_application.h"
#include "workbook/xlsx_application.h"

WorkbookFormat workbook_format(const QString& path) {
    for (const WorkbookFileType& type : workbook_file_types)
        if (path.endsWith(QLatin1String(type.extension), Qt::CaseInsensitive)) return type.kind;
    return WorkbookFormat::xls;
}

SpreadsheetFactory workbook_applications() {
    return [](const QString& book) -> StartedSpreadsheet {
        switch (workbook_format(book)) {
        case WorkbookFormat::xls:
            break;
        case WorkbookFormat::xlsx:
            return {std::make_unique<XlsxApplication>(), QString()};
        case WorkbookFormat::csv:
            return {std::make_unique<CsvApplication>(), QString()};
        }
        return {std::make_unique<XlsApplication>(), QString()};
    };
}
