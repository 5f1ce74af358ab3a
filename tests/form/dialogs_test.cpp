// SPDX-License-Identifier: MIT
// The five file dialogs and the completion of the names they return.

#include "kelvo_fixture.h"

#include "form/dialogs.h"

namespace {

using FileDialogFamily = KelvoTest;

TEST_F(FileDialogFamily, EachAsksWithItsTitleAndOnePatternAndReturnsThePathAsChosen) {
    const struct {
        const char* name;
        QString (*ask)(const FileAsking&);
        DialogKind kind;
        const char* title;
        const char* pattern;
    } family[] = {
        {"ask_open_picture", ask_open_picture, DialogKind::Open, "Open data file", "*.bmp;*.jpg"},
        {"ask_open_defi", ask_open_defi, DialogKind::Open, "Open data file", "*.kvo"},
        {"ask_save_defi", ask_save_defi, DialogKind::Save, "Save data file", "*.kvo"},
        {"ask_save_picture", ask_save_picture, DialogKind::Save, "Save data file", "*.bmp"},
        {"ask_save_xls", ask_save_xls, DialogKind::Save, "Save data file", "*.xls"},
    };
    for (const auto& member : family) {
        dialogs.requests.clear();
        // A name typed without extension comes back as typed from an open
        // dialog, completed with the pattern's extension from a save dialog.
        const QString typed = path(QStringLiteral("typed name"));
        dialogs.answer(typed);
        const bool save = member.kind == DialogKind::Save;
        EXPECT_EQ(member.ask(*f), save ? typed + QLatin1String(member.pattern + 1) : typed)
            << member.name;
        ASSERT_EQ(dialogs.requests.size(), 1u) << member.name;
        const DialogRequest& asked = dialogs.requests[0];
        EXPECT_EQ(asked.kind, member.kind) << member.name;
        EXPECT_EQ(asked.title, QLatin1String(member.title)) << member.name;
        EXPECT_EQ(asked.pattern, QLatin1String(member.pattern)) << member.name;

        dialogs.cancel();
        EXPECT_TRUE(member.ask(*f).isEmpty()) << member.name;
    }
    EXPECT_EQ(dialogs.unexpected, 0);
}

} // namespace
