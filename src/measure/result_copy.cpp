// SPDX-License-Identifier: MIT
#include "measure/result_copy.h"

#include "form/measure_room.h"
#include "form/results.h"

#include <QClipboard>
#include <QGuiApplication>

QString result_text(const MeasureRoom& room) {
    const auto [x, y, d] = shown_results(room);
    return x.text + QLatin1Char('\t') + y.text + QLatin1Char('\t') + d.text;
}

void copy_result(const MeasureRoom& room) {
    const QString text = result_text(room);
    QGuiApplication::clipboard()->setText(text);
    room.report(QStringLiteral("Copied X, Y, D to the clipboard: %1")
                    .arg(QString(text).replace(QLatin1Char('\t'), QLatin1String("  "))));
}
