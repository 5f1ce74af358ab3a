// SPDX-License-Identifier: MIT
#include "bitmap_readback.h"
#include "form/view_mapping.h"
#include "kelvo_fixture.h"
#include "test_files.h"

#include "output/picture_bands.h"
#include "picture/bmp_stream_writer.h"
#include "picture/downscale.h"
#include "picture/nearest_enlarge.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

constexpr QRgb grey = 0xFF888888; // 8947848: R = G = B = 136

// What an ordinary reader makes of a written bitmap.
QImage read_back(const QString& file) {
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

// The pixels where two pictures of the same size differ.
QList<QPoint> differences(const QImage& a, const QImage& b) {
    QList<QPoint> points;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) points.append({x, y});
    return points;
}

QSize at_percent(QSize picture, int percent) {
    return {picture.width() * percent / 100, picture.height() * percent / 100};
}

// The canvas composed at once, as the screen shows it: the picture through the
// screen's mapping when magnified, otherwise as held over the background, and
// the marks painted over the whole of it.
QImage whole_canvas(const ShownPicture& view, const ExportMarks& marks) {
    QImage canvas;
    if (view.magnified) {
        canvas = enlarged_region(view.picture, view.shown, QRect(QPoint(0, 0), view.shown));
    } else {
        canvas = QImage(view.shown, QImage::Format_RGB32);
        canvas.fill(view.background);
        QPainter painter(&canvas);
        painter.drawImage(0, 0, view.picture);
    }
    QPainter painter(&canvas);
    draw_export_marks(painter, marks);
    return canvas;
}

// A grey scale bar as draw_scale_bar draws it: ticks from `top` down 5 rows
// at x_right - length and x_right, the bar along row `bar_row`, the caption at
// `caption_at` in an 11-pixel font.
ExportMarks grey_bar(const QFont& font, float x_right, float length, float top, float bar_row,
                     QPoint caption_at, const QString& caption = QStringLiteral("100")) {
    ExportMarks marks;
    marks.lines = {QLineF(x_right - length, top + 5, x_right - length, top),
                   QLineF(x_right, top + 5, x_right, top),
                   QLineF(x_right - length, bar_row, x_right, bar_row)};
    marks.caption = caption;
    marks.caption_at = caption_at;
    marks.font = font;
    marks.font.setPixelSize(11);
    marks.colour = QColor(grey);
    return marks;
}

class SavePicture : public KelvoTest {
  protected:
    // Opens a test picture at 100% and returns it as held.
    QImage open_picture(int width, int height) {
        open(save_picture_file(test_picture(width, height), "picture.bmp"));
        return f->P_in->picture();
    }

    // "Save picture" with `typed` answered in the dialog, `entry` chosen
    // (0 bitmap, 1 PNG, 2 JPEG).
    void save_as(const QString& typed, int entry = 0) {
        dialogs.answer(typed, entry);
        f->fs->trigger();
    }

    // The scale bar as draw_scale_bar leaves it: right tick at x_right, ticks
    // from top to top + 5, bar on row top + 4, the label centred below it.
    void place_scale_bar(float x_right, float length, float top, const QString& caption) {
        f->Line_ax1->set_points(x_right, top + 5, x_right, top);
        f->Line_ax0->set_points(x_right - length, top + 5, x_right - length, top);
        f->Line_eq->set_points(x_right - length, top + 4, x_right, top + 4);
        f->L_div->setText(caption);
        f->L_div->adjustSize();
        f->L_div->move(int(x_right - length / 2 - f->L_div->width() / 2.0f), int(top + 4));
    }

    void tick(QCheckBox* box, bool ticked) {
        if (box->isChecked() != ticked) box->click();
    }

    // Hides every overlay of the picture area, so that what it paints is the picture alone.
    void hide_overlays() {
        for (LineObject* line : {f->L_trace_x, f->L_trace_y, f->Line_scale, f->L_d, f->L_x0,
                                 f->L_y0, f->L_x1, f->L_y1, f->Line_ax0, f->Line_ax1, f->Line_eq})
            line->hide();
        for (LineObject* line : f->L_m)
            line->hide();
        f->L_div->hide();
    }
};

TEST_F(SavePicture, WithoutAPictureNothingHappensNotEvenTheDialog) {
    save_as(path("shot"));
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(f->status_text().isEmpty());
}

TEST_F(SavePicture, TheNameGetsTheChosenEntrysExtensionUnlessItEndsInOneOfThem) {
    const QImage picture = open_picture(40, 30);
    tick(f->Check_hidescale, true);

    save_as(path("shot"));
    ASSERT_EQ(dialogs.requests.size(), 2u); // the open, then the save
    EXPECT_EQ(dialogs.requests[1].kind, DialogKind::Save);
    EXPECT_EQ(dialogs.requests[1].title, QStringLiteral("Save data file"));
    EXPECT_EQ(dialogs.requests[1].pattern, QStringLiteral("*.bmp"));
    ASSERT_EQ(dialogs.requests[1].more_saves.size(), 2u);
    EXPECT_EQ(dialogs.requests[1].more_saves[0].label, QStringLiteral("PNG picture (*.png)"));
    EXPECT_EQ(dialogs.requests[1].more_saves[1].label, QStringLiteral("JPEG picture (*.jpg)"));
    EXPECT_EQ(read_back(path("shot.bmp")), picture);

    save_as(path("upper.BMP"), 1);
    EXPECT_EQ(read_back(path("upper.BMP")), picture);
    save_as(path("shot.jpg")); // a JPEG, whichever entry is chosen
    EXPECT_TRUE(contents(path("shot.jpg")).startsWith("\xff\xd8"));
    save_as(path("shot.bmp.txt"), 1);
    EXPECT_EQ(read_back(path("shot.bmp.txt.png")), picture);
    EXPECT_FALSE(QFile::exists(path("upper.BMP.bmp")));
    EXPECT_FALSE(QFile::exists(path("shot.jpg.bmp")));

    // A typed name whose bitmap exists replaces it, without another question.
    put(path("old.bmp"), "an earlier export");
    save_as(path("old"));
    EXPECT_EQ(read_back(path("old.bmp")), picture);
    EXPECT_EQ(dialogs.requests.size(), 6u);

    // Cancelled: no file.
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    dialogs.cancel();
    f->fs->trigger();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    EXPECT_TRUE(f->status_text().startsWith(QStringLiteral("Picture saved: old.bmp, ")))
        << f->status_text().toStdString();
}

TEST_F(SavePicture, HideScaleLeavesThePictureAloneWhateverHideDivisionSays) {
    const QImage picture = open_picture(120, 90);
    place_scale_bar(110, 50, 70, "100");

    tick(f->Check_hidedivisions, true);
    tick(f->Check_hidescale, true);
    save_as(path("both"));
    EXPECT_EQ(read_back(path("both.bmp")), picture);

    tick(f->Check_hidescale, false);
    tick(f->Check_hidedivisions, false);
    tick(f->Check_hidescale, true);
    place_scale_bar(110, 50, 70, "100"); // the clicks above redrew the bar
    save_as(path("scale_only"));
    EXPECT_EQ(read_back(path("scale_only.bmp")), picture);
}

TEST_F(SavePicture, HideDivisionDrawsTheThreeGreyLinesWithoutTheText) {
    const QImage picture = open_picture(120, 90);
    tick(f->Check_hidedivisions, true);
    place_scale_bar(110, 50, 70, "100");
    save_as(path("lines"));
    const QImage saved = read_back(path("lines.bmp"));
    ASSERT_EQ(saved.size(), picture.size());

    // Lines cover their first point, not their last: the ticks at x 60 and
    // 110 drawn up from row 75 cover rows 75 to 71, 5 pixels; the bar along
    // row 74 from 60 to 110 covers 50 columns, the right tick's not among them.
    QList<QPoint> lines;
    for (int y = 71; y <= 75; ++y)
        lines << QPoint(60, y) << QPoint(110, y);
    for (int x = 61; x < 110; ++x)
        lines << QPoint(x, 74);
    for (const QPoint p : lines)
        EXPECT_EQ(saved.pixel(p), grey) << p.x() << "," << p.y();
    // Nothing else: no text under the bar.
    QList<QPoint> changed = differences(saved, picture);
    std::sort(changed.begin(), changed.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    std::sort(lines.begin(), lines.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    EXPECT_EQ(changed, lines);

    // The screen covers the same pixels, each inverted once: the left tick and
    // the bar both cover (60, 74), which shows the picture again.
    hide_overlays();
    for (LineObject* line : {f->Line_ax0, f->Line_ax1, f->Line_eq})
        line->show();
    QList<QPoint> inverted =
        differences(f->P_in->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
    std::sort(inverted.begin(), inverted.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    lines.removeOne(QPoint(60, 74));
    EXPECT_EQ(inverted, lines);
}

TEST_F(SavePicture, WithBothShownTheDivisionIsPrintedInGreyAtTheLabel) {
    const QImage picture = open_picture(160, 120);
    place_scale_bar(150, 80, 80, "200");
    save_as(path("full"));
    const QImage saved = read_back(path("full.bmp"));
    ASSERT_EQ(saved.size(), picture.size());

    const QRect label = f->L_div->geometry();
    int text_pixels = 0;
    for (const QPoint p : differences(saved, picture)) {
        EXPECT_EQ(saved.pixel(p), grey) << p.x() << "," << p.y();
        const bool on_line = p.y() == 84 || ((p.x() == 70 || p.x() == 150) && p.y() >= 80);
        if (on_line) continue;
        EXPECT_TRUE(label.contains(p)) << "stray pixel at " << p.x() << "," << p.y();
        ++text_pixels;
    }
    // Three digits at 11 pixels: a few dozen pixels, spread over the label's width.
    EXPECT_GT(text_pixels, 20);

    // The label's own caption, not a fixed text: another caption prints other pixels.
    place_scale_bar(150, 80, 80, "5");
    save_as(path("five"));
    EXPECT_NE(read_back(path("five.bmp")), saved);
}

TEST_F(SavePicture, MeasuringLinesCrossHairAndReferenceLineNeverReachTheFile) {
    const QImage picture = open_picture(100, 80);
    for (LineObject* line :
         {f->L_trace_x, f->L_trace_y, f->Line_scale, f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1}) {
        line->set_points(5, 5, 90, 70);
        line->show();
    }
    LineObject* segment = f->P_in->create_line_like(*f->L_m[0]);
    f->L_m.push_back(segment);
    segment->set_points(10, 60, 80, 20);
    segment->show();
    f->seg_count = 1;
    tick(f->Check_hidescale, true);

    save_as(path("clean"));
    EXPECT_EQ(read_back(path("clean.bmp")), picture);
}

TEST_F(SavePicture, TheFileHoldsThePixelsTheScreenShowsAtEveryZoom) {
    show_window();
    const QImage full = open_picture(37, 23);
    hide_overlays();
    tick(f->Check_hidescale, true);

    // 100%: the picture itself.
    save_as(path("z100"));
    EXPECT_EQ(read_back(path("z100.bmp")), full);

    // Below 100% the area holds the picture scaled to the shown size.
    const QImage small = full.scaled(at_percent(full.size(), 40));
    f->P_in->set_picture(small);
    set_view_zoom(*f, 40);
    save_as(path("z40"));
    EXPECT_EQ(read_back(path("z40.bmp")), small);

    // Above 100% each picture pixel becomes a block, the same blocks the screen paints.
    for (const int percent : {250, 510}) {
        SCOPED_TRACE(percent);
        const QSize shown = at_percent(full.size(), percent);
        f->P_in->set_picture_magnified(full, shown);
        set_view_zoom(*f, percent);
        const QString file = path(QString("z%1.bmp").arg(percent));
        save_as(file);
        const QImage saved = read_back(file);
        ASSERT_EQ(saved.size(), shown);
        EXPECT_EQ(saved, enlarged_region(full, shown, QRect(QPoint(0, 0), shown)));
        // Neighbouring picture pixels differ, so a shifted block edge would show.
        EXPECT_EQ(saved.pixel(0, 0), full.pixel(0, 0));
        EXPECT_EQ(saved.pixel(shown.width() - 1, shown.height() - 1), full.pixel(36, 22));
        const QRect region(shown.width() / 3, shown.height() / 4, 50, 40);
        const QImage painted =
            f->P_in->grab(region).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(saved.copy(region), painted);
    }
}

// Below 100% the picture area shrinks only what is exposed, and keeps it as
// shown while the view scrolls; the file is made by the same shrink. At 10%
// of 600 x 400 each shown pixel covers whole five-by-five blocks, and of
// 600 x 397 (whose height does not divide) whole five-by-one blocks, shrunk
// from a smaller picture made of them: within one level of the exact average.
TEST_F(SavePicture, BelowFullSizeTheFileIsWhatTheScreenShowsAtEveryZoom) {
    show_window(QSize(400, 300));
    tick(f->Check_hidescale, true);
    for (const QSize size : {QSize(600, 400), QSize(600, 397)}) {
        const QImage full = open_picture(size.width(), size.height());
        for (int percent = 90; percent >= 10; percent -= 10) {
            SCOPED_TRACE(QString("%1 x %2 at %3%")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(percent)
                             .toStdString());
            pointer::click(f->L_out);
            ASSERT_EQ(f->L_zval->text(), QString::number(percent) + "%");
            hide_overlays();
            QApplication::processEvents();
            f->HS_main->setValue(f->HS_main->maximum() / 2);
            QApplication::processEvents();
            const QString file = path(QString("z%1.bmp").arg(percent));
            save_as(file);
            const QImage saved = read_back(file);
            EXPECT_EQ(saved, f->P_in->grab().toImage().convertToFormat(QImage::Format_RGB32));
            const QImage exact = downscaled_copy(full, f->P_in->size());
            ASSERT_EQ(saved.size(), exact.size());
            int most = 0;
            for (int y = 0; y < exact.height(); ++y)
                for (int x = 0; x < exact.width(); ++x)
                    for (int shift : {0, 8, 16})
                        most = std::max(most, std::abs(int(saved.pixel(x, y) >> shift & 0xff) -
                                                       int(exact.pixel(x, y) >> shift & 0xff)));
            EXPECT_LE(most, percent == 10 ? 1 : 0);
        }
    }
}

TEST_F(SavePicture, BandsMeetWithoutASeam) {
    // A magnified picture with every mark crossing band edges: ticks, bar and
    // a caption taller than the thinnest bands.
    const QImage full = test_picture(29, 17);
    const ShownPicture view{full, true, QSize(148, 87), QColor(224, 224, 224)};
    ExportMarks marks;
    marks.caption = "1.000";
    marks.caption_at = QPoint(83, 66);
    marks.font = f->P_sub->font();
    marks.font.setPixelSize(11);
    marks.colour = QColor(grey);
    marks.lines = {QLineF(80.4f, 67, 80.4f, 62), QLineF(130, 67, 130, 62),
                   QLineF(80.4f, 66, 130, 66)};

    QImage whole = enlarged_region(full, view.shown, QRect(QPoint(0, 0), view.shown));
    {
        QPainter painter(&whole);
        draw_export_marks(painter, marks);
    }
    ASSERT_NE(whole, enlarged_region(full, view.shown, QRect(QPoint(0, 0), view.shown)));

    for (const int rows : {1, 2, 3, 5, 7, 64, 256}) {
        SCOPED_TRACE(rows);
        const QString file = path(QString("bands%1.bmp").arg(rows));
        ASSERT_EQ(write_exported_picture(view, marks, file, rows), QString());
        EXPECT_TRUE(differences(read_back(file), whole).isEmpty());
    }
    // The widest canvas still comes in bands of a few megabytes, at least a row each.
    EXPECT_LT(qint64(band_rows_for(30600)) * 30600 * 4, qint64(16) << 20);
    EXPECT_EQ(band_rows_for(16777215), 1);
}

TEST_F(SavePicture, AtEveryZoomTheFileIsTheWholeCanvasWhereverTheBarStands) {
    const QImage full = test_picture(83, 61);
    const QColor background(224, 224, 224);
    for (const int percent : {510, 250, 110, 100, 40}) {
        const QSize shown = at_percent(full.size(), percent);
        const ShownPicture view{percent == 100  ? full
                                : percent < 100 ? full.scaled(shown)
                                                : full,
                                percent > 100, shown, background};
        const float right = float(shown.width() - 3);
        const float length = float(shown.width() / 3);
        const int last = shown.height() - 1;
        // The bar on the first row with its caption half above the canvas, on
        // the last row with its ticks reaching up, and across the middle.
        const struct {
            const char* where;
            ExportMarks marks;
        } placements[] = {
            {"top",
             grey_bar(f->P_sub->font(), right, length, 0, 0, QPoint(int(right - length), -4))},
            {"bottom", grey_bar(f->P_sub->font(), right, length, float(last - 5), float(last),
                                QPoint(int(right - length), last - 3))},
            {"middle", grey_bar(f->P_sub->font(), right, length, float(shown.height() / 2),
                                float(shown.height() / 2 + 4),
                                QPoint(int(right - length / 2), shown.height() / 2 + 4))},
        };
        for (const auto& [where, marks] : placements) {
            const QImage whole = whole_canvas(view, marks);
            ASSERT_NE(whole, whole_canvas(view, ExportMarks{}));
            for (const int rows : {1, 4, 0}) {
                SCOPED_TRACE(testing::Message()
                             << percent << "%, bar at the " << where << ", bands of " << rows);
                const QString file = path(QString("z%1%2%3.bmp").arg(percent).arg(where).arg(rows));
                ASSERT_EQ(write_exported_picture(view, marks, file, rows), QString());
                EXPECT_TRUE(differences(read_back(file), whole).isEmpty());
            }
        }
    }
}

TEST_F(SavePicture, RowsShowingOnePictureRowAndPicturesInOtherFormatsComeOutAsOnScreen) {
    const QColor background(224, 224, 224);
    const ExportMarks bar =
        grey_bar(f->P_sub->font(), 30, 20, 20, 24, QPoint(12, 25), QStringLiteral("5"));
    auto expect_whole_canvas = [&](const ShownPicture& view, const ExportMarks& marks,
                                   const QString& name) {
        for (const int rows : {1, 3, 7, 0}) {
            SCOPED_TRACE(testing::Message() << name.toStdString() << ", bands of " << rows);
            const QString file = path(QString("%1_%2.bmp").arg(name).arg(rows));
            ASSERT_EQ(write_exported_picture(view, marks, file, rows), QString());
            EXPECT_TRUE(differences(read_back(file), whole_canvas(view, marks)).isEmpty());
        }
    };

    // A picture one row high: every row of every band shows that row, and
    // rows between the marks' rows show it too.
    const QImage strip = test_picture(7, 1);
    expect_whole_canvas({strip, true, QSize(36, 50), background}, bar, "strip");
    expect_whole_canvas({strip, true, QSize(36, 50), background}, ExportMarks{}, "plain_strip");
    // Stretched so far that whole bands show a single picture row.
    expect_whole_canvas({test_picture(5, 3), true, QSize(26, 300), background}, bar, "tall");

    // Pictures held in other formats show the colours the screen's mapping gives them.
    QImage translucent = test_picture(13, 9).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < 13; ++x)
        translucent.setPixel(x, 4, qRgba(200, 10, 90, x * 20));
    QImage palette(13, 9, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(1, 2, 3)});
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            palette.setPixel(x, y, uint((x + 2 * y) % 3));
    for (const QImage& picture :
         {translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied), palette}) {
        const ShownPicture view{picture, true, at_percent(picture.size(), 250), background};
        expect_whole_canvas(view, bar, QString("format%1").arg(int(picture.format())));
    }

    // At 100% a picture that does not fill the area leaves the background
    // showing, and a translucent one is seen over it.
    expect_whole_canvas({test_picture(30, 20), false, QSize(40, 35), background}, bar, "small");
    const QImage over = translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    expect_whole_canvas({over, false, over.size(), background}, ExportMarks{}, "over");
}

TEST_F(SavePicture, LargeTextAndLinesReachingPastTheCanvasArePaintedWhole) {
    const ShownPicture view{test_picture(23, 17), true, QSize(117, 86), QColor(224, 224, 224)};
    // Glyphs reaching above the ascent and below the baseline, across many bands.
    ExportMarks text;
    text.caption = QStringLiteral("\u00c9gjy|Q");
    text.caption_at = QPoint(5, 30);
    text.font = f->P_sub->font();
    text.font.setPixelSize(40);
    text.colour = QColor(grey);
    // Only upright and level lines, as the scale bar has: a slanting line
    // clipped to a band may step a pixel off its course over the whole canvas.
    ExportMarks long_lines = text;
    long_lines.caption.clear();
    long_lines.lines = {QLineF(100, -1e9, 100, 1e9), QLineF(-1e6, 85.6, 1e6, 85.6),
                        QLineF(3.5, 0.2, 60.2, 0.2)};
    for (const ExportMarks& marks : {text, long_lines}) {
        const QImage whole = whole_canvas(view, marks);
        for (const int rows : {1, 5, 0}) {
            SCOPED_TRACE(testing::Message() << marks.lines.size() << " lines, bands of " << rows);
            const QString file = path(QString("large%1.bmp").arg(rows));
            ASSERT_EQ(write_exported_picture(view, marks, file, rows), QString());
            EXPECT_TRUE(differences(read_back(file), whole).isEmpty());
        }
    }
}

TEST_F(SavePicture, AfterRealZoomStepsTheFileShowsTheBarWhereTheScreenHasIt) {
    show_window(QSize(800, 600));
    const QImage full = open_picture(300, 200);
    for (int i = 0; i < 15; ++i)
        pointer::click(f->L_in);
    ASSERT_EQ(f->L_zval->text(), QStringLiteral("250%"));
    ASSERT_TRUE(f->P_in->magnified());
    const QSize shown = f->P_in->size();
    ASSERT_EQ(shown, QSize(750, 500));
    // Scrolled, so the bar stands in the middle of the picture, not at its edge.
    f->HS_main->setValue(f->HS_main->maximum() / 2);
    f->VS_main->setValue(f->VS_main->maximum() / 3);
    ASSERT_FALSE(f->L_div->text().isEmpty());

    save_as(path("zoomed"));
    ASSERT_EQ(f->status_text(), QStringLiteral("Picture saved: zoomed.bmp, 750 x 500"));
    const QImage saved = read_back(path("zoomed.bmp"));
    ASSERT_EQ(saved.size(), shown);

    // Composed at once from what the screen holds: its magnified picture, the
    // three bar lines where draw_scale_bar put them, its label's caption at its place.
    QImage whole = enlarged_region(full, shown, QRect(QPoint(0, 0), shown));
    ExportMarks marks;
    marks.caption = f->L_div->text();
    marks.caption_at = f->L_div->pos();
    marks.font = f->P_sub->font();
    marks.font.setPixelSize(QFontInfo(f->P_sub->font()).pixelSize());
    marks.colour = QColor(grey);
    for (const LineObject* line : {f->Line_ax0, f->Line_ax1, f->Line_eq})
        marks.lines.emplace_back(line->X1(), line->Y1(), line->X2(), line->Y2());
    {
        QPainter painter(&whole);
        draw_export_marks(painter, marks);
    }
    EXPECT_TRUE(differences(saved, whole).isEmpty());

    // And the bar is where the user sees it: grey ticks down from its top,
    // inside the visible part of the picture.
    const QRect visible(f->HS_main->value(), f->VS_main->value(), f->P_out->width(),
                        f->P_out->height());
    const QPoint right_tick(qRound(f->Line_ax1->X1()), qRound(f->Line_ax1->Y2()));
    EXPECT_TRUE(visible.contains(right_tick));
    for (int y = 1; y <= 5; ++y)
        EXPECT_EQ(saved.pixel(right_tick + QPoint(0, y)), grey) << y;
    EXPECT_TRUE(visible.contains(f->L_div->geometry()));
}

TEST_F(SavePicture, ThePngHoldsTheBitmapsPixelsAndTheJpegComesCloseAtEveryZoom) {
    const QImage full = open_picture(41, 27);
    for (const int percent : {100, 510}) {
        SCOPED_TRACE(percent);
        const QSize shown = at_percent(full.size(), percent);
        if (percent != 100) f->P_in->set_picture_magnified(full, shown);
        place_scale_bar(35, 20, 15, "20");
        save_as(path("v.bmp"));
        save_as(path("v"), 1);
        save_as(path("v"), 2);
        const QImage bmp = read_back(path("v.bmp"));
        ASSERT_EQ(bmp.size(), shown);
        EXPECT_EQ(read_back(path("v.png")), bmp);
        const QImage jpeg = read_back(path("v.jpg"));
        ASSERT_EQ(jpeg.size(), shown);
        qint64 off = 0; // summed over every channel of every pixel
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = bmp.pixel(x, y), b = jpeg.pixel(x, y);
                off += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b));
            }
        EXPECT_LT(double(off) / (3.0 * shown.width() * shown.height()), 3.0);
    }
    // A JPEG's side ends at 65,500 pixels: refused before anything is written.
    f->P_in->set_picture_magnified(full, QSize(70000, 60));
    save_as(path("wide"), 2);
    EXPECT_TRUE(f->status_text().contains("65500")) << f->status_text().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({"wide*", ".kelvo*"}, QDir::Files | QDir::Hidden),
              QStringList());
}

TEST_F(SavePicture, AnotherReaderSeesTheSizeAndThePixels) {
    if (!pil_available())
        GTEST_SKIP() << "needs /usr/bin/python3 with PIL (Debian package python3-pil)";

    const QImage full = open_picture(41, 27);
    const QSize shown = at_percent(full.size(), 250);
    f->P_in->set_picture_magnified(full, shown);
    set_view_zoom(*f, 250);
    place_scale_bar(92, 40, 40, "20");
    save_as(path("pil"));

    ASSERT_EQ(read_back(path("pil.bmp")).size(), shown);
    // Corners and inner pixels of the magnified picture, then points of the
    // two ticks (x 52 and 92, rows 41 to 45) and of the bar (row 44).
    const QList<QPoint> picture_points = {{0, 0}, {101, 0}, {0, 66}, {101, 66}, {3, 3}, {4, 3}};
    const QList<QPoint> bar_points = {{52, 41}, {92, 42}, {70, 44}, {53, 44}};
    QString wanted = "BMP RGB 102 67\n";
    for (const QPoint p : picture_points)
        wanted += pil_pixel_line(enlarged_region(full, shown, QRect(p, QSize(1, 1))).pixel(0, 0));
    for (int i = 0; i < bar_points.size(); ++i)
        wanted += pil_pixel_line(grey);
    EXPECT_EQ(pil_describe(path("pil.bmp"), picture_points + bar_points).toStdString(),
              wanted.toStdString());
}

TEST_F(SavePicture, AFailedWriteKeepsTheOldFileAndSaysWhichAndWhy) {
    open_picture(300, 300);
    put(path("shot.bmp"), "the earlier picture");

    {
        // The 270 KB bitmap does not fit: refused when its space is claimed.
        FileSizeLimit limit(64 * 1024);
        save_as(path("shot"));
    }
    EXPECT_EQ(contents(path("shot.bmp")), "the earlier picture");
    EXPECT_TRUE(f->status_text().contains(path("shot.bmp"))) << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains("File too large")) << f->status_text().toStdString();
    EXPECT_FALSE(f->P_sub->isVisible());
    EXPECT_FALSE(f->P_sub->has_picture());

    // A folder that cannot take the file. Permissions do not stop root, so the
    // "folder" is a regular file instead.
    put(path("not_a_folder"), "plain file");
    save_as(path("not_a_folder/shot"));
    EXPECT_TRUE(f->status_text().contains(path("not_a_folder/shot.bmp")))
        << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains("Not a directory")) << f->status_text().toStdString();

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"not_a_folder", "picture.bmp", "shot.bmp"}));
}

TEST_F(SavePicture, AReadOnlyFolderKeepsTheOldFileAndSaysSo) {
    open_picture(40, 30);
    const QString folder = path("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    put(folder + "/shot.bmp", "the earlier picture");
    ReadOnlyFolder locked(folder);
    if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
    save_as(folder + "/shot");
    EXPECT_EQ(contents(folder + "/shot.bmp"), "the earlier picture");
    EXPECT_TRUE(f->status_text().contains(folder + "/shot.bmp")) << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains(locked.reason())) << f->status_text().toStdString();
}

TEST_F(SavePicture, ABitmapPastFourGigabytesIsRefusedBeforeAnythingIsWritten) {
    const QImage full = open_picture(20, 20);
    f->P_in->set_picture_magnified(full, QSize(40000, 40000));
    put(path("huge.bmp"), "the earlier picture");
    save_as(path("huge"));
    EXPECT_TRUE(f->status_text().contains(path("huge.bmp"))) << f->status_text().toStdString();
    EXPECT_TRUE(f->status_text().contains("4 GB")) << f->status_text().toStdString();
    EXPECT_EQ(contents(path("huge.bmp")), "the earlier picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"huge.bmp", "picture.bmp"}));
}

TEST_F(SavePicture, TheViewOnScreenIsUnchangedAndTheWorkBoxEmptyAndHidden) {
    show_window();
    const QImage full = open_picture(150, 100);
    f->P_in->set_picture_magnified(full, QSize(450, 300));
    place_scale_bar(300, 100, 200, "100");
    f->L_d->set_points(10, 10, 200, 150);
    f->L_d->show();
    QTest::qWait(0);
    const QImage screen_before = f->P_out->grab().toImage();
    const QPoint place = f->P_in->pos();
    const QRect label = f->L_div->geometry();

    save_as(path("view"));
    ASSERT_TRUE(QFile::exists(path("view.bmp")));
    EXPECT_EQ(f->status_text(), QStringLiteral("Picture saved: view.bmp, 450 x 300"));
    EXPECT_FALSE(f->P_sub->isVisible());
    EXPECT_FALSE(f->P_sub->has_picture());
    EXPECT_EQ(f->P_in->picture(), full);
    EXPECT_TRUE(f->P_in->magnified());
    EXPECT_EQ(f->P_in->size(), QSize(450, 300));
    EXPECT_EQ(f->P_in->pos(), place);
    EXPECT_EQ(f->L_div->geometry(), label);
    EXPECT_TRUE(f->L_d->visible());
    EXPECT_EQ(f->Line_eq->Y1(), 204.0f);
    QTest::qWait(0);
    EXPECT_EQ(f->P_out->grab().toImage(), screen_before);
}

} // namespace
