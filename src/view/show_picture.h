// SPDX-License-Identifier: MIT
#pragma once
// Reading the picture of pic_path into the picture area at a zoom: the one
// path behind every zoom step (render_at_zoom, "1/1"); opening decodes on a
// worker (view/picture_loading.h).

#include <QString>

struct ViewRoom;

// Shows the picture of pic_path in P_in at `percent`: from the kept full-size
// picture when its file is unchanged (view/kept_picture.h), else read again
// from the file. Returns why the file could not be read, with P_in as it
// was; empty when the picture is shown. The caller says it.
QString show_picture_at(const ViewRoom& room, double percent);

// A picture held by P_in above this size is released once the new file has
// passed its checks, before it is decoded, so that a zoom step holds one
// decoded picture, not two.
constexpr qint64 released_before_decoding_bytes = qint64(32) << 20;
