// SPDX-License-Identifier: MIT
#include "view/recent_menu.h"

#include "form/F_main.h"
#include "form/view_room.h"
#include "platform/recent_pictures.h"
#include "view/held_input.h"
#include "view/picture_loading.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int longest_caption = 70;

QMenu* recent_menu(const ViewRoom& room) {
    return room.ff->findChild<QMenu*>(QStringLiteral("recent_pictures"));
}

// "&3 /home/ann/photos/wing.jpg", the middle of a long path left out.
QString caption(int number, QString file) {
    if (file.size() > longest_caption)
        file = file.left(longest_caption / 2 - 1) + QChar(0x2026) + file.right(longest_caption / 2);
    file.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(file);
}

void open_recent_picture(const ViewRoom& room, const QString& file) {
    if (!QFileInfo::exists(file)) {
        forget_recent_picture(file);
        room.report(QStringLiteral("Could not open %1: the file is no longer there. It was taken "
                                   "off the recent pictures.")
                        .arg(file));
        return;
    }
    const InputHeld held(room);
    const PictureOpening opening = open_picture_file(room, file);
    if (!opening.message.isEmpty()) room.report(opening.message, opening.outcome);
}

} // namespace

void add_recent_menu(F_main& f) {
    auto* menu = new QMenu(QStringLiteral("Open recent (&R)"), f.ff);
    menu->setObjectName(QStringLiteral("recent_pictures"));
    f.ff->insertMenu(f.fp, menu);
    // Filled as the File menu opens, from the settings as they are then
    // (another window may have opened pictures since); nothing at start-up.
    QObject::connect(f.ff, &QMenu::aboutToShow, menu,
                     [room = f.view_room()] { fill_recent_menu(room); });
}

void fill_recent_menu(const ViewRoom& room) {
    QMenu* menu = recent_menu(room);
    menu->clear();
    const QStringList files = recent_pictures();
    for (int i = 0; i < files.size(); ++i) {
        QAction* entry = menu->addAction(caption(i + 1, files[i]));
        entry->setStatusTip(files[i]);
        QObject::connect(entry, &QAction::triggered, room.window,
                         [room, file = files[i]] { open_recent_picture(room, file); });
    }
    menu->setEnabled(!files.isEmpty());
}
