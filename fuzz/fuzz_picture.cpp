// SPDX-License-Identifier: MIT
// The one picture decoding entry, over every format the program opens (BMP,
// JPEG, PNG, GIF, TIFF, WebP; the file's name says nothing, so Qt goes by its
// content): the size read from the header, the whole decode, the decode into
// reused memory and the scaled decode must agree and never fault.

#include "fuzz_input.h"
#include "picture/picture_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {
QString picture_path;

// Files whose header claims more than this are not decoded here: the memory a
// decoder takes for a huge stated size is the business of the size checks,
// and the fuzzer's own memory limit would stop the run on it.
constexpr qint64 most_pixels = qint64(1) << 22;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv); // finds Qt's image plugins
    static QTemporaryDir dir;
    picture_path = dir.filePath(QStringLiteral("picture"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(picture_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            fuzz_fail("cannot write the input file", picture_path);
    }
    const auto [stated, error] = read_picture_size(picture_path);
    if (!stated.isValid()) {
        FUZZ_EXPECT(!error.isEmpty(), QString());
        return 0;
    }
    if (qint64(stated.width()) * stated.height() > most_pixels) return 0;

    const LoadedPicture whole = load_picture_reusing(picture_path);
    if (!whole.ok()) return 0;
    FUZZ_EXPECT(whole.image.size() == stated, whole.error);
    FUZZ_EXPECT(whole.image.format() == QImage::Format_RGB32, QString());

    const LoadedPicture again =
        load_picture_reusing(picture_path, QImage(stated, QImage::Format_RGB32));
    FUZZ_EXPECT(again.ok() && again.image == whole.image, again.error);

    if (stated.width() >= 2 && stated.height() >= 2) {
        const QSize shown(stated.width() * 2 / 3, stated.height() / 2);
        const LoadedPicture scaled = load_picture_scaled(picture_path, shown);
        FUZZ_EXPECT(!scaled.ok() || scaled.image.size() == shown, scaled.error);
    }
    return 0;
}
