// SPDX-License-Identifier: MIT
#include "widgets/status_label.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>
#include <vector>

namespace {

struct Span {
    qsizetype from, length;
};

// Where the absolute paths of `message` stand. A path runs to the first
// separator that the program's messages put after a file name, or to the
// first blank after its last "/" where words follow it ("/a/b.xls already
// holds ..."). A name that holds either is only shortened in fewer places.
std::vector<Span> path_spans(const QString& message) {
    std::vector<Span> spans;
    static const QString ends[] = {QStringLiteral(": "), QStringLiteral(", "),
                                   QStringLiteral("; ")};
    for (qsizetype i = 0; i < message.size(); ++i) {
        if (message[i] != QLatin1Char('/')) continue;
        if (i > 0 && !QStringLiteral(" (\"'").contains(message[i - 1])) continue;
        qsizetype end = message.size();
        for (const QString& e : ends)
            if (const qsizetype at = message.indexOf(e, i); at >= 0) end = std::min(end, at);
        const qsizetype name = message.lastIndexOf(QLatin1Char('/'), end - 1);
        if (const qsizetype blank = message.indexOf(QLatin1Char(' '), name);
            blank >= 0 && blank < end)
            end = blank;
        spans.push_back({i, end - i});
        i = end;
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.length > b.length; });
    return spans;
}

} // namespace

QString fitted_message(const QString& message, const QFontMetrics& metrics, int width) {
    QString shown = message;
    // Spans are taken longest first; each is replaced in place, so the
    // places of the others are found again in the shortened text.
    for (const Span& longest : path_spans(message)) {
        if (metrics.horizontalAdvance(shown) <= width) return shown;
        const QString path = message.mid(longest.from, longest.length);
        const qsizetype at = shown.indexOf(path);
        if (at < 0) continue;
        const QString rest = QString(shown).remove(at, path.size());
        const int room = width - metrics.horizontalAdvance(rest);
        QString short_path = metrics.elidedText(path, Qt::ElideMiddle, std::max(room, 0));
        if (short_path.isEmpty()) short_path = QStringLiteral("\u2026");
        shown.replace(at, path.size(), short_path);
    }
    if (metrics.horizontalAdvance(shown) <= width) return shown;
    return metrics.elidedText(shown, Qt::ElideRight, width);
}

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // Any width the bar gives: a long message never widens the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusLabel::set_message(const QString& message) {
    message_ = message;
    setToolTip(message);
    fit();
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void StatusLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) fit();
}

void StatusLabel::fit() {
    const QString shown = fitted_message(message_, fontMetrics(), contentsRect().width());
    if (shown != text()) setText(shown);
}
