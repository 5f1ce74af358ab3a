// SPDX-License-Identifier: MIT
#include "scale/scale_file.h"

#include "form/dialogs.h"
#include "form/measuring_door.h"
#include "form/scale_room.h"
#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "scale/calibration.h"
#include "scale/scale_bar.h"
#include "scale/scale_limits.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString extension = QStringLiteral(".kvo");

// The first bytes of `path`, as many as the format has. Opening for reading
// never creates the file, so a completed name without a file leaves nothing
// behind; a named pipe or a device is refused without waiting on it.
struct FileHead {
    QByteArray bytes;
    qint64 size = 0; // the whole file's
    QString error;   // why it could not be read; empty on success
};
FileHead read_head(const QString& path) {
    QFile file;
    if (const QString why = open_regular_file(path, file); !why.isEmpty()) return {{}, 0, why};
    const QByteArray head = file.read(scale_file_size);
    if (file.error() != QFileDevice::NoError) return {{}, 0, file.errorString()};
    return {head, file.size(), QString()};
}

QString byte_count(qint64 size) {
    return size == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(size);
}
} // namespace

void save_scale_defi(const ScaleRoom& room) {
    const QString path = ask_save_defi(room.dialogs);
    if (path.isEmpty()) return;
    // Written beside and renamed over an existing file: a failed save keeps
    // the old one.
    if (const QString error = write_file_atomically(path, scale_file_bytes(room.unit_per_px));
        !error.isEmpty()) {
        room.report(QStringLiteral("Could not write %1: %2").arg(path, error));
        return;
    }
    room.report(QStringLiteral("Scale saved: %1").arg(QFileInfo(path).fileName()),
                ReportOutcome::done);
}

void open_scale_defi(const ScaleRoom& room) {
    const QString path = ask_open_defi(room.dialogs);
    if (path.isEmpty()) return;
    // The dialog only offers existing files, but the completed name may not be one.
    room.report(load_scale_defi(room, complete_extension(path, extension)));
}

StatusMessage load_scale_defi(const ScaleRoom& room, const QString& path) {
    const FileHead head = read_head(path);
    if (!head.error.isEmpty())
        return {QStringLiteral("Could not read %1: %2").arg(path, head.error)};
    const float scale = scale_in_file(head.bytes);
    // The value is all the format has, so any usable one is taken; the size
    // is what tells the user a file was no scale file at all.
    const QString size_note = QStringLiteral("%1, where a scale file has %2")
                                  .arg(byte_count(head.size))
                                  .arg(scale_file_size);
    if (const QString why = unusable_scale_reason(scale); !why.isEmpty()) {
        if (head.size < scale_file_size)
            return {QStringLiteral("Scale not changed: %1: too short to hold a scale (%2).")
                        .arg(path, size_note)};
        return {QStringLiteral("Scale not changed: %1: holds a scale that is %2.").arg(path, why)};
    }
    // Text_scale, the calibration under way and the chain are left alone.
    const float old = room.unit_per_px;
    room.unit_per_px = scale;
    room.measuring.convert_results(old, scale);
    draw_scale_bar(room);
    QString from = QFileInfo(path).fileName();
    if (head.size != scale_file_size) from += QStringLiteral(", ") + size_note;
    return {
        QStringLiteral("Scale: %1 per pixel (from %2)").arg(scale_number(room.unit_per_px), from),
        ReportOutcome::done};
}
