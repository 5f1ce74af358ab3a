// SPDX-License-Identifier: MIT
// Result rows in the workbook, read back with an independent reader (xlrd).

#include "form/measure_room.h"
#include "form/output_room.h"
#include "kelvo_fixture.h"
#include "scripted_spreadsheet.h"
#include "test_files.h"
#include "xls_readback.h"

#include "measure/modes.h"
#include "measure/result_panel.h"
#include "measure/trace_colours.h"
#include "output/spreadsheet_export.h"
#include "output/workbook_recovery.h"
#include "output/workbook_session.h"
#include "platform/atomic_file.h"
#include "platform/user_settings.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

class SpreadsheetExport : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window(QSize(800, 600));
        picture = save_picture_file(test_picture(200, 150), QStringLiteral("picture.bmp"));
        open(picture);
        ASSERT_EQ(f->pic_path, picture);
    }

    // A measured line from (10, 20) to (40, 60): 30, 40, 50 pixels.
    void measure_line() {
        for (QPoint at : {QPoint(10, 20), QPoint(40, 60)}) {
            pointer::move(f->P_in, at);
            pointer::press(f->P_in, Qt::LeftButton, at);
            pointer::release(f->P_in, Qt::LeftButton, at);
        }
        ASSERT_EQ(f->Lb_d->text(), QStringLiteral("50.00"));
    }
    void show_results(const char* x, const char* y, const char* d) {
        f->Lb_x->setText(QLatin1String(x));
        f->Lb_y->setText(QLatin1String(y));
        f->Lb_d->setText(QLatin1String(d));
    }
    void to_excel() { pointer::click(f->Command_excel); }
    void comment(const QString& text) { f->Text_comment->setPlainText(text); }

    static ReadWorkbook read_back(const QString& file) {
        ReadWorkbook book = read_xls(file);
        EXPECT_TRUE(book.ok()) << book.failure.toStdString();
        EXPECT_TRUE(book.problems.isEmpty()) << book.problems.join(u'\n').toStdString();
        return book;
    }
    static QString text_at(const ReadWorkbook& book, int row, int col) {
        const ReadCell* cell = book.at(row, col);
        return cell && cell->type == QLatin1String("text") ? cell->text : QStringLiteral("<none>");
    }
    static double number_at(const ReadWorkbook& book, int row, int col) {
        const ReadCell* cell = book.at(row, col);
        EXPECT_TRUE(cell && cell->type == QLatin1String("number")) << row << "," << col;
        return cell ? cell->number : -1;
    }
    static int last_row(const ReadWorkbook& book) {
        return book.cells.empty() ? 0 : book.cells.rbegin()->first.first;
    }

    bool green() const {
        return f->L_trace_x->colour() == 1179409u && f->L_trace_y->colour() == 2289186u;
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QStringList files_in(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QString picture;
};

TEST_F(SpreadsheetExport, FirstResultAsksForTheWorkbookAndSavesBannerHeaderAndRow) {
    measure_line();
    comment(QStringLiteral("first look"));
    dialogs.answer(path(QStringLiteral("result")));
    to_excel();

    ASSERT_EQ(dialogs.requests.size(), 2u); // the picture, then the workbook
    EXPECT_EQ(dialogs.requests[1].kind, DialogKind::Save);
    EXPECT_EQ(dialogs.requests[1].title, QStringLiteral("Save data file"));
    EXPECT_EQ(dialogs.requests[1].pattern, QStringLiteral("*.xls"));
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_EQ(f->workbook->xl_book, path(QStringLiteral("result.xls")));
    EXPECT_EQ(f->workbook->xl_row, 4);
    EXPECT_TRUE(green());
    EXPECT_TRUE(f->Text_comment->toPlainText().isEmpty()) << "comment lock is off";
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("Row 3 saved")))
        << f->status_text().toStdString();

    // On disk at once, before the workbook is closed.
    const ReadWorkbook book = read_back(path(QStringLiteral("result.xls")));
    EXPECT_EQ(text_at(book, 1, 1), QStringLiteral("- kelvo version 0.02 -"));
    const char* header[] = {"filename", "X", "Y", "D", "comment"};
    for (int col = 1; col <= 5; ++col)
        EXPECT_EQ(text_at(book, 2, col), QLatin1String(header[col - 1])) << col;
    EXPECT_EQ(text_at(book, 3, 1), picture);
    EXPECT_EQ(number_at(book, 3, 2), 30.0);
    EXPECT_EQ(number_at(book, 3, 3), 40.0);
    EXPECT_EQ(number_at(book, 3, 4), 50.0);
    for (int col = 2; col <= 4; ++col) {
        ASSERT_NE(book.at(3, col), nullptr);
        EXPECT_EQ(book.at(3, col)->format, QStringLiteral("0.00")) << col;
    }
    EXPECT_EQ(text_at(book, 3, 5), QStringLiteral("first look"));
    EXPECT_EQ(book.cells.size(), 11u);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("picture.bmp"), QStringLiteral("result.xls")}));
}

TEST_F(SpreadsheetExport, ThreeRowsThenClosingTheWindowGiveRowsOneToFive) {
    dialogs.answer(path(QStringLiteral("three.xls")));
    show_results(".50", "30.00", "-1234.57");
    to_excel();
    show_results("1.00", "2.00", "3.00");
    to_excel();
    // Each row is saved as it is written.
    EXPECT_EQ(last_row(read_back(path(QStringLiteral("three.xls")))), 4);
    show_results("10.25", ".00", "7.75");
    to_excel();
    f->fx->trigger(); // "Exit (&X)"

    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->workbook->xl_open, 0);
    EXPECT_EQ(f->workbook->xl_app, nullptr);
    const ReadWorkbook book = read_back(path(QStringLiteral("three.xls")));
    EXPECT_EQ(last_row(book), 5);
    EXPECT_EQ(number_at(book, 3, 2), 0.5);
    EXPECT_EQ(number_at(book, 3, 3), 30.0);
    EXPECT_EQ(number_at(book, 3, 4), -1234.57);
    EXPECT_EQ(number_at(book, 4, 4), 3.0);
    EXPECT_EQ(number_at(book, 5, 2), 10.25);
    for (int row = 3; row <= 5; ++row)
        EXPECT_EQ(text_at(book, row, 1), picture) << row;
    EXPECT_EQ(dialogs.requests.size(), 2u) << "one name for the whole workbook";
    EXPECT_EQ(files(), (QStringList{QStringLiteral("picture.bmp"), QStringLiteral("three.xls")}));
}

TEST_F(SpreadsheetExport, RedAndBlackMarksBecomeTheCellsFontColours) {
    measure_line();
    pointer::click(f->Lb_x); // marked red
    pointer::click(f->Lb_y);
    pointer::click(f->Lb_y); // and back: black
    ASSERT_EQ(f->Lb_x->fore_colour(), 255u);
    ASSERT_EQ(f->Lb_y->fore_colour(), 0u);
    comment(QStringLiteral("marks"));
    dialogs.answer(path(QStringLiteral("marks.xls")));
    to_excel();

    const ReadWorkbook book = read_back(path(QStringLiteral("marks.xls")));
    ASSERT_NE(book.at(3, 4), nullptr);
    EXPECT_EQ(book.at(3, 2)->colour, QStringLiteral("#FF0000"));
    EXPECT_EQ(book.at(3, 3)->colour, QStringLiteral("#000000"));
    EXPECT_EQ(book.at(3, 4)->colour, QStringLiteral("auto")) << "never clicked: window text";
    EXPECT_EQ(book.at(3, 1)->colour, QStringLiteral("auto"));
    EXPECT_EQ(book.at(3, 5)->colour, QStringLiteral("auto"));
    // The marks stay on the labels for the next row.
    EXPECT_EQ(f->Lb_x->fore_colour(), 255u);
}

TEST_F(SpreadsheetExport, CommentLockKeepsTheCommentAndEmptyCommentsLeaveTheCellEmpty) {
    dialogs.answer(path(QStringLiteral("comments.xls")));
    comment(QStringLiteral("first line\nsecond line"));
    to_excel(); // row 3, lock off: the comment goes
    EXPECT_TRUE(f->Text_comment->toPlainText().isEmpty());
    to_excel(); // row 4, empty comment
    f->Check_lock->setChecked(true);
    comment(QStringLiteral("same for all"));
    to_excel(); // row 5
    to_excel(); // row 6
    EXPECT_EQ(f->Text_comment->toPlainText(), QStringLiteral("same for all"));
    f->Check_lock->setChecked(false);
    to_excel(); // row 7, the kept comment once more, then gone
    EXPECT_TRUE(f->Text_comment->toPlainText().isEmpty());

    comment(QStringLiteral("3.14159"));
    to_excel(); // row 8: a number, shown as typed
    comment(QStringLiteral("007"));
    to_excel(); // row 9: text, or the cell would show 7

    const ReadWorkbook book = read_back(path(QStringLiteral("comments.xls")));
    EXPECT_EQ(number_at(book, 8, 5), 3.14159);
    EXPECT_EQ(book.at(8, 5)->format, QStringLiteral("General"));
    EXPECT_EQ(text_at(book, 9, 5), QStringLiteral("007"));
    EXPECT_EQ(text_at(book, 3, 5), QStringLiteral("first line\nsecond line"));
    EXPECT_TRUE(book.at(3, 5)->wrap) << "a comment with line breaks wraps";
    EXPECT_EQ(book.at(4, 5), nullptr);
    EXPECT_NE(book.at(4, 4), nullptr);
    for (int row : {5, 6, 7})
        EXPECT_EQ(text_at(book, row, 5), QStringLiteral("same for all"));
    EXPECT_FALSE(book.at(5, 5)->wrap);
}

TEST_F(SpreadsheetExport, TooLongACommentIsCutToTheCellLimitAndTheStatusBarSaysSo) {
    const QString long_comment = QString(40000, u'c');
    comment(long_comment);
    dialogs.answer(path(QStringLiteral("long.xls")));
    to_excel();

    EXPECT_TRUE(green()) << "the row was written";
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("32767")))
        << f->status_text().toStdString();
    const ReadWorkbook book = read_back(path(QStringLiteral("long.xls")));
    EXPECT_EQ(text_at(book, 3, 5), long_comment.left(32767));
}

TEST_F(SpreadsheetExport, ALoneSurrogateInTheCommentBecomesAReplacementCharacter) {
    comment(QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") +
            QString::fromUtf8("\U0001F600"));
    dialogs.answer(path(QStringLiteral("odd.xls")));
    to_excel();

    EXPECT_TRUE(green()) << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("replaced")))
        << f->status_text().toStdString();
    const ReadWorkbook book = read_back(path(QStringLiteral("odd.xls")));
    EXPECT_EQ(text_at(book, 3, 5), QString::fromUtf8("a\uFFFDb\U0001F600")) << "pairs stay";
}

TEST_F(SpreadsheetExport, TheChosenEntrysExtensionIsAddedOnlyWhenTheNameHasNoneOfTheThree) {
    const struct {
        const char* typed;
        int entry;
        const char* file;
    } names[] = {{"result", 0, "result.xls"}, {"RESULT.XLS", 0, "RESULT.XLS"},
                 {"a.Xls", 2, "a.Xls"},       {"book.xlsx", 0, "book.xlsx"},
                 {"book", 1, "book.xlsx"},    {"table", 2, "table.csv"}};
    for (const auto& name : names) {
        dialogs.answer(path(QLatin1String(name.typed)), name.entry);
        pointer::click(f->Command_new);
        EXPECT_EQ(f->workbook->xl_book, path(QLatin1String(name.file))) << name.typed;
    }
    const auto& more = dialogs.requests.back().more_saves;
    ASSERT_EQ(more.size(), 2u);
    EXPECT_EQ(more[0].label + more[1].label,
              QStringLiteral("Excel workbook (*.xlsx)CSV, comma-separated (*.csv)"));
    f->close();
    for (const auto& name : names) {
        const ReadWorkbook book = read_back(path(QLatin1String(name.file)));
        EXPECT_EQ(text_at(book, 3, 1), picture) << name.file;
    }
}

TEST_F(SpreadsheetExport, WithoutAPictureToExcelDoesNothingButNewStartsAnEmptyWorkbook) {
    f->pic_path.clear(); // as before the first picture
    to_excel();
    f->Command_excel->setFocus();
    QTest::keyClick(f->Command_excel, Qt::Key_Return);
    EXPECT_EQ(dialogs.requests.size(), 1u) << "no dialog without a picture";
    EXPECT_EQ(f->workbook->xl_open, 0);

    dialogs.answer(path(QStringLiteral("empty.xls")));
    pointer::click(f->Command_new);
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_EQ(f->workbook->xl_row, 3);
    ReadWorkbook book = read_back(path(QStringLiteral("empty.xls")));
    EXPECT_EQ(book.cells.size(), 6u) << "banner and header only";
    EXPECT_EQ(last_row(book), 2);

    open(picture);
    to_excel();
    EXPECT_EQ(dialogs.requests.size(), 3u) << "the workbook is open already";
    book = read_back(path(QStringLiteral("empty.xls")));
    EXPECT_EQ(text_at(book, 3, 1), picture);
    EXPECT_EQ(last_row(book), 3);
}

TEST_F(SpreadsheetExport, EnterOnToExcelWritesARowAndOtherKeysDoNot) {
    measure_line();
    ASSERT_EQ(f->focusWidget(), f->Command_excel) << "measuring hands the focus on";
    dialogs.answer(path(QStringLiteral("keys.xls")));
    QTest::keyClick(f->Command_excel, Qt::Key_Return);
    EXPECT_EQ(f->workbook->xl_row, 4);
    EXPECT_TRUE(green());

    // M is also the magnifier's key (in an active window), and Escape cancels a line.
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    for (Qt::Key key : {Qt::Key_M, Qt::Key_A, Qt::Key_5, Qt::Key_Escape, Qt::Key_Period})
        QTest::keyClick(f->Command_excel, key);
    EXPECT_EQ(f->workbook->xl_row, 4);
    EXPECT_EQ(f->Text_comment->toPlainText(), QStringLiteral("ma5."))
        << "typed letters are the comment";
    EXPECT_EQ(f->focusWidget(), f->Command_excel) << "so Enter after typing writes the row";

    QTest::keyClick(f->Command_excel, Qt::Key_Enter); // the keypad's Enter
    EXPECT_EQ(f->workbook->xl_row, 5);
    const ReadWorkbook book = read_back(path(QStringLiteral("keys.xls")));
    EXPECT_EQ(text_at(book, 4, 5), QStringLiteral("ma5."));
}

TEST_F(SpreadsheetExport, AKeyHeldOnToExcelWritesOneRow) {
    dialogs.answer(path(QStringLiteral("held.xls")));
    f->Command_excel->setFocus();
    // As X11 delivers a held key: repeats Qt marks, and release-press pairs it
    // does not, whose press carries the release's timestamp.
    const struct {
        QEvent::Type type;
        Qt::Key key;
        bool marked;
        ulong at;
    } held[] = {{QEvent::KeyPress, Qt::Key_Return, false, 100},
                {QEvent::KeyPress, Qt::Key_Return, true, 700},
                {QEvent::KeyRelease, Qt::Key_Return, false, 740},
                {QEvent::KeyPress, Qt::Key_Return, false, 740},
                {QEvent::KeyRelease, Qt::Key_Return, false, 900},
                {QEvent::KeyPress, Qt::Key_Space, false, 1000},
                {QEvent::KeyRelease, Qt::Key_Space, false, 1600},
                {QEvent::KeyPress, Qt::Key_Space, false, 1600},
                {QEvent::KeyRelease, Qt::Key_Space, false, 1640},
                {QEvent::KeyPress, Qt::Key_Space, false, 1640},
                {QEvent::KeyRelease, Qt::Key_Space, false, 1800}};
    for (const auto& e : held) {
        QKeyEvent event(e.type, e.key, Qt::NoModifier,
                        e.key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"),
                        e.marked);
        event.setTimestamp(e.at);
        QApplication::sendEvent(f->Command_excel, &event);
    }
    EXPECT_EQ(f->workbook->xl_row, 5) << "one row for Enter, one for Space";
}

TEST_F(SpreadsheetExport, AnExistingWorkbookChosenIsReplacedAndLeftOversOfOursRemoved) {
    const QString file = path(QStringLiteral("old.xls"));
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("rows of another day");
    }
    // What a save killed half-way leaves beside the workbook, and a file
    // that only looks alike.
    const QString leftover = path(AtomicFile::temp_prefix + QStringLiteral("a1B2c3"));
    const QString stranger = path(QStringLiteral("old.xls.kelvo-tmp-notes"));
    for (const QString& name : {leftover, stranger}) {
        QFile touch(name);
        ASSERT_TRUE(touch.open(QIODevice::WriteOnly));
    }

    dialogs.answer(file);
    to_excel();
    const ReadWorkbook book = read_back(file);
    EXPECT_EQ(last_row(book), 3);
    EXPECT_EQ(text_at(book, 3, 1), picture);
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_TRUE(QFileInfo::exists(stranger)) << "only our own temporary files go";
}

TEST_F(SpreadsheetExport, CancelledNameDialogsChangeNothing) {
    dialogs.cancel();
    to_excel();
    EXPECT_EQ(f->workbook->xl_open, 0);
    EXPECT_FALSE(green());

    dialogs.answer(path(QStringLiteral("kept.xls")));
    to_excel();
    dialogs.cancel();
    pointer::click(f->Command_new);
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_EQ(f->workbook->xl_book, path(QStringLiteral("kept.xls")));
    EXPECT_EQ(f->workbook->xl_row, 4);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("kept.xls"), QStringLiteral("picture.bmp")}));
}

TEST_F(SpreadsheetExport, NewClosesTheOpenWorkbookAndStartsTheNextWithTheCurrentResult) {
    dialogs.answer(path(QStringLiteral("first.xls")));
    show_results("1.00", "2.00", "3.00");
    to_excel();
    show_results("4.00", "5.00", "6.00");
    dialogs.answer(path(QStringLiteral("second.xls")));
    pointer::click(f->Command_new);

    EXPECT_EQ(f->workbook->xl_book, path(QStringLiteral("second.xls")));
    EXPECT_EQ(f->workbook->xl_row, 4);
    const ReadWorkbook first = read_back(path(QStringLiteral("first.xls")));
    EXPECT_EQ(last_row(first), 3);
    EXPECT_EQ(number_at(first, 3, 2), 1.0);
    const ReadWorkbook second = read_back(path(QStringLiteral("second.xls")));
    EXPECT_EQ(last_row(second), 3);
    EXPECT_EQ(number_at(second, 3, 2), 4.0);
}

TEST_F(SpreadsheetExport, AFolderThatVanishesKeepsRowsInMemoryUntilASaveSucceeds) {
    const QString folder = path(QStringLiteral("stick"));
    const QString away = path(QStringLiteral("stick-unplugged"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + QStringLiteral("/rows.xls");
    dialogs.answer(file);
    show_results("1.00", "1.00", "1.00");
    to_excel();
    ASSERT_TRUE(green());

    ASSERT_TRUE(QDir().rename(folder, away));
    set_trace_red(f->measure_room());
    show_results("2.00", "2.00", "2.00");
    to_excel();
    EXPECT_FALSE(green());
    EXPECT_TRUE(f->status_text().contains(file)) << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("No such file or directory")))
        << f->status_text().toStdString();
    EXPECT_EQ(f->workbook->xl_row, 5) << "the row is in the workbook, waiting for the next save";

    ASSERT_TRUE(QDir().rename(away, folder));
    EXPECT_EQ(last_row(read_back(file)), 3) << "the failed save left the last good file";
    show_results("3.00", "3.00", "3.00");
    to_excel();
    EXPECT_TRUE(green());
    const ReadWorkbook book = read_back(file);
    EXPECT_EQ(last_row(book), 5);
    for (int row = 3; row <= 5; ++row)
        EXPECT_EQ(number_at(book, row, 2), row - 2.0);
}

TEST_F(SpreadsheetExport, AReadOnlyFolderIsReportedAndNothingIsLostOnceItIsWritable) {
    const QString folder = path(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + QStringLiteral("/rows.xls");
    dialogs.answer(file);
    to_excel();
    ReadOnlyFolder locked(folder);
    if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
    set_trace_red(f->measure_room());
    to_excel();
    EXPECT_FALSE(green());
    EXPECT_TRUE(f->status_text().contains(file)) << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(locked.reason())) << f->status_text().toStdString();
    EXPECT_EQ(last_row(read_back(file)), 3) << "the workbook on disk stays as it was";
    locked.release();
    to_excel();
    EXPECT_TRUE(green());
    EXPECT_EQ(last_row(read_back(file)), 5);
}

TEST_F(SpreadsheetExport, AWorkbookThatCannotBeCreatedIsReportedAndNoRowClaimed) {
    set_trace_red(f->measure_room());
    comment(QStringLiteral("keep me"));
    const QString nowhere = path(QStringLiteral("no-such-folder/rows.xls"));
    dialogs.answer(nowhere);
    to_excel();
    EXPECT_EQ(f->workbook->xl_open, 0);
    EXPECT_FALSE(green());
    EXPECT_EQ(f->Text_comment->toPlainText(), QStringLiteral("keep me"));
    EXPECT_TRUE(f->status_text().startsWith(QStringLiteral("No workbook was started")))
        << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(nowhere)) << f->status_text().toStdString();

    auto script = std::make_shared<SpreadsheetScript>();
    script->fail_step = SpreadsheetStep::create;
    script->failure = QStringLiteral("the spreadsheet component is missing");
    f->spreadsheets = scripted_spreadsheet(script);
    dialogs.answer(path(QStringLiteral("rows.xls")));
    to_excel();
    EXPECT_EQ(f->workbook->xl_open, 0);
    EXPECT_FALSE(green());
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("the spreadsheet component is missing")))
        << f->status_text().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("rows.xls"))));

    // The next try asks again and works.
    dialogs.answer(path(QStringLiteral("rows.xls")));
    to_excel();
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_TRUE(green());
    EXPECT_EQ(script->cells[std::make_pair(3, 5)], QStringLiteral("keep me"));
}

TEST_F(SpreadsheetExport, TheApplicationGetsTheCallsInTheirOrderWithColoursAsTheLabelsHoldThem) {
    auto script = std::make_shared<SpreadsheetScript>();
    f->spreadsheets = scripted_spreadsheet(script);
    show_results(".50", "2.00", "3.00");
    f->Lb_y->set_fore_colour(255);
    dialogs.answer(QStringLiteral("/results/a.xls"));
    to_excel();

    const QStringList expected = {
        QStringLiteral("create()"),
        QStringLiteral("add_workbook()"),
        QStringLiteral("active_sheet()"),
        QStringLiteral("set_cell(1,1,'- kelvo version 0.02 -)"),
        QStringLiteral("set_cell(2,1,filename)"),
        QStringLiteral("set_cell(2,2,X)"),
        QStringLiteral("set_cell(2,3,Y)"),
        QStringLiteral("set_cell(2,4,D)"),
        QStringLiteral("set_cell(2,5,comment)"),
        QStringLiteral("save_as(/results/a.xls)"),
        QStringLiteral("active_sheet()"),
        QStringLiteral("set_cell(3,1,%1)").arg(picture),
        QStringLiteral("set_font_colour(3,2,0x80000008)"),
        QStringLiteral("set_cell(3,2,.50)"),
        QStringLiteral("set_font_colour(3,3,0x000000ff)"),
        QStringLiteral("set_cell(3,3,2.00)"),
        QStringLiteral("set_font_colour(3,4,0x80000008)"),
        QStringLiteral("set_cell(3,4,3.00)"),
        QStringLiteral("save_as(/results/a.xls)"),
    };
    EXPECT_EQ(script->calls, expected);

    f->close();
    EXPECT_EQ(script->calls.mid(expected.size()),
              (QStringList{QStringLiteral("save_as(/results/a.xls)"), QStringLiteral("quit()")}))
        << "closing saves once more";
}

TEST_F(SpreadsheetExport, AStepThatFailsInTheRowLeavesTheRowToBeWrittenAgain) {
    auto script = std::make_shared<SpreadsheetScript>();
    f->spreadsheets = scripted_spreadsheet(script);
    dialogs.answer(QStringLiteral("/results/a.xls"));
    to_excel();
    ASSERT_EQ(f->workbook->xl_row, 4);

    script->fail_step = SpreadsheetStep::set_font_colour;
    script->fail_on_call = script->calls_of(SpreadsheetStep::set_font_colour) + 2;
    script->failure = QStringLiteral("the cell is locked");
    set_trace_red(f->measure_room());
    comment(QStringLiteral("again"));
    to_excel();
    EXPECT_EQ(f->workbook->xl_row, 4);
    EXPECT_FALSE(green());
    EXPECT_EQ(f->Text_comment->toPlainText(), QStringLiteral("again"));
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("the cell is locked")));
    EXPECT_EQ(script->saves.size(), 2u) << "nothing half-written goes to disk";

    to_excel();
    EXPECT_EQ(f->workbook->xl_row, 5);
    EXPECT_TRUE(green());
    EXPECT_EQ(script->saves.back().cells.at(std::make_pair(4, 5)), QStringLiteral("again"));
}

TEST_F(SpreadsheetExport, ARowBeyondTheLastSheetRowIsRefusedWithAMessage) {
    dialogs.answer(path(QStringLiteral("full.xls")));
    to_excel();
    f->workbook->xl_row = 65536; // the format's last row
    show_results("9.00", "9.00", "9.00");
    to_excel();
    EXPECT_TRUE(green());
    EXPECT_EQ(f->workbook->xl_row, 65537);

    set_trace_red(f->measure_room());
    comment(QStringLiteral("one too many"));
    to_excel();
    EXPECT_FALSE(green());
    EXPECT_EQ(f->workbook->xl_row, 65537);
    EXPECT_EQ(f->Text_comment->toPlainText(), QStringLiteral("one too many"));
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("65536")))
        << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(path(QStringLiteral("full.xls"))));

    const ReadWorkbook book = read_back(path(QStringLiteral("full.xls")));
    EXPECT_EQ(last_row(book), 65536);
    EXPECT_EQ(number_at(book, 65536, 2), 9.0);
}

// Points the user's data folder at `folder` while it lives.
class DataFolder {
  public:
    explicit DataFolder(const QString& folder) : saved_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
    }
    ~DataFolder() { qputenv("XDG_DATA_HOME", saved_); }

  private:
    QByteArray saved_;
};

TEST_F(SpreadsheetExport, RowsTheWorkbookCannotTakeOnClosingGoToARecoveryWorkbook) {
    const QString folder = path(QStringLiteral("stick"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + QStringLiteral("/rows.xls");
    dialogs.answer(file);
    to_excel();
    ASSERT_TRUE(QDir().rename(folder, path(QStringLiteral("away"))));
    to_excel(); // kept in memory only: its save fails

    const DataFolder data(path(QStringLiteral("data")));
    ::testing::internal::CaptureStderr();
    f->close();
    const QString said = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->workbook->xl_open, 0);
    const QString recovered = path(QStringLiteral("data/kelvo/recovered"));
    const QStringList rescued = files_in(recovered);
    ASSERT_EQ(rescued.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^rows-\\d{8}-\\d{6}\\.xls$"))
                    .match(rescued[0])
                    .hasMatch())
        << rescued[0].toStdString();
    EXPECT_TRUE(said.contains(recovered + u'/' + rescued[0])) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("No such file or directory"))) << said.toStdString();
    EXPECT_EQ(last_row(read_back(recovered + u'/' + rescued[0])), 4);
    EXPECT_EQ(last_row(read_back(path(QStringLiteral("away/rows.xls")))), 3)
        << "the last good save";
}

TEST(WorkbookRecovery, TheRecoveryWorkbookKeepsTheFormatOfTheOneItRescues) {
    const QDateTime when(QDate(2024, 5, 1), QTime(14, 32, 10));
    for (const char* book : {"/a/results.xls", "/a/results.XLSX", "/a/results.csv"})
        EXPECT_EQ(QFileInfo(recovery_workbook_path(QLatin1String(book), when)).fileName(),
                  QStringLiteral("results-20240501-143210.") +
                      QFileInfo(QLatin1String(book)).suffix().toLower());
}

TEST_F(SpreadsheetExport, RowsThatCanBeKeptNowhereKeepTheWindowOpenOnce) {
    auto script = std::make_shared<SpreadsheetScript>();
    f->spreadsheets = scripted_spreadsheet(script);
    dialogs.answer(path(QStringLiteral("a.xls")));
    to_excel();
    script->fail_step = SpreadsheetStep::save_as;
    script->fail_on_call = script->calls_of(SpreadsheetStep::save_as) + 1;
    script->keep_failing = true;
    script->failure = QStringLiteral("disk full");

    const DataFolder data(path(QStringLiteral("a.xls"))); // a file: no folder can be made in it
    f->close();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_TRUE(f->status_text().startsWith(QStringLiteral("The window stays open")))
        << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("disk full")));

    f->close();
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(script->quit);
}

TEST_F(SpreadsheetExport, AnOldTemporaryWorkbookInTheProgramsFolderIsDeletedOnClosing) {
    const QString old = QCoreApplication::applicationDirPath() + QStringLiteral("/kelvo2_tmp.xls");
    put(old, "left by an older version");
    f->close();
    EXPECT_FALSE(QFile::exists(old));
}

TEST_F(SpreadsheetExport, NewIsRefusedWhileTheOpenWorkbookCannotBeSaved) {
    auto script = std::make_shared<SpreadsheetScript>();
    f->spreadsheets = scripted_spreadsheet(script);
    dialogs.answer(QStringLiteral("/results/a.xls"));
    to_excel();
    script->fail_step = SpreadsheetStep::save_as;
    script->fail_on_call = script->calls_of(SpreadsheetStep::save_as) + 1;
    script->failure = QStringLiteral("disk full");

    dialogs.answer(QStringLiteral("/results/b.xls"));
    pointer::click(f->Command_new);
    EXPECT_EQ(f->workbook->xl_book, QStringLiteral("/results/a.xls"));
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_EQ(f->workbook->xl_row, 4);
    EXPECT_FALSE(script->quit);
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("/results/a.xls")));
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("disk full")));
}

// ---- A workbook another writer changed ----

// Another window's save: banner, header and one row with a red X.
void save_as_another_window(const QString& file) {
    auto other = XlsApplication::factory()(file).app;
    ASSERT_EQ(other->add_workbook(), QString());
    SpreadsheetSheet& sheet = *other->active_sheet();
    const char* cells[] = {"'- kelvo version 0.02 -", "filename", "X", "Y", "D", "comment"};
    sheet.set_cell(1, 1, QLatin1String(cells[0]));
    for (int col = 1; col <= 5; ++col)
        sheet.set_cell(2, col, QLatin1String(cells[col]));
    sheet.set_cell(3, 1, QStringLiteral("/other/window.bmp"));
    sheet.set_font_colour(3, 2, 255);
    for (int col = 2; col <= 4; ++col)
        sheet.set_cell(3, col, QStringLiteral("7.25"));
    sheet.set_cell(3, 5, QStringLiteral("two\nlines"));
    ASSERT_EQ(other->save_as(file).toStdString(), "");
}

TEST_F(SpreadsheetExport, RowsAnotherWriterSavedAreReadBackAndThisWindowsUnsavedRowsFollow) {
    const QString folder = path(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + QStringLiteral("/shared.xls");
    dialogs.answer(file);
    show_results("1.00", "1.00", "1.00");
    to_excel();
    ASSERT_TRUE(QDir().rename(folder, path(QStringLiteral("away"))));
    show_results("2.00", "2.00", "2.00");
    to_excel(); // pending: the folder is gone
    ASSERT_TRUE(QDir().rename(path(QStringLiteral("away")), folder));
    save_as_another_window(file);

    show_results("3.00", "3.00", "3.00");
    to_excel();
    EXPECT_TRUE(green());
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("Row 5 saved")))
        << f->status_text().toStdString();
    EXPECT_EQ(f->workbook->xl_row, 6);
    const ReadWorkbook book = read_back(file);
    EXPECT_EQ(last_row(book), 5) << "the other row, then the unsaved one, then the new one";
    EXPECT_EQ(text_at(book, 3, 1), QStringLiteral("/other/window.bmp"));
    EXPECT_EQ(number_at(book, 3, 2), 7.25);
    EXPECT_EQ(book.at(3, 2)->colour, QStringLiteral("#FF0000"));
    EXPECT_EQ(book.at(3, 3)->colour, QStringLiteral("auto"));
    EXPECT_EQ(book.at(3, 4)->format, QStringLiteral("0.00"));
    EXPECT_EQ(text_at(book, 3, 5), QStringLiteral("two\nlines"));
    EXPECT_EQ(number_at(book, 4, 2), 2.0);
    EXPECT_EQ(number_at(book, 5, 2), 3.0);

    f->close();
    EXPECT_EQ(last_row(read_back(file)), 5) << "closing adds nothing";
}

TEST_F(SpreadsheetExport, AChangedFileThatCannotBeReadBackIsLeftAloneAndNewRescuesTheRows) {
    const QString file = path(QStringLiteral("shared.xls"));
    dialogs.answer(file);
    to_excel();
    put(file, "a note another program wrote over the workbook");
    set_trace_red(f->measure_room());
    to_excel();
    EXPECT_FALSE(green());
    EXPECT_TRUE(f->status_text().contains(
        QStringLiteral("was changed by another program and cannot be read back")))
        << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("row 4 is kept")));
    EXPECT_EQ(contents(file), "a note another program wrote over the workbook");

    const DataFolder data(path(QStringLiteral("data")));
    dialogs.answer(path(QStringLiteral("next.xls")));
    pointer::click(f->Command_new);
    const QString recovered = path(QStringLiteral("data/kelvo/recovered"));
    ASSERT_EQ(files_in(recovered).size(), 1u);
    EXPECT_EQ(last_row(read_back(recovered + u'/' + files_in(recovered)[0])), 4);
    EXPECT_EQ(f->workbook->xl_book, path(QStringLiteral("next.xls")));
    EXPECT_EQ(last_row(read_back(path(QStringLiteral("next.xls")))), 3);
    EXPECT_TRUE(f->recovered_workbooks->isVisible());
    EXPECT_EQ(contents(file), "a note another program wrote over the workbook");
}

TEST_F(SpreadsheetExport, TheRequestToSaveBeforeLogOutKeepsPendingRowsAndTheWindowOpen) {
    const DataFolder data(path(QStringLiteral("data")));
    const QString recovered = path(QStringLiteral("data/kelvo/recovered"));
    const QString folder = path(QStringLiteral("stick"));
    ASSERT_TRUE(QDir().mkdir(folder));
    dialogs.answer(folder + QStringLiteral("/rows.xls"));
    to_excel();
    save_workbook_before_logout(f->output_room());
    EXPECT_TRUE(files_in(recovered).isEmpty()) << "every row was saved";
    ASSERT_TRUE(QDir().rename(folder, path(QStringLiteral("away"))));
    to_excel();

    save_workbook_before_logout(f->output_room());
    ASSERT_EQ(files_in(recovered).size(), 1u) << f->status_text().toStdString();
    EXPECT_EQ(last_row(read_back(recovered + u'/' + files_in(recovered)[0])), 4);
    EXPECT_EQ(f->workbook->xl_open, 1);
    EXPECT_TRUE(f->recovered_workbooks->isVisible()) << "File > Recovered workbooks leads there";

    f->close();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(files_in(recovered).size(), 1u) << "the same rows are not rescued twice";
    EXPECT_TRUE(f->status_text().contains(files_in(recovered)[0]))
        << f->status_text().toStdString();
}

TEST_F(SpreadsheetExport, RowsAnotherWriterTookOutOfTheFileGoToRecoveryWorkbooksNotNowhere) {
    const DataFolder data(path(QStringLiteral("data")));
    const QString recovered = path(QStringLiteral("data/kelvo/recovered"));
    const QString file = path(QStringLiteral("rows.xls"));
    dialogs.answer(file);
    to_excel();
    to_excel();
    save_as_another_window(file); // its own new workbook, by the same name
    to_excel();
    EXPECT_TRUE(green());
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("2 row(s) this window had saved there")))
        << f->status_text().toStdString();
    EXPECT_EQ(last_row(read_back(file)), 4) << "the other window's row, then the new one";

    put(file, "another program's file");
    f->close(); // "Exit"
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(contents(file), "another program's file");
    QList<int> last_rows;
    for (const QString& name : files_in(recovered)) {
        last_rows << last_row(read_back(recovered + u'/' + name));
        EXPECT_TRUE(f->status_text().contains(name) || last_rows.back() == 4) << name.toStdString();
    }
    std::sort(last_rows.begin(), last_rows.end());
    EXPECT_EQ(last_rows, (QList<int>{3, 4})) << "each row once: the two, then the third";
}

TEST_F(SpreadsheetExport, RecoveredWorkbooksAreAnnouncedOnceWithTheirFolder) {
    const DataFolder data(path(QStringLiteral("data")));
    const QString recovered = path(QStringLiteral("data/kelvo/recovered"));
    f->report(announce_recovered_workbooks(f->output_room()));
    EXPECT_FALSE(f->recovered_workbooks->isVisible());
    EXPECT_FALSE(contents(user_settings().fileName()).contains("@Invalid")) << "an empty list";
    ASSERT_TRUE(QDir().mkpath(recovered));
    put(recovered + QStringLiteral("/rows-20240501-143210.xls"), "rows");

    f->report(announce_recovered_workbooks(f->output_room()));
    EXPECT_TRUE(f->status_text().startsWith(QStringLiteral("1 workbook(s)")));
    EXPECT_TRUE(f->status_text().contains(recovered)) << f->status_text().toStdString();
    EXPECT_TRUE(f->recovered_workbooks->isVisible());
    f->report(QString());
    f->report(announce_recovered_workbooks(f->output_room()));
    EXPECT_TRUE(f->status_text().isEmpty()) << "announced once";
    EXPECT_TRUE(f->recovered_workbooks->isVisible());
}

// ---- A kill after a row ----

// Run only as the child of the kill test: writes rows until it is killed,
// saying on standard output which row is saved.
TEST_F(SpreadsheetExport, DISABLED_WritesRowsUntilKilled) {
    const QString file = qEnvironmentVariable("KELVO_KILL_WORKBOOK");
    ASSERT_FALSE(file.isEmpty());
    dialogs.answer(file);
    for (int row = 3; row < 60000; ++row) {
        show_results("1.00", "2.00", "3.00");
        f->Lb_x->setText(QStringLiteral("%1.00").arg(row));
        comment(QStringLiteral("row %1").arg(row));
        Command_excel_Click(f->output_room());
        ASSERT_TRUE(green()) << f->status_text().toStdString();
        set_trace_red(f->measure_room());
        std::printf("saved %d\n", row);
        std::fflush(stdout);
    }
}

TEST_F(SpreadsheetExport, AKillAfterSomeRowsLeavesAReadableWorkbookWithEveryRowSaved) {
    const QString file = path(QStringLiteral("killed.xls"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELVO_KILL_WORKBOOK"), file);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SpreadsheetExport.DISABLED_WritesRowsUntilKilled"),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(child.waitForStarted(10000));

    int saved = 0;
    QByteArray output;
    while (saved < 40 && child.state() == QProcess::Running) {
        child.waitForReadyRead(10000);
        output += child.readAllStandardOutput();
        for (const QByteArray& line : output.split('\n'))
            if (line.startsWith("saved ")) saved = std::max(saved, line.mid(6).toInt());
    }
    child.kill(); // SIGKILL: no unload, no final save
    ASSERT_TRUE(child.waitForFinished(10000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << output.toStdString();
    ASSERT_GE(saved, 40) << output.toStdString();

    const ReadWorkbook book = read_back(file);
    const int last = last_row(book);
    EXPECT_GE(last, saved) << "every row reported saved is in the file";
    for (int row = 3; row <= last; ++row) {
        EXPECT_EQ(number_at(book, row, 2), row) << row;
        EXPECT_EQ(text_at(book, row, 5), QStringLiteral("row %1").arg(row)) << row;
    }

    // A save cut short leaves its temporary file; the next run of the program writing
    // to this workbook clears it away.
    dialogs.answer(file);
    to_excel();
    f->close();
    EXPECT_EQ(files(), (QStringList{QStringLiteral("killed.xls"), QStringLiteral("picture.bmp")}));
}

// ---- Two programs saving one workbook at the same moment ----

// Run only as a child of the race test: writes a row whenever the other child
// writes one (a barrier of files), saying on standard output which it saved.
TEST_F(SpreadsheetExport, DISABLED_WritesRowsInStepWithAnother) {
    const QString file = qEnvironmentVariable("KELVO_RACE_WORKBOOK");
    const QString step = QFileInfo(file).absolutePath() + QStringLiteral("/../steps/");
    const QString me = qEnvironmentVariable("KELVO_RACE_ME");
    const QString other = me == QLatin1String("a") ? QStringLiteral("b") : QStringLiteral("a");
    ASSERT_EQ(f->workbook->start(file), QString());
    for (int n = 0; n < 40; ++n) {
        put(step + me + QString::number(n), "");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return QFile::exists(step + other + QString::number(n)); }, 20000));
        comment(me + QString::number(n));
        set_trace_red(f->measure_room());
        Command_excel_Click(f->output_room());
        if (green()) std::printf("saved %s%d\n", qPrintable(me), n);
        std::fflush(stdout);
    }
}

TEST_F(SpreadsheetExport, TwoProgramsSavingAtTheSameMomentLoseNoRowEitherCalledSaved) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("steps"))));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("shared"))));
    const QString file = path(QStringLiteral("shared/race.xls"));
    std::vector<std::unique_ptr<QProcess>> children;
    for (const char* me : {"a", "b"}) {
        auto& child = children.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KELVO_RACE_WORKBOOK"), file);
        env.insert(QStringLiteral("KELVO_RACE_ME"), QLatin1String(me));
        child->setProcessEnvironment(env);
        child->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=*DISABLED_WritesRowsInStepWithAnother"),
                      QStringLiteral("--gtest_also_run_disabled_tests")});
    }
    QStringList saved;
    for (auto& child : children) {
        ASSERT_TRUE(child->waitForFinished(120000));
        for (const QByteArray& line : child->readAllStandardOutput().split('\n'))
            if (line.startsWith("saved ")) saved << QString::fromLatin1(line.mid(6));
    }
    const ReadWorkbook book = read_back(file);
    QStringList in_file;
    for (int row = 3; row <= last_row(book); ++row)
        in_file << text_at(book, row, 5);
    for (const QString& row : saved)
        EXPECT_TRUE(in_file.contains(row)) << row.toStdString() << " was reported saved";
    EXPECT_GE(saved.size(), 40) << "most rows are saved at the first try";
}

} // namespace
