// SPDX-License-Identifier: MIT
#pragma once
// Reads a written .xls back through an independent reader (xlrd, driven by
// support/read_xls.py) so tests judge the file as other programs will see it;
// likewise an .xlsx (openpyxl) and a .csv (Python's csv module).

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <map>
#include <utility>

#ifndef KELVO_READ_XLS_SCRIPT
#error "KELVO_READ_XLS_SCRIPT must name tests/support/read_xls.py"
#endif

struct ReadCell {
    QString type; // "text", "number", ...
    QString text;
    double number = 0;
    QString colour; // "auto" or "#RRGGBB"
    QString format; // number format, e.g. "General", "0.00"
    bool wrap = false;
};

struct ReadWorkbook {
    QString failure; // empty when the reader could read the file
    std::map<std::pair<int, int>, ReadCell> cells;
    int fat_sectors = 0;
    int difat_sectors = 0;
    int sst_continues = 0;
    qint64 stream_size = 0;
    QStringList problems; // structural faults the reader found

    bool ok() const { return failure.isEmpty(); }
    const ReadCell* at(int row, int col) const {
        const auto it = cells.find({row, col});
        return it == cells.end() ? nullptr : &it->second;
    }
};

// .xlsx and .csv files go to support/read_sheet.py (openpyxl, Python's csv),
// which gives their cells in the same form.
inline ReadWorkbook read_xls(const QString& path) {
    const bool xls = !path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) &&
                     !path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const QString script = xls ? QStringLiteral(KELVO_READ_XLS_SCRIPT)
                               : QFileInfo(QStringLiteral(KELVO_READ_XLS_SCRIPT)).absolutePath() +
                                     QStringLiteral("/read_sheet.py");
    ReadWorkbook book;
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo::exists(python)) {
        book.failure =
            QStringLiteral("%1 is missing; the tests read workbooks with python3-xlrd").arg(python);
        return book;
    }
    QProcess reader;
    reader.start(python, {script, path});
    if (!reader.waitForFinished(300000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        book.failure = QStringLiteral("reading %1 failed (exit %2): %3")
                           .arg(path)
                           .arg(reader.exitCode())
                           .arg(QString::fromUtf8(reader.readAllStandardError()));
        return book;
    }
    const QList<QByteArray> lines = reader.readAllStandardOutput().split('\n');
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty()) continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.contains(QLatin1String("cell"))) {
            const QJsonArray pos = o.value(QLatin1String("cell")).toArray();
            ReadCell cell;
            cell.type = o.value(QLatin1String("type")).toString();
            cell.text = o.value(QLatin1String("value")).toString();
            cell.number = o.value(QLatin1String("value")).toDouble();
            cell.colour = o.value(QLatin1String("colour")).toString();
            cell.format = o.value(QLatin1String("format")).toString();
            cell.wrap = o.value(QLatin1String("wrap")).toBool();
            book.cells[{pos.at(0).toInt(), pos.at(1).toInt()}] = cell;
        } else if (o.contains(QLatin1String("layout"))) {
            const QJsonObject l = o.value(QLatin1String("layout")).toObject();
            book.fat_sectors = l.value(QLatin1String("fat_sectors")).toInt();
            book.difat_sectors = l.value(QLatin1String("difat_sectors")).toInt();
            book.sst_continues = l.value(QLatin1String("sst_continues")).toInt();
            book.stream_size = l.value(QLatin1String("stream_size")).toInteger();
        } else if (o.contains(QLatin1String("problem"))) {
            book.problems << o.value(QLatin1String("problem")).toString();
        } else {
            book.failure = QStringLiteral("unexpected reader output: ") + QString::fromUtf8(line);
        }
    }
    return book;
}
