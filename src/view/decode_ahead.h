// SPDX-License-Identifier: MIT
#pragma once
// The next picture of the folder, decoded on a worker thread while the user
// looks at the one shown, so that File > Next picture shows it at once. One
// picture at most, and only one within the kept picture's budget
// (view/kept_picture.h): the window then holds two full-size pictures at
// most. It is dropped as soon as another picture is opened, and its file's
// identity is checked when it is used: a file changed since is read anew.

#include <QString>
#include <QtGlobal>
#include <memory>

struct ViewRoom;
class PictureDecoding;

// Drops what was decoded ahead before, and a moment later starts decoding
// the picture after the shown one in its folder, when there is one and it is
// small enough.
void decode_next_ahead(const ViewRoom& room);

// The decoding ahead when it is of `path` (finished or not), handed over;
// otherwise null, and whatever was decoded ahead is dropped.
std::unique_ptr<PictureDecoding> take_decoded_ahead(const ViewRoom& room, const QString& path);

// Lets go of a decoding no longer wanted without waiting for its worker,
// which is joined once it has ended, or as the window closes.
void let_go_of(const ViewRoom& room, std::unique_ptr<PictureDecoding> decoding);

// The memory the picture decoded ahead holds, or will once decoded; 0 when
// there is none.
qint64 picture_ahead_bytes(const ViewRoom& room);

// The path decoded ahead once its decoding has finished; empty before and
// when there is none (for the tests and benchmarks).
QString decoded_ahead(const ViewRoom& room);
