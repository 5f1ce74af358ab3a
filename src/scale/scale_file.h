#pragma once
// The scale definition file (.kvo): the scale and nothing else.
//
//   offset 0, 19 bytes: zero
//   offset 19, 4 bytes: unit_per_px, IEEE single, little-endian

#include <QByteArray>

class F_main;

void save_scale_defi(F_main& f); // "Save scale defi"
void open_scale_defi(F_main& f); // "Open scale defi"

inline constexpr int scale_file_size = 23;
inline constexpr int scale_offset = 19;

// The whole file for `unit_per_px`.
QByteArray scale_file_bytes(float unit_per_px);
// The scale a file's first bytes hold; bytes beyond the end count as zero.
float scale_in_file(const QByteArray& head);
