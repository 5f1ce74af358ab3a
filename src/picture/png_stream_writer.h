// SPDX-License-Identifier: MIT
#pragma once
// The exported picture as a PNG, encoded by libpng row by row as the bands
// come: 8 bits a channel, RGB, no alpha, 72 dpi, the same pixels as the
// bitmap. zlib's fastest level and the "up" filter: a row the zoom repeats
// is then all zeros and costs almost nothing, and the photo's own rows barely
// gain from more effort (BENCHMARKS.md).

#include "picture/sequential_stream_writer.h"

#include <csetjmp>

struct png_struct_def;
struct png_info_def;

class PngStreamWriter final : public SequentialStreamWriter {
  public:
    PngStreamWriter(QString target, qint64 width, qint64 height);
    ~PngStreamWriter() override;

  private:
    QString refuse_reason() const override;
    QString start() override;
    QString encode(std::span<const uchar* const> rows) override;
    QString end() override;
    static void write_bytes(png_struct_def* png, unsigned char* data, size_t size);
    static void flush(png_struct_def*) {}
    [[noreturn]] static void on_error(png_struct_def* png, const char* message);
    static void on_warning(png_struct_def*, const char*) {}

    png_struct_def* png_ = nullptr;
    png_info_def* info_ = nullptr;
    char message_[256] = {};
};
