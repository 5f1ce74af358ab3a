// SPDX-License-Identifier: MIT
#include "output/workbook_session.h"

#include "form/long_work.h"
#include "output/workbook_file.h"
#include "output/workbook_recovery.h"
#include "platform/folder_lock.h"
#include "workbook/spreadsheet_readers.h"

#include <QFileInfo>

namespace {

constexpr int first_result_row = 3;

// Why the spreadsheet application did not start: never empty, as the
// messages that show it put it in brackets or after a colon.
QString not_started(const StartedSpreadsheet& started) {
    return started.error.isEmpty() ? QStringLiteral("the spreadsheet application did not start")
                                   : started.error;
}

} // namespace

WorkbookSession::WorkbookSession(const SpreadsheetFactory& spreadsheets, QObject* parent)
    : QObject(parent), spreadsheets_(spreadsheets) {}

WorkbookSession::~WorkbookSession() = default;

QString WorkbookSession::start(const QString& book) {
    StartedSpreadsheet started = spreadsheets_ ? spreadsheets_(book) : StartedSpreadsheet{};
    std::unique_ptr<SpreadsheetApp> app = std::move(started.app);
    if (!app) return not_started(started);
    if (const QString why = app->add_workbook(); !why.isEmpty()) return why;
    SpreadsheetSheet* sheet = app->active_sheet();
    if (!sheet) return QStringLiteral("the spreadsheet application has no sheet");
    if (const QString why = write_banner_and_header(*sheet); !why.isEmpty()) return why;
    // A new workbook replaces the file (the dialog asked), in turn with
    // other windows saving there.
    const FolderLock lock(book);
    if (!lock.error().isEmpty()) return lock.error();
    if (const QString why = app->save_as(book); !why.isEmpty()) return why;

    close();
    xl_written = file_identity(book);
    xl_book = book;
    xl_app = std::move(app);
    xl_row = first_result_row;
    xl_open = 1;
    return QString();
}

WorkbookSession::Typed WorkbookSession::type_next_row(const spreadsheet::TypedRow& cells) {
    const int row = xl_row;
    SpreadsheetSheet* sheet = xl_app ? xl_app->active_sheet() : nullptr;
    if (!sheet) return {row, QStringLiteral("the spreadsheet application has no sheet")};
    const TypedRowResult typed = type_row(*sheet, row, cells);
    if (!typed.error.isEmpty()) return {row, typed.error, typed.cut};
    xl_pending.push_back(cells);
    pending_numbers_.push_back(row);
    xl_row = row + 1;
    return {row, QString(), typed.cut};
}

WorkbookSession::Save WorkbookSession::save() {
    if (xl_open == 0 || !xl_app) return {};
    // Another window may save this workbook too: the file is looked at,
    // read back and written while the folder is locked.
    const FolderLock lock(xl_book);
    if (!lock.error().isEmpty()) return {lock.error()};
    Save saved;
    if (const FileIdentity now = file_identity(xl_book); now.exists && now != xl_written) {
        saved = take_changed_file(now);
        if (!saved.error.isEmpty() || !saved.read_back) return saved;
    }
    saved.error = write_file();
    return saved;
}

// Another writer changed the file: what it holds now is read back (once for
// each version of the file, so a file that cannot be read costs one try).
WorkbookSession::Save WorkbookSession::take_changed_file(const FileIdentity& now) {
    if (unreadable_.file.exists && now == unreadable_.file) return {unreadable_.why, true};
    const auto unreadable = [&](const QString& why) {
        unreadable_ = {now, why};
        return Save{why, true};
    };
    const spreadsheet::SheetReader reader = sheet_reader_for(xl_book);
    if (!reader) return unreadable(QStringLiteral("kelvo cannot read this kind of workbook back"));
    std::optional<LongWork> work;
    if (status_)
        work.emplace(*status_,
                     QStringLiteral("Reading back %1").arg(QFileInfo(xl_book).fileName()));
    const spreadsheet::SheetReading read = reader(xl_book, [&work](int percent) {
        if (work) work->progress(percent, 100);
    });
    work.reset();
    if (!read.error.isEmpty()) return unreadable(read.error);
    const spreadsheet::StoredSheet& stored = read.sheet;
    if (!is_results_sheet(stored))
        return unreadable(
            QStringLiteral("its first sheet does not begin with kelvo's banner and header"));

    // Rows this window saved there and the file no longer holds (another
    // window chose the same name for a new workbook): they are not written
    // over the other writer's file, and not dropped either.
    Save saved;
    std::vector<spreadsheet::TypedRow> lost;
    for (const std::size_t i : rows_missing(stored, unconfirmed_))
        if (i >= rescued_) lost.push_back(unconfirmed_[i]);
    if (!lost.empty()) {
        const Rescue kept = rescue_rows(lost);
        saved.rescued_rows = int(lost.size());
        saved.rescued_to = kept.path;
        if (!kept.error.isEmpty()) {
            saved.error =
                QStringLiteral("another writer replaced it without %1 row(s) this window "
                               "had saved there, and they could not be kept elsewhere (%2)")
                    .arg(lost.size())
                    .arg(kept.error);
            saved.taken_over = true;
            return saved;
        }
    }
    // The file holds the rest, and the recovery workbook the others.
    rescued_ = rescued_ > unconfirmed_.size() ? rescued_ - unconfirmed_.size() : 0;
    unconfirmed_.clear();
    // Every row is saved: the file is the other writer's now.
    if (xl_pending.empty()) return saved;

    // Into a new workbook, so that a failure half-way leaves the open one whole.
    StartedSpreadsheet started = spreadsheets_ ? spreadsheets_(xl_book) : StartedSpreadsheet{};
    std::unique_ptr<SpreadsheetApp> app = std::move(started.app);
    if (!app) return {not_started(started), true};
    if (const QString why = app->add_workbook(); !why.isEmpty()) return {why, true};
    SpreadsheetSheet* sheet = app->active_sheet();
    if (!sheet) return {QStringLiteral("the spreadsheet application has no sheet"), true};
    const Refilled refilled = refill(*sheet, stored, xl_pending);
    if (!refilled.error.isEmpty()) return {refilled.error, true};
    xl_app->quit();
    xl_app = std::move(app);
    xl_row = refilled.next_row;
    for (std::size_t k = 0; k < pending_numbers_.size(); ++k)
        pending_numbers_[k] = stored.last_row + 1 + int(k);
    xl_written = now;
    saved.read_back = true;
    return saved;
}

QString WorkbookSession::write_file() {
    if (const QString why = xl_app->save_as(xl_book); !why.isEmpty()) return why;
    // Nobody else writes the file while the folder is locked: what is there
    // now is what this window wrote.
    xl_written = file_identity(xl_book);
    for (std::size_t k = 0; k < xl_pending.size(); ++k) {
        written_.push_back({xl_book, pending_numbers_[k], xl_pending[k]});
        emit row_saved(written_.back());
    }
    unconfirmed_.insert(unconfirmed_.end(), xl_pending.begin(), xl_pending.end());
    xl_pending.clear();
    pending_numbers_.clear();
    return QString();
}

std::vector<spreadsheet::TypedRow> WorkbookSession::rows_at_risk() const {
    std::vector<spreadsheet::TypedRow> rows = unconfirmed_;
    rows.insert(rows.end(), xl_pending.begin(), xl_pending.end());
    rows.erase(rows.begin(), rows.begin() + qsizetype(std::min(rescued_, rows.size())));
    return rows;
}

WorkbookSession::Rescue WorkbookSession::rescue() {
    const std::vector<spreadsheet::TypedRow> rows = rows_at_risk();
    if (rows.empty()) return {last_rescue_, QString(), !last_rescue_.isEmpty()};
    const Rescue kept = rescue_rows(rows);
    if (kept.error.isEmpty()) rescued_ = unconfirmed_.size() + xl_pending.size();
    return kept;
}

WorkbookSession::Rescue
WorkbookSession::rescue_rows(const std::vector<spreadsheet::TypedRow>& rows) {
    const RecoveryWorkbook kept = save_recovery_workbook(spreadsheets_, xl_book, rows);
    if (!kept.error.isEmpty()) return {QString(), kept.error};
    last_rescue_ = kept.path;
    emit rows_rescued(kept.path);
    return {kept.path, QString()};
}

void WorkbookSession::close() {
    if (xl_app) xl_app->quit();
    xl_app.reset();
    xl_open = 0;
    xl_pending.clear();
    pending_numbers_.clear();
    unconfirmed_.clear();
    rescued_ = 0;
    last_rescue_.clear();
    unreadable_ = {};
}
