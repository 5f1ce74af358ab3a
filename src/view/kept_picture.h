// SPDX-License-Identifier: MIT
#pragma once
// The full-size picture kept between zoom steps (F_main::full_picture), and
// the zoom steps it answers without reading the file again.
//
// A step shows the file as it is now: the file's identity (device, inode,
// size, modification and change times) is compared with the one it had when
// the kept picture was decoded, and any difference reads it again. Every zoom
// of a picture within the budget below is shrunk from its full size by area
// average (from a smaller copy made of whole blocks of it where that is within
// one level of it), whether the full-size picture was kept or just decoded, so
// a zoom shows the same pixels whichever way it was made; the picture area
// shrinks only the part it exposes. Larger pictures are kept only while they
// show at 100% or more (the picture area holds them then); below, they are
// decoded at the DCT scale and shrunk as they are decoded, so that memory
// stays bounded.

#include "platform/file_identity.h"

#include <QImage>
#include <QSize>

struct ViewRoom;

// True when a picture of `full` size is within the budget of a kept picture
// at any zoom: up to 64 megapixels and 256 MiB decoded.
bool fits_full_picture_budget(QSize full);

// True when a picture of `full` size shown at `shown` is decoded whole and
// kept: always at 100% and above (the picture area holds it then), below 100%
// within the budget. Otherwise it is decoded shrunk.
bool keeps_full_picture(QSize full, QSize shown);

// Shows the kept picture at `percent` when pic_path, whose identity is now
// `file`, is the file it was decoded from, unchanged, and the zoom may be made
// from it; false, with nothing changed, when the file must be read again.
bool show_kept_picture(const ViewRoom& room, double percent, const FileIdentity& file);

// Sets the kept picture: `picture` decoded from pic_path whose identity was
// `file` before decoding.
void keep_full_picture(const ViewRoom& room, const FileIdentity& file, const QImage& picture);

// Keeps `memory`, a picture no longer shown, as the window's spare
// (F_main::spare_memory) when it is a large 32-bit picture held by nothing
// else and larger than the spare already kept; lets it go otherwise. Neither
// it nor the spare is kept when larger than twice the picture now shown: a
// photo's memory is not held beside a small picture.
void keep_spare_memory(const ViewRoom& room, QImage memory);

// Lets go of the smaller copy when it is larger than the memory left beside a
// picture decoded ahead, the view shrunk from the full-size picture instead.
void make_room_for_picture_ahead(const ViewRoom& room);

// Shows the kept picture at `shown`: magnified, at its own size, or shrunk
// (from a smaller copy where each shown pixel covers whole blocks of it).
void show_full_picture_at(const ViewRoom& room, QSize shown);
