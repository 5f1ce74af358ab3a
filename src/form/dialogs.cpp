// SPDX-License-Identifier: MIT
#include "form/dialogs.h"

#include "form/F_main.h"
#include "form/picture_files.h"
#include "picture/picture_file_writer.h"
#include "workbook/workbook_formats.h"

namespace {
const QString open_title = QStringLiteral("Open data file");
const QString save_title = QStringLiteral("Save data file");

QString ask(const FileAsking& f, DialogKind kind, const QString& pattern, const QString& more = {},
            const QString& completion = {}) {
    return f.dialogs
        .ask({kind, kind == DialogKind::Open ? open_title : save_title, pattern, more, completion},
             f.window)
        .path;
}

// The dialog asks its questions about the name as completed with `extension`
// (DialogRequest::completion), and that is the name it yields.
QString ask_save(const FileAsking& f, const QString& extension) {
    const QString typed = ask(f, DialogKind::Save, QLatin1Char('*') + extension, {}, extension);
    return typed.isEmpty() ? typed : complete_extension(typed, extension);
}
// A save dialog listing several kinds of file, the first selected: the name
// is completed with the chosen entry's extension unless it has one of theirs.
template <typename Kind, size_t kinds>
QString ask_save_kinds(const FileAsking& f, const SaveFileType<Kind> (&types)[kinds]) {
    DialogRequest request{DialogKind::Save,
                          save_title,
                          QLatin1Char('*') + QLatin1String(types[0].extension),
                          {},
                          QLatin1String(types[0].extension)};
    for (size_t i = 1; i < kinds; ++i)
        request.more_saves.push_back(
            {QLatin1String(types[i].dialog_entry), QLatin1String(types[i].extension)});
    const DialogAnswer answer = f.dialogs.ask(request, f.window);
    return answer.path.isEmpty() ? answer.path : completed_name(request, answer.path, answer.entry);
}
} // namespace

FileAsking::FileAsking(F_main& f) : FileAsking(f.dialogs, &f) {}

// The program's own two formats come first and are selected; the second
// entry finds every other picture it opens (a microscope's TIFF, say).
QString ask_open_picture(const FileAsking& f) {
    return ask(f, DialogKind::Open, QStringLiteral("*.bmp;*.jpg"), all_picture_patterns());
}
QString ask_open_defi(const FileAsking& f) {
    return ask(f, DialogKind::Open, QStringLiteral("*.kvo"));
}
QString ask_save_defi(const FileAsking& f) {
    return ask_save(f, QStringLiteral(".kvo"));
}
// The bitmap of old comes first and is selected; PNG and JPEG follow.
QString ask_save_picture(const FileAsking& f) {
    return ask_save_kinds(f, picture_file_types);
}
// The .xls of old comes first and is selected; the other formats follow.
QString ask_save_xls(const FileAsking& f) {
    return ask_save_kinds(f, workbook_file_types);
}
