// SPDX-License-Identifier: MIT
#pragma once
// The program writes its results into a spreadsheet through this small
// interface, shaped like the automation calls of a spreadsheet application:
// start the application, add a workbook, take its active sheet, type text into
// cells, colour their font, save the workbook under a path, quit. The real
// implementation (XlsApplication) keeps the sheet in memory and writes an
// Excel 97-2003 workbook, or an Excel 2007 one or CSV text (XlsxApplication,
// CsvApplication); tests put in an application that fails wherever they want.
//
// Every call that can fail returns a sentence fit for the status bar, empty
// when it did what was asked (set_cell: with whether it cut the text): what
// failed and why. The caller names
// the file, as it knows which of its files the user should read of.

#include "platform/colour.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace spreadsheet {
// The largest sheet a workbook can hold.
inline constexpr int max_rows = 65536;
inline constexpr int max_columns = 256;
// Longer text is cut to this many UTF-16 units when it is typed into a cell.
inline constexpr int max_cell_text = 32767;
// The program's colour for "the system's window text colour", i.e. automatic.
inline constexpr quint32 window_text_colour = colours::window_text;

// A cell as the program types it: the text, and the font colour when it sets one.
struct TypedCell {
    int col = 0; // from 1
    QString text;
    std::optional<quint32> colour;
};
using TypedRow = std::vector<TypedCell>;

// What typing into a cell did: why it failed, empty when it did what was
// asked, and whether the text had to be cut to max_cell_text units (the
// caller tells the user).
struct CellTyping {
    QString error;
    bool cut = false;
};

// A cell's value as it is stored, not as it was typed.
struct CellValue {
    enum class Kind : quint8 { empty, text, number };
    Kind kind = Kind::empty;
    QString text;
    double number = 0;
    bool two_decimals = false; // a number shown as "0.00", else as "General"
};

// A cell read back from a workbook file, with its font colour as the program
// gives colours (0x00BBGGRR, or window_text_colour for automatic).
struct StoredCell {
    int row = 0; // from 1
    int col = 0; // from 1
    CellValue value;
    quint32 colour = window_text_colour;
};
// The first sheet of a workbook file, as read back: every cell that holds a
// value or a font colour, row by row.
struct StoredSheet {
    std::vector<StoredCell> cells;
    int last_row = 0; // 0 when the sheet is empty
};
struct SheetReading {
    StoredSheet sheet;
    QString error; // empty on success
};
// How far a reading got, in percent; called often enough (every 50 ms at
// least while it waits) for the window to repaint meanwhile.
using ReadProgress = std::function<void(int percent)>;
// Reads back the first sheet of the workbook at `path`; the reason when the
// file cannot be read back whole (every cell's value, type and colour), so
// that writing it anew would lose nothing.
using SheetReader = std::function<SheetReading(const QString& path, const ReadProgress& progress)>;
} // namespace spreadsheet

class SpreadsheetSheet {
  public:
    virtual ~SpreadsheetSheet();

    // Types text into a cell, as a user would: text that reads as a number
    // becomes a number, a leading apostrophe keeps it text. Rows and columns
    // count from 1. Empty text clears the cell's value.
    // Says why it failed, or whether it cut the text.
    virtual spreadsheet::CellTyping set_cell(int row, int col, const QString& typed_text) = 0;
    // Colour as 0x00BBGGRR, or a system colour with the top bit set
    // (spreadsheet::window_text_colour means automatic).
    virtual QString set_font_colour(int row, int col, quint32 colour) = 0;
    // Puts a stored value into a cell as it is, untyped: how a workbook read
    // back from its file is filled again. A sheet that cannot take stored
    // values says so.
    virtual QString put_cell(int row, int col, const spreadsheet::CellValue& value);
};

class SpreadsheetApp {
  public:
    virtual ~SpreadsheetApp();

    // Each call but active_sheet returns why it failed, empty when it did
    // what was asked.
    virtual QString add_workbook() = 0;
    // The sheet of the workbook added last; nullptr when there is none. The
    // pointer stays valid until the next add_workbook() or quit().
    virtual SpreadsheetSheet* active_sheet() = 0;
    // Writes the whole workbook; atomic, and may be repeated on the same path.
    virtual QString save_as(const QString& path) = 0;
    // Writes the whole workbook to a new file, atomically; fails ("File
    // exists") when a file has that name, however closely another program
    // came before.
    virtual QString save_as_new(const QString& path) = 0;
    // Closes the workbook without saving.
    virtual void quit() = 0;
};

struct StartedSpreadsheet {
    std::unique_ptr<SpreadsheetApp> app; // nullptr on failure
    QString error;                       // why it did not start; may be empty
};
// Starts a spreadsheet application for the workbook file `book`, whose name
// says its format.
using SpreadsheetFactory = std::function<StartedSpreadsheet(const QString& book)>;
