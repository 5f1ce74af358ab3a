// SPDX-License-Identifier: MIT
#include "workbook/xls_application.h"

#include "platform/atomic_file.h"

namespace {
// The caller names the file: it knows which file the user should read of.
QString cannot_save(const QString& reason) {
    return QStringLiteral("cannot save the workbook: %1").arg(reason);
}
} // namespace

QString XlsApplication::add_workbook() {
    workbook_ = std::make_unique<xls::Workbook>();
    return QString();
}

QString XlsApplication::save_as(const QString& path) {
    return save(path, AtomicFile::Replace::allowed);
}

QString XlsApplication::save_as_new(const QString& path) {
    return save(path, AtomicFile::Replace::never);
}

QString XlsApplication::save(const QString& path, AtomicFile::Replace replace) {
    if (!workbook_) return cannot_save(QStringLiteral("no workbook is open"));
    if (path.isEmpty()) return QStringLiteral("cannot save the workbook: no file name was given");
    if (const QString why = write_workbook(*workbook_, path, replace); !why.isEmpty())
        return cannot_save(why);
    return QString();
}

QString XlsApplication::write_workbook(const xls::Workbook& book, const QString& path,
                                       AtomicFile::Replace replace) const {
    const xls::EncodedBytes file = book.encode();
    if (!file.error.isEmpty()) return file.error;
    return write_file_atomically(path, file.bytes, replace);
}

void XlsApplication::quit() {
    workbook_.reset();
}

SpreadsheetFactory XlsApplication::factory() {
    return [](const QString&) -> StartedSpreadsheet {
        return {std::make_unique<XlsApplication>(), QString()};
    };
}
