// SPDX-License-Identifier: MIT
#pragma once
// Which files the program opens as pictures, by name.

#include <QString>

// Every picture file the program opens, as one filter pattern:
// "*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.webp".
QString all_picture_patterns();

// True when `path` ends in one of those extensions, in any case.
bool is_picture_name(const QString& path);
// True when `path` ends in ".kvo", in any case.
bool is_scale_file_name(const QString& path);
