// SPDX-License-Identifier: MIT
// View > Results and File > Open workbook.
#include "kelvo_fixture.h"

#include <QAction>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>

namespace {

// Takes the URLs the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }
};

using ResultsView = KelvoTest;

// The tool window lists each saved row, newest last, red marks red, and
// follows the rows written while it is open.
TEST_F(ResultsView, TheWindowListsTheRowsWrittenAndOpensTheWorkbook) {
    show_window();
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");
    open(save_picture_file(test_picture(200, 150), "picture.bmp"));
    f->findChild<QAction*>("open_workbook")->trigger();
    EXPECT_TRUE(f->status_text().startsWith("No workbook is open"))
        << f->status_text().toStdString();

    f->Lb_x->setText("3.00");
    f->Lb_y->setText("4.00");
    f->Lb_d->setText("5.00");
    pointer::click(f->Lb_y); // marked red
    f->Text_comment->setPlainText("first");
    dialogs.answer(path("book.xls"));
    pointer::click(f->Command_excel);
    f->findChild<QAction*>("view_results")->trigger();
    auto* window = f->findChild<QWidget*>("results_window");
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(window->isModal());
    f->Lb_d->setText("6.00");
    pointer::click(f->Command_excel);

    const auto* table = window->findChild<QTableWidget*>("results_rows");
    ASSERT_EQ(table->rowCount(), 2);
    const QString first[] = {path("picture.bmp"), "3.00", "4.00", "5.00", "first"};
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(table->item(0, col)->text(), first[col]) << col;
    EXPECT_EQ(table->item(0, 2)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(table->item(0, 1)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(table->item(1, 3)->text(), "6.00");
    EXPECT_EQ(window->findChild<QLabel*>("results_workbook")->toolTip(), path("book.xls"));

    pointer::click(window->findChild<QPushButton*>("results_open"));
    f->findChild<QAction*>("open_workbook")->trigger();
    EXPECT_EQ(desktop.opened, QList<QUrl>(2, QUrl::fromLocalFile(path("book.xls"))));
    QDesktopServices::unsetUrlHandler("file");
}

} // namespace

#include "results_window_test.moc"
