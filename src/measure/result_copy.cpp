// SPDX-License-Identifier: MIT
#include "measure/result_copy.h"

#include "form/F_main.h"
#include "form/results.h"

#include <QClipboard>
#include <QGuiApplication>

QString result_text(const F_main& f) {
    const auto [x, y, d] = shown_results(f);
    return x.text + QLatin1Char('\t') + y.text + QLatin1Char('\t') + d.text;
}

void copy_result(F_main& f) {
    const QString text = result_text(f);
    QGuiApplication::clipboard()->setText(text);
    f.report(QStringLiteral("Copied X, Y, D to the clipboard: %1")
                 .arg(QString(text).replace(QLatin1Char('\t'), QLatin1String("  "))));
}
