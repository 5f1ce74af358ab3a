// SPDX-License-Identifier: MIT
#pragma once
// File > Next picture and Previous picture: through the pictures of the
// shown picture's folder, in natural order (photo2 before photo10), each
// opened as File > Open picture opens it.

#include <QString>
#include <QStringList>

struct ViewRoom;

// Negative, zero or positive as `a` sorts before, with or after `b`: runs of
// digits compare by their value, the rest without regard to case; names that
// differ only there are put in a fixed order by case and leading zeros.
int natural_compare(const QString& a, const QString& b);

// The picture files of `folder` (by extension, form/picture_files), in natural order.
QStringList folder_pictures(const QString& folder);

// The picture `step` places after `path` (-1: the one before) among the
// pictures of its folder; empty when there is none. `path` need not be there
// any more: the step goes from where its name would stand.
QString neighbour_picture(const QString& path, int step);

// The handlers: open the next or previous picture, or say there is none.
void next_picture(const ViewRoom& room);
void previous_picture(const ViewRoom& room);
