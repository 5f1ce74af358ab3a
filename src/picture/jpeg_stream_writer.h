// SPDX-License-Identifier: MIT
#pragma once
// The exported picture as a JPEG, encoded by libjpeg-turbo scanline by
// scanline as the bands come: quality 95, colour at full resolution (4:4:4),
// 72 dpi.
// JPEG's sides stop at 65,500 pixels; a larger picture is refused before
// anything is written.

#include "picture/sequential_stream_writer.h"

#include <memory>

class JpegStreamWriter final : public SequentialStreamWriter {
  public:
    JpegStreamWriter(QString target, qint64 width, qint64 height);
    ~JpegStreamWriter() override;

    static constexpr int quality = 95;

  private:
    QString refuse_reason() const override;
    QString start() override;
    QString encode(std::span<const uchar* const> rows) override;
    QString end() override;

    struct Encoder; // libjpeg's state, its error manager and the destination
    std::unique_ptr<Encoder> encoder_;
};
