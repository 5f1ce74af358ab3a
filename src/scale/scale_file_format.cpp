// SPDX-License-Identifier: MIT
#include "scale/scale_file.h"

#include <bit>
#include <cstdint>

QByteArray scale_file_bytes(float unit_per_px) {
    QByteArray bytes(scale_file_size, '\0');
    const auto bits = std::bit_cast<std::uint32_t>(unit_per_px);
    for (int k = 0; k < 4; ++k)
        bytes[scale_offset + k] = char((bits >> (8 * k)) & 0xFF);
    return bytes;
}

float scale_in_file(const QByteArray& head) {
    std::uint32_t bits = 0;
    for (int k = 0; k < 4; ++k)
        if (scale_offset + k < head.size())
            bits |= std::uint32_t(static_cast<unsigned char>(head[scale_offset + k])) << (8 * k);
    return std::bit_cast<float>(bits);
}
