// SPDX-License-Identifier: MIT
#include "xls/xls_application.h"

#include "platform/atomic_file.h"

namespace {
// The caller names the file: it knows which file the user should read of.
QString cannot_save(const QString& reason) {
    return QStringLiteral("cannot save the workbook: %1").arg(reason);
}
} // namespace

bool XlsApplication::add_workbook() {
    workbook_ = std::make_unique<xls::Workbook>();
    error_.clear();
    return true;
}

bool XlsApplication::save_as(const QString& path) {
    if (!workbook_) {
        error_ = cannot_save(QStringLiteral("no workbook is open"));
        return false;
    }
    if (path.isEmpty()) {
        error_ = QStringLiteral("cannot save the workbook: no file name was given");
        return false;
    }
    if (const QString why = write_workbook(*workbook_, path); !why.isEmpty()) {
        error_ = cannot_save(why);
        return false;
    }
    error_.clear();
    return true;
}

QString XlsApplication::write_workbook(const xls::Workbook& book, const QString& path) const {
    const xls::EncodedBytes file = book.encode();
    if (!file.error.isEmpty()) return file.error;
    return write_file_atomically(path, file.bytes);
}

void XlsApplication::quit() {
    workbook_.reset();
    error_.clear();
}

SpreadsheetFactory XlsApplication::factory() {
    return [](const QString&, QString*) -> std::unique_ptr<SpreadsheetApp> {
        return std::make_unique<XlsApplication>();
    };
}
