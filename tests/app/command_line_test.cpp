// SPDX-License-Identifier: MIT
#include "kelvo_fixture.h"

#include "app/command_line.h"
#include "scale/scale_file.h"

#include <QFile>

namespace {

// Qt's options are read with their values and left alone; each file lands in
// its place by its name, whatever the order; `--` ends the options.
TEST(CommandLine, QtOptionsAreSkippedAndFilesTakeTheirPlaces) {
    struct Case {
        QStringList arguments;
        std::optional<int> exit_code;
        QString picture, scale;
    };
    const Case cases[] = {
        {{"-platform", "offscreen", "-style", "Fusion", "-session", "1a2b", "p.jpg", "s.KVO"},
         {},
         "p.jpg",
         "s.KVO"},
        {{"s.kvo", "-reverse", "--display", ":0", "p.bmp"}, {}, "p.bmp", "s.kvo"},
        {{"--", "-photo.jpg"}, {}, "-photo.jpg", ""},
        {{"-photo.jpg"}, 2, "", ""},
        {{"a.jpg", "b.png"}, 2, "", ""},
        {{"a.kvo", "b.kvo"}, 2, "", ""},
    };
    for (const Case& c : cases) {
        const CommandLine read = read_command_line(QStringList{"kelvo"} + c.arguments);
        EXPECT_EQ(read.exit_code, c.exit_code) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(read.picture, c.picture);
        EXPECT_EQ(read.scale, c.scale);
    }
}

using CommandLineFiles = KelvoTest;

TEST_F(CommandLineFiles, APictureAndAScaleFileNamedTogetherBothLoad) {
    show_window();
    CommandLine named;
    named.picture = save_picture_file(test_picture(120, 80), QStringLiteral("p.bmp"));
    named.scale = path(QStringLiteral("s.kvo"));
    QFile scale(named.scale);
    ASSERT_TRUE(scale.open(QIODevice::WriteOnly));
    scale.write(scale_file_bytes(0.5f));
    scale.close();
    open_from_command_line(*f, named);
    EXPECT_EQ(f->P_in->picture().size(), QSize(120, 80));
    EXPECT_EQ(f->unit_per_px, 0.5f);
    EXPECT_EQ(f->status_text(), "Opened p.bmp, 120 x 80; Scale: 0.5 per pixel (from s.kvo)");

    // Whatever fails is said first, and a scale that loads does not hide it.
    named.picture = path(QStringLiteral("missing.jpg"));
    open_from_command_line(*f, named);
    EXPECT_TRUE(f->status_text().startsWith("Could not read " + named.picture));
    EXPECT_TRUE(f->status_text().endsWith("; Scale: 0.5 per pixel (from s.kvo)"));
    named.scale = path(QStringLiteral("missing.kvo"));
    open_from_command_line(*f, named);
    EXPECT_EQ(f->status_text().count(QStringLiteral("Could not read ")), 2);
}

} // namespace
