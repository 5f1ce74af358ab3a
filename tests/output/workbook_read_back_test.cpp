// SPDX-License-Identifier: MIT
// A workbook another writer changed is read back whole or not at all: a file
// damaged, or holding what kelvo cannot write back, is left exactly as it is
// and the row waits; one read back loses none of its rows.

#include "kelvo_fixture.h"
#include "test_files.h"
#include "xls_readback.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>

#include <cstdio>
#include <random>

namespace {

class WorkbookReadBack : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window();
        open(save_picture_file(test_picture(60, 40), QStringLiteral("picture.bmp")));
        dialogs.answer(book);
    }
    void write_row(const QString& comment) {
        for (QLabel* result : {f->Lb_x, f->Lb_y, f->Lb_d})
            result->setText(QString::number(++rows_written * 1.5, 'f', 2));
        f->Text_comment->setPlainText(comment);
        pointer::click(f->Command_excel);
    }
    // Another writer's save: a new file in its place.
    void replace(const QByteArray& bytes) const {
        const QString next = book + QStringLiteral(".next");
        put(next, bytes);
        ASSERT_TRUE(QFile::remove(book) && QFile::rename(next, book));
    }
    // A results workbook as xlwt writes it; `comment` is the last row's.
    QByteArray xlwt_workbook(int rows, const QString& comment = QString()) const {
        const QString file = path(QStringLiteral("xlwt.xls"));
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QFileInfo(QStringLiteral(KELVO_READ_XLS_SCRIPT)).absolutePath() +
                          QStringLiteral("/write_xlwt.py"),
                      file, QString::number(rows), comment});
        EXPECT_TRUE(python.waitForFinished(60000) && python.exitCode() == 0)
            << python.readAllStandardError().toStdString();
        return contents(file);
    }
    void expect_left_alone(const QByteArray& bytes, const char* reason) {
        const QString status = f->status_text();
        EXPECT_TRUE(status.contains(QStringLiteral("cannot be read back (")) &&
                    status.contains(QLatin1String(reason)) && status.contains(u"is kept"))
            << status.toStdString();
        EXPECT_TRUE(contents(book) == bytes) << "the file was written over";
    }

    const QString book = path(QStringLiteral("book.xls"));
    int rows_written = 0;
};

TEST_F(WorkbookReadBack, ADamagedRecordOrATextWithANulLeavesTheFileAsItIsAndTheRowWaits) {
    for (int i = 0; i < 20; ++i)
        write_row(QString());
    // One NUMBER record, halfway, said to be 58 bytes long instead of 14.
    QByteArray damaged = contents(book);
    const QByteArray number("\x03\x02\x0E\x00", 4);
    qsizetype at = -1;
    for (int n = 0; n < 30; ++n)
        at = damaged.indexOf(number, at + 1);
    ASSERT_GT(at, 0);
    damaged[at + 2] = 58;
    replace(damaged);
    write_row(QString());
    expect_left_alone(damaged, "damaged");

    // Another tool's comment holding U+0000, which would be cut.
    const QByteArray nul = xlwt_workbook(3, QStringLiteral("before\\x00after"));
    replace(nul);
    write_row(QString());
    expect_left_alone(nul, "NUL");
}

// A read back that keeps the window waiting (here a reader that never
// answers, cut after two seconds) shows how far it got, and the bar goes with it.
TEST_F(WorkbookReadBack, AReadBackThatTakesLongShowsItsProgress) {
    write_row(QString());
    replace(xlwt_workbook(3));
    auto* bar = f->findChild<QProgressBar*>(QStringLiteral("progress_bar"));
    ASSERT_NE(bar, nullptr);
    QString shown;
    struct Shows : QObject {
        QString* text;
        explicit Shows(QString* t) : text(t) {}
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show && o->objectName() == "progress_bar")
                *text = static_cast<QProgressBar*>(o)->format();
            return false;
        }
    } shows(&shown);
    qApp->installEventFilter(&shows);
    qputenv("KELVO_TEST_READER_STALLS", "1");
    write_row(QString());
    qunsetenv("KELVO_TEST_READER_STALLS");
    qApp->removeEventFilter(&shows);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Reading back book.xls"))) << shown.toStdString();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("it took too long")));
}

// xlrd's cells of each file, by name: [row, col, type, value, colour] each,
// or a failure.
std::map<QString, QJsonValue> xlrd_cells(const QStringList& files) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(KELVO_READ_XLS_SCRIPT)} + files);
    EXPECT_TRUE(python.waitForFinished(120000)) << "xlrd took too long";
    std::map<QString, QJsonValue> cells;
    for (const QByteArray& line : python.readAllStandardOutput().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (!o.isEmpty()) cells[o[QLatin1String("file")].toString()] = o[QLatin1String("cells")];
    }
    return cells;
}

// The same cell, where kelvo writes the system's window text colour as automatic.
bool same_cell(const QJsonArray& a, const QJsonArray& b) {
    const auto colour = [](const QJsonValue& c) {
        return c.toString() == QLatin1String("icv:64") ? QStringLiteral("auto") : c.toString();
    };
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3] &&
           colour(a[4]) == colour(b[4]);
}

TEST_F(WorkbookReadBack, RandomlyDamagedWorkbooksAreReadWholeOrLeftAlone) {
    for (int i = 0; i < 20; ++i)
        write_row(QStringLiteral("comment %1").arg(i));
    const QByteArray bases[] = {contents(book), xlwt_workbook(20)};
    std::mt19937 random(20261207);
    int refused = 0;
    std::vector<int> read_whole;
    QStringList files;
    for (int n = 0; n < 120; ++n) {
        QByteArray mutant = bases[n % 2];
        for (int changes = 1 + int(random() % 4); changes > 0; --changes)
            mutant[random() % mutant.size()] ^= char(1 + random() % 255);
        replace(mutant);
        write_row(QStringLiteral("mutant %1").arg(n));
        if (f->status_text().contains(QStringLiteral("cannot be read back ("))) {
            ++refused;
            EXPECT_TRUE(contents(book) == mutant) << n << ": refused, yet written over";
            continue;
        }
        ASSERT_TRUE(f->status_text().contains(QStringLiteral("saved")))
            << f->status_text().toStdString();
        read_whole.push_back(n);
        files << path(QStringLiteral("m%1.xls").arg(n)) << path(QStringLiteral("r%1.xls").arg(n));
        put(files[files.size() - 2], mutant);
        ASSERT_TRUE(QFile::copy(book, files.back()));
    }
    std::printf("%d mutants refused, %zu read whole\n", refused, read_whole.size());
    EXPECT_GT(read_whole.size(), 10u) << "too few mutants read back to judge";
    const std::map<QString, QJsonValue> read = xlrd_cells(files);
    for (const int n : read_whole) {
        const QJsonValue before = read.at(path(QStringLiteral("m%1.xls").arg(n)));
        const QJsonValue after = read.at(path(QStringLiteral("r%1.xls").arg(n)));
        ASSERT_TRUE(before.isArray()) << n << ": kelvo read back a file xlrd cannot read";
        ASSERT_TRUE(after.isArray()) << n << ": xlrd cannot read what kelvo wrote";
        std::map<std::pair<int, int>, QJsonArray> written;
        for (const QJsonValue& c : after.toArray())
            written[{c[0].toInt(), c[1].toInt()}] = c.toArray();
        int last_row = 0;
        for (const QJsonValue& c : before.toArray()) {
            last_row = std::max(last_row, c[0].toInt());
            const auto kept = written.find({c[0].toInt(), c[1].toInt()});
            EXPECT_TRUE(kept != written.end() && same_cell(kept->second, c.toArray()))
                << n << ": lost " << QJsonDocument(c.toArray()).toJson().toStdString();
        }
        const auto is_new_row = [&](const auto& cell) {
            return cell.first.first > last_row &&
                   cell.second[3].toString() == QStringLiteral("mutant %1").arg(n);
        };
        EXPECT_TRUE(std::any_of(written.begin(), written.end(), is_new_row)) << n;
    }
}

} // namespace
