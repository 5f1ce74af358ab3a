// SPDX-License-Identifier: MIT
// The scripted spreadsheet that tests of the program's logic use.

#include "../support/scripted_spreadsheet.h"

#include <gtest/gtest.h>

TEST(ScriptedSpreadsheet, FailsAtTheChosenCallAndRecordsWhatWasWritten) {
    auto script = std::make_shared<SpreadsheetScript>();
    script->fail_step = SpreadsheetStep::save_as;
    script->fail_on_call = 2;
    script->failure = QStringLiteral("disk full");

    QString error;
    auto app = scripted_spreadsheet(script)(QString(), &error);
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->add_workbook());
    SpreadsheetSheet* sheet = app->active_sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->set_cell(3, 2, QStringLiteral(".50")));
    EXPECT_TRUE(sheet->set_font_colour(3, 2, 255));
    EXPECT_TRUE(app->save_as(QStringLiteral("a.xls")));
    EXPECT_FALSE(app->save_as(QStringLiteral("a.xls")));
    EXPECT_EQ(app->error(), QStringLiteral("disk full"));
    EXPECT_TRUE(app->save_as(QStringLiteral("a.xls"))) << "only the chosen call fails";
    EXPECT_FALSE(sheet->set_cell(spreadsheet::max_rows + 1, 1, QStringLiteral("x")));

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
    QString error;
    EXPECT_EQ(scripted_spreadsheet(script)(QString(), &error), nullptr);
    EXPECT_EQ(error, QStringLiteral("no spreadsheet application"));
}
