// SPDX-License-Identifier: MIT
#pragma once
// The open workbook and everything this window knows of it: the spreadsheet
// application that holds its rows, its file, the next row, the file as this
// window last wrote it, the rows typed but not saved yet and the rows saved
// since the file was last read back. One `save` serves each row, "new" and
// closing; one `rescue` keeps rows the file cannot take in a recovery
// workbook, each row once.
//
// The file is shared with other windows and other programs. A save runs
// under the lock on the file's folder (platform/folder_lock) and compares
// the file with what this window last wrote. When another writer changed it,
// the file is read back once: the rows this window saved there and no longer
// finds go to a recovery workbook, and the rows not saved yet go after the
// rows read back. A changed file that cannot be read back is never written
// over.

#include "form/reporter.h"
#include "platform/file_identity.h"
#include "workbook/spreadsheet.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class WorkbookSession : public QObject {
    Q_OBJECT
  public:
    // `spreadsheets` makes the application for a workbook's format; it must
    // outlive the session (the window's own factory, which tests replace).
    WorkbookSession(const SpreadsheetFactory& spreadsheets, QObject* parent);
    ~WorkbookSession() override;
    // A read back that takes more than half a second shows how far it got in
    // the status bar of `status` (form/long_work.h); without it, nowhere.
    void show_read_back_progress(const Reporter& status) { status_ = status; }

    std::unique_ptr<SpreadsheetApp> xl_app;        // the application of the open workbook
    QString xl_book;                               // the open workbook's file
    qint32 xl_row = 0;                             // next sheet row to write
    quint8 xl_open = 0;                            // 1 while a workbook is open
    FileIdentity xl_written;                       // the file as this window last wrote it
    std::vector<spreadsheet::TypedRow> xl_pending; // typed, not saved yet (kept as typed)

    // Starts a new workbook holding the banner and the header and saves it as
    // `book`, replacing the open one (which must be closed first). Why it
    // could not, without the file's name; empty when it did.
    QString start(const QString& book);

    struct Typed {
        int row = 0;      // the sheet row it went to
        QString error;    // why it did not go in whole; empty when it did
        bool cut = false; // a text was cut to fit its cell
    };
    // Types a result row into the next row and keeps it to be saved. On
    // failure the row number stays, so the next try fills the same row.
    Typed type_next_row(const spreadsheet::TypedRow& cells);

    struct Save {
        QString error;           // why the file did not take the rows, without its name
        bool taken_over = false; // changed by another writer so that it cannot be read back
        bool read_back = false;  // another writer's rows were read back first
        // Rows this window had saved there that the changed file no longer
        // held: kept in this recovery workbook (when they could be kept
        // nowhere, the save fails as taken over).
        int rescued_rows = 0;
        QString rescued_to{};
    };
    // Saves the open workbook: lock, one look at the file, read back when it
    // changed (once per version of the file), write, unlock. A file that
    // changed while every row was saved is left to the other writer, after
    // checking that it still holds this window's rows.
    Save save();

    struct Rescue {
        QString path;         // where the rows are kept
        QString error{};      // why they could not be; empty when kept
        bool earlier = false; // no row was new: `path` holds them since an earlier rescue
    };
    // Keeps the rows not saved yet, and those saved since the file was last
    // read back, in a new recovery workbook; rows rescued before are not
    // written again. An empty path and error: there was no row to keep.
    Rescue rescue();

    // Drops the open workbook without saving: the file keeps its last save.
    void close();

    struct WrittenRow {
        QString book; // the workbook it was saved in
        int row = 0;  // its sheet row when it was saved
        spreadsheet::TypedRow cells;
    };
    // Every row this window saved in this run, in the order saved.
    const std::vector<WrittenRow>& written_rows() const { return written_; }

  signals:
    // A row was saved in its workbook's file (also the rows a failed save
    // had kept, when a later save takes them). Sent while the folder is
    // still locked: a receiver takes note and returns.
    void row_saved(const WorkbookSession::WrittenRow& row);
    // Rows were kept in a recovery workbook at `path`.
    void rows_rescued(const QString& path);

  private:
    struct Unreadable {
        FileIdentity file;
        QString why;
    };
    Save take_changed_file(const FileIdentity& now);
    QString write_file();
    std::vector<spreadsheet::TypedRow> rows_at_risk() const;
    Rescue rescue_rows(const std::vector<spreadsheet::TypedRow>& rows);

    const SpreadsheetFactory& spreadsheets_;
    std::optional<Reporter> status_;
    // Saved since the file was last read back: in the file as this window
    // wrote it, and nowhere else on disk.
    std::vector<spreadsheet::TypedRow> unconfirmed_;
    std::vector<int> pending_numbers_; // the sheet row of each pending row
    std::size_t rescued_ = 0;          // how many of unconfirmed_ then xl_pending are rescued
    QString last_rescue_;              // where they went
    Unreadable unreadable_;            // the last version of the file that could not be read
    std::vector<WrittenRow> written_;
};
