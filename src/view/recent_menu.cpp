// SPDX-License-Identifier: MIT
#include "view/recent_menu.h"

#include "form/F_main.h"
#include "platform/recent_pictures.h"
#include "view/held_input.h"
#include "view/picture_loading.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int longest_caption = 70;

QMenu* recent_menu(F_main& f) {
    return f.ff->findChild<QMenu*>(QStringLiteral("recent_pictures"));
}

// "&3 /home/ann/photos/wing.jpg", the middle of a long path left out.
QString caption(int number, QString file) {
    if (file.size() > longest_caption)
        file = file.left(longest_caption / 2 - 1) + QChar(0x2026) + file.right(longest_caption / 2);
    file.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(file);
}

void open_recent_picture(F_main& f, const QString& file) {
    if (!QFileInfo::exists(file)) {
        forget_recent_picture(file);
        f.report(QStringLiteral("Could not open %1: the file is no longer there. It was taken "
                                "off the recent pictures.")
                     .arg(file));
        return;
    }
    const InputHeld held(f);
    const PictureOpening opening = open_picture_file(f, file);
    if (!opening.message.isEmpty()) f.report(opening.message, opening.outcome);
}

} // namespace

void add_recent_menu(F_main& f) {
    auto* menu = new QMenu(QStringLiteral("Open recent (&R)"), f.ff);
    menu->setObjectName(QStringLiteral("recent_pictures"));
    f.ff->insertMenu(f.fp, menu);
    // Filled as the File menu opens, from the settings as they are then
    // (another window may have opened pictures since); nothing at start-up.
    QObject::connect(f.ff, &QMenu::aboutToShow, menu, [&f] { fill_recent_menu(f); });
}

void fill_recent_menu(F_main& f) {
    QMenu* menu = recent_menu(f);
    menu->clear();
    const QStringList files = recent_pictures();
    for (int i = 0; i < files.size(); ++i) {
        QAction* entry = menu->addAction(caption(i + 1, files[i]));
        entry->setStatusTip(files[i]);
        QObject::connect(entry, &QAction::triggered, &f,
                         [&f, file = files[i]] { open_recent_picture(f, file); });
    }
    menu->setEnabled(!files.isEmpty());
}
