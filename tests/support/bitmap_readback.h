// SPDX-License-Identifier: MIT
#pragma once
// Bitmaps read back by an independent reader: Debian's python3-pil, run with
// the system's Python.

#include <QPoint>
#include <QProcess>
#include <QRgb>
#include <QString>
#include <QStringList>

inline const QString system_python = QStringLiteral("/usr/bin/python3");

inline bool pil_available() {
    QProcess probe;
    probe.start(system_python, {QStringLiteral("-c"), QStringLiteral("import PIL")});
    return probe.waitForFinished() && probe.exitCode() == 0;
}

// PIL's account of the file: "FORMAT MODE width height", then "r g b" for each
// point, one per line. On failure, the reader's error output.
inline QString pil_describe(const QString& path, const QList<QPoint>& points) {
    const char* script = "import sys\n"
                         "from PIL import Image\n"
                         "im = Image.open(sys.argv[1]); im.load()\n"
                         "print(im.format, im.mode, im.size[0], im.size[1])\n"
                         "for p in sys.argv[2:]:\n"
                         "    x, y = map(int, p.split(','))\n"
                         "    print(*im.getpixel((x, y))[:3])\n";
    QStringList args = {QStringLiteral("-c"), QString::fromLatin1(script), path};
    for (const QPoint p : points)
        args << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    QProcess reader;
    reader.start(system_python, args);
    if (!reader.waitForFinished() || reader.exitCode() != 0)
        return QStringLiteral("reader failed: ") + QString::fromUtf8(reader.readAllStandardError());
    return QString::fromUtf8(reader.readAllStandardOutput());
}

// The line pil_describe gives for a pixel of this colour.
inline QString pil_pixel_line(QRgb c) {
    return QStringLiteral("%1 %2 %3\n").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}
