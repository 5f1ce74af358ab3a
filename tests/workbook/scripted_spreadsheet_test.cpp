// SPDX-License-Identifier: MIT
// The scripted spreadsheet that tests of the program's logic use.

#include "../support/scripted_spreadsheet.h"

#include <gtest/gtest.h>

TEST(ScriptedSpreadsheet, FailsAtTheChosenCallAndRecordsWhatWasWritten) {
    auto script = std::make_shared<SpreadsheetScript>();
    script->fail_step = SpreadsheetStep::save_as;
    script->fail_on_call = 2;
    script->failure = QStringLiteral("disk full");

    auto app = scripted_spreadsheet(script)(QString()).app;
    ASSERT_NE(app, nullptr);
    ASSERT_EQ(app->add_workbook(), QString());
    SpreadsheetSheet* sheet = app->active_sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->set_cell(3, 2, QStringLiteral(".50")).error, QString());
    EXPECT_EQ(sheet->set_font_colour(3, 2, 255), QString());
    EXPECT_EQ(app->save_as(QStringLiteral("a.xls")), QString());
    EXPECT_EQ(app->save_as(QStringLiteral("a.xls")), QStringLiteral("disk full"));
    EXPECT_EQ(app->save_as(QStringLiteral("a.xls")), QString()) << "only the chosen call fails";
    EXPECT_NE(sheet->set_cell(spreadsheet::max_rows + 1, 1, QStringLiteral("x")).error, QString());

    ASSERT_EQ(script->saves.size(), 2u);
    EXPECT_EQ(script->saves[0].cells.at({3, 2}), QStringLiteral(".50"));
    EXPECT_EQ(script->colours.at({3, 2}), 255u);
    EXPECT_EQ(script->calls_of(SpreadsheetStep::save_as), 3);
    EXPECT_EQ(script->calls.first(), QStringLiteral("create()"));
}

TEST(ScriptedSpreadsheet, CanRefuseToStart) {
    auto script = std::make_shared<SpreadsheetScript>();
    script->fail_step = SpreadsheetStep::create;
    script->failure = QStringLiteral("no spreadsheet application");
    const StartedSpreadsheet started = scripted_spreadsheet(script)(QString());
    EXPECT_EQ(started.app, nullptr);
    EXPECT_EQ(started.error, QStringLiteral("no spreadsheet application"));
}
