// SPDX-License-Identifier: MIT
#pragma once
// The scale definition file (.kvo): the scale and nothing else.
//
//   offset 0, 19 bytes: zero
//   offset 19, 4 bytes: unit_per_px, IEEE single, little-endian

#include "form/reporter.h"

#include <QByteArray>
#include <QString>

struct ScaleRoom;

void save_scale_defi(const ScaleRoom& room); // "Save scale defi"
void open_scale_defi(const ScaleRoom& room); // "Open scale defi"
// Takes the scale from the file `path`, as "Open scale defi" does once the
// name is chosen; a file that cannot be read or holds no usable scale changes
// nothing. What the status line is to say: the scale now in force, or why not.
StatusMessage load_scale_defi(const ScaleRoom& room, const QString& path);

inline constexpr int scale_file_size = 23;
inline constexpr int scale_offset = 19;

// The whole file for `unit_per_px`.
QByteArray scale_file_bytes(float unit_per_px);
// The scale a file's first bytes hold; bytes beyond the end count as zero.
float scale_in_file(const QByteArray& head);
