// SPDX-License-Identifier: MIT
#pragma once
// A spreadsheet application for tests of the program's logic: it records the
// calls it gets and the cells typed into it, and fails at whichever step (and
// which call of that step) the test chooses, with the error text the test
// gives. It keeps the row and column limits of the real workbook.
//
//   auto script = std::make_shared<SpreadsheetScript>();
//   script->fail_step = SpreadsheetStep::save_as;
//   script->fail_on_call = 2;            // the second save fails
//   SpreadsheetFactory factory = scripted_spreadsheet(script);

#include "workbook/spreadsheet.h"

#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

enum class SpreadsheetStep {
    create,
    add_workbook,
    active_sheet,
    set_cell,
    set_font_colour,
    save_as
};

struct SpreadsheetScript {
    using Position = std::pair<int, int>; // row, column from 1

    std::optional<SpreadsheetStep> fail_step;
    int fail_on_call = 1;      // 1: the first call of fail_step fails
    bool keep_failing = false; // and every later call of it too
    QString failure = QStringLiteral("scripted failure");

    // What the program did.
    QStringList calls;                 // e.g. "set_cell(3,2,.50)"
    std::map<Position, QString> cells; // the text as typed
    std::map<Position, quint32> colours;
    struct Save {
        QString path;
        std::map<Position, QString> cells;
    };
    std::vector<Save> saves;
    bool quit = false;

    int calls_of(SpreadsheetStep step) const {
        const auto it = counts.find(step);
        return it == counts.end() ? 0 : it->second;
    }

    // Counts a call of step; true when the script makes it fail.
    bool fails(SpreadsheetStep step) {
        const int n = ++counts[step];
        return fail_step == step && (n == fail_on_call || (keep_failing && n > fail_on_call));
    }

    std::map<SpreadsheetStep, int> counts; // calls per step so far
};

class ScriptedSheet final : public SpreadsheetSheet {
  public:
    explicit ScriptedSheet(std::shared_ptr<SpreadsheetScript> script)
        : script_(std::move(script)) {}

    spreadsheet::CellTyping set_cell(int row, int col, const QString& typed_text) override {
        script_->calls << QStringLiteral("set_cell(%1,%2,%3)").arg(row).arg(col).arg(typed_text);
        if (QString why = check(SpreadsheetStep::set_cell, row, col); !why.isEmpty())
            return {why, false};
        script_->cells[{row, col}] = typed_text;
        return {QString(), typed_text.size() > spreadsheet::max_cell_text};
    }
    QString set_font_colour(int row, int col, quint32 colour) override {
        script_->calls << QStringLiteral("set_font_colour(%1,%2,0x%3)")
                              .arg(row)
                              .arg(col)
                              .arg(colour, 8, 16, QLatin1Char('0'));
        if (QString why = check(SpreadsheetStep::set_font_colour, row, col); !why.isEmpty())
            return why;
        script_->colours[{row, col}] = colour;
        return QString();
    }

  private:
    QString check(SpreadsheetStep step, int row, int col) {
        if (script_->fails(step)) return script_->failure;
        if (row > spreadsheet::max_rows) return QStringLiteral("the sheet is full");
        if (row < 1 || col < 1 || col > spreadsheet::max_columns)
            return QStringLiteral("no such cell");
        return QString();
    }

    std::shared_ptr<SpreadsheetScript> script_;
};

class ScriptedSpreadsheet final : public SpreadsheetApp {
  public:
    explicit ScriptedSpreadsheet(std::shared_ptr<SpreadsheetScript> script)
        : script_(std::move(script)) {}

    QString add_workbook() override {
        script_->calls << QStringLiteral("add_workbook()");
        if (script_->fails(SpreadsheetStep::add_workbook)) return script_->failure;
        sheet_ = std::make_unique<ScriptedSheet>(script_);
        script_->cells.clear(); // a new workbook starts empty
        script_->colours.clear();
        return QString();
    }
    SpreadsheetSheet* active_sheet() override {
        script_->calls << QStringLiteral("active_sheet()");
        if (script_->fails(SpreadsheetStep::active_sheet)) return nullptr;
        return sheet_.get();
    }
    QString save_as(const QString& path) override {
        script_->calls << QStringLiteral("save_as(%1)").arg(path);
        if (script_->fails(SpreadsheetStep::save_as)) return script_->failure;
        script_->saves.push_back({path, script_->cells});
        return QString();
    }
    QString save_as_new(const QString& path) override { return save_as(path); }
    void quit() override {
        script_->calls << QStringLiteral("quit()");
        script_->quit = true;
        sheet_.reset();
    }

  private:
    std::shared_ptr<SpreadsheetScript> script_;
    std::unique_ptr<ScriptedSheet> sheet_;
};

inline SpreadsheetFactory scripted_spreadsheet(std::shared_ptr<SpreadsheetScript> script) {
    return [script](const QString&) -> StartedSpreadsheet {
        script->calls << QStringLiteral("create()");
        if (script->fails(SpreadsheetStep::create)) return {nullptr, script->failure};
        return {std::make_unique<ScriptedSpreadsheet>(script), QString()};
    };
}
