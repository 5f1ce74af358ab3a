// SPDX-License-Identifier: MIT
#include "platform/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

bool matches(const QStringList& globs, const QString& name) {
    for (const QString& g : globs)
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(g))
                .match(name)
                .hasMatch())
            return true;
    return false;
}

TEST(FileFilter, EachPartMatchesInAnyCase) {
    const QStringList globs = case_insensitive_globs(QStringLiteral("*.bmp;*.jpg"));
    ASSERT_EQ(globs.size(), 2);
    for (const char* name : {"a.bmp", "PHOTO.JPG", "x.Jpg", "y.BmP"})
        EXPECT_TRUE(matches(globs, QString::fromLatin1(name))) << name;
    for (const char* name : {"a.png", "bmp", "a.jpeg", "a.bmp.txt"})
        EXPECT_FALSE(matches(globs, QString::fromLatin1(name))) << name;
}

// Runs the real dialog and inspects it while it is open.
template <class Inspect>
DialogAnswer run_dialog(const DialogRequest& request, Inspect inspect, const QString& type) {
    QtFileDialogs dialogs;
    QTimer::singleShot(0, [&] {
        (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000);
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        inspect(*dialog);
        if (type.isNull()) {
            dialog->reject();
        } else {
            dialog->selectFile(type);
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    return dialogs.ask(request, nullptr);
}

TEST(QtFileDialogs, ShowsTheTitleAndOneFilterEntryReadingAsThePattern) {
    QTemporaryDir dir;
    QFile(dir.filePath("PHOTO.JPG")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("b.bmp")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("c.png")).open(QIODevice::WriteOnly);
    QString title;
    QStringList filters;
    const QString answer =
        run_dialog(
            {DialogKind::Open, QStringLiteral("Open data file"), QStringLiteral("*.bmp;*.jpg")},
            [&](QFileDialog& d) {
                title = d.windowTitle();
                filters = d.nameFilters();
                d.setDirectory(dir.path());
            },
            QString())
            .path;
    EXPECT_TRUE(answer.isEmpty()) << "cancel yields an empty path";
    EXPECT_EQ(title, QStringLiteral("Open data file"));
    ASSERT_EQ(filters.size(), 1);
    EXPECT_TRUE(filters[0].startsWith(QLatin1String("*.bmp;*.jpg")));
}

TEST(QtFileDialogs, ASecondEntryListsEveryPictureAndTheFirstStaysSelected) {
    QTemporaryDir dir;
    const QString scan = dir.filePath("scan.TIFF");
    QFile(scan).open(QIODevice::WriteOnly);
    QStringList filters;
    QString selected;
    const DialogRequest request{
        .kind = DialogKind::Open,
        .title = QStringLiteral("Open data file"),
        .pattern = QStringLiteral("*.bmp;*.jpg"),
        .more_pattern = QStringLiteral("*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp")};
    EXPECT_EQ(run_dialog(
                  request,
                  [&](QFileDialog& d) {
                      filters = d.nameFilters();
                      selected = d.selectedNameFilter();
                      d.setDirectory(dir.path());
                  },
                  scan)
                  .path,
              scan);
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(selected, QStringLiteral("*.bmp;*.jpg")); // shown without its details
    EXPECT_TRUE(filters[1].contains(QLatin1String("*.[tT][iI][fF][fF]")));
}

TEST(QtFileDialogs, SaveReturnsTheNameAsTypedWithoutAnExtension) {
    QTemporaryDir dir;
    const QString answer =
        run_dialog(
            {DialogKind::Save, QStringLiteral("Save data file"), QStringLiteral("*.kvo")},
            [&](QFileDialog& d) { d.setDirectory(dir.path()); }, dir.filePath("scale"))
            .path;
    EXPECT_EQ(answer, dir.filePath("scale"));
}

// Answers the message box the dialog raises next with `button`; its text
// lands in *text.
void answer_next_question(QMessageBox::StandardButton button, QString* text) {
    QTimer::singleShot(0, [=] {
        (void)QTest::qWaitFor(
            [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }, 2000);
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        *text = box->windowTitle() + u'|' + box->text();
        box->button(button)->click();
    });
}

TEST(QtFileDialogs, SaveSaysWhyANameInAFolderThatDoesNotExistIsRefused) {
    QTemporaryDir dir;
    bool still_open = false;
    QString warning;
    const QString answer = run_dialog(
                               {.kind = DialogKind::Save,
                                .title = QStringLiteral("Save data file"),
                                .pattern = QStringLiteral("*.xls"),
                                .completion = QStringLiteral(".xls")},
                               [&](QFileDialog& d) {
                                   d.setDirectory(dir.path());
                                   d.selectFile(dir.filePath("missing/results"));
                                   answer_next_question(QMessageBox::Ok, &warning);
                                   static_cast<QDialog&>(d).accept();
                                   still_open = d.isVisible();
                               },
                               QString())
                               .path;
    EXPECT_TRUE(still_open) << "the dialog stays open on a missing folder";
    EXPECT_EQ(warning,
              "Save data file|" + dir.filePath("missing") +
                  "\nDirectory not found.\nPlease verify the correct directory name was given.");
    EXPECT_TRUE(answer.isEmpty());
}

TEST(QtFileDialogs, SaveAsksBeforeTheCompletedNameReplacesAFile) {
    QTemporaryDir dir;
    QFile(dir.filePath("results.xls")).open(QIODevice::WriteOnly);
    QString question;
    bool open_after_no = false;
    const QString answer = run_dialog(
                               {.kind = DialogKind::Save,
                                .title = QStringLiteral("Save data file"),
                                .pattern = QStringLiteral("*.xls"),
                                .completion = QStringLiteral(".xls")},
                               [&](QFileDialog& d) {
                                   d.setDirectory(dir.path());
                                   d.selectFile(dir.filePath("results"));
                                   answer_next_question(QMessageBox::No, &question);
                                   static_cast<QDialog&>(d).accept();
                                   open_after_no = d.isVisible();
                                   answer_next_question(QMessageBox::Yes, &question);
                               },
                               dir.filePath("results"))
                               .path;
    EXPECT_EQ(question, "Save data file|results.xls already exists.\nDo you want to replace it?");
    EXPECT_TRUE(open_after_no) << "No keeps the dialog open and writes nothing";
    EXPECT_EQ(answer, dir.filePath("results")) << "Yes: the name as typed, completed by the caller";
}

TEST(QtFileDialogs, FurtherSaveEntriesShowTheirLabelsAndTheChosenOneCompletesTheName) {
    QTemporaryDir dir;
    QFile(dir.filePath("results.xlsx")).open(QIODevice::WriteOnly);
    const DialogRequest request{
        .kind = DialogKind::Save,
        .title = QStringLiteral("Save data file"),
        .pattern = QStringLiteral("*.xls"),
        .completion = QStringLiteral(".xls"),
        .more_saves = {{QStringLiteral("Excel workbook (*.xlsx)"), QStringLiteral(".xlsx")},
                       {QStringLiteral("CSV, comma-separated (*.csv)"), QStringLiteral(".csv")}}};
    QString selected_first, selected_then, question;
    const DialogAnswer answer = run_dialog(
        request,
        [&](QFileDialog& d) {
            d.setDirectory(dir.path());
            selected_first = d.selectedNameFilter();
            d.selectNameFilter(d.nameFilters().at(1));
            selected_then = d.selectedNameFilter();
            answer_next_question(QMessageBox::Yes, &question);
        },
        dir.filePath("results"));
    EXPECT_EQ(selected_first, QStringLiteral("*.xls"));
    EXPECT_EQ(selected_then, QStringLiteral("Excel workbook (*.xlsx)"));
    EXPECT_EQ(question, "Save data file|results.xlsx already exists.\nDo you want to replace it?");
    EXPECT_EQ(answer.path, dir.filePath("results"));
    EXPECT_EQ(answer.entry, 1);
    EXPECT_EQ(completed_name(request, answer.path, answer.entry), dir.filePath("results.xlsx"));
}

TEST(QtFileDialogs, ALongNonAsciiPathComesBackWhole) {
    QTemporaryDir dir;
    QString folder = dir.path();
    for (int i = 0; i < 6; ++i)
        folder += QStringLiteral("/verzeichnis_mit_langem_namen_äöü_%1").arg(i);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/Mikroskopaufnahme_Ähre_象.bmp");
    QFile(file).open(QIODevice::WriteOnly);
    ASSERT_GT(file.size(), 249);
    const QString answer =
        run_dialog(
            {DialogKind::Open, QStringLiteral("Open data file"), QStringLiteral("*.bmp;*.jpg")},
            [&](QFileDialog& d) { d.setDirectory(folder); }, file)
            .path;
    EXPECT_EQ(answer, file);
}

TEST(CompleteExtension, OnlyTheLastFourCharactersUpperCasedDecide) {
    EXPECT_EQ(complete_extension("scale", ".kvo"), QStringLiteral("scale.kvo"));
    EXPECT_EQ(complete_extension("scale.KVO", ".kvo"), QStringLiteral("scale.KVO"));
    EXPECT_EQ(complete_extension("a.Xls", ".xls"), QStringLiteral("a.Xls"));
    EXPECT_EQ(complete_extension("book.xlsx", ".xls"), QStringLiteral("book.xlsx.xls"));
    EXPECT_EQ(complete_extension("shot.jpg", ".bmp"), QStringLiteral("shot.jpg.bmp"));
    EXPECT_EQ(complete_extension("scale.kvo.bak", ".kvo"), QStringLiteral("scale.kvo.bak.kvo"));
    // Names shorter than the extension: "bmp" has no dot, ".bmp" is the extension alone.
    EXPECT_EQ(complete_extension("bmp", ".bmp"), QStringLiteral("bmp.bmp"));
    EXPECT_EQ(complete_extension(".bmp", ".bmp"), QStringLiteral(".bmp"));
}

} // namespace
