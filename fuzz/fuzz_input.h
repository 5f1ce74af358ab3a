// SPDX-License-Identifier: MIT
#pragma once
// Reading a fuzzer's bytes as the values a target needs, and the one way a
// target says an expectation failed: a message and an abort, which libFuzzer
// records as a crash with its input.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    template <class T> T value() {
        T v{};
        const size_t n = std::min(sizeof v, size_ - at_);
        std::memcpy(&v, data_ + at_, n);
        at_ += n;
        return v;
    }
    // Up to `most` bytes, as UTF-8 text (invalid sequences become U+FFFD).
    QString text(size_t most) {
        const size_t n = std::min<size_t>(std::min<size_t>(byte(), most), size_ - at_);
        const QString s =
            QString::fromUtf8(reinterpret_cast<const char*>(data_ + at_), qsizetype(n));
        at_ += n;
        return s;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

[[noreturn]] inline void fuzz_fail(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "expectation failed: %s %s\n", what, detail.toUtf8().constData());
    std::abort();
}
#define FUZZ_EXPECT(condition, detail)                                                             \
    do {                                                                                           \
        if (!(condition)) fuzz_fail(#condition, detail);                                           \
    } while (0)
